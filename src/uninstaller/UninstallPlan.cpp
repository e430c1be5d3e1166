// Computing the uninstall plan from the log and the install's records.
#include "uninstaller/UninstallPlan.h"

#include <initializer_list>
#include <set>
#include <string_view>
#include <utility>

#include "container/FileEntry.h"
#include "install/ShortcutPlaces.h"
#include "install/UninstallRecord.h"
#include "platform/Concat.h"
#include "project/EngineKey.h"
#include "project/NameCase.h"
#include "project/PathParts.h"
#include "project/RegistryKey.h"
#include "project/StartValues.h"
#include "project/TaskSlots.h"
#include "uninstaller/RegistryRemovals.h"
#include "uninstaller/RemovableFolders.h"
#include "uninstaller/UninstallLog.h"

namespace vesk {
namespace {

constexpr char kStartMenuGroup[] = "[Start Menu]\\";

bool IsSet(const std::string& text) {
    return LeadingInt(text) != 0;
}

// A full path the uninstaller may act on: from a drive ("C:\") or a share ("\\server\"), its
// token resolved, without "." or ".." parts that could lead elsewhere.
bool Usable(const std::string& path) {
    const bool fromDrive = path.size() > 3 && path[1] == ':' && path[2] == '\\';
    const bool fromShare = path.size() > 2 && path[0] == '\\' && path[1] == '\\';
    if (!fromDrive && !fromShare) return false;
    for (const std::string& part : PathComponents(path)) {
        if (part == "." || part == "..") return false;
    }
    return true;
}

std::string WithoutTrailingBackslash(std::string path) {
    while (path.size() > 3 && path.back() == '\\') path.pop_back();
    return path;
}

// The pieces of one plan while it is being put together.
class Planner {
public:
    Planner(const UninstallSource& source, const PathResolver& paths)
        : source_(source),
          log_(source.log),
          paths_(paths),
          folders_(GuardedFolders(paths), paths.Resolve("[Windows Directory]")) {
        plan_.title = ProductTitle(log_);
        plan_.installFolder = FolderOf(source.logPath);
        version_ = log_.GetValue(TaskIdForSlot(kSlotProjectProperties), SubTaskType::GetAllVar,
                                 FieldKind::ProductVersion);
        productKey_ = ProductKeyPath(log_.ProjectName());
        versionKeyPath_ = Concat({productKey_, "\\", version_});
        sharedUninstaller_ = paths.Resolve(kUninstallerPath);
    }

    UninstallPlan Make() {
        AddFonts();
        AddShortcuts();
        AddProductFiles();
        AddRegistry();
        // The log goes last of the files: a removal broken off can be started again.
        AddFile(source_.logPath);
        AddFolders();
        return std::move(plan_);
    }

private:
    const Task* SlotTask(int slot) const { return log_.FindSlotTask(slot); }

    bool UninstallFlag(FieldKind kind) const {
        const Task* task = SlotTask(kSlotUninstallOptions);
        return task && IsSet(task->GetValue(SubTaskType::GetValue, kind));
    }

    void AddFonts() {
        const Task* task = SlotTask(kSlotFonts);
        if (!task) return;
        TextLineList files;
        task->AppendValues(SubTaskType::GetValue, FieldKind::File, files);
        for (const std::string& file : files) {
            const std::string path = paths_.Resolve(file);
            if (Usable(path))
                plan_.removals.push_back({RemovalKind::Font, RemovalPhase::Files, path});
        }
    }

    // The program group the install used: as the version key records it, else as the log
    // proposes it.
    std::string ProgramGroup(RegistryKey& versionKey) const {
        if (versionKey.IsOpen() && versionKey.Handle()->QueryValue("ProgramFolder")) {
            std::string group = versionKey.ReadString("ProgramFolder");
            if (!group.empty()) group += '\\';
            return group;
        }
        const std::string& name = log_.GetValue(TaskIdForSlot(kSlotShortcuts),
                                                SubTaskType::GetValue, FieldKind::Description);
        if (name.empty()) return std::string();
        return paths_.Resolve(Concat({kStartMenuGroup, name, "\\"}));
    }

