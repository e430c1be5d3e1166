// Fuzzes reading a font's registry name from untrusted font files: no faults, reads of bounded
// size, and a name that is empty or ends in the outline kind.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "install/FontRegistryName.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The largest piece the reader is ever asked for: a table directory of 65535 records.
constexpr std::size_t kLargestRead = 65535 * 16;
// The registry's limit on value names.
constexpr std::size_t kLongestValueName = 16383;

}  // namespace

// The libraries are built with recoverable sanitizer checks; here any undefined behaviour stops.
extern "C" const char* __ubsan_default_options() {
    return "halt_on_error=1:print_stacktrace=1";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string file(reinterpret_cast<const char*>(data), size);
    vesk::FontReader read = [&file](std::uint64_t offset, std::size_t length, std::string& bytes) {
        Check(length <= kLargestRead);
        if (offset > file.size() || length > file.size() - offset) return false;
        bytes = file.substr(std::size_t(offset), length);
        return true;
    };
    const std::string name = vesk::FontRegistryName(read, vesk::AnsiEncoder());
    if (!name.empty()) {
        Check(EndsWith(name, " (TrueType)") || EndsWith(name, " (OpenType)"));
        Check(name.size() <= kLongestValueName);
        Check(name.find('\0') == std::string::npos);
    }
    return 0;
}
