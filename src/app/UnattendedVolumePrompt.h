// The disk request of an unattended run: nobody can insert a disk, so a missing volume ends the
// extraction, and the log says which volume was missing.
#pragma once

#include <string>

#include "container/ContainerReader.h"
#include "session/RunLog.h"

namespace vesk {

class UnattendedVolumePrompt : public VolumePrompt {
public:
    explicit UnattendedVolumePrompt(RunLog& log) : log_(log) {}

    // Logs the missing volume and its expected path, and gives up.
    std::string AskForVolume(const std::string& expectedPath, int volumeNumber) override;

private:
    RunLog& log_;
};

}  // namespace vesk