    void AddShortcuts() {
        RegistryKey versionKey(paths_.SystemRegistry());
        versionKey.OpenForReading(versionKeyPath_);
        group_ = ProgramGroup(versionKey);
        // Without a program group the install made no shortcut at all.
        if (group_.empty()) return;
        const QuickLaunchFolders quickLaunch =
            QuickLaunchCandidates(paths_, paths_.System().UserName());
        const ShortcutFolders folders{group_, quickLaunch.first, quickLaunch.second};
        if (const Task* task = SlotTask(kSlotShortcuts)) {
            for (const SubTask& subtask : task->SubTasks()) {
                if (subtask.Type() != SubTaskType::CreateShortcutMenu) continue;
                AddShortcut(subtask, folders);
            }
        }
        if (UninstallFlag(FieldKind::CreateUnInstall2)) {
            std::string link =
                versionKey.IsOpen() ? versionKey.ReadString("UnInstallFileLink") : "";
            if (link.empty()) {
                link = Concat({group_, source_.uninstallDesc, plan_.title, kLinkExtension});
            }
            AddFile(link);
        }
    }

    void AddShortcut(const SubTask& subtask, const ShortcutFolders& folders) {
        const std::string& name = subtask.Value(FieldKind::Description);
        for (const ShortcutPlace& place : kShortcutPlaces) {
            if (!IsSet(subtask.Value(place.flag))) continue;
            std::string link = LinkBaseOf(paths_, folders, name, place.location, place.variant);
            if (link.empty()) continue;
            link += kLinkExtension;
            AddFile(link);
        }
    }

    void AddProductFiles() {
        const TextLineList entries = log_.GetValues(TaskIdForSlot(kSlotExtractFiles),
                                                    SubTaskType::FileList, FieldKind::File);
        const PathExpander expand = paths_.Expander();
        for (const std::string& text : entries) {
            const FileEntry entry = ParseFileEntry(text, expand);
            if (!entry.wellFormed) continue;
            switch (entry.kind) {
                case FileKind::Ordinary:
                case FileKind::Raw:
                case FileKind::Other:
                    AddFile(entry.path);
                    break;
                case FileKind::Uninstaller:
                    Keep({entry.path,
                          ": the uninstaller, shared by every product this engine installed"});
                    break;
                default:
                    // Start-up files, programs and registry data files were used up during the
                    // install.
                    break;
            }
        }
        Keep({paths_.Resolve("[System Directory]\\VeskInstall"),
              ": the uninstaller's language files, shared"});
    }

    // Notes what stays, with the reason, from its pieces in order.
    void Keep(std::initializer_list<std::string_view> pieces) {
        plan_.kept.push_back(Concat(pieces));
    }

    void AddFile(const std::string& path) {
        if (!Usable(path) || !files_.insert(UpperName(path)).second) return;
        if (SameName(path, sharedUninstaller_)) {
            Keep({path, ": the uninstaller, shared"});
            return;
        }
        plan_.removals.push_back({RemovalKind::File, RemovalPhase::Files, path});
        if (RemovableFolders::Below(path, plan_.installFolder)) {
            folders_.AddChainBelow(plan_.installFolder, FolderOf(path));
        }
    }

    void AddRegistry() {
        RegistryRemovals registry;
        registry.AddItemsOf(log_);
        if (UninstallFlag(FieldKind::CreateUnInstall1)) {
            registry.Add({RemovalKind::RegistryTree, RemovalPhase::Registry,
                          RegistryKeyPathOf(kUninstallEntries + plan_.title)});
        }
        const std::string product = RegistryKeyPathOf(productKey_);
        if (!version_.empty()) {
            registry.Add({RemovalKind::RegistryTree, RemovalPhase::Registry,
                          RegistryKeyPathOf(versionKeyPath_)});
        } else {
            // Without a version the install wrote the version key's values into the product key.
            for (const char* name : {"ProgramFolder", "UnInstallFileLink"}) {
                registry.Add({RemovalKind::RegistryValue, RemovalPhase::Registry, product,
                              RegistryRoot::LocalMachine, name});
            }
        }
        AddProductValues(registry, product);
        registry.AddEmptyKey(RegistryRoot::LocalMachine, product);
        for (const Removal& removal : registry.InOrder()) plan_.removals.push_back(removal);
        Keep({"LastVersion under HKEY_LOCAL_MACHINE", kEngineKey,
              ": the shared uninstaller's version"});
    }

