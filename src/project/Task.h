// One task of the install project: a fixed ID, a type, the IsExec flag and ordered subtasks.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "project/LineBlocks.h"
#include "project/SubTask.h"
#include "project/TaskType.h"

namespace vesk {

class TextLineList;

class Task {
public:
    Task() = default;
    // The label follows from the ID (the slot table); isExec makes the task a wizard page.
    Task(std::string id, TaskType type, bool isExec);
    // The task of a slot with its ID and type from the slot table.
    static Task ForSlot(int slot, bool isExec);

    const std::string& Id() const { return id_; }
    // The slot's display label; empty when the ID is not a slot's.
    const std::string& Label() const { return label_; }
    TaskType Type() const { return type_; }
    bool IsExec() const { return isExec_; }
    void SetId(std::string id);
    void SetType(TaskType type) { type_ = type; }
    void SetExec(bool isExec) { isExec_ = isExec; }

    std::size_t SubTaskCount() const { return subtasks_.size(); }
    // i must be below SubTaskCount().
    const SubTask& SubTaskAt(std::size_t i) const { return subtasks_[i]; }
    const std::vector<SubTask>& SubTasks() const { return subtasks_; }
    // Appends a subtask and returns it for filling in (valid until the next Add).
    SubTask& Add(SubTask subtask);

    // The value of kind in the first subtask of type that holds one (a subtask of type without
    // kind is passed over); empty when none does.
    const std::string& GetValue(SubTaskType type, FieldKind kind) const;
    // Appends every value of kind in every subtask of type, in file order (out is not cleared).
    void AppendValues(SubTaskType type, FieldKind kind, TextLineList& out) const;

    // Replaces the task with the one in text: a start line ("<Task ID="…" Type="…" IsExec="…">"),
    // subtask blocks, and an end line (not examined). A text whose first line does not start a
    // task, or whose start line lacks a quote or '=' it needs, reads no subtasks; ID, type and
    // flag are then as far as they were read (else "", InvalidType, clear).
    void Parse(const std::string& text);
    void Parse(LineSpan lines);

    // The start line, every subtask's text and "</Task>", each line followed by CR LF.
    std::string ToXml() const;

    bool operator==(const Task& other) const {
        return id_ == other.id_ && label_ == other.label_ && type_ == other.type_ &&
               isExec_ == other.isExec_ && subtasks_ == other.subtasks_;
    }
    bool operator!=(const Task& other) const { return !(*this == other); }

    static constexpr const char* kUpperStartTag = "<TASK";
    static constexpr const char* kUpperEndTag = "</TASK>";

private:
    // Reads ID, type and flag from the start line; false when a quote or '=' is missing.
    bool ParseStartLine(const std::string& start);

    std::string id_;
    std::string label_;
    TaskType type_ = TaskType::InvalidType;
    bool isExec_ = false;
    std::vector<SubTask> subtasks_;
};

}  // namespace vesk
