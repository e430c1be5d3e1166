// Choosing between the record, the log and nothing.
#include "uninstaller/UninstallDecision.h"

#include "install/ProductIdentity.h"
#include "platform/Concat.h"
#include "uninstaller/RecordCheck.h"
#include "uninstaller/RecordPlan.h"
#include "uninstaller/UninstallLog.h"
#include "uninstaller/UninstallOutcome.h"

namespace vesk {

UninstallDecision DecideUninstall(const FileSystem& files, const PathResolver& paths,
                                  const std::string& logPath, const std::string& uninstallDesc) {
    UninstallDecision decision;
    const FoundRecord found = FindRecord(files, paths.Resolve(kRecordsFolder), logPath);
    if (found.check == RecordCheck::Trusted) {
        decision.kind = UninstallDecision::Kind::Remove;
        decision.plan = PlanFromRecord(found.record, found.path, paths);
        return decision;
    }
    if (found.check == RecordCheck::LogChanged) {
        decision.kind = UninstallDecision::Kind::Refused;
        decision.problem = RecordProblemMessage(logPath, found.record.title);
        decision.entryKey = found.record.entryKey;
        decision.plan.title = found.record.title;
        return decision;
    }
    InstallProject log;
    const LogState state = ReadUninstallLog(files, logPath, log);
    if (state != LogState::Read) {
        decision.problem = LogProblemMessage(state, logPath);
        return decision;
    }
    decision.kind = UninstallDecision::Kind::Remove;
    decision.plan = PlanUninstall({log, logPath, uninstallDesc}, paths);
    return decision;
}

}  // namespace vesk
