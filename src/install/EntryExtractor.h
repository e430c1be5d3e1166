// Writing the file of one file-list entry from the payload.
#pragma once

#include <string>

#include "container/ContainerReader.h"
#include "container/FileEntry.h"
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
class ReaderExtractor : public EntryExtractor {
public:
    ReaderExtractor(ContainerReader& reader, RunFolder& runFolder)
        : reader_(reader), runFolder_(runFolder) {}

    bool Extract(const FileEntry& entry) override {
        if (!runFolder_.Contains(entry.path)) return reader_.ExtractEntry(entry);
        return runFolder_.WriteNewFile(entry.path, [this, &entry](ByteSink& sink) {
            return reader_.ExtractTo(sink, entry.offset, entry.size, entry.IsRaw());
        });
    }
    void SetTime(const FileEntry& entry) override { ContainerReader::SetEntryTime(entry); }
    std::string LastError() const override { return reader_.LastError(); }

private:
    ContainerReader& reader_;
    RunFolder& runFolder_;
};

}  // namespace vesk
