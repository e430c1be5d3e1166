// Unpacks the start-up files into the run's folder, stopping at the first other entry.
#include "app/StartupFiles.h"

#include "container/FileEntry.h"

namespace vesk {

std::vector<StartupFile> StartupRun(const TextLineList& files, const TempNamer& tempName) {
    std::vector<StartupFile> run;
    for (std::size_t i = 1; i < files.Count(); ++i) {
        // Only the raw path is needed: the temporary name resolves its token itself.
        FileEntry entry = ParseFileEntry(files.At(i));
        if (entry.kind != FileKind::StartUp) break;
        std::string target = tempName(entry.rawPath);
        run.push_back({std::move(entry), std::move(target)});
    }
    return run;
}

bool StartupRunStaysInside(const std::vector<StartupFile>& run, const RunFolder& folder) {
    for (const StartupFile& file : run) {
        if (!folder.Contains(file.target)) return false;
    }
    return true;
}

bool ExtractStartupFiles(ContainerReader& reader, const std::vector<StartupFile>& run,
                         RunFolder& folder) {
    for (const StartupFile& file : run) {
        if (!folder.Contains(file.target)) return false;
        const FileEntry& entry = file.entry;
        const bool extracted = folder.WriteNewFile(file.target, [&](ByteSink& sink) {
            return reader.ExtractTo(sink, entry.offset, entry.size, false);
        });
        if (!extracted) return false;
    }
    return true;
}

}  // namespace vesk
