// The disk request of an unattended run: nobody can insert a disk, so a missing volume ends the
// extraction, and the log says which volume was missing.
#pragma once

#include <string>

#include "container/ContainerReader.h"
#include "session/RunLog.h"

namespace vesk {

class UnattendedVolumePrompt : public VolumePrompt {
public:
    // `reader` is the one that asks: its last error says why the volume was not taken.
    UnattendedVolumePrompt(RunLog& log, const ContainerReader& reader)
        : log_(log), reader_(reader) {}

    // Logs the missing volume and why it was not taken (not there, too short, of another
    // setup), and gives up.
    std::string AskForVolume(const std::string& expectedPath, int volumeNumber) override;

private:
    RunLog& log_;
    const ContainerReader& reader_;
};

}  // namespace vesk
