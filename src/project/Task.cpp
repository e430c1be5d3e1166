// Reading, writing and querying one task of the project.
#include "project/Task.h"

#include <utility>

#include "project/TaskSlots.h"
#include "project/TextLineList.h"

namespace vesk {
namespace {

// Text from first up to (not including) end; empty when the range is empty or reversed.
std::string Between(const std::string& text, std::size_t first, std::size_t end) {
    return first < end && end <= text.size() ? text.substr(first, end - first) : std::string();
}

}  // namespace

Task::Task(std::string id, TaskType type, bool isExec) : type_(type), isExec_(isExec) {
    SetId(std::move(id));
}

Task Task::ForSlot(int slot, bool isExec) {
    return Task(TaskIdForSlot(slot), TaskTypeForSlot(slot), isExec);
}

void Task::SetId(std::string id) {
    id_ = std::move(id);
    label_ = TaskLabelForSlot(TaskSlotFromIdOrLabel(id_));
}

SubTask& Task::Add(SubTask subtask) {
    subtasks_.push_back(std::move(subtask));
    return subtasks_.back();
}

const std::string& Task::GetValue(SubTaskType type, FieldKind kind) const {
    for (const SubTask& subtask : subtasks_) {
        if (subtask.Type() != type) continue;
        for (const Field& field : subtask.Fields()) {
            if (field.Kind() == kind) return field.Value();
        }
    }
    return Field::NoValue();
}

void Task::AppendValues(SubTaskType type, FieldKind kind, TextLineList& out) const {
    for (const SubTask& subtask : subtasks_) {
        if (subtask.Type() == type) subtask.AppendValues(kind, out);
    }
}

void Task::Parse(const std::string& text) {
    TextLineList lines;
    lines.SplitAppend(text, false);
    Parse(LineSpan{lines.Lines().data(), lines.Count()});
}

void Task::Parse(LineSpan lines) {
    SetId("");
    type_ = TaskType::InvalidType;
    isExec_ = false;
    subtasks_.clear();
    if (lines.size == 0 || !IsBlockStart(lines[0], kUpperStartTag)) return;
    if (!ParseStartLine(lines[0])) return;
    // Subtask blocks between the start and the end line.
    LineSpan inner = lines.size >= 2 ? lines.Sub(1, lines.size - 2) : LineSpan{};
    ForEachBlock(inner, SubTask::kUpperStartTag, SubTask::kUpperEndTag, [this](LineSpan block) {
        subtasks_.emplace_back();
        subtasks_.back().Parse(block);
    });
}

bool Task::ParseStartLine(const std::string& start) {
    // Only the order of quotes and '=' matters; attribute names are not looked at.
    const std::size_t idOpen = start.find('"');
    if (idOpen == std::string::npos) return false;
    const std::size_t idClose = start.find('"', idOpen + 1);
    if (idClose == std::string::npos) return false;
    SetId(start.substr(idOpen + 1, idClose - idOpen - 1));

    // The character after '=' is taken as the opening quote; the name ends at the next quote.
    const std::size_t typeEquals = start.find('=', idClose + 1);
    if (typeEquals == std::string::npos) return false;
    const std::size_t typeBegin = typeEquals + 2;
    const std::size_t typeClose =
        typeBegin < start.size() ? start.find('"', typeBegin) : std::string::npos;
    if (typeClose == std::string::npos) return false;
    type_ = TaskTypeFromName(Between(start, typeBegin, typeClose));

    // IsExec runs from after '="' to the end of the line without its closing '">'.
    const std::size_t execEquals = start.find('=', typeClose + 1);
    if (execEquals == std::string::npos) return false;
    const std::size_t execEnd = start.size() >= 2 ? start.size() - 2 : 0;
    isExec_ = Between(start, execEquals + 2, execEnd) == "1";
    return true;
}

std::string Task::ToXml() const {
    std::string text = "<Task ID=\"" + id_ + "\" Type=\"" + TaskTypeName(type_) + "\" IsExec=\"" +
                       (isExec_ ? "1" : "0") + "\">\r\n";
    for (const SubTask& subtask : subtasks_) text += subtask.ToXml();
    text += "</Task>\r\n";
    return text;
}

}  // namespace vesk
