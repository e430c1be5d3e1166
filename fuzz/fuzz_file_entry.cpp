// Fuzzes the file entry parser and the entry time parser: no faults, and what the builder would
// write back from a parsed entry parses to the same entry.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "container/FileEntry.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

// The libraries are built with recoverable sanitizer checks; here any undefined behaviour stops.
extern "C" const char* __ubsan_default_options() { return "halt_on_error=1:print_stacktrace=1"; }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);

    vesk::FileEntry entry =
        vesk::ParseFileEntry(text, [](const std::string& path) { return "C:\\Expanded" + path; });
    if (!entry.wellFormed) {
        Check(entry.rawPath.empty() && entry.path.empty() && entry.timeText.empty());
        Check(entry.offset == 0 && entry.size == 0);
    } else {
        Check(entry.path == "C:\\Expanded" + entry.rawPath);
        Check(entry.rawPath.size() + entry.timeText.size() + 4 <= text.size());
        std::string written = vesk::FormatFileEntry(entry.rawPath, entry.offset, entry.size,
                                                    entry.kind, entry.timeText);
        vesk::FileEntry back = vesk::ParseFileEntry(written);
        Check(back.wellFormed);
        Check(back.rawPath == entry.rawPath && back.timeText == entry.timeText);
        Check(back.offset == entry.offset && back.size == entry.size);
        // Any other letter is written as A, an ordinary file like it.
        Check(back.kind == entry.kind ||
              (entry.kind == vesk::FileKind::Other && back.kind == vesk::FileKind::Ordinary));
    }

    vesk::EntryTime time = vesk::ParseEntryTime(text);
    Check(time.millisecond == 0);
    int parts[] = {time.year, time.month, time.day, time.hour, time.minute, time.second};
    bool nonNegative = true;
    for (int part : parts) nonNegative = nonNegative && part >= 0;
    if (nonNegative) {
        vesk::EntryTime back = vesk::ParseEntryTime(vesk::FormatEntryTime(time));
        Check(back.year == time.year && back.month == time.month && back.day == time.day &&
              back.hour == time.hour && back.minute == time.minute && back.second == time.second);
    }
    (void)vesk::LeadingInt(text);
    return 0;
}
