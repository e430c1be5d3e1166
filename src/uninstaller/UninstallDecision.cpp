// Choosing between the record, the log and nothing.
#include "uninstaller/UninstallDecision.h"

#include "install/ProductIdentity.h"
#include "platform/Concat.h"
#include "project/InstallScope.h"
#include "uninstaller/RecordCheck.h"
#include "uninstaller/RecordPlan.h"
#include "uninstaller/UninstallLog.h"
#include "uninstaller/UninstallOutcome.h"

namespace vesk {

UninstallDecision DecideUninstall(const FileSystem& files, const PathResolver& paths,
                                  const std::string& logPath, const std::string& uninstallDesc) {
    UninstallDecision decision;
    // The machine's records first, then the current user's: the record says for whom the
    // product was installed, and its folders and keys are that scope's.
    PathResolver scoped = paths;
    FoundRecord found;
    for (InstallScope scope : {InstallScope::Machine, InstallScope::User}) {
        scoped.SetScope(scope);
        found = FindRecord(files, scoped.Resolve(RecordsFolderOf(scope)), logPath);
        if (found.check != RecordCheck::None) break;
    }
    scoped.SetScope(found.record.scope);
    if (found.check == RecordCheck::Trusted) {
        decision.kind = UninstallDecision::Kind::Remove;
        decision.plan = PlanFromRecord(found.record, found.path, scoped);
        return decision;
    }
    if (found.check == RecordCheck::LogChanged) {
        decision.kind = UninstallDecision::Kind::Refused;
        decision.problem = RecordProblemMessage(logPath, found.record.title);
        decision.entryKey = found.record.entryKey;
        decision.entryRoot = EngineRoot(found.record.scope);
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