    // Path and Version under the product's key name the last install of the product; they go
    // only when that is this one.
    void AddProductValues(RegistryRemovals& registry, const std::string& product) {
        RegistryKey key(paths_.SystemRegistry());
        if (!key.OpenForReading(productKey_)) return;
        const std::string path = key.ReadString("Path");
        const std::string version = key.ReadString("Version");
        if (version == version_ && SameName(WithoutTrailingBackslash(path), plan_.installFolder)) {
            for (const char* name : {"Path", "Version"}) {
                registry.Add({RemovalKind::RegistryValue, RemovalPhase::Registry, product,
                              RegistryRoot::LocalMachine, name});
            }
        } else if (!path.empty() || !version.empty()) {
            Keep({"Path and Version under HKEY_LOCAL_MACHINE", productKey_,
                  ": they name another install (", version, " in ", path, ")"});
        }
    }

    void AddFolders() {
        const std::string& install = plan_.installFolder;
        // The install folder's own path below its path variable, when it is the project's.
        const std::string& proposed = log_.GetValue(TaskIdForSlot(kSlotProjectProperties),
                                                    SubTaskType::GetAllVar, FieldKind::InstallPath);
        const std::size_t tokenEnd = proposed.find(']');
        if (!proposed.empty() && proposed[0] == '[' && tokenEnd != std::string::npos &&
            SameName(WithoutTrailingBackslash(paths_.Resolve(proposed)), install)) {
            folders_.AddChainBelow(paths_.Resolve(proposed.substr(0, tokenEnd + 1)), install);
        }
        folders_.Add(install);
        if (!group_.empty()) {
            folders_.AddChainBelow(paths_.Resolve("[Start Menu]"), group_);
            folders_.Add(group_);
        }
        const TextLineList listed = log_.GetValues(TaskIdForSlot(kSlotExtractFiles),
                                                   SubTaskType::FolderList, FieldKind::Folder);
        for (const std::string& folder : listed) {
            // The install put the program group in the place of this entry.
            if (SameName(folder, kStartMenuGroup)) continue;
            const std::string path = paths_.Resolve(folder);
            if (Usable(path)) folders_.Add(path);
        }
        for (const std::string& folder : folders_.InRemovalOrder()) {
            plan_.removals.push_back({RemovalKind::Folder, RemovalPhase::Folders, folder});
        }
    }

    const UninstallSource& source_;
    const InstallProject& log_;
    const PathResolver& paths_;
    RemovableFolders folders_;
    UninstallPlan plan_;
    std::string version_;
    std::string productKey_;
    std::string versionKeyPath_;  // the product's key, a backslash and the version
    std::string sharedUninstaller_;
    std::string group_;
    std::set<std::string> files_;
};

}  // namespace

std::vector<std::string> GuardedFolders(const PathResolver& paths) {
    std::vector<std::string> guarded;
    for (const char* token :
         {"[Program Files]", "[Windows Directory]", "[System Directory]", "[Desktop Directory]",
          "[TempFileDir]", "[Start Menu]", "[Startup]"}) {
        const std::string folder = paths.Resolve(token);
        if (folder.empty() || folder[0] != '[') guarded.push_back(folder);
    }
    const QuickLaunchFolders quickLaunch = QuickLaunchCandidates(paths, paths.System().UserName());
    guarded.push_back(quickLaunch.first);
    guarded.push_back(quickLaunch.second);
    return guarded;
}

UninstallPlan PlanUninstall(const UninstallSource& source, const PathResolver& paths) {
    return Planner(source, paths).Make();
}

}  // namespace vesk
