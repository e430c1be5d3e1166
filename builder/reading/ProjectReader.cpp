// The checked reader of hand-written project files.
#include "builder/reading/ProjectReader.h"

#include <cstdio>
#include <utility>
#include <vector>

#include "builder/reading/CodePageText.h"
#include "builder/reading/NearMiss.h"
#include "builder/reading/ProjectDefines.h"
#include "project/NameCase.h"
#include "project/TaskSlots.h"

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

// The attributes of a start tag against the names the engine expects, in their order.
struct AttributeMatch {
    std::vector<std::string> values;  // by expected name; empty when not given
    std::vector<bool> given;          // by expected name
    bool known = true;                // every attribute has an expected name, none twice
    bool inOrder = true;              // every expected name given, in the expected order: the
                                      // engine reads them by position, not by name
};

AttributeMatch MatchAttributes(const std::vector<Attribute>& attributes,
                               const std::vector<std::string>& expected) {
    AttributeMatch match;
    match.values.assign(expected.size(), std::string());
    match.given.assign(expected.size(), false);
    match.inOrder = attributes.size() == expected.size();
    for (std::size_t a = 0; a < attributes.size(); ++a) {
        std::size_t e = 0;
        while (e < expected.size() && !SameName(attributes[a].name, expected[e])) ++e;
        if (e == expected.size() || match.given[e]) {
            match.known = false;
            match.inOrder = false;
            continue;
        }
        match.given[e] = true;
        match.values[e] = attributes[a].value;
        match.inOrder = match.inOrder && e == a;
    }
    return match;
}

// "ID, Type, IsExec".
std::string Listed(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
    return text;
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
    errors_.Add(line, name_ + (line ? ":" + std::to_string(line) : std::string()) + ": " + message);
    return false;
}

bool ProjectReader::ReadFile(const std::string& path) {
    std::string text;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        Reset(path);
        return Fail(0, "cannot be read");
    }
    char block[65536];
    std::size_t got;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0) text.append(block, got);
    bool readError = std::ferror(file) != 0;
    std::fclose(file);
    if (readError) {
        Reset(path);
        return Fail(0, "read error");
    }
    return ReadText(text, path);
}

void ProjectReader::Reset(const std::string& name) {
    project_.Clear();
    taskLines_.clear();
    locations_.clear();
    name_ = name;
    errors_.Clear();
    place_ = Place::BeforeRoot;
    lostTasks_ = false;
    afterRootReported_ = false;
    beforeRootReported_ = false;
}

bool ProjectReader::ReadText(const std::string& text, const std::string& name) {
    Reset(name);
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
        if (raw.find('\r') != std::string::npos) {
            Fail(number, "stray carriage return");
            continue;
        }
        if (raw.find('\0') != std::string::npos) {
            // The engine reads the project in blocks that end at their first NUL.
            Fail(number, "a NUL byte cannot be part of a project");
            continue;
        }
        std::string line = Trimmed(raw);
        if (inComment || line.compare(0, 4, "<!--") == 0) {
            if (!inComment) commentLine = number;
            std::size_t close = line.find("-->", inComment ? 0 : 4);
            inComment = close == std::string::npos;
            if (!inComment && close + 3 != line.size()) {
                Fail(number, "put nothing after \"-->\" on the line of a comment's end");
            }
            continue;
        }
        if (line.empty()) continue;
        if (errors_.Count() >= kMaxErrors) {
            Fail(0, "stopped reading after " + std::to_string(kMaxErrors) + " mistakes");
            return false;
        }
        // Converted as written, so that a byte's position in a message is its column. A line
        // that cannot be converted is still read as it stands, for the mistakes after it.
        std::string prepared;
        if (!Prepare(raw, number, prepared)) prepared = raw;
        ReadLine(Trimmed(prepared), number);
    }
    if (inComment) Fail(commentLine, "the comment that starts here is not closed");
    switch (place_) {
        case Place::BeforeRoot:
            Fail(0, "no <InstallProject> element");
            break;
        case Place::InRoot:
            Fail(number, "the project ends without </InstallProject>");
            break;
        case Place::InTask:
        case Place::InSubTask:
            Fail(taskLine_, "the task that starts here is not closed");
            break;
        case Place::AfterRoot:
            break;
    }
    return errors_.Empty();
}

