// Reads a project file as people write it and reports every mistake with its line number.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "builder/reading/ProblemList.h"
#include "project/InstallProject.h"

namespace vesk {

class ProjectDefines;

// The lines on which a task, its subtasks and their fields stand (1-based), parallel to the
// project's tasks, subtasks and fields.
struct SubTaskLocation {
    std::size_t line = 0;
    std::vector<std::size_t> fieldLines;
};
struct TaskLocation {
    std::size_t line = 0;
    std::vector<SubTaskLocation> subtasks;
};

// The input dialect is the engine's own (one element per line, attributes ID, Type and IsExec in
// this order, no escaping) with a few allowances for hand-written files: indentation, blank
// lines, LF or CR LF line ends, a UTF-8 byte-order mark and XML comments ("<!-- ... -->", also
// over several lines) between elements. Unlike the engine, which reads any line as something, the
// reader refuses what the engine would misread: unknown element or type names, a field whose
// closing tag does not match, attributes out of order, a task or subtask left open.
//
// Texts reach the setup in UTF-8, which the project declares and the engine reads: a file that is
// well-formed UTF-8 (most editors' choice), has a byte-order mark or declares UTF-8 is taken as it
// is, any other file must be GB2312 (what earlier projects were written in) and is converted line
// by line; a line that is neither is refused. Comments are neither converted nor
// checked. With defines set, every "${NAME}" outside comments is replaced after that.
//
// A mistake does not end the reading: the reader reports it and goes on at the next element, so
// one run names every mistake of the file. What it can still make out is kept (a task whose
// attributes are out of order, by their names); a task or subtask whose start it cannot make out
// is read for further mistakes and left out of Project(), as is a field it refuses.
class ProjectReader {
public:
    // Values for "${NAME}"; none set: "${" is ordinary text. Must outlive the reads.
    void SetDefines(const ProjectDefines* defines) { defines_ = defines; }

    // The file's tasks in file order. False (see Errors) when the file cannot be read or is not
    // a project in the dialect; Project() then holds what could be read.
    bool ReadFile(const std::string& path);
    // `name` stands for the file in messages.
    bool ReadText(const std::string& text, const std::string& name);

    const InstallProject& Project() const { return project_; }
    // The line on which each task of Project() starts, in the same order (for later messages).
    const std::vector<std::size_t>& TaskLines() const { return taskLines_; }
    // Where every task, subtask and field of Project() stands.
    const std::vector<TaskLocation>& Locations() const { return locations_; }
    // Every mistake, in file order: "project.xml:12: unknown field <Descripton>".
    const std::vector<Problem>& Errors() const { return errors_.Items(); }
    // Errors() as text, one per line.
    std::string LastError() const { return errors_.Text(); }
    // Whether a task was left out because its start could not be made out: Project() may lack a
    // task the file meant to hold.
    bool LostTasks() const { return lostTasks_; }

    // The reading ends after this many mistakes (a file that is no project at all).
    static constexpr std::size_t kMaxErrors = 100;

private:
    // Records the mistake and returns false.
    bool Fail(std::size_t line, const std::string& message);
    void Reset(const std::string& name);
    bool ReadLine(const std::string& line, std::size_t number);
    bool ReadTaskStart(const std::string& line, std::size_t number);
    bool ReadSubTaskStart(const std::string& line, std::size_t number);
    bool ReadField(const std::string& line, std::size_t number);
    void EndSubTask();
    void EndTask();
    // The line in GB2312 with its placeholders replaced; false (after Fail) when it cannot be.
    bool Prepare(const std::string& line, std::size_t number, std::string& prepared);

    enum class Place { BeforeRoot, InRoot, InTask, InSubTask, AfterRoot };

    const ProjectDefines* defines_ = nullptr;
    bool utf8_ = false;  // the file is UTF-8, to be converted
    InstallProject project_;
    std::vector<std::size_t> taskLines_;
    std::vector<TaskLocation> locations_;
    TaskLocation taskLocation_;
    SubTaskLocation subtaskLocation_;
    std::string name_;
    ProblemList errors_;
    Place place_ = Place::BeforeRoot;
    Task task_;
    SubTask subtask_;
    std::size_t taskLine_ = 0;
    bool taskKept_ = true;     // the task being read goes into the project
    bool subtaskKept_ = true;  // the subtask being read goes into its task
    bool lostTasks_ = false;
    bool afterRootReported_ = false;
    bool beforeRootReported_ = false;
};

}  // namespace vesk
