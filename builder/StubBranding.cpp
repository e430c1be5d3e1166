// Branding the engine stub: icon and version resources.
#include "StubBranding.h"

#include "FileBytes.h"
#include "IconFile.h"
#include "PeImage.h"
#include "ResourceTree.h"
#include "VersionResource.h"
#include "platform/WideText.h"

namespace vesk {

bool StubBranding::Fail(std::string message) {
    error_ = std::move(message);
    return false;
}

std::u16string StubBranding::Wide(const std::string& text, const char* field) {
    std::u16string wide;
    if (ProjectTextToUtf16(text, wide)) return wide;
    warnings_.push_back(std::string(field) + " of task 2401 is no GB2312 text; the version " +
                        "information shows '?' for its other characters");
    wide.clear();
    for (unsigned char c : text) wide += c < 0x80 ? char16_t(c) : u'?';
    return wide;
}

bool StubBranding::Apply(std::string& stub, const BrandingRequest& request) {
    checksumOffset_ = 0;
    warnings_.clear();
    error_.clear();
    std::vector<IconImage> icon;
    if (!request.iconPath.empty()) {
        std::string bytes, why;
        if (!ReadFileContent(request.iconPath, bytes, why)) {
            return Fail(request.iconOrigin + " cannot be read (" + why + ")");
        }
        if (!ReadIconFile(bytes, icon, why)) return Fail(request.iconOrigin + ": " + why);
    }
    PeImage image;
    if (!image.Parse(stub)) {
        if (icon.empty()) return true;
        return Fail(request.iconOrigin +
                    " cannot be given to the engine stub: " + image.LastError());
    }
    if (image.IsSigned()) {
        return Fail(
            "the engine stub is signed, and changing its resources would break the "
            "signature: brand an unsigned stub, and sign the setup after the build");
    }
    ResourceTree tree;
    if (image.ResourceRva() != 0) {
        std::string directory;
        std::uint32_t rva = image.ResourceRva();
        const PeSection* holder = nullptr;
        for (const PeSection& s : image.Sections()) {
            if (rva >= s.virtualAddress && rva - s.virtualAddress < s.rawSize) holder = &s;
        }
        if (!holder ||
            !image.ReadRva(rva, holder->virtualAddress + holder->rawSize - rva, directory) ||
            !tree.Parse(directory, rva)) {
            return Fail("the engine stub's resources cannot be read: " + tree.LastError());
        }
    }

    VersionTexts texts;
    texts.productName = Wide(request.productName, "ProjectName");
    texts.companyName = Wide(request.companyName, "CompanyDesc");
    texts.productVersion = Wide(request.productVersion, "ProductVersion");
    texts.fileDescription = texts.productName + u" Setup";
    texts.numbers = VersionNumbers(request.productVersion);
    const ResourceId version = ResourceId::Number(kResourceVersion);
    for (const Resource& r : std::vector<Resource>(tree.Resources())) {
        if (r.type == version) tree.Remove(r.type, r.name);
    }
    tree.Set(Resource{version, ResourceId::Number(1), 0, 0, VersionResource(texts)});

    if (!icon.empty()) {
        const ResourceId iconType = ResourceId::Number(kResourceIcon);
        const ResourceId group = ResourceId::Number(kResourceGroupIcon);
        tree.Remove(group, ResourceId::Number(kProductIconGroup));
        std::uint32_t first = std::uint32_t(tree.HighestNumber(iconType)) + 1;
        if (first + icon.size() > 0xFFFF) return Fail("the engine stub has no icon numbers left");
        for (std::size_t i = 0; i < icon.size(); ++i) {
            tree.Set(Resource{iconType, ResourceId::Number(std::uint16_t(first + i)), 0, 0,
                              icon[i].data});
        }
        tree.Set(Resource{group, ResourceId::Number(kProductIconGroup), 0, 0,
                          IconGroupResource(icon, std::uint16_t(first))});
    }
    if (!image.ReplaceResources(tree.Build(image.NewResourceRva()))) {
        return Fail("the engine stub cannot take the new resources: " + image.LastError());
    }
    if (request.timeStamp && *request.timeStamp <= 0xFFFFFFFFll) {
        image.SetTimeStamp(std::uint32_t(*request.timeStamp));
    }
    if (image.Checksum() != 0) checksumOffset_ = image.ChecksumOffset();
    stub = image.Bytes();
    return true;
}

}  // namespace vesk