bool ProjectReader::Prepare(const std::string& line, std::size_t number, std::string& prepared) {
    std::string why;
    if (utf8_) {
        if (!IsUtf8(line)) return Fail(number, "the line is not UTF-8, which the file declares");
        prepared = line;
    } else if (!CheckGb2312(line, why)) {
        return Fail(number, why);
    } else {
        prepared = Gb2312ToUtf8(line);
    }
    std::string expanded;
    if (defines_ && !defines_->Expand(prepared, expanded, why)) return Fail(number, why);
    if (defines_) prepared = std::move(expanded);
    return true;
}

void ProjectReader::EndSubTask() {
    if (subtaskKept_) {
        task_.Add(std::move(subtask_));
        taskLocation_.subtasks.push_back(std::move(subtaskLocation_));
    }
    subtask_ = SubTask();
    subtaskLocation_ = SubTaskLocation();
    place_ = Place::InTask;
}

void ProjectReader::EndTask() {
    if (taskKept_) {
        project_.Add(std::move(task_));
        taskLines_.push_back(taskLine_);
        locations_.push_back(std::move(taskLocation_));
    }
    task_ = Task();
    taskLocation_ = TaskLocation();
    place_ = Place::InRoot;
}

bool ProjectReader::ReadLine(const std::string& line, std::size_t number) {
    const bool taskStart = StartsWithName(line, "<TASK ") || SameName(line, "<Task>");
    switch (place_) {
        case Place::BeforeRoot:
            if (line.compare(0, 5, "<?xml") == 0) return true;
            if (SameName(line, "<InstallProject>")) {
                place_ = Place::InRoot;
                return true;
            }
            // Said once: a file that is no project at all would get it for every line.
            if (!beforeRootReported_) Fail(number, "expected <InstallProject>");
            beforeRootReported_ = true;
            if (!taskStart) return false;
            // Read on as if it were there, so the tasks' own mistakes are found too.
            place_ = Place::InRoot;
            return ReadTaskStart(line, number);

        case Place::AfterRoot:
            if (afterRootReported_) return false;
            afterRootReported_ = true;
            return Fail(number, "nothing may follow </InstallProject>");

        case Place::InRoot:
            if (StartsWithName(line, "<VERSION>")) return true;
            if (SameName(line, "</InstallProject>")) {
                place_ = Place::AfterRoot;
                return true;
            }
            return ReadTaskStart(line, number);

        case Place::InTask:
        case Place::InSubTask:
            break;
    }
    const bool subtaskStart = StartsWithName(line, "<SUBTASK ") || SameName(line, "<SubTask>");
    const bool taskEnd = SameName(line, "</Task>");
    const bool rootEnd = SameName(line, "</InstallProject>");
    // A missing end tag is reported where the next element shows it; that element is then read
    // as it would be after the end tag.
    std::string missing;
    if (place_ == Place::InSubTask) {
        if (SameName(line, "</SubTask>")) {
            EndSubTask();
            return true;
        }
        if (!subtaskStart && !taskEnd && !taskStart && !rootEnd) return ReadField(line, number);
        missing = taskStart || rootEnd ? "</SubTask> and </Task> are" : "</SubTask> is";
        EndSubTask();
    } else if (taskStart || rootEnd) {
        missing = "</Task> is";
    }
    if (!missing.empty()) {
        Fail(number, missing + " missing before " +
                         (subtaskStart ? "the next <SubTask>"
                          : taskEnd    ? "</Task>"
                          : taskStart  ? "the next <Task> (for the task on line " +
                                            std::to_string(taskLine_) + ")"
                                      : "</InstallProject>"));
    }
    if (taskEnd || taskStart || rootEnd) EndTask();
    if (rootEnd) place_ = Place::AfterRoot;
    if (taskStart) return ReadTaskStart(line, number) && missing.empty();
    if (subtaskStart || !(taskEnd || rootEnd)) {
        return ReadSubTaskStart(line, number) && missing.empty();
    }
    return missing.empty();
}

