// One file of the install as the project's file list describes it: "path,offset,size,kind,time".
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "container/FileKind.h"
#include "platform/CalendarTime.h"

namespace vesk {

// Expands the path tokens of a project path ("[InstallDir]\a.txt" -> "C:\App\a.txt").
using PathExpander = std::function<std::string(const std::string&)>;

constexpr std::size_t kMaxFileEntryLength = 4095;

// The time written into a file entry, taken as local time.
using EntryTime = CalendarTime;

struct FileEntry {
    std::string rawPath;      // as written in the project, tokens included
    std::string path;         // rawPath with its tokens expanded
    std::int32_t offset = 0;  // StreamPosition of the body
    std::int32_t size = 0;    // bytes of the body in the stream
    FileKind kind = FileKind::Ordinary;
    char letter = 0;          // the kind letter as written
    std::string timeText;     // "2003-7-28 20:34:2", local time
    bool wellFormed = false;  // the text had all five fields

    bool IsRaw() const { return IsRawBody(kind); }
};

// The five fields of an entry's text as written, split at its last four commas, so the path may
// itself hold commas; nullopt when there are fewer than four. The one split of the format: the
// engine reads the fields leniently (ParseFileEntry), the builder checks the entries a project
// writes by hand strictly (FileKindRules). The views point into `text`.
struct FileEntryFields {
    std::string_view path, offset, size, kind, time;
};
std::optional<FileEntryFields> SplitFileEntry(std::string_view text);

// Splits an entry by counting commas from the end, so the path may itself hold commas.
// An empty or malformed text (fewer than four commas) gives an entry with wellFormed false and
// everything else empty. Numbers are read as leading decimal integers (0 when absent).
FileEntry ParseFileEntry(const std::string& text, const PathExpander& expand = nullptr);

// The text form the builder writes into the project's file list.
std::string FormatFileEntry(const std::string& rawPath, std::int32_t offset, std::int32_t size,
                            FileKind kind, const std::string& timeText);

// Splits "year-month-day hour:minute:second"; missing or non-numeric parts read as 0.
EntryTime ParseEntryTime(const std::string& text);
std::string FormatEntryTime(const EntryTime& time);

// The leading-integer parse the system uses for every number it reads from text: optional
// spaces, optional sign, digits; 0 when there are none. Saturates at the 32-bit range.
std::int32_t LeadingInt(const std::string& text);

// The leading decimal digits of a SoftwareSize value as a byte count; 0 when there are none.
// Saturates at the 64-bit range.
std::uint64_t SoftwareSizeBytes(const std::string& value);

}  // namespace vesk
