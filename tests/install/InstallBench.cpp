// The in-memory install run.
#include "install/InstallBench.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "project/PathParts.h"
#include "project/TaskSlots.h"

namespace vesk::test {

void ScriptedReport::SetStatus(const std::string& text) {
    log.push_back(text);
    if (text == cancelAt) flags_.cancelRequested = true;
}

void ScriptedReport::SetProgress(int percent) {
    log.push_back(std::to_string(percent) + "%");
    if (percent == cancelAtProgress) flags_.cancelRequested = true;
}

bool ScriptedReport::AskYesNo(const std::string& text, const std::string& caption, QuestionIcon) {
    log.push_back("? " + caption + ": " + text);
    if (answers.empty()) {
        ADD_FAILURE() << "unscripted question " << text;
        return false;
    }
    bool answer = answers.front();
    answers.pop_front();
    return answer;
}

void ScriptedReport::Tell(const std::string& text, const std::string& caption) {
    log.push_back("! " + caption + ": " + text);
}

void ScriptedReport::Finish(InstallOutcome outcome) {
    log.push_back(outcome == InstallOutcome::Completed ? "completed" : "ended early");
}

bool MemoryExtractor::Extract(const FileEntry& entry) {
    if (entry.path == giveUp) {
        setupFinished_ = true;
        return false;
    }
    return files_.WriteWholeFile(entry.path, entry.rawPath + " body");
}

bool MemoryShellLinks::Create(const std::string& linkPath, const ShellLink& link) {
    if (!files_.WriteWholeFile(linkPath, "link to " + link.target)) return false;
    links[linkPath] = link;
    return true;
}

InstallBench::InstallBench() {
    TextLineList lines;
    for (const char* line :
         {"[Language=409]", "ProjectName=Demo 1.2", "ExitInstallTitle=Exit",
          "ExitInstallMessage=Exit?", "MessageDesc=Message", "WriteFileErrorDesc=Cannot write ",
          "ErrorExitInstallDesc=. Stop?", "UnInstallDesc=Uninstall ",
          "InstallProcessDesc2=Installing", "CreateFolderDesc=Folders", "CopyFileDesc=Files",
          "InstallFontDesc=Fonts", "OperationRegistryDesc=Registry", "RegisterComDesc=Components",
          "ClearFileDesc=Clearing", "CreateFileLinkDesc=Shortcuts"}) {
        lines.Add(line);
    }
    session.texts.LoadLines(lines);
    registry.PutString(RegistryRoot::LocalMachine,
                       "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                       "Common Programs", "C:\\All Users\\Start Menu\\Programs");
    registry.PutString(RegistryRoot::LocalMachine,
                       "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                       "Common Startup", "C:\\All Users\\Start Menu\\Programs\\Startup");
    session.paths.SetInstallDir("C:\\Apps\\Demo");
    session.start.startStamp = "20040305140307045";
    session.start.quickLaunchPath1 = "C:\\Ann\\Quick Launch\\";
    session.start.quickLaunchPath2 = "C:\\All Users\\Quick Launch\\";
    for (const char* folder :
         {"C:\\WINDOWS\\System32", "C:\\WINDOWS\\Fonts", "C:\\Apps",
          "C:\\All Users\\Start Menu\\Programs\\Startup", "C:\\Ann\\Quick Launch",
          "C:\\All Users\\Quick Launch", "C:\\Documents and Settings\\Ann\\Desktop", "C:\\TEMP"}) {
        files.AddFolders(folder);
    }
    Add(kSlotProjectProperties, SubTaskType::GetAllVar, FieldKind::ProjectName, "Demo");
    Add(kSlotProjectProperties, SubTaskType::GetAllVar, FieldKind::ProductVersion, "1.2");
}

void InstallBench::Add(int slot, SubTaskType type, FieldKind kind, const std::string& value) {
    std::vector<SubTask>& subtasks = tasks_[slot];
    for (SubTask& subtask : subtasks) {
        if (subtask.Type() == type) {
            subtask.Add(kind, value);
            return;
        }
    }
    subtasks.push_back(SubTask("10001", type));
    subtasks.back().Add(kind, value);
}

void InstallBench::Set(int slot, SubTaskType type, FieldKind kind, const std::string& value) {
    for (SubTask& subtask : tasks_[slot]) {
        if (subtask.Type() != type) continue;
        SubTask replaced(subtask.Id(), type);
        bool set = false;
        for (const Field& field : subtask.Fields()) {
            const bool same = field.Kind() == kind;
            replaced.Add(field.Kind(), same ? value : field.Value());
            set = set || same;
        }
        if (!set) replaced.Add(kind, value);
        subtask = replaced;
        return;
    }
    Add(slot, type, kind, value);
}

void InstallBench::AddSubTask(int slot, const SubTask& subtask) {
    tasks_[slot].push_back(subtask);
}

void InstallBench::AddFile(const std::string& path, char kind) {
    session.files.Add(path + ",0,10," + std::string(1, kind) + ",2004-3-5 14:3:7");
}

void InstallBench::Run() {
    LoadProject();
    InstallServices services = Services();
    InstallWorker(session, report, services).Run();
}

void InstallBench::LoadProject() {
    for (const auto& slot : tasks_) {
        Task task = Task::ForSlot(slot.first, false);
        for (const SubTask& subtask : slot.second) task.Add(subtask);
        session.project.Add(task);
    }
}

InstallServices InstallBench::Services() {
    InstallServices services{files, links, processes, extractor, [this](int milliseconds) {
                                 pauses.push_back(milliseconds);
                                 if (pauses.size() == cancelAfterPauses) {
                                     session.flags.cancelRequested = true;
                                 }
                             }};
    services.applyRegistryDataFile = [this](const std::string& path) {
        operations.push_back("reg-data " + path);
    };
    services.registerComponent = [this](const std::string& value) {
        operations.push_back("component " + value);
        return shellOpened.count(value) != 0;
    };
    services.addFont = [this](const std::string& path) { operations.push_back("font " + path); };
    return services;
}

namespace {

std::vector<std::string> ButTheRecords(const std::vector<std::string>& paths, bool folders) {
    const std::string engine = "C:\\WINDOWS\\System32\\VeskInstall";
    const std::string records = engine + "\\Records";
    std::vector<std::string> kept;
    for (const std::string& path : paths) {
        const bool record = path.rfind(records, 0) == 0 || (folders && path == engine);
        if (!record) kept.push_back(path);
    }
    return kept;
}

}  // namespace

std::vector<std::string> InstallBench::ProductFiles() const {
    return ButTheRecords(session.records.InstalledFiles(), false);
}

std::vector<std::string> InstallBench::ProductFolders() const {
    return ButTheRecords(session.records.CreatedFolders(), true);
}

std::vector<std::string> InstallBench::LogFrom(const std::string& from) const {
    auto start = std::find(report.log.begin(), report.log.end(), from);
    return std::vector<std::string>(start, report.log.end());
}

}  // namespace vesk::test
