// Reading, writing and querying one subtask of the project.
#include "project/SubTask.h"

#include "project/TextLineList.h"

namespace vesk {

SubTask& SubTask::Add(FieldKind kind, std::string value) {
    fields_.emplace_back(kind, std::move(value));
    return *this;
}

SubTask& SubTask::Add(Field field) {
    fields_.push_back(std::move(field));
    return *this;
}

const std::string& SubTask::Value(FieldKind kind) const {
    for (const Field& field : fields_) {
        if (field.Kind() == kind) return field.Value();
    }
    return Field::NoValue();
}

bool SubTask::Has(FieldKind kind) const {
    for (const Field& field : fields_) {
        if (field.Kind() == kind) return true;
    }
    return false;
}

void SubTask::AppendValues(FieldKind kind, TextLineList& out) const {
    for (const Field& field : fields_) {
        if (field.Kind() == kind) out.Add(field.Value());
    }
}

void SubTask::Parse(const std::string& text) {
    TextLineList lines;
    lines.SplitAppend(text, false);
    Parse(LineSpan{lines.Lines().data(), lines.Count()});
}

void SubTask::Parse(LineSpan lines) {
    id_.clear();
    type_ = SubTaskType::InvalidType;
    fields_.clear();
    if (lines.size == 0 || !IsBlockStart(lines[0], kUpperStartTag)) return;

    // Only the order of quotes and '=' matters; attribute names are not looked at.
    const std::string& start = lines[0];
    const std::size_t idOpen = start.find('"');
    if (idOpen == std::string::npos) return;
    const std::size_t idClose = start.find('"', idOpen + 1);
    if (idClose == std::string::npos) return;
    id_ = start.substr(idOpen + 1, idClose - idOpen - 1);
    // The '=' is looked for after the ID's closing quote, so an ID holding '=' reads back.
    const std::size_t equals = start.find('=', idClose + 1);
    if (equals == std::string::npos) return;
    // The type runs from after '="' to the end of the line without its closing '">'.
    const std::size_t typeBegin = equals + 2;
    const std::size_t typeEnd = start.size() >= 2 ? start.size() - 2 : 0;
    type_ = SubTaskTypeFromName(typeBegin < typeEnd ? start.substr(typeBegin, typeEnd - typeBegin)
                                                    : std::string());

    // Every line between the start and the end line is a field, whatever it holds.
    for (std::size_t i = 1; i + 1 < lines.size; ++i) fields_.push_back(Field::FromLine(lines[i]));
}

std::string SubTask::ToXml() const {
    std::string text = "<SubTask ID=\"" + id_ + "\" Type=\"" + SubTaskTypeName(type_) + "\">\r\n";
    for (const Field& field : fields_) {
        text += field.ToXml();
        text += "\r\n";
    }
    text += "</SubTask>\r\n";
    return text;
}

}  // namespace vesk
