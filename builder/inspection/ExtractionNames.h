// The names a setup's entries and folders take below the folder `extract` writes into.
#pragma once

#include <optional>
#include <set>
#include <string>

namespace vesk {

// Refuses names as the builder refuses them: a path that would leave the folder, names Windows
// cannot create, and two names for one file (letter case aside); project.xml belongs to the
// project.
class ExtractionNames {
public:
    static constexpr const char* kProjectFile = "project.xml";

    ExtractionNames();

    // The relative path ("InstallDir/a.txt", ExtractionPathFor) of an entry's raw path, claimed
    // for a file or a folder; nullopt with the reason when it is refused.
    std::optional<std::string> FileFor(const std::string& rawPath, std::string& why) {
        return Claim(rawPath, true, why);
    }
    std::optional<std::string> FolderFor(const std::string& rawPath, std::string& why) {
        return Claim(rawPath, false, why);
    }

private:
    std::optional<std::string> Claim(const std::string& rawPath, bool file, std::string& why);

    std::set<std::string> files_;  // keys (TargetKey) of the paths claimed
    std::set<std::string> folders_;
};

}  // namespace vesk
