// list: what a setup holds, read the way the engine reads it.
#include <algorithm>
#include <cstdio>

#include "builder/inspection/SetupInspector.h"
#include "builder/veskbuild/CommandTable.h"
#include "builder/veskbuild/Commands.h"
#include "builder/veskbuild/TerminalText.h"
#include "container/ContainerFormat.h"
#include "project/InstallScope.h"
#include "project/TaskSlots.h"

namespace vesk::tool {
namespace {

void PrintProject(const InstallProject& project) {
    const std::string properties = TaskIdForSlot(kSlotProjectProperties);
    std::string version =
        project.GetValue(properties, SubTaskType::GetAllVar, FieldKind::ProductVersion);
    std::printf("Product:         %s %s\n", ForTerminal(project.ProjectName()).c_str(),
                ForTerminal(version).c_str());
    std::printf("Tasks:           %zu\n", project.TaskCount());
    std::printf("  %-6s %-14s %4s %8s  %s\n", "id", "type", "page", "subtasks", "label");
    for (const Task& task : project.Tasks()) {
        std::printf("  %-6s %-14s %4s %8zu  %s\n", ForTerminal(task.Id()).c_str(),
                    TaskTypeName(task.Type()), task.IsExec() ? "yes" : "no", task.SubTaskCount(),
                    ForTerminal(task.Label()).c_str());
    }
    std::printf("Pages in order: ");
    for (std::size_t index : project.PageOrder()) {
        std::printf(" %s", ForTerminal(project.TaskAt(index).Id()).c_str());
    }
    std::printf("\n");
}

// A later volume of a set holds no project: say what it is instead.
int PrintVolume(const std::string& path, const ContainerTail& tail) {
    std::printf("Setup:           %s\n", path.c_str());
    std::printf("Set identity:    \"%s\"\n", ForTerminal(IdentityOf(tail)).c_str());
    std::printf(
        "Volume:          %u of a set; its project and file list are in the set's "
        "Setup.exe: list that\n",
        tail.volumeNumber);
    return kExitSuccess;
}

}  // namespace

int ListCommand(const Arguments& args) {
    if (NamesProject(args)) return ListProjectCommand(args);
    CommandLine line;
    int exitCode = kExitSuccess;
    if (!ParseCommandLine("list", args, line, exitCode)) return exitCode;
    if (line.Operands().size() != 1) return UsageError("list", "give one setup");
    const std::string& path = line.Operands()[0];
    const std::optional<ContainerTail> volumeTail = ReadVolumeTail(path);
    if (volumeTail && volumeTail->volumeNumber > std::uint32_t(kFirstVolume)) {
        return PrintVolume(path, *volumeTail);
    }
    SetupInspector setup;
    if (!setup.Open(path)) {
        return SetupFailure(setup.LastError(), !setup.Reader().DamagedVolume().empty());
    }
    const ContainerReader& reader = setup.Reader();
    const ContainerTail& tail = reader.Tail();

    std::printf("Setup:           %s (%lld bytes)\n", path.c_str(),
                static_cast<long long>(reader.SetupLength()));
    std::printf("Set identity:    \"%s\"\n", ForTerminal(reader.Identity()).c_str());
    if (reader.CertificateSize() > 0) {
        std::printf("Signed:          a certificate table of %lld bytes follows the tail\n",
                    static_cast<long long>(reader.CertificateSize()));
    }
    if (!reader.Checked()) {
        std::printf("Checksums:       none (built without a checksum block): not verified\n");
    } else {
        // Every volume found beside the executable is verified; a missing one is only named.
        std::string missing;
        const int count = int(reader.Checksums().volumes.size());
        for (int volume = kFirstVolume + 1; volume <= count; ++volume) {
            if (setup.CheckVolume(volume)) continue;
            if (!reader.DamagedVolume().empty()) return SetupFailure(setup.LastError(), true);
            missing += " " + VolumeFileName(volume);
        }
        const char* kind = reader.Checksums().kind == ChecksumKind::Sha256
                               ? "SHA-256"
                               : "CRC-32 (an earlier builder's: no guard against a deliberate "
                                 "change)";
        std::printf("Checksums:       %s, %s\n", kind,
                    missing.empty() ? "the project and every volume verified"
                                    : ("verified but for the missing" + missing).c_str());
    }
    std::printf("Project section: offset %u, %u bytes compressed, %zu bytes of XML\n",
                tail.projectOffset, tail.projectSize, setup.ProjectText().size());
    std::printf("Disk size:       %d\n", setup.DiskSize());
    std::printf("Method:          %s\n", BodyMethodName(reader.Method()));
    std::printf("Install scope:   %s\n", ReadInstallScope(setup.Project()) == InstallScope::User
                                             ? "user (the current user, no administrator rights)"
                                             : "machine (every user, administrator rights)");
    PrintProject(setup.Project());

    const auto& entries = setup.Entries();
    int lastVolume = 1;
    for (const FileEntry& e : entries) {
        lastVolume = std::max(lastVolume, setup.VolumeOfPosition(setup.StreamLast(e)));
    }
    std::printf("Volumes:         %d\n", lastVolume);
    const BlockIndex& blocks = reader.Blocks();
    if (!blocks.blocks.empty()) {
        // A solid file's offset lies among the blocks' decoded bytes.
        std::printf("Blocks:          %zu\n", blocks.blocks.size());
        std::printf("  %5s %3s %10s %10s %10s %10s\n", "block", "vol", "offset", "stored", "first",
                    "decoded");
        for (std::size_t b = 0; b < blocks.blocks.size(); ++b) {
            const SolidBlock& block = blocks.blocks[b];
            std::printf("  %5zu %3d %10u %10u %10u %10u\n", b, setup.VolumeOfPosition(block.offset),
                        block.offset, block.stored, blocks.starts[b], block.decoded);
        }
    }
    std::printf("Folders:         %zu\n", setup.Folders().size());
    for (const std::string& folder : setup.Folders()) {
        std::printf("  %s\n", ForTerminal(folder).c_str());
    }
    std::printf("Files:           %zu\n", entries.size());
    std::printf("  %5s %4s %3s %10s %10s  %s\n", "index", "kind", "vol", "offset", "size", "path");
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const FileEntry& e = entries[i];
        if (!e.wellFormed) {
            std::printf("  %5zu  malformed entry\n", i);
            continue;
        }
        const std::string kind = ForTerminal(std::string(1, e.letter ? e.letter : '?'));
        std::printf("  %5zu %4s %3d %10d %10d  %s\n", i, kind.c_str(), setup.VolumeOf(e), e.offset,
                    e.size, ForTerminal(e.rawPath).c_str());
    }
    return kExitSuccess;
}

}  // namespace vesk::tool
