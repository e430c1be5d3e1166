// The checked reader of hand-written project files.
#include "ProjectReader.h"

#include <cstdio>
#include <utility>
#include <vector>

#include "CodePageText.h"
#include "NearMiss.h"
#include "ProjectDefines.h"
#include "project/NameCase.h"

namespace vesk {
namespace {

struct Attribute {
    std::string name, value;
};

std::string Trimmed(const std::string& text) {
    std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool StartsWithName(const std::string& line, const std::string& upperPrefix) {
    return UpperName(line.substr(0, upperPrefix.size())) == upperPrefix;
}

// Reads `<Tag Name="value" ...>`: the tag, then attributes separated by single spaces. False
// with the reason when the line has another shape.
bool ReadStartTag(const std::string& line, std::string& tag, std::vector<Attribute>& attributes,
                  std::string& why) {
    if (line.size() < 3 || line.front() != '<' || line.back() != '>') {
        why = "expected a start tag such as <Task ID=\"2401\" Type=\"DataSetting\" IsExec=\"0\">";
        return false;
    }
    std::size_t at = line.find(' ');
    if (at == std::string::npos) {
        why = "the start tag has no attributes";
        return false;
    }
    tag = line.substr(1, at - 1);
    attributes.clear();
    while (line[at] == ' ') {
        std::size_t equals = line.find('=', at);
        if (equals == std::string::npos || equals + 1 >= line.size() || line[equals + 1] != '"') {
            why = "attributes are written Name=\"value\" with one space before each";
            return false;
        }
        std::size_t close = line.find('"', equals + 2);
        if (close == std::string::npos) {
            why = "an attribute value has no closing quote";
            return false;
        }
        attributes.push_back(
            {line.substr(at + 1, equals - at - 1), line.substr(equals + 2, close - equals - 2)});
        at = close + 1;
    }
    if (at != line.size() - 1) {
        why = "attributes are written Name=\"value\" with one space before each";
        return false;
    }
    return true;
}

// The attribute names must be exactly `expected`, in that order: the engine reads them by
// position, not by name.
bool HasAttributes(const std::vector<Attribute>& attributes,
                   const std::vector<std::string>& expected) {
    if (attributes.size() != expected.size()) return false;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        if (!SameName(attributes[i].name, expected[i])) return false;
    }
    return true;
}

template <typename Name>
std::vector<std::string> NamesOf(Name name, int count) {
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) names.push_back(name(i));
    return names;
}

std::vector<std::string> FieldNames() {
    // InvalidField, the last kind, is no name to suggest.
    return NamesOf([](int i) { return FieldName(FieldKind(i)); }, kFieldKindCount - 1);
}

std::vector<std::string> SubTaskTypeNames() {
    return NamesOf([](int i) { return SubTaskTypeName(SubTaskType(i)); }, kSubTaskTypeCount - 1);
}

std::vector<std::string> TaskTypeNames() {
    return NamesOf([](int i) { return TaskTypeName(TaskType(i)); }, kTaskTypeCount - 1);
}

// Whether the XML declaration names UTF-8 as the file's encoding.
bool DeclaresUtf8(const std::string& text) {
    std::size_t end = text.find('\n');
    const std::string first = UpperName(text.substr(0, end));
    return first.compare(0, 5, "<?XML") == 0 &&
           first.find("ENCODING=\"UTF-8\"") != std::string::npos;
}

}  // namespace

bool ProjectReader::Fail(std::size_t line, const std::string& message) {
    error_ = name_ + (line ? ":" + std::to_string(line) : std::string()) + ": " + message;
    return false;
}

bool ProjectReader::ReadFile(const std::string& path) {
    std::string text;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        name_ = path;
        project_.Clear();
        taskLines_.clear();
        return Fail(0, "cannot be read");
    }
    char block[65536];
    std::size_t got;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0) text.append(block, got);
    bool readError = std::ferror(file) != 0;
    std::fclose(file);
    if (readError) {
        name_ = path;
        return Fail(0, "read error");
    }
    return ReadText(text, path);
}

