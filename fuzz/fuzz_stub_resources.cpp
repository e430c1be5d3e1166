// Fuzzes the builder's reading of an engine stub and an icon file: PeImage and ResourceTree take
// any bytes without reading outside them, what they read builds back into a directory that reads
// the same, and branding either refuses or gives an image that parses again. The input is split
// at its first "ICON" marker: the stub before it, the icon file after it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "builder/pe/IconFile.h"
#include "builder/pe/PeImage.h"
#include "builder/pe/ResourceTree.h"
#include "builder/pe/VersionResource.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

bool SameResources(const std::vector<vesk::Resource>& a, const std::vector<vesk::Resource>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        bool found = false;
        for (const vesk::Resource& r : b) {
            found = found || (r.type == a[i].type && r.name == a[i].name &&
                              r.language == a[i].language && r.data == a[i].data);
        }
        if (!found) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string input(reinterpret_cast<const char*>(data), size);
    std::size_t marker = input.find("ICON");
    std::string stub = input.substr(0, marker);
    std::string iconBytes = marker == std::string::npos ? "" : input.substr(marker + 4);

    std::vector<vesk::IconImage> icon;
    std::string why;
    if (vesk::ReadIconFile(iconBytes, icon, why)) {
        Check(!icon.empty() && icon.size() <= 64);
        std::string group = vesk::IconGroupResource(icon, 1);
        Check(group.size() == 6 + 14 * icon.size());
    }

    vesk::PeImage image;
    if (!image.Parse(stub)) return 0;
    vesk::ResourceTree tree;
    std::string directory;
    std::uint32_t rva = image.ResourceRva();
    for (const vesk::PeSection& s : image.Sections()) {
        if (rva >= s.virtualAddress && rva - s.virtualAddress < s.rawSize &&
            image.ReadRva(rva, s.virtualAddress + s.rawSize - rva, directory)) {
            break;
        }
    }
    if (rva == 0 || directory.empty() || !tree.Parse(directory, rva)) return 0;
    tree.Set(vesk::Resource{vesk::ResourceId::Number(vesk::kResourceVersion),
                            vesk::ResourceId::Number(1), 0, 0,
                            vesk::VersionResource(vesk::VersionTexts{})});
    for (std::size_t i = 0; i < icon.size(); ++i) {
        tree.Set(vesk::Resource{vesk::ResourceId::Number(vesk::kResourceIcon),
                                vesk::ResourceId::Number(std::uint16_t(1000 + i)), 0, 0,
                                icon[i].data});
    }
    const std::uint32_t newRva = image.NewResourceRva();
    const std::string built = tree.Build(newRva);
    vesk::ResourceTree again;
    Check(again.Parse(built, newRva));
    Check(SameResources(tree.Resources(), again.Resources()));
    if (image.ReplaceResources(built)) {
        vesk::PeImage branded;
        Check(branded.Parse(image.Bytes()));
        Check(branded.ResourceRva() == newRva);
    }
    return 0;
}
