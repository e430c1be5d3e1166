// Choosing the document of a licence or readme page.
#include "wizard/DocumentChoice.h"

#include "project/NameCase.h"

namespace vesk {

std::string DocumentPathOf(const Task& task, SubTaskType type, const std::string& baseName) {
    std::string extension = ".HTM";
    std::string document;
    for (const SubTask& subtask : task.SubTasks()) {
        if (subtask.Type() != type) continue;
        for (const Field& field : subtask.Fields()) {
            if (field.Kind() == FieldKind::FileType) {
                extension = UpperName(field.Value()) == "M" ? ".MHT" : ".HTM";
            } else if (field.Kind() == FieldKind::File && !field.Value().empty()) {
                document = baseName + extension;
            }
        }
    }
    return document;
}

}  // namespace vesk
