// The steps of start-up that need no window: the payload unpacked and loaded into the session,
// and the values the wizard starts from.
#pragma once

#include <optional>

#include "app/StartupFiles.h"
#include "platform/Status.h"
#include "session/SetupSession.h"

namespace vesk {

// Computes the start values, makes the run's temporary folder (where "[TempFileDir]" leads from
// then on), opens the setup executable named by the start values, decodes and loads the project,
// reads the volume size, the bodies' method and the file and folder lists, decodes and loads the
// language file (entry 0) and sets the text ProjectName to the product's name and version. The
// project and the language file are loaded from the decoded bytes: neither is written to disk.
// A failure with the reason of the step that failed (the run's folder, the setup file, the
// project, the language file), also for a setup whose start-up files would go anywhere but into
// the run's folder; a damaged set (a checksum, a project or language file past its bound,
// overlapping bodies, a body method this engine does not know) is then also named by the
// reader's DamagedVolume.
Status PrepareSetup(SetupSession& session);

// For whom the setup installs, as its project says: read from the running program's own file
// with nothing unpacked, for the help of /?; nullopt when the project cannot be read.
std::optional<InstallScope> ReadSetupScope(SetupSession& session);

// The start-up files of the session's file list, with their targets in the run's folder.
std::vector<StartupFile> SessionStartupRun(const SetupSession& session);

// The program folder and the install folder the wizard proposes: the project's, or for the
// install folder the installed version's (session.installed), else the one an earlier install
// of the product left in the registry.
void ProposeFolders(SetupSession& session);

}  // namespace vesk
