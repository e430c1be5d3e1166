// The process-wide flags and lists that the user-interface thread and the install worker share.
#pragma once

#include <atomic>
#include <string>
#include <vector>

namespace vesk {

struct SetupState {
    // Setup is over: stop all work (an extraction in progress ends with a failure).
    std::atomic<bool> setupFinished{false};
    // The install is in a good state; clear means the final clean-up rolls back.
    std::atomic<bool> installOk{true};
    // Cancel was pressed on the progress page.
    std::atomic<bool> cancelRequested{false};
    // The licence page's Accept is checked.
    std::atomic<bool> licenceAccepted{false};

    // The program group name, proposed by the program folder page and made absolute by the
    // install.
    std::string programFolder;

    // Temporary files, removed by the final clean-up whatever happens.
    std::vector<std::string> tempFiles;
    // What the install wrote, removed by the clean-up of an install that did not complete.
    std::vector<std::string> installedFiles;
    std::vector<std::string> createdFolders;
};

}  // namespace vesk
