// A whole install run in memory: a session with texts, paths and a project, the scripted user,
// and doubles for the file system, the payload, programs, shortcuts and the registry.
#pragma once

#include <atomic>
#include <deque>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "install/InstallWorker.h"
#include "support/FakeSystemFacts.h"
#include "support/MemoryFileSystem.h"
#include "support/MemoryRegistry.h"
#include "support/RecordingProcesses.h"

namespace vesk::test {

// Answers questions from a script and records every call as one line. `cancelAt` presses Cancel
// when that status text is shown, `cancelAtProgress` when the bar reaches that position.
class ScriptedReport : public InstallReport {
public:
    explicit ScriptedReport(SharedFlags& flags) : flags_(flags) {}
    std::vector<std::string> log;
    std::deque<bool> answers;  // an unscripted question fails the test and answers No
    std::string cancelAt;
    int cancelAtProgress = -1;

    void SetStatus(const std::string& text) override;
    void SetProgress(int percent) override;
    bool AskYesNo(const std::string& text, const std::string& caption, QuestionIcon) override;
    void Tell(const std::string& text, const std::string& caption) override;
    void Finish(InstallOutcome outcome) override;

private:
    SharedFlags& flags_;
};

// "Extracts" an entry by writing "<raw path> body" to the memory file system, which fails when
// the target's folder is missing or the file is locked. `giveUp` names a target whose volume the
// user gives up (setupFinished is set, as the reader does).
class MemoryExtractor : public EntryExtractor {
public:
    MemoryExtractor(MemoryFileSystem& files, std::atomic<bool>& setupFinished)
        : files_(files), setupFinished_(setupFinished) {}
    std::string giveUp;
    std::vector<std::string> timed;  // targets given their time

    bool Extract(const FileEntry& entry) override;
    void SetTime(const FileEntry& entry) override { timed.push_back(entry.path); }

private:
    MemoryFileSystem& files_;
    std::atomic<bool>& setupFinished_;
};

// Keeps every link by its file path and leaves a file there.
class MemoryShellLinks : public ShellLinks {
public:
    explicit MemoryShellLinks(MemoryFileSystem& files) : files_(files) {}
    std::map<std::string, ShellLink, CaseLess> links;
    bool Create(const std::string& linkPath, const ShellLink& link) override;

private:
    MemoryFileSystem& files_;
};

// The machine: Windows in C:\WINDOWS, the all-users Programs folder, the install folder
// C:\Apps\Demo (whose parent C:\Apps exists), and a project made of the fields added here.
struct InstallBench {
    InstallBench();

    // A field of the slot's task in its first subtask of `type` (both made when missing).
    void Add(int slot, SubTaskType type, FieldKind kind, const std::string& value);
    // The field's value in the slot's first subtask of `type`, replacing the one there.
    void Set(int slot, SubTaskType type, FieldKind kind, const std::string& value);
    // A subtask of its own in the slot's task.
    void AddSubTask(int slot, const SubTask& subtask);
    // A file-list entry "path,offset,size,kind,time".
    void AddFile(const std::string& path, char kind);

    // Loads the project and runs the worker; `services.*` operations record into `operations`.
    void Run();
    // The two halves of Run, for runs that start the worker another way.
    void LoadProject();
    InstallServices Services();

    // The journal's files and folders (InstallRecords::InstalledFiles, CreatedFolders) but the
    // engine's own folder and the product's record in it.
    std::vector<std::string> ProductFiles() const;
    std::vector<std::string> ProductFolders() const;

    // The report's log from the first line equal to `from`.
    std::vector<std::string> LogFrom(const std::string& from) const;

    FakeSystemFacts facts;
    MemoryRegistry registry;
    SetupSession session{facts, registry};
    ScriptedReport report{session.flags};
    MemoryFileSystem files;
    MemoryExtractor extractor{files, session.flags.setupFinished};
    RecordingProcesses processes;
    MemoryShellLinks links{files};
    std::vector<std::string> operations;  // "font X", "reg-data X", "component X"
    std::set<std::string> shellOpened;    // component values the shell opens
    std::vector<int> pauses;
    std::size_t cancelAfterPauses = 0;  // Cancel is pressed during that pause (0: never)

private:
    std::map<int, std::vector<SubTask>> tasks_;  // by slot
};

}  // namespace vesk::test
