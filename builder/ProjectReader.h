// Reads a project file as people write it and reports the first mistake with its line number.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "project/InstallProject.h"

namespace vesk {

// The input dialect is the engine's own (one element per line, attributes ID, Type and IsExec in
// this order, no escaping) with a few allowances for hand-written files: indentation, blank
// lines, LF or CR LF line ends, a UTF-8 byte-order mark and XML comments ("<!-- ... -->", also
// over several lines) between elements. Unlike the engine, which reads any line as something, the
// reader refuses what the engine would misread: unknown element or type names, a field whose
// closing tag does not match, attributes out of order, a task or subtask left open.
class ProjectReader {
public:
    // The file's tasks in file order. False (see LastError) when the file cannot be read or is
    // not a project in the dialect.
    bool ReadFile(const std::string& path);
    // `name` stands for the file in messages.
    bool ReadText(const std::string& text, const std::string& name);

    const InstallProject& Project() const { return project_; }
    // The line on which each task of Project() starts, in the same order (for later messages).
    const std::vector<std::size_t>& TaskLines() const { return taskLines_; }
    // "project.xml:12: unknown field <Descripton>".
    const std::string& LastError() const { return error_; }

private:
    bool Fail(std::size_t line, const std::string& message);
    bool ReadLine(const std::string& line, std::size_t number);

    enum class Place { BeforeRoot, InRoot, InTask, InSubTask, AfterRoot };

    InstallProject project_;
    std::vector<std::size_t> taskLines_;
    std::string name_;
    std::string error_;
    Place place_ = Place::BeforeRoot;
    Task task_;
    SubTask subtask_;
    std::size_t taskLine_ = 0;
};

}  // namespace vesk
