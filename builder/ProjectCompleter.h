// Turns the tasks of a hand-written project into the 21 tasks in slot order that a setup carries.
#pragma once

#include <string>
#include <vector>

#include "DefaultTasks.h"
#include "project/InstallProject.h"

namespace vesk {

// Tasks the project holds are kept as written, with two additions: task 2401's GetAllVar gets
// the builder's fields it lacks (with their default values), and a licence or readme document
// without a FileType before it gets one (the page picks the document's name from the FileType it
// has met when it reaches the File). Every missing slot gets its DefaultTasks task.
class ProjectCompleter {
public:
    // False (see LastError) when a task ID is not a slot's, a slot appears twice, a task has
    // another type than its slot's, or task 2401 names no product.
    bool Complete(const InstallProject& input);

    // The 21 tasks, indexed by slot.
    const std::vector<Task>& Tasks() const { return tasks_; }
    std::vector<Task>& Tasks() { return tasks_; }
    // The product as task 2401 describes it.
    const DefaultContent& Product() const { return product_; }
    const std::string& LastError() const { return error_; }

private:
    bool Fail(std::string message);

    std::vector<Task> tasks_;
    DefaultContent product_;
    std::string error_;
};

// A project of the given tasks, in their order.
InstallProject ProjectOf(const std::vector<Task>& tasks);

}  // namespace vesk
