// Size and free-space lines of the destination page.
#include "wizard/DestinationTexts.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace vesk {
namespace {

constexpr double kBytesPerMegabyte = 1048576.0;
constexpr int kSignificantDigits = 16;
constexpr std::size_t kShownDecimals = 2;

}  // namespace

std::string MegabytesText(std::uint64_t bytes) {
    const double megabytes = double(bytes) / kBytesPerMegabyte;
    // The 16 significant digits and the decimal exponent, written out in plain notation below.
    char scientific[64];
    std::snprintf(scientific, sizeof scientific, "%.*e", kSignificantDigits - 1, megabytes);
    std::string digits;
    const char* p = scientific;
    for (; *p && *p != 'e'; ++p) {
        if (*p >= '0' && *p <= '9') digits += *p;
    }
    const int exponent = *p == 'e' ? std::atoi(p + 1) : 0;

    std::string whole, fraction;
    if (exponent >= 0) {
        const std::size_t wholeDigits = std::size_t(exponent) + 1;
        whole = digits.substr(0, std::min(wholeDigits, digits.size()));
        if (whole.size() < wholeDigits) whole.append(wholeDigits - whole.size(), '0');
        if (digits.size() > wholeDigits) fraction = digits.substr(wholeDigits);
    } else {
        whole = "0";
        fraction = std::string(std::size_t(-exponent - 1), '0') + digits;
    }
    while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
    if (fraction.size() > kShownDecimals) fraction.resize(kShownDecimals);
    return whole + "." + fraction;
}

std::string SizeLineText(const LanguageTable& texts, std::uint64_t bytes) {
    return texts.GetText(TextKey::ChangePathSoftSizeDesc1) + " " + MegabytesText(bytes) + " MB " +
           texts.GetText(TextKey::ChangePathSoftSizeDesc2);
}

std::string DriveLineText(const LanguageTable& texts, const DriveSpace& drive) {
    return texts.GetText(TextKey::ChangePathFreeSpaceDesc1) + drive.letter +
           texts.GetText(TextKey::ChangePathFreeSpaceDesc2) + " " +
           std::to_string(drive.freeMegabytes) + " MB " +
           texts.GetText(TextKey::ChangePathFreeSpaceDesc3);
}

}  // namespace vesk