bool ProjectReader::ReadTaskStart(const std::string& line, std::size_t number) {
    std::string tag, why;
    std::vector<Attribute> attributes;
    if (!StartsWithName(line, "<TASK")) return Fail(number, "expected <Task ...>");
    // From here on the lines up to </Task> belong to this task, whatever its start holds.
    task_ = Task();
    taskLine_ = number;
    taskLocation_ = TaskLocation{number, {}};
    place_ = Place::InTask;
    taskKept_ = false;
    const std::vector<std::string> names = {"ID", "Type", "IsExec"};
    const char kForm[] = "a task is written <Task ID=\"...\" Type=\"...\" IsExec=\"0|1\">";
    if (!ReadStartTag(line, tag, attributes, why)) {
        lostTasks_ = true;
        return Fail(number, why);
    }
    const AttributeMatch match = MatchAttributes(attributes, names);
    if (!SameName(tag, "Task") || !match.known || !match.given[0] || !match.given[1]) {
        lostTasks_ = true;
        return Fail(number, kForm);
    }
    // What can be made out is kept, so that the task's contents are checked too.
    taskKept_ = true;
    bool good = true;
    if (!match.given[2]) {
        good = Fail(number, std::string(kForm) + ": IsExec is missing");
    } else if (!match.inOrder) {
        good = Fail(number, "write the attributes of a task in the order " + Listed(names) +
                                ": the setup reads them by their place, not by their names");
    }
    const std::string& id = match.values[0];
    const std::string& type = match.values[1];
    const std::string& isExec = match.values[2];
    TaskType taskType = TaskTypeFromName(type);
    if (taskType == TaskType::InvalidType) {
        good = Fail(number, "unknown task type \"" + type +
                                "\" (ShowDialogBox, DataSetting or ExtractFiles)" +
                                DidYouMean(type, TaskTypeNames()));
        const int slot = TaskSlotFromIdOrLabel(id);
        taskKept_ = slot != kNoSlot;
        lostTasks_ = lostTasks_ || !taskKept_;
        if (taskKept_) taskType = TaskTypeForSlot(slot);
    }
    if (match.given[2] && isExec != "0" && isExec != "1") {
        good = Fail(number, "IsExec is \"0\" or \"1\"");
    }
    task_ = Task(id, taskType, isExec == "1");
    return good;
}

bool ProjectReader::ReadSubTaskStart(const std::string& line, std::size_t number) {
    std::string tag, why;
    std::vector<Attribute> attributes;
    if (!StartsWithName(line, "<SUBTASK")) {
        return Fail(number, "expected <SubTask ...> or </Task>");
    }
    subtask_ = SubTask();
    subtaskLocation_ = SubTaskLocation{number, {}};
    place_ = Place::InSubTask;
    subtaskKept_ = false;
    const std::vector<std::string> names = {"ID", "Type"};
    if (!ReadStartTag(line, tag, attributes, why)) return Fail(number, why);
    const AttributeMatch match = MatchAttributes(attributes, names);
    if (!SameName(tag, "SubTask") || !match.known || !match.given[0] || !match.given[1]) {
        return Fail(number, "a subtask is written <SubTask ID=\"...\" Type=\"...\">");
    }
    bool good = true;
    if (!match.inOrder) {
        good = Fail(number, "write the attributes of a subtask in the order " + Listed(names) +
                                ": the setup reads them by their place, not by their names");
    }
    const std::string& id = match.values[0];
    const std::string& type = match.values[1];
    if (id.find('=') != std::string::npos) {
        // The engine looks for the Type's '=' from the ID's opening quote on.
        good = Fail(number, "a subtask ID cannot hold '='");
    }
    if (SubTaskTypeFromName(type) == SubTaskType::InvalidType) {
        // Its fields are still read, for their own mistakes; the subtask stays out.
        return Fail(number,
                    "unknown subtask type \"" + type + "\"" + DidYouMean(type, SubTaskTypeNames()));
    }
    subtask_ = SubTask(id, SubTaskTypeFromName(type));
    subtaskKept_ = true;
    return good;
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
