// Multibyte-aware upper-casing of names.
#include "project/NameCase.h"

namespace vesk {
namespace {

template <typename IsLead>
std::string Upper(const std::string& text, IsLead isLead) {
    std::string out(text);
    for (std::size_t i = 0; i < out.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(out[i]);
        if (isLead(c)) {
            ++i;  // keep the trail byte as it is
        } else if (c >= 'a' && c <= 'z') {
            out[i] = char(c - 'a' + 'A');
        }
    }
    return out;
}

}  // namespace

std::string UpperName(const std::string& text) { return Upper(text, IsSystemLeadByte); }

std::string UpperName(const std::string& text, DoubleByteRules rules) {
    return Upper(text, [rules](unsigned char c) { return IsLeadByte(c, rules); });
}

bool SameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && UpperName(a) == UpperName(b);
}

}  // namespace vesk
