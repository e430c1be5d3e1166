// Finding and checking an install's record.
#include "uninstaller/RecordCheck.h"

#include "install/ProductIdentity.h"
#include "project/NameCase.h"

namespace vesk {

FoundRecord FindRecord(const FileSystem& files, const std::string& recordsFolder,
                       const std::string& logPath) {
    FoundRecord found;
    const std::string extension = UpperName(kRecordExtension);
    for (const std::string& name : files.FilesIn(recordsFolder)) {
        const std::string upper = UpperName(name);
        if (upper.size() <= extension.size() ||
            upper.compare(upper.size() - extension.size(), extension.size(), extension) != 0) {
            continue;
        }
        const std::string path = recordsFolder + "\\" + name;
        const std::optional<std::string> text = files.ReadWholeFile(path);
        ProductRecord record;
        if (!text || !ReadRecordText(*text, record) || record.logPath.empty() ||
            !SameName(record.logPath, logPath)) {
            continue;
        }
        found.record = std::move(record);
        found.path = path;
        found.check = RecordCheck::LogChanged;
        if (const std::optional<std::string> log = files.ReadWholeFile(logPath)) {
            std::uint32_t crc = 0;
            std::uint64_t size = 0;
            DigestOf(*log, crc, size);
            if (crc == found.record.logCrc && size == found.record.logSize) {
                found.check = RecordCheck::Trusted;
            }
        }
        return found;
    }
    return found;
}

}  // namespace vesk
