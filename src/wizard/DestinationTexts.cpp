// Size and free-space lines of the destination page.
#include "wizard/DestinationTexts.h"

#include <algorithm>
#include <limits>

namespace vesk {
namespace {

constexpr int kMegabyteBits = 20;  // a megabyte is 2^20 bytes
constexpr int kDoubleBits = 53;    // the significant bits of a double
constexpr std::size_t kSignificantDigits = 16;
constexpr std::size_t kShownDecimals = 2;

// The first 16 significant decimal digits of double(bytes) / 2^20, correctly rounded (half to
// even), and the decimal exponent of the first: what printf's "%.15e" shows, computed exactly in
// integers. The quotient is M / 2^k with M the bytes rounded to a double's 53 bits.
void MegabyteDigits(std::uint64_t bytes, std::string& digits, int& exponent) {
    std::uint64_t m = bytes;
    int k = kMegabyteBits;
    int length = 0;
    while (length < 64 && (m >> length) != 0) ++length;
    if (length > kDoubleBits) {
        const int drop = length - kDoubleBits;
        const std::uint64_t rest = m & ((std::uint64_t(1) << drop) - 1);
        const std::uint64_t half = std::uint64_t(1) << (drop - 1);
        m >>= drop;
        if (rest > half || (rest == half && (m & 1))) ++m;
        k -= drop;
    }
    const std::uint64_t mask = (std::uint64_t(1) << k) - 1;
    std::uint64_t whole = m >> k, fraction = m & mask;
    std::string all = whole ? std::to_string(whole) : std::string();
    for (int i = 0; i < k; ++i) {  // k digits end the binary fraction exactly
        fraction *= 10;
        all += char('0' + (fraction >> k));
        fraction &= mask;
    }
    const std::size_t first = all.find_first_not_of('0');
    if (first == std::string::npos) {
        digits.assign(kSignificantDigits, '0');
        exponent = 0;
        return;
    }
    // Digits before the point: all but the k of the fraction; none means 0.00...d.
    exponent = whole ? int(all.size()) - k - 1 : -int(first) - 1;
    digits = all.substr(first);
    if (digits.size() > kSignificantDigits) {
        const std::string rest = digits.substr(kSignificantDigits);
        digits.resize(kSignificantDigits);
        const bool above = rest[0] > '5' ||
                           (rest[0] == '5' && rest.find_first_not_of('0', 1) != std::string::npos);
        const bool tie = rest[0] == '5' && !above;
        if (above || (tie && (digits.back() - '0') % 2 == 1)) {
            std::size_t at = digits.size();
            while (at > 0 && digits[at - 1] == '9') digits[--at] = '0';
            if (at == 0) {
                digits.insert(digits.begin(), '1');
                digits.pop_back();
                ++exponent;
            } else {
                ++digits[at - 1];
            }
        }
    }
    digits.resize(kSignificantDigits, '0');
}

}  // namespace

std::string MegabytesText(std::uint64_t bytes) {
    std::string digits;
    int exponent = 0;
    MegabyteDigits(bytes, digits, exponent);

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

std::string GroupedNumber(std::uint64_t number) {
    const std::string digits = std::to_string(number);
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ',';
        grouped += digits[i];
    }
    return grouped;
}

std::string DriveLineText(const LanguageTable& texts, const DriveSpace& drive) {
    return texts.GetText(TextKey::ChangePathFreeSpaceDesc1) + drive.letter +
           texts.GetText(TextKey::ChangePathFreeSpaceDesc2) + " " +
           GroupedNumber(drive.freeMegabytes) + " MB " +
           texts.GetText(TextKey::ChangePathFreeSpaceDesc3);
}

std::string FolderNameRefusal(const LanguageTable& texts, const std::string& text) {
    return texts.GetText(TextKey::FolderNameErrorDesc) + text;
}

std::string CreateFolderRefusal(const LanguageTable& texts, const std::string& folder) {
    return texts.GetText(TextKey::CreateFolderErrorDesc) + folder;
}

}  // namespace vesk
