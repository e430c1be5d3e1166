// Finding the record an install left for the log the uninstaller was started with, and checking
// that the log is the one the install wrote.
#pragma once

#include <string>

#include "platform/FileSystem.h"
#include "session/ProductRecord.h"

namespace vesk {

enum class RecordCheck {
    None,        // no record names the log: an install by an engine that kept none
    Trusted,     // the record of this log, and the log as the install wrote it
    LogChanged,  // the record of this log, but the log is missing or not what the install wrote
};

struct FoundRecord {
    RecordCheck check = RecordCheck::None;
    ProductRecord record;
    std::string path;
};

// Looks through the records in `recordsFolder` for the one whose log is `logPath` (letter case
// ignored) and compares the log's bytes with its digest. Only the record, which only
// administrators can write, says what the log is; a record that does not read is passed over.
FoundRecord FindRecord(const FileSystem& files, const std::string& recordsFolder,
                       const std::string& logPath);

}  // namespace vesk
