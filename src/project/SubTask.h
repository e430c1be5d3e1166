// One subtask of a task: an ID, a type and an ordered list of fields.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "project/Field.h"
#include "project/LineBlocks.h"
#include "project/SubTaskType.h"

namespace vesk {

class TextLineList;

class SubTask {
public:
    SubTask() = default;
    SubTask(std::string id, SubTaskType type) : id_(std::move(id)), type_(type) {}

    // Not unique: several subtasks of one task may share an ID ("999999").
    const std::string& Id() const { return id_; }
    SubTaskType Type() const { return type_; }
    void SetId(std::string id) { id_ = std::move(id); }
    void SetType(SubTaskType type) { type_ = type; }

    std::size_t FieldCount() const { return fields_.size(); }
    // i must be below FieldCount().
    const Field& FieldAt(std::size_t i) const { return fields_[i]; }
    const std::vector<Field>& Fields() const { return fields_; }

    // Order and repetition carry meaning (list entries, page lines, PathDesc/PathValue pairs).
    SubTask& Add(FieldKind kind, std::string value);
    SubTask& Add(Field field);

    // The value of the first field of kind; empty when there is none.
    const std::string& Value(FieldKind kind) const;
    // Whether a field of kind is present (an empty value counts).
    bool Has(FieldKind kind) const;
    // Appends the value of every field of kind, in order.
    void AppendValues(FieldKind kind, TextLineList& out) const;

    // Replaces the subtask with the one in text: a start line ("<SubTask ID="…" Type="…">"),
    // one field per line, and an end line (which is not examined). A text whose first line does
    // not start a subtask, or whose start line lacks the quotes or '=' of its attributes,
    // leaves the fields empty (ID and type as far as they were read, else "" and InvalidType).
    void Parse(const std::string& text);
    void Parse(LineSpan lines);

    // The start line, every field line and "</SubTask>", each followed by CR LF.
    std::string ToXml() const;

    bool operator==(const SubTask& other) const {
        return id_ == other.id_ && type_ == other.type_ && fields_ == other.fields_;
    }
    bool operator!=(const SubTask& other) const { return !(*this == other); }

    static constexpr const char* kUpperStartTag = "<SUBTASK";
    static constexpr const char* kUpperEndTag = "</SUBTASK>";

private:
    std::string id_;
    SubTaskType type_ = SubTaskType::InvalidType;
    std::vector<Field> fields_;
};

}  // namespace vesk
