// The version information of a program (an RT_VERSION resource): what Windows shows as its
// product name, company, version and description.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace vesk {

struct VersionTexts {
    std::u16string productName, companyName, productVersion, fileDescription;
    // The version as numbers for the fixed part ("2.1" gives 2.1.0.0).
    std::array<std::uint16_t, 4> numbers{};
};

// The numbers of a version text: up to four decimal parts separated by dots, after an optional
// leading "v"; parsing stops at anything else ("2.1 beta" gives 2.1.0.0, "x" 0.0.0.0), a part
// above 65535 counts as 65535.
std::array<std::uint16_t, 4> VersionNumbers(const std::string& text);

// A VS_VERSIONINFO block: the fixed part (file and product version from `numbers`, an
// application for Windows NT) and one string table, language neutral in UTF-16 ("000004b0"),
// with CompanyName, FileDescription, FileVersion, ProductName and ProductVersion (empty texts are
// left out), and its translation entry.
std::string VersionResource(const VersionTexts& texts);

}  // namespace vesk
