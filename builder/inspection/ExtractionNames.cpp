// Claiming extraction names.
#include "builder/inspection/ExtractionNames.h"

#include <vector>

#include "builder/inspection/OutputTree.h"
#include "builder/inspection/SetupInspector.h"
#include "builder/plan/TargetPaths.h"

namespace vesk {

ExtractionNames::ExtractionNames() {
    files_.insert(TargetKey(kProjectFile));
}

std::optional<std::string> ExtractionNames::Claim(const std::string& rawPath, bool file,
                                                  std::string& why) {
    std::optional<std::string> relative = ExtractionPathFor(rawPath);
    if (!relative) {
        why = "would leave the folder";
        return std::nullopt;
    }
    std::vector<std::string> keys;  // of every folder on the way, then of the path itself
    for (const std::string& part : RelativeParts(*relative)) {
        if (!CheckTargetName(part, why)) return std::nullopt;
        keys.push_back((keys.empty() ? "" : keys.back() + "\\") + TargetKey(part));
    }
    for (const std::string& key : keys) {
        if (files_.count(key)) {
            why = "collides with a file written before it";
            return std::nullopt;
        }
    }
    if (file && folders_.count(keys.back())) {
        why = "collides with a folder written before it";
        return std::nullopt;
    }
    folders_.insert(keys.begin(), keys.end() - 1);
    (file ? files_ : folders_).insert(keys.back());
    return relative;
}

}  // namespace vesk
