// Checks a project as written, before the build completes it: every value against what its field
// must hold, fields and subtasks a task never reads, and the rules that tie fields together
// (PathDesc and PathValue in pairs, the finish page's RunApp subtasks, subtask IDs given twice).
// What it finds is an error when the setup would do something else than written, a warning when
// the setup just passes the thing over.
#pragma once

#include <string>
#include <vector>

#include "builder/reading/ProblemList.h"
#include "builder/reading/ProjectReader.h"

namespace vesk {

class ProjectCheck {
public:
    // Checks every task of `project` whose ID is a slot's; `locations` (ProjectReader) give the
    // lines, `name` the file for the messages ("project.xml:12: task 2406: ..."), `baseDir` the
    // folder that files on the build machine are relative to.
    void Check(const InstallProject& project, const std::vector<TaskLocation>& locations,
               const std::string& name, const std::string& baseDir);

    const std::vector<Problem>& Errors() const { return errors_; }
    const std::vector<std::string>& Warnings() const { return warnings_; }

private:
    // "project.xml:12: task 2406: message".
    void Report(bool error, std::size_t line, const std::string& message);
    // "project.xml:12: RegSubKey of task 2406" + message.
    void ReportField(bool error, std::size_t line, FieldKind kind, const std::string& message);
    void ReportAs(bool error, std::size_t line, const std::string& message);
    void CheckSubTask(int slot, const SubTask& subtask, const SubTaskLocation& location);
    void CheckUnreadField(int slot, const SubTask& subtask, FieldKind kind, std::size_t line);
    void CheckSubTaskIds(int slot, const Task& task, const TaskLocation& location);
    void CheckBindings(const Task& task, const TaskLocation& location);
    void CheckRunApp(const SubTask& subtask, const SubTaskLocation& location);
    void CheckRegistryNumber(const SubTask& subtask, const SubTaskLocation& location);
    void CheckSourceFolder(const std::string& source, const std::string& target, std::size_t line);
    void CheckShortcuts(const Task& task, const TaskLocation& location, bool programFolderPage);
    void CheckMarks(const Task& task, const TaskLocation& location);

    std::string name_;
    std::string baseDir_;
    std::string taskId_;      // of the task being checked
    bool userScope_ = false;  // InstallScope user: what needs administrator rights is refused
    std::vector<Problem> errors_;
    std::vector<std::string> warnings_;
};

}  // namespace vesk
