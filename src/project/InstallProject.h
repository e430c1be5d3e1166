// The install project: the ordered tasks that drive the setup, their look-ups by task ID,
// subtask type and field kind, the wizard's page cursor, and the project file it is read from
// and written to.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "project/FieldKind.h"
#include "project/SubTaskType.h"
#include "project/Task.h"
#include "project/TextLineList.h"

namespace vesk {

class InstallProject {
public:
    // Reads the file, makes it the project's path (saved set) and parses it. A file that cannot
    // be read or is empty leaves a project without tasks and gives false.
    bool Load(const std::string& path);
    // The same for the bytes of a project file already in memory (the payload's project
    // section); the path stays as it was.
    bool LoadFromBytes(const std::string& bytes);

    // Replaces all tasks (and the page cursor) with those of the project text; malformed lines
    // are passed over, never an error.
    void Parse(const std::string& text);
    void Parse(const TextLineList& lines);

    // Writes ToText() to the path (or to the temporary path when toTempFile is set) and sets
    // saved. With onlyIfUnsaved set, a saved project is not written again unless toTempFile is
    // set. False when the file cannot be created or written completely.
    bool Save(bool onlyIfUnsaved = false, bool toTempFile = false);

    // The project as Save writes it: declaration, root, version, every task, end of root; CR LF
    // after every line, values byte for byte.
    std::string ToText() const;

    // Path and temporary path (path + ".~TempFile") change together.
    void SetPath(const std::string& path);
    const std::string& Path() const { return path_; }
    const std::string& TempPath() const { return tempPath_; }
    bool Saved() const { return saved_; }

    // The ProjectName value of task "2401", subtask GetAllVar.
    const std::string& ProjectName() const;

    std::size_t TaskCount() const { return tasks_.size(); }
    // index must be below TaskCount().
    const Task& TaskAt(std::size_t index) const { return tasks_[index]; }
    const std::vector<Task>& Tasks() const { return tasks_; }

    // Appends a task, counting it into the page cursor as Parse does (the cursor is put back on
    // the first page). For building a project; the wizard works on a loaded one.
    void Add(Task task);
    // No tasks, no pages; path and saved flag stay.
    void Clear();

    // The first task whose ID equals id byte for byte; nullptr when there is none.
    const Task* FindTask(const std::string& id) const;
    // The task of a slot (kSlotFonts ...); nullptr when absent.
    const Task* FindSlotTask(int slot) const;

    // The value of kind in the first subtask of type that has one, in task id; empty when the
    // task, the subtask or the field is absent.
    const std::string& GetValue(const std::string& taskId, SubTaskType type, FieldKind kind) const;
    // Clears out, then appends every value of kind in every subtask of type of task id.
    void GetValues(const std::string& taskId, SubTaskType type, FieldKind kind,
                   TextLineList& out) const;
    TextLineList GetValues(const std::string& taskId, SubTaskType type, FieldKind kind) const;

    // Page cursor over the tasks whose IsExec is set (index 0 is never a page). NextPage moves
    // to the next page and returns it, or returns nullptr on the last page (setting
    // AtLastPage); PreviousPage likewise backwards with AtFirstPage.
    const Task* NextPage();
    const Task* PreviousPage();
    std::size_t CurrentPage() const { return currentPage_; }
    // The task at the cursor; nullptr when there are no pages.
    const Task* CurrentPageTask() const;
    bool AtFirstPage() const { return atFirstPage_; }
    bool AtLastPage() const { return atLastPage_; }
    // Indices of the first and last page; 0 when there is no page.
    std::size_t FirstPage() const { return firstPage_; }
    std::size_t LastPage() const { return lastPage_; }
    // Every page index in the order NextPage visits them from the first page.
    std::vector<std::size_t> PageOrder() const;

    static constexpr const char* kDeclarationLine = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";
    static constexpr const char* kRootStartLine = "<InstallProject>";
    static constexpr const char* kVersionLine = "<Version>VeskInstall5.0</Version>";
    static constexpr const char* kRootEndLine = "</InstallProject>";
    static constexpr const char* kTempSuffix = ".~TempFile";

private:
    void ResetPages();
    // Whether the task at index counts as a page.
    bool IsPage(std::size_t index) const { return index != 0 && tasks_[index].IsExec(); }

    std::vector<Task> tasks_;
    std::string path_;
    std::string tempPath_ = kTempSuffix;
    bool saved_ = false;
    bool atFirstPage_ = false;
    bool atLastPage_ = false;
    std::size_t firstPage_ = 0;
    std::size_t lastPage_ = 0;
    std::size_t currentPage_ = 0;
};

}  // namespace vesk
