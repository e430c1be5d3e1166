// Walking the sfnt table directory to the 'name' table and choosing its family and style records.
#include "install/FontRegistryName.h"

#include <climits>
#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

#include "platform/FileOpen.h"
#include "project/NameCase.h"

namespace vesk {
namespace {

constexpr std::uint32_t Tag(const char (&text)[5]) {
    return std::uint32_t(std::uint8_t(text[0])) << 24 | std::uint32_t(std::uint8_t(text[1])) << 16 |
           std::uint32_t(std::uint8_t(text[2])) << 8 | std::uint32_t(std::uint8_t(text[3]));
}

constexpr std::uint32_t kTrueTypeOutlines = 0x00010000;
constexpr std::uint32_t kAppleTrueTypeOutlines = Tag("true");
constexpr std::uint32_t kPostScriptOutlines = Tag("OTTO");
constexpr std::uint32_t kCollection = Tag("ttcf");
constexpr std::uint32_t kNameTable = Tag("name");

constexpr std::size_t kOffsetTableSize = 12;  // version, table count, search fields
constexpr std::size_t kTableRecordSize = 16;  // tag, checksum, offset, length
constexpr std::size_t kCollectionHeaderSize = 12;
constexpr std::size_t kNameHeaderSize = 6;  // format, count, string storage offset
constexpr std::size_t kNameRecordSize = 12;
// More fonts than any collection holds; the rest would only lengthen the name.
constexpr std::uint32_t kMostCollectionFonts = 64;
// The registry refuses longer value names.
constexpr std::size_t kLongestValueName = 16383;

constexpr std::uint16_t kFamilyNameId = 1;
constexpr std::uint16_t kStyleNameId = 2;
constexpr std::uint16_t kFullNameId = 4;
constexpr std::uint16_t kUnicodePlatform = 0;
constexpr std::uint16_t kMacintoshPlatform = 1;
constexpr std::uint16_t kWindowsPlatform = 3;
constexpr std::uint16_t kMacRomanEncoding = 0;
constexpr std::uint16_t kMacEnglish = 0;
constexpr std::uint16_t kWindowsUsEnglish = 0x0409;
constexpr std::uint16_t kWindowsSymbolEncoding = 0;
constexpr std::uint16_t kWindowsBmpEncoding = 1;
constexpr std::uint16_t kWindowsFullEncoding = 10;

std::uint16_t U16(const std::string& bytes, std::size_t at) {
    return std::uint16_t(std::uint8_t(bytes[at]) << 8 | std::uint8_t(bytes[at + 1]));
}

std::uint32_t U32(const std::string& bytes, std::size_t at) {
    return std::uint32_t(U16(bytes, at)) << 16 | U16(bytes, at + 2);
}

struct NameRecord {
    std::uint16_t platform = 0;
    std::uint16_t encoding = 0;
    std::uint16_t language = 0;
    std::uint16_t nameId = 0;
    std::uint16_t length = 0;
    std::uint16_t offset = 0;
};

// How much a record is preferred; negative for records whose text cannot be decoded.
int Preference(const NameRecord& record) {
    switch (record.platform) {
        case kWindowsPlatform:
            if (record.encoding != kWindowsSymbolEncoding &&
                record.encoding != kWindowsBmpEncoding && record.encoding != kWindowsFullEncoding) {
                return -1;
            }
            return record.language == kWindowsUsEnglish ? 3 : 2;
        case kUnicodePlatform:
            return 1;
        case kMacintoshPlatform:
            return record.encoding == kMacRomanEncoding && record.language == kMacEnglish ? 0 : -1;
        default:
            return -1;
    }
}

bool IsUtf16(const NameRecord& record) {
    return record.platform != kMacintoshPlatform;
}

// Appends the code point as `encode` gives it; '?' for a control character and for what
// `encode` cannot hold.
void AppendCodePoint(std::string& text, std::uint32_t codePoint, const CodePointEncoder& encode) {
    constexpr std::uint32_t kFirstPrintable = 0x20;
    constexpr std::uint32_t kDelete = 0x7F;
    if (codePoint >= kFirstPrintable && codePoint != kDelete) {
        const std::string bytes = encode(codePoint);
        if (!bytes.empty()) {
            text += bytes;
            return;
        }
    }
    text += '?';
}

// UTF-16 big-endian text; a lone surrogate and an odd last byte become stand-ins.
std::string DecodeUtf16(const std::string& bytes, const CodePointEncoder& encode) {
    std::string text;
    for (std::size_t at = 0; at + 1 < bytes.size(); at += 2) {
        std::uint32_t unit = U16(bytes, at);
        if (unit >= 0xD800 && unit < 0xDC00 && at + 3 < bytes.size()) {
            const std::uint32_t low = U16(bytes, at + 2);
            if (low >= 0xDC00 && low < 0xE000) {
                unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                at += 2;
            }
        }
        const bool loneSurrogate = unit >= 0xD800 && unit < 0xE000;
        if (loneSurrogate) {
            text += '?';
        } else {
            AppendCodePoint(text, unit, encode);
        }
    }
    if (bytes.size() % 2 != 0) text += '?';
    return text;
}

// Macintosh Roman: its ASCII half is kept, the rest stands in.
std::string DecodeMacRoman(const std::string& bytes, const CodePointEncoder& encode) {
    constexpr unsigned kAsciiEnd = 0x80;
    std::string text;
    for (char byte : bytes) {
        const unsigned value = std::uint8_t(byte);
        if (value < kAsciiEnd) {
            AppendCodePoint(text, value, encode);
        } else {
            text += '?';
        }
    }
    return text;
}

struct FontFace {
    std::string family;
    std::string style;
    std::string fullName;
    bool postScript = false;
};

// Which of a face's texts a name record holds; -1 for one that is not used.
int TextSlot(std::uint16_t nameId) {
    switch (nameId) {
        case kFamilyNameId:
            return 0;
        case kStyleNameId:
            return 1;
        case kFullNameId:
            return 2;
        default:
            return -1;
    }
}

// The family, style and full name texts of the 'name' table at `tableOffset`, `tableLength` bytes
// long.
bool ReadNames(const FontReader& read, const CodePointEncoder& encode, std::uint64_t tableOffset,
               std::uint32_t tableLength, FontFace& face) {
    std::string header;
    if (tableLength < kNameHeaderSize || !read(tableOffset, kNameHeaderSize, header)) return false;
    const std::size_t count = U16(header, 2);
    const std::size_t storage = U16(header, 4);
    const std::size_t recordsSize = count * kNameRecordSize;
    std::string records;
    if (kNameHeaderSize + recordsSize > tableLength ||
        !read(tableOffset + kNameHeaderSize, recordsSize, records)) {
        return false;
    }
    constexpr int kSlots = 3;
    std::optional<NameRecord> best[kSlots];  // family, style, full name
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = i * kNameRecordSize;
        NameRecord record{U16(records, at),     U16(records, at + 2), U16(records, at + 4),
                          U16(records, at + 6), U16(records, at + 8), U16(records, at + 10)};
        const int slotIndex = TextSlot(record.nameId);
        if (slotIndex < 0 || Preference(record) < 0) continue;
        if (storage + record.offset + record.length > tableLength) continue;
        std::optional<NameRecord>& slot = best[slotIndex];
        if (!slot || Preference(record) > Preference(*slot)) slot = record;
    }
    std::string* texts[kSlots] = {&face.family, &face.style, &face.fullName};
    for (int which = 0; which < kSlots; ++which) {
        if (!best[which]) continue;
        std::string bytes;
        if (!read(tableOffset + storage + best[which]->offset, best[which]->length, bytes)) {
            return false;
        }
        *texts[which] =
            IsUtf16(*best[which]) ? DecodeUtf16(bytes, encode) : DecodeMacRoman(bytes, encode);
    }
    return !face.family.empty() || !face.fullName.empty();
}

// The font whose offset table lies at `fontOffset`.
std::optional<FontFace> ReadFace(const FontReader& read, const CodePointEncoder& encode,
                                 std::uint64_t fontOffset) {
    std::string header;
    if (!read(fontOffset, kOffsetTableSize, header)) return std::nullopt;
    const std::uint32_t version = U32(header, 0);
    if (version != kTrueTypeOutlines && version != kAppleTrueTypeOutlines &&
        version != kPostScriptOutlines) {
        return std::nullopt;
    }
    const std::size_t tableCount = U16(header, 4);
    std::string directory;
    if (!read(fontOffset + kOffsetTableSize, tableCount * kTableRecordSize, directory)) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < tableCount; ++i) {
        const std::size_t at = i * kTableRecordSize;
        if (U32(directory, at) != kNameTable) continue;
        // Table offsets count from the start of the file, also inside a collection.
        FontFace face;
        face.postScript = version == kPostScriptOutlines;
        if (!ReadNames(read, encode, U32(directory, at + 8), U32(directory, at + 12), face)) {
            return std::nullopt;
        }
        return face;
    }
    return std::nullopt;
}

