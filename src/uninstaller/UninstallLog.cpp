// Reading the install log.
#include "uninstaller/UninstallLog.h"

#include "platform/Concat.h"
#include "project/TaskSlots.h"

namespace vesk {

LogState ReadUninstallLog(const FileSystem& files, const std::string& path, InstallProject& log) {
    if (!files.FileExists(path)) return LogState::Missing;
    const std::optional<std::string> bytes = files.ReadWholeFile(path);
    TextLineList lines;
    if (!bytes || !lines.ReadFileBytes(*bytes) || lines.Empty()) return LogState::Damaged;
    std::size_t last = lines.Count();
    while (last > 0 && lines.At(last - 1).empty()) --last;
    if (last == 0 || lines.At(last - 1) != InstallProject::kRootEndLine) return LogState::Damaged;
    log.Parse(lines);
    log.SetPath(path);
    return log.ProjectName().empty() ? LogState::Damaged : LogState::Read;
}

std::string ProductTitle(const InstallProject& log) {
    return Concat({log.ProjectName(), " ",
                   log.GetValue(TaskIdForSlot(kSlotProjectProperties), SubTaskType::GetAllVar,
                                FieldKind::ProductVersion)});
}

}  // namespace vesk
