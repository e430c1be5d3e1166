// Turns the tasks of a hand-written project into the 21 tasks that a setup carries, in the order
// it carries them.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "builder/checks/DefaultTasks.h"
#include "builder/reading/ProblemList.h"
#include "project/InstallProject.h"

namespace vesk {

// Tasks the project holds are kept as written, with two additions: task 2401's GetAllVar gets
// the builder's fields it lacks (with their default values), and a licence or readme document
// without a FileType before it gets one (the page picks the document's name from the FileType it
// has met when it reaches the File). Every missing slot gets its DefaultTasks task.
//
// The engine shows the wizard pages in the order of the project file, so the page tasks keep the
// order in which they were written; see Order().
class ProjectCompleter {
public:
    // False (see Errors) when a task ID is not a slot's, a slot appears twice, a task has
    // another type than its slot's, a task outside the page slots has IsExec set, task 2401
    // names no product, or the install folder (InstallPath) or the program folder name (task
    // 2404), as written or as made from the product's name, holds a name Windows cannot hold,
    // or the pages lead to a dead end (CheckPageOrder). Every such mistake is reported, and the
    // tasks are completed all the same: a task that fits no slot, or a slot already taken, is
    // passed over, one of another type gives way to the default, and a data task with IsExec set is
    // kept without it. Messages start with `name` and the line of the task at fault, taken from
    // `taskLines` (ProjectReader::TaskLines; one line per task of `input`), when given. `tasksLost`
    // says that the reader left out tasks it could not make out: a missing task 2401 is then not
    // reported, as it may be one of them.
    bool Complete(const InstallProject& input, const std::string& name = "",
                  const std::vector<std::size_t>& taskLines = {}, bool tasksLost = false);

    // The 21 tasks, indexed by slot.
    const std::vector<Task>& Tasks() const { return tasks_; }
    std::vector<Task>& Tasks() { return tasks_; }
    // The 21 slots in the order the setup carries their tasks: slot 0; then the page slots, those
    // written in the order they were written, each one not written just before the first written
    // page of a higher slot (after them all when there is none); then slots 10 ... 20. A project
    // written in slot order keeps slot order.
    const std::vector<int>& Order() const { return order_; }
    // The product as task 2401 describes it.
    const DefaultContent& Product() const { return product_; }
    // Every mistake, in the order found.
    const std::vector<Problem>& Errors() const { return errors_.Items(); }
    // Errors() as text, one per line, in file order.
    std::string LastError() const { return errors_.Text(); }

private:
    // Records the mistake and returns false.
    bool Fail(std::size_t line, std::string message);
    // The engine proposes both folders as they are; a name Windows cannot hold would only fail
    // in the middle of the install.
    bool CheckFolderNames(bool installPathWritten, bool shortcutsWritten,
                          const std::vector<std::size_t>& slotLines);

    // The pages the setup shows (page tasks with IsExec, in Order()) must lead to an install:
    // at least one page, the progress page among them, and no finish page before it (the
    // engine shows a finish page only after the install; before it, it is a blank page).
    bool CheckPageOrder(const std::vector<bool>& present,
                        const std::vector<std::size_t>& slotLines);

    std::vector<Task> tasks_;
    std::vector<int> order_;
    DefaultContent product_;
    std::string name_;
    ProblemList errors_;
};

// A project of the tasks of `tasksBySlot` in the slot order `order` (ProjectCompleter::Order).
InstallProject ProjectOf(const std::vector<Task>& tasksBySlot, const std::vector<int>& order);

}  // namespace vesk
