// Which document the licence and readme pages show, from their task's fields.
#include <gtest/gtest.h>

#include "project/TaskSlots.h"
#include "wizard/DocumentChoice.h"

namespace vesk {
namespace {

TEST(DocumentChoiceTest, FileTypeChoosesTheNameAndAFileShowsIt) {
    struct Case {
        const char* name;
        std::vector<std::vector<Field>> subtasks;  // of type ShowSoftDoc
        std::string expected;
    };
    using F = Field;
    const std::string base = kLicenceDocument;
    const Case cases[] = {
        {"HTML", {{F(FieldKind::FileType, "S"), F(FieldKind::File, "a.htm")}}, base + ".HTM"},
        {"web archive, lower case",
         {{F(FieldKind::FileType, "m"), F(FieldKind::File, "a.mht")}},
         base + ".MHT"},
        {"any other type",
         {{F(FieldKind::FileType, "MHT"), F(FieldKind::File, "a")}},
         base + ".HTM"},
        {"no type", {{F(FieldKind::File, "a.htm")}}, base + ".HTM"},
        {"empty file", {{F(FieldKind::FileType, "S"), F(FieldKind::File, "")}}, ""},
        {"type after the file",
         {{F(FieldKind::File, "a"), F(FieldKind::FileType, "M")}},
         base + ".HTM"},
        {"second type replaces the first",
         {{F(FieldKind::FileType, "S"), F(FieldKind::FileType, "M"), F(FieldKind::File, "a")}},
         base + ".MHT"},
        {"across subtasks",
         {{F(FieldKind::FileType, "M")}, {F(FieldKind::File, "a")}},
         base + ".MHT"},
        {"nothing", {}, ""},
    };
    for (const Case& c : cases) {
        Task task = Task::ForSlot(kSlotLicence, true);
        for (const std::vector<Field>& fields : c.subtasks) {
            SubTask& subtask = task.Add(SubTask("10001", SubTaskType::ShowSoftDoc));
            for (const Field& field : fields) subtask.Add(field);
        }
        // Subtasks of another type are not the page's.
        task.Add(SubTask("10009", SubTaskType::ShowReadme)).Add(Field(FieldKind::File, "x"));
        EXPECT_EQ(DocumentPathOf(task, SubTaskType::ShowSoftDoc, base), c.expected) << c.name;
    }
}

}  // namespace
}  // namespace vesk
