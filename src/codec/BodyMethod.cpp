// Names of the body methods.
#include "codec/BodyMethod.h"

namespace vesk {
namespace {

bool SameIgnoringCase(const std::string& text, const char* name) {
    std::size_t i = 0;
    for (; i < text.size() && name[i]; ++i) {
        char c = text[i];
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
        if (c != name[i]) return false;
    }
    return i == text.size() && !name[i];
}

}  // namespace

bool BodyMethodFromName(const std::string& name, BodyMethod& method) {
    if (name.empty() || SameIgnoringCase(name, "LZSS")) {
        method = BodyMethod::Lzss;
        return true;
    }
    if (SameIgnoringCase(name, "LZMA")) {
        method = BodyMethod::Lzma;
        return true;
    }
    if (SameIgnoringCase(name, "LZMA-SOLID")) {
        method = BodyMethod::LzmaSolid;
        return true;
    }
    return false;
}

const char* BodyMethodName(BodyMethod method) {
    switch (method) {
        case BodyMethod::Lzma:
            return "LZMA";
        case BodyMethod::LzmaSolid:
            return "LZMA-SOLID";
        case BodyMethod::Lzss:
            break;
    }
    return "LZSS";
}

}  // namespace vesk
