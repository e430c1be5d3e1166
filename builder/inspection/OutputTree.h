// A folder the tools write a setup's files into, where a link met on the way is refused, never
// followed: a link planted in the folder (OUT/InstallDir -> ../elsewhere) cannot lead a write out.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "codec/ByteSink.h"
#include "platform/CalendarTime.h"

namespace vesk {

// A file of the tree being written; closed (and on failure removed) when the object goes.
class TreeFile : public ByteSink {
public:
    ~TreeFile() override = default;
    // Gives the file `local` (local time) as its last-write time (and access and creation time
    // where the system keeps them), through the open file.
    virtual bool SetLocalTime(const CalendarTime& local) = 0;
    // Ends the writing; false when not every byte reached the file.
    virtual bool Close() = 0;
};

class OutputTree {
public:
    OutputTree();
    ~OutputTree();
    OutputTree(const OutputTree&) = delete;
    OutputTree& operator=(const OutputTree&) = delete;

    // Opens the folder `root`, creating it (and its parents) when missing. The root is the
    // caller's to name: a link there is taken as the caller meant it.
    bool Open(const std::string& root, std::string& why);

    // Creates the folders of `relative` ('/'-separated, no "." or ".." parts) below the root.
    // A link, or anything but a folder, in the way is refused. Each folder is held while the tree
    // is open (on Windows: so that it cannot be renamed or replaced by a link meanwhile).
    bool CreateFolders(const std::string& relative, std::string& why);

    // Creates the file `relative`, its folders first as above. A file of that name is replaced
    // (removed, then created new: never written through, so a second name it has elsewhere keeps
    // its bytes); a link or a folder of that name is refused. nullptr with the reason otherwise.
    std::unique_ptr<TreeFile> NewFile(const std::string& relative, std::string& why);

private:
    struct Handles;  // the platform's open folders
    std::unique_ptr<Handles> handles_;
    std::string root_;
};

// The '/'-separated parts of a relative path.
std::vector<std::string> RelativeParts(const std::string& relative);

}  // namespace vesk
