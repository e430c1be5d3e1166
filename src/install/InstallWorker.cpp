// The order of the install's phases, what each reads from the project, cancellation and the end.
#include "install/InstallWorker.h"

#include <utility>

#include "install/FileInstaller.h"
#include "install/RegistryItems.h"
#include "install/ShortcutMaker.h"
#include "install/UninstallRecord.h"
#include "project/NameCase.h"
#include "project/RegistryKey.h"
#include "project/TaskSlots.h"

namespace vesk {
namespace {

constexpr char kStartMenuGroup[] = "[Start Menu]\\";

// Every value of `kind` in the GetValue subtasks of the slot's task, in file order.
TextLineList ValuesOf(const InstallProject& project, int slot, FieldKind kind) {
    TextLineList values;
    if (const Task* task = project.FindSlotTask(slot)) {
        task->AppendValues(SubTaskType::GetValue, kind, values);
    }
    return values;
}

}  // namespace

template <typename Items>
bool InstallWorker::RunPhase(TextKey status, const char* name, Items items) {
    SharedFlags& flags = context_.session.flags;
    context_.Log(LogKind::Phase, name);
    context_.report.SetStatus(context_.Text(status));
    items();
    // A request no item of the phase answered (it had none, or none that asks) is answered here
    // rather than one phase later.
    if (flags.installOk) context_.CancelCheck();
    context_.services.pause(kPhasePauseMs);
    return flags.installOk;
}

void InstallWorker::CreateFolders() {
    SetupSession& session = context_.session;
    std::vector<std::string> folders = session.folders.Lines();
    if (!session.programFolder.empty()) {
        const std::string group = kStartMenuGroup + session.programFolder;
        for (std::string& folder : folders) {
            if (SameName(folder, kStartMenuGroup)) {
                folder = group;
                break;
            }
        }
        std::string resolved = context_.Resolve(group);
        context_.CreateFolders(resolved);
        // From here on the program folder is absolute and ends in a backslash.
        resolved += '\\';
        session.programFolder = std::move(resolved);
    }
    for (const std::string& folder : folders) {
        context_.CreateFolders(context_.Resolve(folder));
        context_.services.pause(kItemPauseMs);
        if (context_.CancelCheck()) return;
    }
}

void InstallWorker::GuardInstallFolder() {
    const std::string folder = context_.Resolve("[InstallDir]");
    FileSystem& files = context_.services.files;
    if (!files.GuardFolder(folder)) {
        context_.Log(LogKind::Error, {"cannot hold the install folder ", folder});
    }
    // The folders made for the install before it began (by the destination page, or for /S).
    for (const std::string& made : context_.session.records.CreatedFolders()) {
        context_.ProtectFolder(made);
    }
}

void InstallWorker::AddFonts() {
    for (const std::string& value :
         ValuesOf(context_.session.project, kSlotFonts, FieldKind::File)) {
        const std::string path = context_.Resolve(value);
        if (context_.services.addFont) context_.services.addFont(path);
        context_.Log(LogKind::Font, path);
        if (context_.CancelCheck()) return;
    }
}

void InstallWorker::ApplyRegistryItems() {
    const Task* task = context_.session.project.FindSlotTask(kSlotRegistry);
    if (!task) return;
    // One key for the phase: a root named by one item carries over to the next.
    RegistryKey key(context_.session.SystemRegistry(), RegistryRoot::LocalMachine);
    InstallRecords& records = context_.session.records;
    for (const SubTask& subtask : task->SubTasks()) {
        if (subtask.Type() == SubTaskType::Registry) {
            const std::size_t first = records.ChangeCount();
            LogRegistryItem(context_.session.log,
                            ApplyRegistrySubtask(key, subtask, "", &context_.session.paths));
            NoteUninstallChoice(records, first, key.Root(), ReadRegistryItem(subtask));
        }
        if (context_.CancelCheck()) return;
    }
}

void InstallWorker::RegisterComponents() {
    for (const std::string& value :
         ValuesOf(context_.session.project, kSlotComponentRegistration, FieldKind::File)) {
        // Only a document opened through the shell is followed by the question: a component
        // being registered or a program just run is not interrupted by it.
        const bool opened =
            context_.services.registerComponent && context_.services.registerComponent(value);
        context_.Log(LogKind::Component, context_.Resolve(value));
        if (opened && context_.CancelCheck()) return;
    }
}

void InstallWorker::ClearFiles() {
    for (const std::string& value :
         ValuesOf(context_.session.project, kSlotClearFiles, FieldKind::File)) {
        const std::string path = context_.Resolve(value);
        // Kept aside until the install completes, so a rollback can give it back.
        const bool removed = context_.keeper.Remove(path);
        context_.Log(LogKind::Removed, {path, removed ? "" : " (not there)"});
        if (context_.CancelCheck()) return;
    }
}

void InstallWorker::CreateShortcuts() {
    const Task* task = context_.session.project.FindSlotTask(kSlotShortcuts);
    // Without a program group there are no shortcuts at all, not even on the desktop.
    if (!task || context_.session.programFolder.empty()) return;
    ShortcutMaker shortcuts(context_);
    for (const SubTask& subtask : task->SubTasks()) {
        if (subtask.Type() != SubTaskType::CreateShortcutMenu) continue;
        shortcuts.CreateShortcuts(subtask);
        if (context_.CancelCheck()) return;
    }
}

void InstallWorker::Run() {
    SharedFlags& flags = context_.session.flags;
    InstallReport& report = context_.report;
    flags.installOk = true;
    context_.Log(LogKind::Setup, {"install folder ", context_.Resolve("[InstallDir]"),
                                  ", program folder ", context_.session.programFolder});
    report.SetStatus(context_.Text(TextKey::InstallProcessDesc2));
    context_.services.pause(kPhasePauseMs);
    GuardInstallFolder();

    ShortcutMaker shortcuts(context_);
    UninstallRecord record(context_, shortcuts);
    FileInstaller files(context_, record);
    const bool throughShortcuts =
        RunPhase(TextKey::CreateFolderDesc, "folders", [this] { CreateFolders(); }) &&
        RunPhase(TextKey::CopyFileDesc, "files", [&files] { files.Run(); }) &&
        RunPhase(TextKey::InstallFontDesc, "fonts", [this] { AddFonts(); }) &&
        RunPhase(TextKey::OperationRegistryDesc, "registry items",
                 [this] { ApplyRegistryItems(); }) &&
        RunPhase(TextKey::RegisterComDesc, "components", [this] { RegisterComponents(); }) &&
        RunPhase(TextKey::ClearFileDesc, "files to remove", [this] { ClearFiles(); }) &&
        RunPhase(TextKey::CreateFileLinkDesc, "shortcuts", [this] { CreateShortcuts(); });
    // The record keeps the shortcut phase's status text and is followed by no pause.
    if (throughShortcuts) {
        context_.Log(LogKind::Phase, "uninstall record");
        record.Write([this] { return context_.CancelCheck(); });
    }

    if (flags.installOk) {
        report.SetProgress(100);
        flags.installCompleted = true;
        flags.setupFinished = true;
        report.Finish(InstallOutcome::Completed);
    } else {
        report.Finish(InstallOutcome::EndedEarly);
    }
}

}  // namespace vesk
