// Unpacks the start-up files into the temporary folder, stopping at the first other entry.
#include "app/StartupFiles.h"

#include "container/FileEntry.h"

namespace vesk {

bool ExtractStartupFiles(ContainerReader& reader, const TextLineList& files,
                         InstallRecords& records, const TempNamer& tempName) {
    for (std::size_t i = 1; i < files.Count(); ++i) {
        // Only the raw path is needed: the temporary name resolves its token itself.
        FileEntry entry = ParseFileEntry(files.At(i));
        if (entry.kind != FileKind::StartUp) return true;
        std::string target = tempName(entry.rawPath);
        bool extracted = reader.ExtractEntry(target, entry.offset, entry.size, false);
        records.AddTempFile(target);
        if (!extracted) return false;
    }
    return true;
}

}  // namespace vesk
