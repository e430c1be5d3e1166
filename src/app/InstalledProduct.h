// What a setup finds of its own product on the machine before it installs: the record of the
// installed version, and how that version compares with the one it carries.
#pragma once

#include <string>

#include "platform/FileSystem.h"
#include "session/SetupSession.h"

namespace vesk {

enum class InstalledVersion {
    None,   // the product is not installed (or by an engine that kept no record)
    Older,  // an older version: the setup upgrades it
    Same,   // this version: the setup repairs it in place
    Newer,  // a newer version: the wizard asks before it goes back; /S refuses
};

// Compares two versions part by part at the dots: parts that start with digits by their
// numbers ("1.10" is newer than "1.9"), others by their text, letter case ignored; a missing
// part counts as 0. Negative, 0 or positive as `a` is older than, the same as or newer than `b`.
int CompareVersions(const std::string& a, const std::string& b);

// Reads the record of the product's identity (ProductIdentity) from the engine's records folder
// into session.installed and its path into session.installedRecordPath, and compares the
// installed version with the project's ProductVersion. A record of another identity (a name
// clash) or one that does not read counts as none.
InstalledVersion FindInstalledProduct(SetupSession& session, const FileSystem& files);

// The question the wizard asks before an older version goes over a newer one, and the log line
// of an unattended setup that refuses.
std::string OlderOverNewerQuestion(const SetupSession& session);
std::string OlderOverNewerRefusal(const SetupSession& session);

}  // namespace vesk
