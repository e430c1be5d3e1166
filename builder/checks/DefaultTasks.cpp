// The builder's default tasks, one per slot.
#include "builder/checks/DefaultTasks.h"

#include <algorithm>
#include <utility>

#include "project/NameCase.h"
#include "project/TaskSlots.h"

namespace vesk {
namespace {

// Subtask IDs count up from here in every task. They stay below 65536 because the finish page
// uses the ID of a RunApp subtask as a control ID.
constexpr int kFirstSubTaskId = 10001;

class TaskBuilder {
public:
    TaskBuilder(int slot, bool isExec) : task_(Task::ForSlot(slot, isExec)) {}

    SubTask& Add(SubTaskType type) { return task_.Add(SubTask(std::to_string(nextId_++), type)); }
    // The page header every page task carries; the wizard shows fixed texts of its own.
    void TopFrame(const std::string& subject, const std::string& description) {
        Add(SubTaskType::ShowTopFrame)
            .Add(FieldKind::Subject, subject)
            .Add(FieldKind::Description, description);
    }
    void Options() { Add(SubTaskType::Options).Add(FieldKind::IsShow, task_.IsExec() ? "1" : "0"); }
    Task Take() { return std::move(task_); }

private:
    Task task_;
    int nextId_ = kFirstSubTaskId;
};

void AddUserEditBox(TaskBuilder& task, const std::string& description, int posY,
                    const std::string& valueName, const DefaultContent& content) {
    std::string key = "\\SOFTWARE\\" +
                      (content.company.empty() ? std::string() : content.company + "\\") +
                      content.projectName;
    task.Add(SubTaskType::EditBox)
        .Add(FieldKind::PosX, "133")
        .Add(FieldKind::PosY, std::to_string(posY))
        .Add(FieldKind::Width, "143")
        .Add(FieldKind::Height, "12")
        .Add(FieldKind::DefaultValue, "")
        .Add(FieldKind::IsWide, "0")
        .Add(FieldKind::Description, description)
        .Add(FieldKind::RegRootKey, "HKEY_LOCAL_MACHINE")
        .Add(FieldKind::RegSubKey, key)
        .Add(FieldKind::RegVarName, valueName)
        .Add(FieldKind::RegVarValue, "")
        .Add(FieldKind::RegDataType, "0")
        .Add(FieldKind::RegOperType, "0")
        .Add(FieldKind::IsOnlyToKey, "0")
        .Add(FieldKind::IsToDelete, "1")
        .Add(FieldKind::Checked, "1");
}

void AddDocument(TaskBuilder& task, SubTaskType type, const std::string& path) {
    task.Add(type)
        .Add(FieldKind::FileType, DefaultTasks::DocumentTypeFor(path))
        .Add(FieldKind::File, path);
}

}  // namespace

std::string DefaultTasks::DefaultInstallPath(const DefaultContent& content) {
    return "[Program Files]\\" + (content.company.empty() ? "" : content.company + "\\") +
           content.projectName;
}

std::string DefaultTasks::DocumentTypeFor(const std::string& path) {
    std::string extension = UpperName(path.substr(std::min(path.rfind('.'), path.size())));
    return extension == ".MHT" || extension == ".MHTML" ? "M" : "S";
}

std::vector<std::string> DefaultTasks::DefaultExclusions() {
    return {"*.zip", "*.cab", "*.7z", "*.rar", "*.gz", "*.jpg", "*.png", "*.mp3"};
}

std::vector<Field> DefaultTasks::ProjectPropertyFields(const DefaultContent& content) {
    return {
        {FieldKind::ProjectName, content.projectName},
        {FieldKind::InstallPath, DefaultInstallPath(content)},
        {FieldKind::CompanyDesc, content.company},
        {FieldKind::ProductVersion, content.version},
        {FieldKind::DiskSize, "0"},
        {FieldKind::TopFramePicture, content.headerPicture},
        {FieldKind::AdPicture, ""},
        {FieldKind::OutPutPath, content.outputFolder},
        {FieldKind::Language, kLanguages},
        {FieldKind::ProvideForInstall, ""},
        {FieldKind::AppFileIcon, ""},
        {FieldKind::SoftwareSize, "0"},
        {FieldKind::FileQty, "0"},
    };
}

Task DefaultTasks::ForSlot(int slot, const DefaultContent& content) {
    const bool hasLicence = !content.licence.empty();
    const bool hasReadme = !content.readme.empty();
    switch (slot) {
        case kSlotProjectProperties: {
            TaskBuilder task(slot, false);
            SubTask& all = task.Add(SubTaskType::GetAllVar);
            for (Field& field : ProjectPropertyFields(content)) all.Add(std::move(field));
            return task.Take();
        }
        case kSlotWelcome: {
            TaskBuilder task(slot, true);
            task.Add(SubTaskType::ShowBitmap)
                .Add(FieldKind::PosX, "0")
                .Add(FieldKind::PosY, "0")
                .Add(FieldKind::File, content.welcomePicture);
            task.Add(SubTaskType::GetValue)
                .Add(FieldKind::Description, "|WelcomeWndDesc1||ProjectName|")
                .Add(FieldKind::Description, "|WelcomeWndDesc2|")
                .Add(FieldKind::Description, "|WelcomeWndDesc3|")
                .Add(FieldKind::Description, "|WelcomeWndDesc4|");
            task.Options();
            return task.Take();
        }
        case kSlotLicence: {
            TaskBuilder task(slot, hasLicence);
            task.TopFrame("|ReadSoftDocSubject|", "|ReadSoftDocDesc|");
            AddDocument(task, SubTaskType::ShowSoftDoc, content.licence);
            task.Options();
            return task.Take();
        }
        case kSlotReadme: {
            TaskBuilder task(slot, hasReadme);
            task.TopFrame("|ShowReadmeSubject|", "|ShowReadmeDesc|");
            AddDocument(task, SubTaskType::ShowReadme, content.readme);
            task.Options();
            return task.Take();
        }
        case kSlotUserInformation: {
            TaskBuilder task(slot, false);
            task.TopFrame("|RegisterInfoSubject|", "|RegisterInfoDesc|");
            AddUserEditBox(task, "|RegisterInfoUserDesc|", 55, "UserName", content);
            AddUserEditBox(task, "|RegisterInfoCompanyDesc|", 72, "Company", content);
            task.Options();
            return task.Take();
        }
        case kSlotProgramFolder: {
            TaskBuilder task(slot, true);
            task.TopFrame("|ProgramFolderSubject|", "|ProgramFolderDesc|");
            task.Add(SubTaskType::GetValue).Add(FieldKind::Description, "|ProgramFolderDesc2|");
            task.Options();
            return task.Take();
        }
        case kSlotDestination: {
            TaskBuilder task(slot, true);
            task.TopFrame("|ChangePathSubject|", "|ChangePathDesc|");
            task.Add(SubTaskType::GetValue).Add(FieldKind::Description, "|ChangePathDesc2|");
            task.Options();
            return task.Take();
        }
        case kSlotProgress:
            return Task::ForSlot(slot, true);
        case kSlotFinish1:
        case kSlotFinish2: {
            // The restarting variant would offer a restart, checked, on every install: off.
            TaskBuilder task(slot, slot == kSlotFinish2);
            task.TopFrame("|ShowFinishSubject|", "|ProjectName||ShowFinishDesc|");
            SubTask& lines = task.Add(SubTaskType::GetValue);
            if (slot == kSlotFinish1) {
                lines.Add(FieldKind::Description, "|ShowFinishDesc1|");
            } else {
                lines.Add(FieldKind::PosX, "0").Add(FieldKind::PosY, "0");
                lines.Add(FieldKind::Description, "");
            }
            task.Options();
            return task.Take();
        }
        case kSlotFolderBinding: {
            TaskBuilder task(slot, false);
            SubTask& bindings = task.Add(SubTaskType::GetAllVar);
            if (!content.productFolder.empty()) {
                bindings.Add(FieldKind::PathDesc, "[InstallDir]");
                bindings.Add(FieldKind::PathValue, content.productFolder);
            }
            return task.Take();
        }
        case kSlotAddOnComponents: {
            TaskBuilder task(slot, false);
            task.Add(SubTaskType::GetValue).Add(FieldKind::ComList, "");
            return task.Take();
        }
        case kSlotShortcuts: {
            TaskBuilder task(slot, false);
            task.Add(SubTaskType::GetValue).Add(FieldKind::Description, content.projectName);
            if (!content.shortcutFile.empty()) {
                std::string name = content.shortcutFile.substr(0, content.shortcutFile.rfind('.'));
                task.Add(SubTaskType::CreateShortcutMenu)
                    .Add(FieldKind::Description, name)
                    .Add(FieldKind::File, content.shortcutFile)
                    .Add(FieldKind::Folder, "[InstallDir]")
                    .Add(FieldKind::Parameter, "")
                    .Add(FieldKind::IconFile, "")
                    .Add(FieldKind::IsToFileLinkGroup, "1")
                    .Add(FieldKind::IsToDesktop, "0")
                    .Add(FieldKind::IsToStartup, "0")
                    .Add(FieldKind::IsToQuickLaunch, "0");
            }
            return task.Take();
        }
        case kSlotRegistry:
            return Task::ForSlot(slot, false);
        case kSlotUninstallOptions: {
            // The record is off until the project turns it on: a project that leaves the task
            // out asks for nothing to be left behind on the user's machine.
            TaskBuilder task(slot, false);
            task.Add(SubTaskType::GetValue)
                .Add(FieldKind::CreateUnInstall1, "0")
                .Add(FieldKind::CreateUnInstall2, "0")
                .Add(FieldKind::UnInstallEx, "");
            return task.Take();
        }
        case kSlotCompressionExclusions: {
            TaskBuilder task(slot, false);
            SubTask& patterns = task.Add(SubTaskType::GetValue);
            for (const std::string& pattern : DefaultExclusions()) {
                patterns.Add(FieldKind::File, pattern);
            }
            return task.Take();
        }
        case kSlotComponentRegistration:
        case kSlotClearFiles:
        case kSlotFonts:
        case kSlotIconList: {
            TaskBuilder task(slot, false);
            task.Add(SubTaskType::GetValue);
            return task.Take();
        }
        case kSlotExtractFiles: {
            TaskBuilder task(slot, false);
            task.Add(SubTaskType::FolderList);
            task.Add(SubTaskType::FileList);
            return task.Take();
        }
        default:
            return Task();
    }
}

}  // namespace vesk
