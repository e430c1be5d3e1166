// Writing the file of one file-list entry from the payload.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "container/ContainerReader.h"
#include "container/FileEntry.h"
#include "platform/FileSystem.h"
#include "session/RunFolder.h"

namespace vesk {

class EntryExtractor {
public:
    virtual ~EntryExtractor() = default;

    // Writes the entry's body to its expanded path, creating or truncating the file. False when
    // it could not be written completely: the file cannot be created, a volume is missing and
    // the user gave up (which also sets setupFinished), or setup is over.
    virtual bool Extract(const FileEntry& entry) = 0;
    // Gives the file at the entry's path the entry's time; silent when it cannot.
    virtual void SetTime(const FileEntry& entry) = 0;
    // Why the last Extract failed, for the run's log; may be empty.
    virtual std::string LastError() const { return std::string(); }
};

// Through the run's container reader, which asks for a missing volume itself. A file that goes
// into the run's temporary folder ("[TempFileDir]\settings.reg") is created there as the
// start-up files are: new, never through a file or link already there, and held as written
// until the clean-up, so a registry data file or program cannot be swapped before it is used.
// Any other file is made anew through `files` (FileSystem::CreateAnew: a link in the way is
// refused, never written through) once the body is found, so a missing volume leaves no empty
// file behind, and gets the entry's time through the handle it was written with.
class ReaderExtractor : public EntryExtractor {
public:
    ReaderExtractor(ContainerReader& reader, RunFolder& runFolder,
                    FileSystem& files = HostFileSystem())
        : reader_(reader), runFolder_(runFolder), files_(files) {}

    bool Extract(const FileEntry& entry) override;
    // Extract gave the file its time already.
    void SetTime(const FileEntry&) override {}
    std::string LastError() const override { return error_.empty() ? reader_.LastError() : error_; }

private:
    ContainerReader& reader_;
    RunFolder& runFolder_;
    FileSystem& files_;
    std::string error_;  // why the file could not be made
    // Files are written in blocks of this size (kept for the next file).
    static constexpr std::size_t kWriteBlock = std::size_t(1) << 20;
    std::vector<std::uint8_t> block_;
};

}  // namespace vesk
