// Shortcuts of the install.
#include "install/ShortcutMaker.h"

#include "container/FileEntry.h"
#include "install/FolderChain.h"
#include "project/PathParts.h"

namespace vesk {
namespace {

bool IsSet(const SubTask& subtask, FieldKind kind) {
    return LeadingInt(subtask.Value(kind)) != 0;
}

}  // namespace

void ShortcutMaker::CreateShortcuts(const SubTask& subtask) {
    const std::string& name = subtask.Value(FieldKind::Description);
    const std::string target =
        context_.Resolve(subtask.Value(FieldKind::Folder) + "\\" + subtask.Value(FieldKind::File));
    const std::string& arguments = subtask.Value(FieldKind::Parameter);
    const std::string& iconFile = subtask.Value(FieldKind::IconFile);
    const std::string icon = iconFile.empty() ? std::string() : context_.Resolve(iconFile);
    for (const ShortcutPlace& place : kShortcutPlaces) {
        if (IsSet(subtask, place.flag)) {
            CreateShellLink(name, target, arguments, icon, place.location, place.variant);
        }
    }
}

std::string ShortcutMaker::LinkBase(const std::string& name, ShortcutLocation location,
                                    int variant) const {
    const SetupSession& session = context_.session;
    const ShortcutFolders folders{session.programFolder, session.start.quickLaunchPath1,
                                  session.start.quickLaunchPath2};
    return LinkBaseOf(session.paths, folders, name, location, variant);
}

void ShortcutMaker::CreateShellLink(const std::string& name, const std::string& target,
                                    const std::string& arguments, const std::string& icon,
                                    ShortcutLocation location, int variant) {
    std::string linkPath = LinkBase(name, location, variant);
    if (linkPath.empty()) return;
    linkPath += kLinkExtension;
    // A folder the system has not made yet (a new user's Quick Launch folder) is made, and
    // journalled, for the link.
    for (const std::string& made : CreateFolderChain(context_.services.files, FolderOf(linkPath))) {
        context_.session.records.AddCreatedFolder(made);
    }
    context_.keeper.BeforeWrite(linkPath);
    ShellLink link;
    link.target = target;
    link.arguments = arguments;
    link.workingFolder = FolderOf(target);
    link.description = name;
    link.iconPath = icon;
    link.show = kShowNormal;
    if (context_.services.links.Create(linkPath, link)) {
        context_.keeper.AfterWrite(linkPath);
        context_.Log(LogKind::Shortcut,
                     {linkPath, " -> ", target, arguments.empty() ? "" : " ", arguments});
    } else {
        context_.Log(LogKind::Error, {"cannot create the shortcut ", linkPath});
    }
}

}  // namespace vesk
