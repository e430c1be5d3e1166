// Giving up a missing volume when nobody can be asked for it.
#include "app/UnattendedVolumePrompt.h"

namespace vesk {

std::string UnattendedVolumePrompt::AskForVolume(const std::string& expectedPath,
                                                 int volumeNumber) {
    log_.Add(LogKind::Error, "volume " + std::to_string(volumeNumber) +
                                 " is missing: " + expectedPath + " was not found");
    return std::string();
}

}  // namespace vesk
