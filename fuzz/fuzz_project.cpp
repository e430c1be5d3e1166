// Fuzzes the project reader: any bytes parse without a fault, the written form reads back to the
// same model and writes the same bytes again, and the page cursor stays on pages.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "project/Field.h"
#include "project/InstallProject.h"
#include "project/TaskSlots.h"
#include "project/TextKey.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

// After any cursor move: either no pages, or first <= current <= last, all three on pages.
void CheckCursor(const vesk::InstallProject& project) {
    if (project.FirstPage() == 0) {
        Check(project.LastPage() == 0 && project.CurrentPageTask() == nullptr);
        return;
    }
    Check(project.FirstPage() <= project.CurrentPage());
    Check(project.CurrentPage() <= project.LastPage());
    Check(project.LastPage() < project.TaskCount());
    Check(project.TaskAt(project.FirstPage()).IsExec());
    Check(project.TaskAt(project.LastPage()).IsExec());
    Check(project.CurrentPageTask() && project.CurrentPageTask()->IsExec());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);

    vesk::InstallProject project;
    project.Parse(text);
    CheckCursor(project);

    // The written form is a fixed point: it reads back to the same tasks and writes the same
    // bytes (values were already cut at '<' and lines at CR LF by the first reading).
    const std::string written = project.ToText();
    vesk::InstallProject back;
    back.Parse(written);
    Check(back.Tasks() == project.Tasks());
    Check(back.ToText() == written);

    // Walking the cursor forward visits PageOrder, then stays put; backward mirrors it.
    const auto order = project.PageOrder();
    std::size_t visited = order.empty() ? 0 : 1;
    while (const vesk::Task* page = project.NextPage()) {
        Check(visited < order.size() && page == &project.TaskAt(order[visited]));
        ++visited;
        CheckCursor(project);
    }
    Check(visited == order.size());
    while (project.PreviousPage()) {
        Check(visited > 1);
        --visited;
        CheckCursor(project);
    }
    Check(order.empty() || visited == 1);

    // Look-ups and the single-block readers never fault on the same bytes.
    (void)project.GetValue("2401", vesk::SubTaskType::GetAllVar, vesk::FieldKind::ProjectName);
    vesk::Task task;
    task.Parse(text);
    vesk::SubTask subtask;
    subtask.Parse(text);
    (void)vesk::Field::FromLine(text);
    (void)vesk::TaskSlotFromIdOrLabel(text);
    (void)vesk::TextKeyFromReference(text);
    return 0;
}
