// Adding a font for this session and for every later start of the system, and taking it back.
#include "install/Fonts.h"

#include "install/FontRegistryName.h"
#include "project/NameCase.h"
#include "project/PathParts.h"

namespace vesk {
namespace {

bool SameFolder(std::string a, std::string b) {
    while (!a.empty() && a.back() == '\\') a.pop_back();
    while (!b.empty() && b.back() == '\\') b.pop_back();
    return !a.empty() && SameName(a, b);
}

std::string NameWithoutExtension(const std::string& path) {
    const std::string name = FileNameOf(path);
    const std::string extension = ExtensionOf(path);
    return extension.empty() ? name : name.substr(0, name.size() - extension.size() - 1);
}

}  // namespace

void AddFont(Fonts& fonts, const std::string& path) {
    if (fonts.AddResource(path) <= 0) return;
    std::string name = FontRegistryNameOfFile(path);
    if (name.empty()) name = NameWithoutExtension(path);
    const bool inFontsFolder = SameFolder(FolderOf(path), fonts.FontsFolder());
    fonts.Register(name, inFontsFolder ? FileNameOf(path) : path);
    fonts.AnnounceChange();
}

void RemoveFont(Fonts& fonts, const std::string& path) {
    const bool removed = fonts.RemoveResource(path);
    int unlisted = fonts.Unregister(path);
    if (SameFolder(FolderOf(path), fonts.FontsFolder()))
        unlisted += fonts.Unregister(FileNameOf(path));
    if (removed || unlisted > 0) fonts.AnnounceChange();
}

}  // namespace vesk
