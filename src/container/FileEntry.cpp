// Parsing and formatting of file entry texts.
#include "container/FileEntry.h"

#include <cctype>
#include <cstdint>
#include <limits>
#include <string_view>

namespace vesk {
namespace {

// LeadingInt over a part of a text, so the parts of an entry need no copies of their own.
std::int32_t LeadingIntOf(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    std::int64_t value = 0;
    constexpr std::int64_t kLimit = std::int64_t(std::numeric_limits<std::int32_t>::max()) + 1;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > kLimit) value = kLimit;
    }
    if (negative) value = -value;
    if (value > std::numeric_limits<std::int32_t>::max())
        value = std::numeric_limits<std::int32_t>::max();
    return std::int32_t(value);
}

}  // namespace

std::int32_t LeadingInt(const std::string& text) {
    return LeadingIntOf(text);
}

std::uint64_t SoftwareSizeBytes(const std::string& value) {
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
    std::uint64_t bytes = 0;
    for (char c : value) {
        if (c < '0' || c > '9') break;
        const std::uint64_t digit = std::uint64_t(c - '0');
        if (bytes > (kMax - digit) / 10) return kMax;
        bytes = bytes * 10 + digit;
    }
    return bytes;
}

std::optional<FileEntryFields> SplitFileEntry(std::string_view text) {
    std::size_t commas[4];  // positions of the last four commas, left to right
    std::size_t end = text.size();
    for (int k = 3; k >= 0; --k) {
        std::size_t at = end == 0 ? std::string_view::npos : text.rfind(',', end - 1);
        if (at == std::string_view::npos) return std::nullopt;
        commas[k] = at;
        end = at;
    }
    auto between = [&](int k) { return text.substr(commas[k] + 1, commas[k + 1] - commas[k] - 1); };
    return FileEntryFields{text.substr(0, commas[0]), between(0), between(1), between(2),
                           text.substr(commas[3] + 1)};
}

FileEntry ParseFileEntry(const std::string& text, const PathExpander& expand) {
    FileEntry entry;
    const std::optional<FileEntryFields> fields = SplitFileEntry(text);
    if (!fields) return entry;
    entry.rawPath = std::string(fields->path);
    entry.offset = LeadingIntOf(fields->offset);
    entry.size = LeadingIntOf(fields->size);
    // The kind is the first character between the third and the fourth comma.
    entry.letter = fields->kind.empty() ? 0 : fields->kind.front();
    entry.kind = FileKindFromLetter(entry.letter);
    entry.timeText = std::string(fields->time);
    entry.path = expand ? expand(entry.rawPath) : entry.rawPath;
    entry.wellFormed = true;
    return entry;
}

std::string FormatFileEntry(const std::string& rawPath, std::int32_t offset, std::int32_t size,
                            FileKind kind, const std::string& timeText) {
    return rawPath + "," + std::to_string(offset) + "," + std::to_string(size) + "," +
           LetterOf(kind) + "," + timeText;
}

EntryTime ParseEntryTime(const std::string& text) {
    // Separators in order: '-', '-', ' ', ':', ':'; each part ends at its separator.
    static const char kSeparators[] = {'-', '-', ' ', ':', ':'};
    int parts[6] = {0, 0, 0, 0, 0, 0};
    const std::string_view view = text;
    std::size_t start = 0;
    for (int i = 0; i < 6; ++i) {
        std::size_t stop = i < 5 ? text.find(kSeparators[i], start) : text.size();
        if (stop == std::string::npos) {
            parts[i] = LeadingIntOf(view.substr(start));
            break;
        }
        parts[i] = LeadingIntOf(view.substr(start, stop - start));
        start = stop + 1;
        if (start > text.size()) break;
    }
    return EntryTime{parts[0], parts[1], parts[2], parts[3], parts[4], parts[5], 0};
}

std::string FormatEntryTime(const EntryTime& t) {
    return std::to_string(t.year) + "-" + std::to_string(t.month) + "-" + std::to_string(t.day) +
           " " + std::to_string(t.hour) + ":" + std::to_string(t.minute) + ":" +
           std::to_string(t.second);
}

}  // namespace vesk
