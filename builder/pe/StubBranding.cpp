// Branding the engine stub: icon and version resources.
#include "builder/pe/StubBranding.h"

#include "builder/pe/IconFile.h"
#include "builder/pe/PeChecksum.h"
#include "builder/pe/PeImage.h"
#include "builder/pe/ResourceTree.h"
#include "builder/pe/VersionResource.h"
#include "builder/plan/FileBytes.h"
#include "builder/reading/CodePageText.h"
#include "platform/LittleEndian.h"

namespace vesk {
namespace {

// Well-formed UTF-8 (as Gb2312ToUtf8 gives it) to UTF-16.
std::u16string Utf16Of(const std::string& utf8) {
    std::u16string wide;
    for (std::size_t i = 0; i < utf8.size();) {
        unsigned char lead = static_cast<unsigned char>(utf8[i]);
        int extra = lead < 0x80 ? 0 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
        std::uint32_t code = extra == 0 ? lead : lead & (0x3F >> extra);
        for (int k = 1; k <= extra && i + std::size_t(k) < utf8.size(); ++k) {
            code = code << 6 | (static_cast<unsigned char>(utf8[i + std::size_t(k)]) & 0x3F);
        }
        i += std::size_t(extra) + 1;
        if (code >= 0x10000) {
            code -= 0x10000;
            wide += char16_t(0xD800 + (code >> 10));
            wide += char16_t(0xDC00 + (code & 0x3FF));
        } else {
            wide += char16_t(code);
        }
    }
    return wide;
}

// The image's resource directory, when it has one; false when it cannot be read.
bool ReadResources(const PeImage& image, ResourceTree& tree) {
    if (image.ResourceRva() == 0) return true;
    std::string directory;
    const std::uint32_t rva = image.ResourceRva();
    const PeSection* holder = nullptr;
    for (const PeSection& s : image.Sections()) {
        if (rva >= s.virtualAddress && rva - s.virtualAddress < s.rawSize) holder = &s;
    }
    return holder &&
           image.ReadRva(rva, holder->virtualAddress + holder->rawSize - rva, directory) &&
           tree.Parse(directory, rva);
}

constexpr std::uint16_t kResourceManifest = 24;  // RT_MANIFEST

// Rewrites the execution level of every manifest that asks for administrator rights to
// "asInvoker"; false when none does.
bool RunAsInvoker(ResourceTree& tree) {
    static const std::string kAdministrator = "level=\"requireAdministrator\"";
    static const std::string kInvoker = "level=\"asInvoker\"";
    bool rewritten = false;
    for (Resource resource : std::vector<Resource>(tree.Resources())) {
        if (!(resource.type == ResourceId::Number(kResourceManifest))) continue;
        const std::size_t at = resource.data.find(kAdministrator);
        if (at == std::string::npos) continue;
        resource.data.replace(at, kAdministrator.size(), kInvoker);
        tree.Set(resource);
        rewritten = true;
    }
    return rewritten;
}

}  // namespace

bool StubBranding::Fail(std::string message) {
    error_ = std::move(message);
    return false;
}

std::u16string StubBranding::Wide(const std::string& text, const char* field) {
    if (IsUtf8(text)) return Utf16Of(text);
    warnings_.push_back(std::string(field) + " of task 2401 is no UTF-8 text; the version " +
                        "information shows '?' for its other characters");
    std::u16string wide;
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
    if (!ReadResources(image, tree)) {
        return Fail("the engine stub's resources cannot be read: " + tree.LastError());
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
    if (request.asInvoker && !RunAsInvoker(tree)) {
        return Fail(
            "the engine stub's manifest asks for no administrator rights that a setup for the "
            "current user could give up (requestedExecutionLevel \"requireAdministrator\")");
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

bool AskForNoElevation(std::string& program, std::string& why) {
    PeImage image;
    ResourceTree tree;
    if (!image.Parse(program)) {
        why = image.LastError();
    } else if (image.IsSigned()) {
        why = "it is signed, and changing its manifest would break the signature";
    } else if (!ReadResources(image, tree)) {
        why = "its resources cannot be read: " + tree.LastError();
    } else if (!RunAsInvoker(tree)) {
        why = "its manifest asks for no administrator rights to give up";
    } else if (!image.ReplaceResources(tree.Build(image.NewResourceRva()))) {
        why = "it cannot take the new resources: " + image.LastError();
    } else {
        program = image.Bytes();
        if (image.Checksum() != 0) {
            PeChecksum sum(image.ChecksumOffset());
            sum.Add(reinterpret_cast<const std::uint8_t*>(program.data()), program.size());
            Put32(program, image.ChecksumOffset(), sum.Value());
        }
        return true;
    }
    return false;
}

}  // namespace vesk
