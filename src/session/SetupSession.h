// The state of one run of the setup: the project, its texts, the paths, the payload reader, the
// shared flags and the records. Owned by the application and handed to the wizard, each page and
// the install worker; nothing of it is process-wide.
#pragma once

#include <optional>
#include <string>

#include "container/ContainerReader.h"
#include "platform/PrivateFiles.h"
#include "platform/Registry.h"
#include "platform/SystemFacts.h"
#include "project/InstallProject.h"
#include "project/LanguageTable.h"
#include "project/PathResolver.h"
#include "project/StartValues.h"
#include "project/TextLineList.h"
#include "session/InstallRecords.h"
#include "session/JournalingRegistry.h"
#include "session/ProductRecord.h"
#include "session/RunFolder.h"
#include "session/RunLog.h"
#include "session/SharedFlags.h"

namespace vesk {

// Filled on the user-interface thread before the wizard; while the worker runs it only reads
// the project, the texts and the paths, and shares the flags, the records and the program folder.
class SetupSession {
public:
    // The texts take the system's default locale; the paths ask `system` and `systemRegistry`,
    // through which every change the run makes to the registry goes into the records' journal; the
    // run's temporary folder is made through `privateFiles`.
    SetupSession(const SystemFacts& system, Registry& systemRegistry,
                 PrivateFiles& privateFiles = HostPrivateFiles());
    SetupSession(const SetupSession&) = delete;
    SetupSession& operator=(const SetupSession&) = delete;

    const SystemFacts& System() const { return paths.System(); }
    Registry& SystemRegistry() const { return paths.SystemRegistry(); }

    // The path with its leading path variable expanded ([InstallDir] is the current install
    // folder).
    std::string Resolve(const std::string& path) const { return paths.Resolve(path); }
    // The run's stamped temporary name of `path` ("[TempFileDir]\~VeskInstall-SoftDoc.HTM"),
    // inside the run's folder once it is made.
    std::string TempNameFor(const std::string& path) const;

    // The language the texts are chosen in, before they are loaded: `asked` (/LANG=, 0 for
    // none), then the user's interface language, then the system's locale.
    void ChooseLanguage(const SystemFacts& system, std::uint32_t asked);

    SharedFlags flags;
    InstallRecords records;
    // The registry the run reads and writes: the system's, journalled.
    JournalingRegistry registry;
    PathResolver paths;
    StartValues start;
    LanguageTable texts;
    InstallProject project;
    ContainerReader reader{flags.setupFinished};
    // Where the run's temporary files live; "[TempFileDir]" leads there once it is made.
    RunFolder runFolder;
    // The file and folder lists of the project (task 2412), read at start-up.
    TextLineList files;
    TextLineList folders;
    // The program group name: proposed at start-up, chosen on the program folder page, made
    // absolute by the install.
    std::string programFolder;
    // What the run did, line by line, when /LOG asked for it.
    RunLog log;
    // /NORESTART: the setup never restarts the computer; the finish page offers no restart.
    bool noRestart = false;
    // The record of the product as it is installed (the same identity), read at start-up; the
    // install takes it over. None when the product is not installed.
    std::optional<ProductRecord> installed;
    // Where that record lies.
    std::string installedRecordPath;
};

}  // namespace vesk
