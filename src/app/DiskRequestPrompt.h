// The reader's disk request shown as the insert-media dialog.
#pragma once

#include "container/ContainerReader.h"
#include "project/InstallProject.h"
#include "project/LanguageTable.h"

namespace vesk {

// Shows a fresh CInsertMediaDlg for every question, modally on the calling thread (the user
// interface thread at start-up, the install worker later). The texts come from `texts`; while
// that table is still empty (the language file itself continues in a later volume), built-in
// English texts are shown with the product name and version read from `project`, so the user
// never faces a dialog without words.
class DiskRequestPrompt : public VolumePrompt {
public:
    DiskRequestPrompt(const LanguageTable& texts, const InstallProject& project)
        : texts_(texts), project_(project) {}
    std::string AskForVolume(const std::string& expectedPath, int volumeNumber) override;

    // The table the dialog would use now.
    LanguageTable CurrentTexts() const;

private:
    const LanguageTable& texts_;
    const InstallProject& project_;
};

}  // namespace vesk
