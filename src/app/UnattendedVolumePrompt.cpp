// Giving up a missing volume when nobody can be asked for it.
#include "app/UnattendedVolumePrompt.h"

namespace vesk {

std::string UnattendedVolumePrompt::AskForVolume(const std::string& expectedPath,
                                                 int volumeNumber) {
    const std::string why = reader_.LastError();
    log_.Add(LogKind::Error, {"volume ", std::to_string(volumeNumber),
                              " is missing: ", why.empty() ? expectedPath : why,
                              why.empty() ? " was not found" : ""});
    return std::string();
}

}  // namespace vesk
