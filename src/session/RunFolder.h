// The run's own temporary folder: made at start-up inside the system's temporary folder, home of
// every file the run unpacks, which it holds so that none is swapped before use, and removed
// with all it holds by the final clean-up.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "codec/ByteSink.h"
#include "platform/Lock.h"
#include "platform/PrivateFiles.h"
#include "platform/Status.h"

namespace vesk {

// Puts the bytes of one file into the sink it is given; false when they could not all be made.
using FileProducer = std::function<bool(ByteSink& sink)>;

// Made and written on the user-interface thread and by the install worker; every member takes
// the lock.
class RunFolder {
public:
    explicit RunFolder(PrivateFiles& files) : files_(files) {}
    RunFolder(const RunFolder&) = delete;
    RunFolder& operator=(const RunFolder&) = delete;

    // Makes the folder inside `systemTemp` under `prefix` and a random name (PrivateFiles). A
    // failure, with its reason, when it cannot be made, or was made already.
    Status Create(const std::string& systemTemp, const std::string& prefix);
    // The folder's path, without a trailing backslash; empty before Create and after Remove.
    std::string Path() const;

    // Whether `path` lies inside the folder: the folder's path, a backslash, and names Windows
    // can hold, so no "..", no drive, no stream and no device name leads it elsewhere.
    bool Contains(const std::string& path) const;

    // Creates `path` inside the folder exclusively (never through a file or link already there),
    // fills it from `produce` and holds it as written until Remove. False when the path lies
    // elsewhere, the name is taken, or the bytes could not all be written and kept; what was
    // created stays for Remove.
    bool WriteNewFile(const std::string& path, const FileProducer& produce);
    // Whether this run wrote `path` with WriteNewFile (and so holds it as written).
    bool Wrote(const std::string& path) const;

    // Lets go of every file and removes the folder with all it holds. Later calls do nothing.
    void Remove();

private:
    mutable Lock lock_;
    PrivateFiles& files_;
    std::unique_ptr<PrivateFolder> folder_;
    std::vector<std::unique_ptr<HeldFile>> held_;
    std::vector<std::string> written_;
};

}  // namespace vesk
