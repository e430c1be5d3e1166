// Writing the file of one file-list entry from the payload.
#pragma once

#include <string>

#include "container/ContainerReader.h"
#include "container/FileEntry.h"

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

// Through the run's container reader, which asks for a missing volume itself.
class ReaderExtractor : public EntryExtractor {
public:
    explicit ReaderExtractor(ContainerReader& reader) : reader_(reader) {}

    bool Extract(const FileEntry& entry) override { return reader_.ExtractEntry(entry); }
    void SetTime(const FileEntry& entry) override { ContainerReader::SetEntryTime(entry); }
    std::string LastError() const override { return reader_.LastError(); }

private:
    ContainerReader& reader_;
};

}  // namespace vesk
