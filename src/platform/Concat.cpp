// Texts made of pieces.
#include "platform/Concat.h"

namespace vesk {

std::string Concat(std::initializer_list<std::string_view> pieces) {
    std::string text;
    AppendPieces(text, pieces);
    return text;
}

void AppendPieces(std::string& text, std::initializer_list<std::string_view> pieces) {
    std::size_t size = text.size();
    for (std::string_view piece : pieces) size += piece.size();
    text.reserve(size);
    for (std::string_view piece : pieces) text.append(piece.data(), piece.size());
}

}  // namespace vesk