bool ProjectReader::ReadText(const std::string& text, const std::string& name) {
    project_.Clear();
    taskLines_.clear();
    locations_.clear();
    name_ = name;
    error_.clear();
    place_ = Place::BeforeRoot;
    const bool byteOrderMark = text.compare(0, 3, "\xEF\xBB\xBF") == 0;
    std::size_t start = byteOrderMark ? 3 : 0;
    utf8_ = byteOrderMark || DeclaresUtf8(text.substr(start)) || IsUtf8(text);
    bool inComment = false;
    std::size_t number = 0, commentLine = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string raw = text.substr(start, end - start);
        start = end + 1;
        ++number;
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        if (raw.find('\r') != std::string::npos) return Fail(number, "stray carriage return");
        if (raw.find('\0') != std::string::npos) {
            // The engine reads the project in blocks that end at their first NUL.
            return Fail(number, "a NUL byte cannot be part of a project");
        }
        std::string line = Trimmed(raw);
        if (inComment || line.compare(0, 4, "<!--") == 0) {
            if (!inComment) commentLine = number;
            std::size_t close = line.find("-->", inComment ? 0 : 4);
            inComment = close == std::string::npos;
            if (!inComment && close + 3 != line.size()) {
                return Fail(number, "put nothing after \"-->\" on the line of a comment's end");
            }
            continue;
        }
        if (line.empty()) continue;
        // Converted as written, so that a byte's position in a message is its column.
        std::string prepared;
        if (!Prepare(raw, number, prepared) || !ReadLine(Trimmed(prepared), number)) return false;
    }
    if (inComment) return Fail(commentLine, "the comment that starts here is not closed");
    switch (place_) {
        case Place::BeforeRoot:
            return Fail(0, "no <InstallProject> element");
        case Place::InRoot:
            return Fail(number, "the project ends without </InstallProject>");
        case Place::InTask:
        case Place::InSubTask:
            return Fail(taskLine_, "the task that starts here is not closed");
        case Place::AfterRoot:
            break;
    }
    return true;
}

bool ProjectReader::Prepare(const std::string& line, std::size_t number, std::string& prepared) {
    std::string why;
    if (utf8_) {
        if (!Utf8ToGb2312(line, prepared, why)) return Fail(number, why);
    } else if (!CheckGb2312(line, why)) {
        return Fail(number, why);
    } else {
        prepared = line;
    }
    std::string expanded;
    if (defines_ && !defines_->Expand(prepared, expanded, why)) return Fail(number, why);
    if (defines_) prepared = std::move(expanded);
    return true;
}

bool ProjectReader::ReadLine(const std::string& line, std::size_t number) {
    switch (place_) {
        case Place::BeforeRoot:
            if (line.compare(0, 5, "<?xml") == 0) return true;
            if (SameName(line, "<InstallProject>")) {
                place_ = Place::InRoot;
                return true;
            }
            return Fail(number, "expected <InstallProject>");

        case Place::AfterRoot:
            return Fail(number, "nothing may follow </InstallProject>");

        case Place::InRoot:
            if (StartsWithName(line, "<VERSION>")) return true;
            if (SameName(line, "</InstallProject>")) {
                place_ = Place::AfterRoot;
                return true;
            }
            return ReadTaskStart(line, number);

        case Place::InTask:
            if (SameName(line, "</Task>")) {
                project_.Add(std::move(task_));
                taskLines_.push_back(taskLine_);
                locations_.push_back(std::move(taskLocation_));
                task_ = Task();
                place_ = Place::InRoot;
                return true;
            }
            return ReadSubTaskStart(line, number);

        case Place::InSubTask:
            break;
    }
    if (SameName(line, "</SubTask>")) {
        task_.Add(std::move(subtask_));
        taskLocation_.subtasks.push_back(std::move(subtaskLocation_));
        subtask_ = SubTask();
        place_ = Place::InTask;
        return true;
    }
    if (SameName(line, "</Task>")) return Fail(number, "</SubTask> is missing before </Task>");
    return ReadField(line, number);
}

