// extract: every file body, the project and the language file of a setup, into a folder.
#include <cstdio>
#include <memory>
#include <vector>

#include "builder/inspection/ExtractionNames.h"
#include "builder/inspection/OutputTree.h"
#include "builder/inspection/SetupInspector.h"
#include "builder/veskbuild/CommandTable.h"
#include "builder/veskbuild/Commands.h"
#include "builder/veskbuild/TerminalText.h"

namespace vesk::tool {

int ExtractCommand(const Arguments& args) {
    CommandLine line;
    int exitCode = kExitSuccess;
    if (!ParseCommandLine("extract", args, line, exitCode)) return exitCode;
    if (line.Operands().size() != 2) return UsageError("extract", "give SETUP and OUTDIR");
    const std::string& outName = line.Operands()[1];
    SetupInspector setup;
    auto failure = [&setup] {
        return SetupFailure(setup.LastError(), !setup.Reader().DamagedVolume().empty());
    };
    if (!setup.Open(line.Operands()[0])) return failure();
    // Below OUTDIR nothing is written through a link: a link in the way is an error.
    OutputTree out;
    std::string error;
    if (!out.Open(outName, error)) return Failure(error);

    std::unique_ptr<TreeFile> project = out.NewFile(ExtractionNames::kProjectFile, error);
    if (!project) return Failure(error);
    const std::string& text = setup.ProjectText();
    if (!project->Write(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()) ||
        !project->Close()) {
        return Failure(outName + "/" + ExtractionNames::kProjectFile + ": write error");
    }
    ExtractionNames names;
    int refused = 0;
    std::size_t written = 0;
    for (std::size_t i = 0; i < setup.Entries().size(); ++i) {
        const FileEntry& entry = setup.Entries()[i];
        std::string why = "is malformed";
        auto relative = entry.wellFormed ? names.FileFor(entry.rawPath, why) : std::nullopt;
        if (!relative) {
            std::fprintf(stderr, "veskbuild: entry %zu: path \"%s\" %s; skipped\n", i,
                         ForTerminal(entry.rawPath).c_str(), MessageForTerminal(why).c_str());
            ++refused;
            continue;
        }
        std::unique_ptr<TreeFile> file = out.NewFile(*relative, error);
        if (!file) return Failure(error);
        if (!setup.ExtractBody(entry, *file)) return failure();
        file->SetLocalTime(ParseEntryTime(entry.timeText));
        if (!file->Close()) return Failure(outName + "/" + *relative + ": write error");
        ++written;
    }
    for (const std::string& folder : setup.Folders()) {
        std::string why;
        auto relative = names.FolderFor(folder, why);
        if (!relative) {
            std::fprintf(stderr, "veskbuild: folder \"%s\" %s; skipped\n",
                         ForTerminal(folder).c_str(), MessageForTerminal(why).c_str());
            ++refused;
            continue;
        }
        if (!out.CreateFolders(*relative, error)) return Failure(error);
    }
    if (!line.Has("--quiet")) {
        std::printf("%zu files and the project written to %s\n", written, outName.c_str());
    }
    return refused ? Failure(std::to_string(refused) + " entries refused") : kExitSuccess;
}

}  // namespace vesk::tool
