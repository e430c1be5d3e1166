// extract: every file body, the project and the language file of a setup, into a folder.
#include <cstdio>
#include <filesystem>

#include "Commands.h"
#include "SetupInspector.h"

namespace vesk::tool {

namespace fs = std::filesystem;

int ExtractCommand(const Arguments& args) {
    if (args.size() != 2) return UsageError("extract needs SETUP and OUTDIR");
    SetupInspector setup;
    if (!setup.Open(args[0])) return Failure(setup.LastError());
    const fs::path outDir = args[1];
    std::error_code ec;
    fs::create_directories(outDir, ec);
    if (ec) return Failure(args[1] + ": " + ec.message());

    std::string error;
    if (!WriteFileBytes((outDir / "project.xml").string(), setup.ProjectText(), error)) {
        return Failure(error);
    }
    int refused = 0;
    std::size_t written = 0;
    for (std::size_t i = 0; i < setup.Entries().size(); ++i) {
        FileEntry entry = setup.Entries()[i];
        auto relative = entry.wellFormed ? ExtractionPathFor(entry.rawPath) : std::nullopt;
        if (!relative) {
            std::fprintf(stderr, "veskbuild: entry %zu: path \"%s\" would leave %s; skipped\n", i,
                         entry.rawPath.c_str(), args[1].c_str());
            ++refused;
            continue;
        }
        fs::path target = outDir / fs::path(*relative);
        fs::create_directories(target.parent_path(), ec);
        if (ec) return Failure(target.parent_path().string() + ": " + ec.message());
        entry.path = target.string();
        if (!setup.ExtractBody(entry, entry.path)) return Failure(setup.LastError());
        ContainerReader::SetEntryTime(entry);
        ++written;
    }
    for (const std::string& folder : setup.Folders()) {
        if (auto relative = ExtractionPathFor(folder)) fs::create_directories(outDir / *relative, ec);
    }
    std::printf("%zu files and the project written to %s\n", written, args[1].c_str());
    return refused ? Failure(std::to_string(refused) + " entries refused") : 0;
}

}  // namespace vesk::tool
