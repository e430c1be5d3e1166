// What every part of one install works with: the run's state, the way to the user, the system,
// and the copies of the user's files it overwrites.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "install/FileKeeper.h"
#include "install/InstallReport.h"
#include "install/InstallServices.h"
#include "session/SetupSession.h"

namespace vesk {

struct InstallContext {
    InstallContext(SetupSession& run, InstallReport& to, InstallServices& system)
        : session(run),
          report(to),
          services(system),
          keeper(system.files, run.records, run.start.startStamp) {}

    // The text as the language table hands it out: a reference to the table's own where it
    // gives one, so no copy is made.
    decltype(auto) Text(TextKey key) const { return session.texts.GetText(key); }
    std::string Resolve(const std::string& path) const { return session.Resolve(path); }
    // A line of the run's log, whole or in pieces.
    void Log(LogKind kind, std::string_view text) { session.log.Add(kind, text); }
    void Log(LogKind kind, std::initializer_list<std::string_view> pieces) {
        session.log.Add(kind, pieces);
    }

    // Creates the folder with every missing parent and records each folder made for a rollback;
    // the log tells whether the folder was made, was there already or could not be made.
    void CreateFolders(const std::string& path);
    // Gives a folder the install made (the install folder, one in it or one on the way to it)
    // the access list of a per-machine install folder (FileSystem::ProtectFolder); others stay
    // as they are.
    void ProtectFolder(const std::string& folder);

    // When Cancel was pressed: asks whether to stop the install. Yes clears installOk, logs the
    // stop and gives true (the caller leaves its loop); No clears the request and gives false.
    bool CancelCheck();

    SetupSession& session;
    InstallReport& report;
    InstallServices& services;
    FileKeeper keeper;
};

}  // namespace vesk
