// Texts made of pieces: one string from literals, views and strings in order, built with one
// allocation instead of a temporary for each `+`.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace vesk {

// The pieces one after the other: Concat({"cannot start ", path, ": ", why}).
std::string Concat(std::initializer_list<std::string_view> pieces);
// Appends the pieces to `text` in order.
void AppendPieces(std::string& text, std::initializer_list<std::string_view> pieces);

}  // namespace vesk
