// The tests' own reading of PE images, written apart from the builder's PeImage and ResourceTree
// so that a fault in those cannot hide itself, and a small stub image to brand.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace vesk::test {

struct ProbedSection {
    std::string name;
    std::uint32_t rva = 0, virtualSize = 0, rawOffset = 0, rawSize = 0;
};

struct ProbedResource {
    std::uint16_t type = 0, name = 0, language = 0;
    std::string data;
};

struct ProbedImage {
    std::string problem;  // empty when the image is consistent
    std::vector<ProbedSection> sections;
    std::uint32_t sizeOfImage = 0, checksum = 0, timeStamp = 0;
    std::uint32_t computedChecksum = 0;     // of the whole file, as Windows computes it
    std::vector<ProbedResource> resources;  // numbered resources only, in directory order
    // The oldest system the image says it runs on (major, minor), and its subsystem's.
    std::array<std::uint16_t, 2> osVersion{}, subsystemVersion{};
    std::vector<std::string> imports;  // the libraries of the import directory, as named there

    const ProbedResource* Find(std::uint16_t type, std::uint16_t name) const;
};

// Reads headers, sections and the resource directory, and checks what a loader relies on:
// sections inside the file at aligned offsets, ascending and apart in memory, SizeOfImage the
// aligned end of the last one, the resource directory inside a section.
ProbedImage ProbePe(const std::string& file);

// The strings of a VS_VERSIONINFO block and its fixed
// file version; empty for a block that does not read.
std::map<std::string, std::u16string> VersionStrings(const std::string& block,
                                                     std::array<std::uint16_t, 4>& fileVersion);

// A PE32 image that Windows would not run but that has what branding touches: .text and .reloc
// sections and, when asked, a .rsrc section (icon group 128 with icon 1, dialog 100) placed before
// or after .reloc, with a checksum.
std::string MakeTestStub(bool withResources, bool resourcesLast);

// An icon file of one square 32-bit image per (size, colour) pair, opaque, one colour each
// (0xAARRGGBB).
std::string MakeIconFile(const std::vector<std::pair<int, std::uint32_t>>& images);

}  // namespace vesk::test
