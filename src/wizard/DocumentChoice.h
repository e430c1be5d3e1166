// Which start-up document a licence or readme page shows.
#pragma once

#include <string>

#include "project/SubTaskType.h"
#include "project/Task.h"

namespace vesk {

// The start-up names of the two documents, without their extension.
constexpr char kLicenceDocument[] = "[TempFileDir]\\~VeskInstall-SoftDoc";
constexpr char kReadmeDocument[] = "[TempFileDir]\\~VeskInstall-SoftReadme";

// The document (still to be given the run's stamp) that `task` asks to show: its subtasks of
// `type` are walked field by field; a FileType field chooses the extension (".MHT" for "M" in
// any case, ".HTM" for anything else), a File field with a value shows `baseName` with the
// extension chosen so far (".HTM" when none was). The last such File wins; "" when there is none.
std::string DocumentPathOf(const Task& task, SubTaskType type, const std::string& baseName);

}  // namespace vesk
