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
    std::string name = FileNameOf(path);
    const std::size_t extension = ExtensionOf(path).size();
    if (extension > 0) name.resize(name.size() - extension - 1);
    return name;
}

}  // namespace

void AddFont(Fonts& fonts, const std::string& path, InstallRecords* records) {
    if (fonts.AddResource(path) <= 0) return;
    if (records) records->Add(FileChange(ChangeKind::FontAdded, path));
    std::string name = FontRegistryNameOfFile(path);
    if (name.empty()) name = NameWithoutExtension(path);
    const bool inFontsFolder = SameFolder(FolderOf(path), fonts.FontsFolder());
    const std::string file = inFontsFolder ? FileNameOf(path) : path;
    const std::optional<std::string> before = fonts.Listing(name);
    if (fonts.Register(name, file) && records) {
        Change listed;
        listed.kind = ChangeKind::FontListed;
        listed.path = path;
        listed.name = name;
        if (before) listed.before = StringValue(*before);
        listed.after = StringValue(file);
        records->Add(std::move(listed));
    }
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
