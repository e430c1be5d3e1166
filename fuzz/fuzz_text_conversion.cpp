// Fuzzes the text conversions: the first input byte picks a code page, the rest is the text.
// Nothing may crash; every result is well-formed UTF-8, and well-formed UTF-8 survives the way
// through UTF-16 unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/TextDecoding.h"
#include "platform/Utf8.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    static const unsigned kCodePages[] = {vesk::kAnsiCodePage, vesk::kGb2312CodePage,
                                          vesk::kBig5CodePage, vesk::kUtf8CodePage};
    const unsigned codePage = kCodePages[data[0] % 4];
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);

    const std::string decoded = vesk::DecodeToUtf8(text, codePage);
    Check(vesk::IsUtf8(decoded));
    Check(vesk::Utf16ToUtf8(vesk::Utf8ToUtf16(decoded)) == decoded);

    const std::string sanitized = vesk::SanitizeUtf8(text);
    Check(vesk::IsUtf8(sanitized));
    Check(vesk::IsUtf8(text) == (sanitized == text));
    Check(vesk::Utf16ToUtf8(vesk::Utf8ToUtf16(text)) == sanitized);

    const std::u16string units(reinterpret_cast<const char16_t*>(data), size / 2);
    Check(vesk::IsUtf8(vesk::Utf16ToUtf8(units)));
    return 0;
}
