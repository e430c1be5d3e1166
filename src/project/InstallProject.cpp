// Loading, saving, querying and paging the install project.
#include "project/InstallProject.h"

#include <utility>

#include "platform/TextDecoding.h"
#include "project/NameCase.h"
#include "project/TaskSlots.h"

namespace vesk {
namespace {

// Lines 1 to 3 (declaration, root, version) and the last line are not examined.
constexpr std::size_t kHeaderLines = 3;
constexpr std::size_t kMinimumLines = 5;

}  // namespace

bool InstallProject::Load(const std::string& path) {
    TextLineList lines;
    const bool read = lines.ReadFile(path);
    SetPath(path);
    saved_ = true;
    Parse(lines);
    return read;
}

bool InstallProject::LoadFromBytes(const std::string& bytes) {
    TextLineList lines;
    const bool read = lines.ReadFileBytes(bytes);
    saved_ = true;
    Parse(lines);
    return read;
}

void InstallProject::Parse(const std::string& text) {
    TextLineList lines;
    lines.SplitAppend(text, false);
    Parse(lines);
}

void InstallProject::Parse(const TextLineList& stored) {
    Clear();
    // Texts are held in UTF-8: a project that declares UTF-8 holds it already; every other one
    // (the builders before declared GB2312) holds the system's ANSI code page.
    TextLineList lines = stored;
    const bool utf8 =
        lines.Count() > 0 && UpperName(lines.At(0)).find("ENCODING=\"UTF-8\"") != std::string::npos;
    lines.Decode(utf8 ? kUtf8CodePage : kAnsiCodePage);
    if (lines.Count() < kMinimumLines) return;
    const LineSpan body{lines.Lines().data() + kHeaderLines, lines.Count() - kHeaderLines - 1};
    ForEachBlock(body, Task::kUpperStartTag, Task::kUpperEndTag, [this](LineSpan block) {
        Task task;
        task.Parse(block);
        Add(std::move(task));
    });
}

bool InstallProject::Save(bool onlyIfUnsaved, bool toTempFile) {
    if (onlyIfUnsaved && saved_ && !toTempFile) return true;
    TextLineList lines;
    lines.SplitAppend(ToText(), false);
    if (!lines.WriteFile(toTempFile ? tempPath_ : path_)) return false;
    saved_ = true;
    return true;
}

std::string InstallProject::ToText() const {
    std::string text;
    for (const char* line : {kDeclarationLine, kRootStartLine, kVersionLine}) {
        text += line;
        text += "\r\n";
    }
    for (const Task& task : tasks_) text += task.ToXml();
    text += kRootEndLine;
    text += "\r\n";
    return text;
}

void InstallProject::SetPath(const std::string& path) {
    path_ = path;
    tempPath_ = path + kTempSuffix;
}

const std::string& InstallProject::ProjectName() const {
    return GetValue(TaskIdForSlot(kSlotProjectProperties), SubTaskType::GetAllVar,
                    FieldKind::ProjectName);
}

void InstallProject::Add(Task task) {
    tasks_.push_back(std::move(task));
    const std::size_t index = tasks_.size() - 1;
    if (IsPage(index)) {
        atFirstPage_ = true;
        if (firstPage_ == 0) firstPage_ = index;
        lastPage_ = index;
    }
    currentPage_ = firstPage_;
}

void InstallProject::Clear() {
    tasks_.clear();
    ResetPages();
}

void InstallProject::ResetPages() {
    atFirstPage_ = false;
    atLastPage_ = false;
    firstPage_ = 0;
    lastPage_ = 0;
    currentPage_ = 0;
}

const Task* InstallProject::FindTask(const std::string& id) const {
    for (const Task& task : tasks_) {
        if (task.Id() == id) return &task;
    }
    return nullptr;
}

const Task* InstallProject::FindSlotTask(int slot) const {
    const std::string id = TaskIdForSlot(slot);
    return id.empty() ? nullptr : FindTask(id);
}

const std::string& InstallProject::GetValue(const std::string& taskId, SubTaskType type,
                                            FieldKind kind) const {
    const Task* task = FindTask(taskId);
    return task ? task->GetValue(type, kind) : Field::NoValue();
}

void InstallProject::GetValues(const std::string& taskId, SubTaskType type, FieldKind kind,
                               TextLineList& out) const {
    out.Clear();
    if (const Task* task = FindTask(taskId)) task->AppendValues(type, kind, out);
}

TextLineList InstallProject::GetValues(const std::string& taskId, SubTaskType type,
                                       FieldKind kind) const {
    TextLineList out;
    GetValues(taskId, type, kind, out);
    return out;
}

const Task* InstallProject::NextPage() {
    atFirstPage_ = false;
    if (firstPage_ == 0 && lastPage_ == 0) return nullptr;
    if (currentPage_ == lastPage_) atLastPage_ = true;
    if (atLastPage_) return nullptr;
    for (std::size_t i = currentPage_ + 1; i < lastPage_; ++i) {
        if (IsPage(i)) {
            currentPage_ = i;
            return &tasks_[i];
        }
    }
    atLastPage_ = true;
    currentPage_ = lastPage_;
    return &tasks_[lastPage_];
}

const Task* InstallProject::PreviousPage() {
    atLastPage_ = false;
    if (firstPage_ == 0 && lastPage_ == 0) return nullptr;
    if (currentPage_ == firstPage_) {
        atFirstPage_ = true;
        return nullptr;
    }
    if (atFirstPage_) return nullptr;
    for (std::size_t i = currentPage_ - 1; i > firstPage_; --i) {
        if (IsPage(i)) {
            currentPage_ = i;
            return &tasks_[i];
        }
    }
    atFirstPage_ = true;
    currentPage_ = firstPage_;
    return &tasks_[firstPage_];
}

const Task* InstallProject::CurrentPageTask() const {
    if (firstPage_ == 0 || currentPage_ >= tasks_.size()) return nullptr;
    return &tasks_[currentPage_];
}

std::vector<std::size_t> InstallProject::PageOrder() const {
    std::vector<std::size_t> order;
    if (firstPage_ == 0) return order;
    for (std::size_t i = firstPage_; i <= lastPage_; ++i) {
        if (IsPage(i)) order.push_back(i);
    }
    return order;
}

}  // namespace vesk
