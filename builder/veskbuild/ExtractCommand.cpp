// extract: every file body, the project and the language file of a setup, into a folder.
#include <cstdio>
#include <filesystem>
#include <set>
#include <vector>

#include "CommandTable.h"
#include "Commands.h"
#include "SetupInspector.h"
#include "TargetPaths.h"
#include "TerminalText.h"

namespace vesk::tool {
namespace {

namespace fs = std::filesystem;

constexpr char kProjectFile[] = "project.xml";

// The names a setup's entries and folders take below the extraction folder, refused as the
// builder refuses them: names Windows cannot create and two names for one file (letter case
// aside); project.xml belongs to the project.
class ExtractionNames {
public:
    ExtractionNames() { files_.insert(TargetKey(kProjectFile)); }

    // The relative path ("InstallDir/a.txt") for a raw path, or nullopt with the reason.
    std::optional<std::string> FileFor(const std::string& rawPath, std::string& why) {
        return Claim(rawPath, true, why);
    }
    std::optional<std::string> FolderFor(const std::string& rawPath, std::string& why) {
        return Claim(rawPath, false, why);
    }

private:
    std::optional<std::string> Claim(const std::string& rawPath, bool file, std::string& why) {
        std::optional<std::string> relative = ExtractionPathFor(rawPath);
        if (!relative) {
            why = "would leave the folder";
            return std::nullopt;
        }
        std::vector<std::string> keys;  // of every folder on the way, then of the path itself
        for (const fs::path& part : fs::path(*relative)) {
            if (!CheckTargetName(part.string(), why)) return std::nullopt;
            keys.push_back((keys.empty() ? "" : keys.back() + "\\") + TargetKey(part.string()));
        }
        for (const std::string& key : keys) {
            if (files_.count(key)) {
                why = "collides with a file written before it";
                return std::nullopt;
            }
        }
        if (file && folders_.count(keys.back())) {
            why = "collides with a folder written before it";
            return std::nullopt;
        }
        folders_.insert(keys.begin(), keys.end() - 1);
        (file ? files_ : folders_).insert(keys.back());
        return relative;
    }

    std::set<std::string> files_;
    std::set<std::string> folders_;
};

}  // namespace

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
    const fs::path outDir = outName;
    std::error_code ec;
    fs::create_directories(outDir, ec);
    if (ec) return Failure(outName + ": " + ec.message());

    std::string error;
    if (!WriteFileBytes((outDir / kProjectFile).string(), setup.ProjectText(), error)) {
        return Failure(error);
    }
    ExtractionNames names;
    int refused = 0;
    std::size_t written = 0;
    for (std::size_t i = 0; i < setup.Entries().size(); ++i) {
        FileEntry entry = setup.Entries()[i];
        std::string why = "is malformed";
        auto relative = entry.wellFormed ? names.FileFor(entry.rawPath, why) : std::nullopt;
        if (!relative) {
            std::fprintf(stderr, "veskbuild: entry %zu: path \"%s\" %s; skipped\n", i,
                         ForTerminal(entry.rawPath).c_str(), MessageForTerminal(why).c_str());
            ++refused;
            continue;
        }
        fs::path target = outDir / fs::path(*relative);
        fs::create_directories(target.parent_path(), ec);
        if (ec) return Failure(target.parent_path().string() + ": " + ec.message());
        entry.path = target.string();
        if (!setup.ExtractBody(entry, entry.path)) return failure();
        ContainerReader::SetEntryTime(entry);
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
        fs::create_directories(outDir / *relative, ec);
    }
    if (!line.Has("--quiet")) {
        std::printf("%zu files and the project written to %s\n", written, outName.c_str());
    }
    return refused ? Failure(std::to_string(refused) + " entries refused") : kExitSuccess;
}

}  // namespace vesk::tool
