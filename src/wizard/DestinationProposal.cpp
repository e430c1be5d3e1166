// The tail rule of the destination page.
#include "wizard/DestinationProposal.h"

#include "project/NameCase.h"

namespace vesk {
namespace {

constexpr std::size_t kDriveRootLength = 3;  // "C:\"

// Whether `path` is the folder `prefix` or lies below it (letter case ignored); `rest` gets what
// follows the separator after `prefix`.
bool BelowFolder(const std::string& path, const std::string& prefix, std::string& rest) {
    if (prefix.empty() || path.size() < prefix.size()) return false;
    if (UpperName(path.substr(0, prefix.size())) != UpperName(prefix)) return false;
    if (path.size() == prefix.size()) {
        rest.clear();
        return true;
    }
    if (path[prefix.size()] != '\\') return false;
    rest = path.substr(prefix.size() + 1);
    return true;
}

}  // namespace

DestinationProposal::DestinationProposal(const std::string& defaultPath,
                                         const std::string& programFiles)
    : programFiles_(programFiles) {
    underProgramFiles_ = BelowFolder(defaultPath, programFiles, tail_);
    if (!underProgramFiles_) {
        tail_ = defaultPath.size() > kDriveRootLength ? defaultPath.substr(kDriveRootLength) : "";
    }
}

std::string DestinationProposal::ForFolder(const std::string& picked) const {
    if (picked.size() < kDriveRootLength && underProgramFiles_ && !picked.empty() &&
        !programFiles_.empty()) {
        std::string folder = programFiles_;
        folder[0] = picked[0];
        return folder + "\\" + tail_;
    }
    return picked + "\\" + tail_;
}

}  // namespace vesk
