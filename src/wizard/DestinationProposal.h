// The folder the destination page proposes when the user picks another folder or drive: the
// picked folder followed by the tail of the default path.
#pragma once

#include <string>

namespace vesk {

// Made once from the default path (the install folder when the page was made) and the expanded
// Program Files folder. The tail is what the default path holds below the Program Files folder
// ("C:\Program Files\Vendor\Tool" gives "Vendor\Tool"), or else below its drive root
// ("D:\Tools\App" gives "Tools\App"). The Program Files folder counts only as a whole folder
// name ("C:\Program Files (x86)\Tool" is not below "C:\Program Files"), in any letter case.
class DestinationProposal {
public:
    DestinationProposal(const std::string& defaultPath, const std::string& programFiles);

    const std::string& Tail() const { return tail_; }
    bool UnderProgramFiles() const { return underProgramFiles_; }

    // The text for a picked folder ("D:\Apps") or drive ("D:", a path of fewer than three
    // characters): the folder, "\" and the tail. A drive picked while the default path lies
    // below Program Files proposes that drive's Program Files folder first
    // ("D:\Program Files\Vendor\Tool").
    std::string ForFolder(const std::string& picked) const;

private:
    std::string programFiles_;
    std::string tail_;
    bool underProgramFiles_ = false;
};

}  // namespace vesk