bool ProjectReader::ReadTaskStart(const std::string& line, std::size_t number) {
    std::string tag, why;
    std::vector<Attribute> attributes;
    if (!StartsWithName(line, "<TASK")) return Fail(number, "expected <Task ...>");
    if (!ReadStartTag(line, tag, attributes, why)) return Fail(number, why);
    if (!SameName(tag, "Task") || !HasAttributes(attributes, {"ID", "Type", "IsExec"})) {
        return Fail(number, "a task is written <Task ID=\"...\" Type=\"...\" IsExec=\"0|1\">");
    }
    const std::string& type = attributes[1].value;
    if (TaskTypeFromName(type) == TaskType::InvalidType) {
        return Fail(number, "unknown task type \"" + type +
                                "\" (ShowDialogBox, DataSetting or ExtractFiles)" +
                                DidYouMean(type, TaskTypeNames()));
    }
    if (attributes[2].value != "0" && attributes[2].value != "1") {
        return Fail(number, "IsExec is \"0\" or \"1\"");
    }
    task_ = Task(attributes[0].value, TaskTypeFromName(type), attributes[2].value == "1");
    taskLine_ = number;
    taskLocation_ = TaskLocation{number, {}};
    place_ = Place::InTask;
    return true;
}

bool ProjectReader::ReadSubTaskStart(const std::string& line, std::size_t number) {
    std::string tag, why;
    std::vector<Attribute> attributes;
    if (!StartsWithName(line, "<SUBTASK")) {
        return Fail(number, "expected <SubTask ...> or </Task>");
    }
    if (!ReadStartTag(line, tag, attributes, why)) return Fail(number, why);
    if (!SameName(tag, "SubTask") || !HasAttributes(attributes, {"ID", "Type"})) {
        return Fail(number, "a subtask is written <SubTask ID=\"...\" Type=\"...\">");
    }
    if (attributes[0].value.find('=') != std::string::npos) {
        // The engine looks for the Type's '=' from the ID's opening quote on.
        return Fail(number, "a subtask ID cannot hold '='");
    }
    const std::string& type = attributes[1].value;
    if (SubTaskTypeFromName(type) == SubTaskType::InvalidType) {
        return Fail(number,
                    "unknown subtask type \"" + type + "\"" + DidYouMean(type, SubTaskTypeNames()));
    }
    subtask_ = SubTask(attributes[0].value, SubTaskTypeFromName(type));
    subtaskLocation_ = SubTaskLocation{number, {}};
    place_ = Place::InSubTask;
    return true;
}

bool ProjectReader::ReadField(const std::string& line, std::size_t number) {
    std::size_t close = line.find('>');
    if (line.front() != '<' || close == std::string::npos || close < 2) {
        return Fail(number, "expected a field such as <File>...</File>, or </SubTask>");
    }
    std::string fieldName = line.substr(1, close - 1);
    FieldKind kind = FieldKindFromName(fieldName);
    if (!fieldName.empty() && fieldName.back() == '/') {
        return Fail(number, "write an empty field as <" +
                                fieldName.substr(0, fieldName.size() - 1) + "></" +
                                fieldName.substr(0, fieldName.size() - 1) + ">");
    }
    if (kind == FieldKind::InvalidField) {
        return Fail(number,
                    "unknown field <" + fieldName + ">" + DidYouMean(fieldName, FieldNames()));
    }
    std::size_t valueEnd = line.find('<', close + 1);
    if (valueEnd == std::string::npos) return Fail(number, "the field has no closing tag");
    if (!SameName(line.substr(valueEnd), "</" + fieldName + ">")) {
        return Fail(number, "the value of <" + fieldName + "> must end at its closing tag </" +
                                fieldName + "> (a value cannot hold '<')");
    }
    subtask_.Add(kind, line.substr(close + 1, valueEnd - close - 1));
    subtaskLocation_.fieldLines.push_back(number);
    return true;
}

}  // namespace vesk
