// Volume sizes with binary suffixes.
#include "builder/plan/SizeOption.h"

#include <cctype>
#include <limits>

namespace vesk {

bool ParseSizeOption(const std::string& text, std::int32_t& bytes, std::string& error) {
    const std::string shown = "\"" + text + "\"";
    std::size_t at = 0;
    std::uint64_t number = 0;
    constexpr std::uint64_t kLimit = std::numeric_limits<std::int32_t>::max();
    while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))) {
        number = number * 10 + std::uint64_t(text[at] - '0');
        if (number > kLimit) {
            error = shown + " is larger than 2147483647 bytes (2 GiB - 1)";
            return false;
        }
        ++at;
    }
    if (at == 0) {
        error = shown + " is not a size: expected a number of bytes, optionally with K, M or G";
        return false;
    }
    std::string suffix;
    for (; at < text.size(); ++at) {
        suffix += char(std::toupper(static_cast<unsigned char>(text[at])));
    }
    std::uint64_t unit = 1;
    if (suffix == "K" || suffix == "KB") {
        unit = 1024;
    } else if (suffix == "M" || suffix == "MB") {
        unit = 1024 * 1024;
    } else if (suffix == "G" || suffix == "GB") {
        unit = 1024 * 1024 * 1024;
    } else if (!suffix.empty()) {
        error = shown + " has an unknown unit: use K, M or G (1K = 1024 bytes)";
        return false;
    }
    if (number * unit > kLimit) {
        error = shown + " is larger than 2147483647 bytes (2 GiB - 1)";
        return false;
    }
    if (number == 0) {
        error = shown + " is no size: a volume must hold at least one byte";
        return false;
    }
    bytes = std::int32_t(number * unit);
    return true;
}

}  // namespace vesk
