// Writing VS_VERSIONINFO: nested blocks of length, value length, type, key and value, each
// starting on a 32-bit boundary.
#include "builder/pe/VersionResource.h"

#include <algorithm>
#include <vector>

#include "platform/LittleEndian.h"

namespace vesk {
namespace {

constexpr std::uint32_t kFixedSignature = 0xFEEF04BD;
constexpr std::uint32_t kFixedStructVersion = 0x00010000;
constexpr std::uint32_t kFileFlagsMask = 0x3F;
constexpr std::uint32_t kWindowsNt32 = 0x00040004;  // VOS_NT_WINDOWS32
constexpr std::uint32_t kApplication = 1;           // VFT_APP
constexpr std::uint16_t kBinary = 0, kText = 1;
constexpr std::uint32_t kUnicodeCodePage = 1200;

void PadTo4(std::string& bytes) {
    bytes.append((4 - bytes.size() % 4) % 4, '\0');
}

std::string Block(const std::u16string& key, std::uint16_t type, const std::string& value,
                  std::uint16_t valueLength, const std::vector<std::string>& children) {
    std::string block;
    Append16(block, 0);
    Append16(block, valueLength);
    Append16(block, type);
    for (char16_t c : key) Append16(block, c);
    Append16(block, 0);
    PadTo4(block);
    block += value;
    for (const std::string& child : children) {
        PadTo4(block);
        block += child;
    }
    Put16(block, 0, std::uint32_t(block.size()));
    return block;
}

std::string TextValue(const std::u16string& text) {
    std::string value;
    for (char16_t c : text) Append16(value, c);
    Append16(value, 0);
    return value;
}

}  // namespace

std::array<std::uint16_t, 4> VersionNumbers(const std::string& text) {
    std::array<std::uint16_t, 4> numbers{};
    std::size_t at = !text.empty() && (text[0] == 'v' || text[0] == 'V') ? 1 : 0;
    for (std::size_t part = 0; part < numbers.size(); ++part) {
        if (at >= text.size() || text[at] < '0' || text[at] > '9') break;
        std::uint32_t value = 0;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
            value = std::min<std::uint32_t>(value * 10 + std::uint32_t(text[at++] - '0'), 65535);
        }
        numbers[part] = std::uint16_t(value);
        if (at >= text.size() || text[at] != '.') break;
        ++at;
    }
    return numbers;
}

std::string VersionResource(const VersionTexts& texts) {
    const auto& n = texts.numbers;
    std::string fixed;
    for (std::uint32_t field : {kFixedSignature, kFixedStructVersion,
                                std::uint32_t(n[0]) << 16 | n[1], std::uint32_t(n[2]) << 16 | n[3],
                                std::uint32_t(n[0]) << 16 | n[1], std::uint32_t(n[2]) << 16 | n[3],
                                kFileFlagsMask, 0u, kWindowsNt32, kApplication, 0u, 0u, 0u}) {
        Append32(fixed, field);
    }
    const std::pair<const char16_t*, const std::u16string*> strings[] = {
        {u"CompanyName", &texts.companyName},       {u"FileDescription", &texts.fileDescription},
        {u"FileVersion", &texts.productVersion},    {u"ProductName", &texts.productName},
        {u"ProductVersion", &texts.productVersion},
    };
    std::vector<std::string> entries;
    for (const auto& [key, text] : strings) {
        if (text->empty()) continue;
        entries.push_back(Block(key, kText, TextValue(*text), std::uint16_t(text->size() + 1), {}));
    }
    std::string table = Block(u"000004b0", kText, "", 0, entries);
    std::string translation;
    Append16(translation, 0);  // language neutral
    Append16(translation, kUnicodeCodePage);
    std::string var = Block(u"Translation", kBinary, translation, 4, {});
    return Block(u"VS_VERSION_INFO", kBinary, fixed, std::uint16_t(fixed.size()),
                 {Block(u"StringFileInfo", kText, "", 0, {table}),
                  Block(u"VarFileInfo", kText, "", 0, {var})});
}

}  // namespace vesk