// Appends the face's name: its full name, else its family and a style other than "Regular".
void AppendFaceName(std::string& name, const FontFace& face) {
    if (!face.fullName.empty()) {
        name += face.fullName;
        return;
    }
    name += face.family;
    if (face.style.empty() || UpperName(face.style) == "REGULAR") return;
    name += ' ';
    name += face.style;
}

}  // namespace

std::string FontRegistryName(const FontReader& read, const CodePointEncoder& encode) {
    std::string header;
    if (!read(0, kCollectionHeaderSize, header)) return {};
    std::vector<std::uint64_t> offsets;
    if (U32(header, 0) == kCollection) {
        std::uint32_t count = U32(header, 8);
        if (count > kMostCollectionFonts) count = kMostCollectionFonts;
        std::string table;
        if (!read(kCollectionHeaderSize, count * 4, table)) return {};
        for (std::uint32_t i = 0; i < count; ++i) offsets.push_back(U32(table, i * 4));
    } else {
        offsets.push_back(0);
    }
    std::string name;
    bool postScript = false;
    for (std::uint64_t offset : offsets) {
        const std::optional<FontFace> face = ReadFace(read, encode, offset);
        if (!face) continue;
        if (name.empty()) {
            postScript = face->postScript;
        } else {
            name += " & ";
        }
        AppendFaceName(name, *face);
        if (name.size() > kLongestValueName) return {};
    }
    if (name.empty()) return {};
    name += postScript ? " (OpenType)" : " (TrueType)";
    return name.size() > kLongestValueName ? std::string() : name;
}

std::string FontRegistryNameOfFile(const std::string& path) {
    struct Closer {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    std::unique_ptr<std::FILE, Closer> file(OpenFile(path, "rb"));
    if (!file) return {};
    FontReader read = [&file](std::uint64_t offset, std::size_t size, std::string& bytes) {
        if (offset > std::uint64_t(LONG_MAX)) return false;
        if (std::fseek(file.get(), long(offset), SEEK_SET) != 0) return false;
        bytes.resize(size);
        return size == 0 || std::fread(&bytes[0], 1, size, file.get()) == size;
    };
    return FontRegistryName(read, AnsiEncoder());
}

}  // namespace vesk
