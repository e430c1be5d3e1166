// list: what a setup holds, read the way the engine reads it.
#include <algorithm>
#include <cstdio>

#include "Commands.h"
#include "ConsoleText.h"
#include "SetupInspector.h"
#include "project/TaskSlots.h"

namespace vesk::tool {
namespace {

void PrintProject(const InstallProject& project) {
    const std::string properties = TaskIdForSlot(kSlotProjectProperties);
    std::string version = project.GetValue(properties, SubTaskType::GetAllVar, FieldKind::ProductVersion);
    std::printf("Product:         %s %s\n", ForConsole(project.ProjectName()).c_str(),
                ForConsole(version).c_str());
    std::printf("Tasks:           %zu\n", project.TaskCount());
    std::printf("  %-6s %-14s %4s %8s  %s\n", "id", "type", "page", "subtasks", "label");
    for (const Task& task : project.Tasks()) {
        std::printf("  %-6s %-14s %4s %8zu  %s\n", ForConsole(task.Id()).c_str(),
                    TaskTypeName(task.Type()), task.IsExec() ? "yes" : "no", task.SubTaskCount(),
                    ForConsole(task.Label()).c_str());
    }
    std::printf("Pages in order: ");
    for (std::size_t index : project.PageOrder()) {
        std::printf(" %s", ForConsole(project.TaskAt(index).Id()).c_str());
    }
    std::printf("\n");
}

}  // namespace

int ListCommand(const Arguments& args) {
    if (NamesProject(args)) return ListProjectCommand(args);
    if (args.size() != 1) return UsageError("list needs SETUP");
    SetupInspector setup;
    if (!setup.Open(args[0])) return Failure(setup.LastError());
    const ContainerTail& tail = setup.Reader().Tail();

    std::printf("Setup:           %s (%lld bytes)\n", args[0].c_str(),
                static_cast<long long>(setup.Reader().SetupLength()));
    std::printf("Set identity:    \"%s\"\n", setup.Reader().Identity().c_str());
    std::printf("Project section: offset %u, %u bytes compressed, %zu bytes of XML\n",
                tail.projectOffset, tail.projectSize, setup.ProjectText().size());
    std::printf("Disk size:       %d\n", setup.DiskSize());
    PrintProject(setup.Project());

    const auto& entries = setup.Entries();
    int lastVolume = 1;
    for (const FileEntry& e : entries) {
        std::int64_t lastByte = std::int64_t(e.offset) + std::max<std::int64_t>(e.size - 1, 0);
        lastVolume = std::max(lastVolume, setup.VolumeOfPosition(lastByte));
    }
    std::printf("Volumes:         %d\n", lastVolume);
    std::printf("Folders:         %zu\n", setup.Folders().size());
    for (const std::string& folder : setup.Folders()) std::printf("  %s\n", folder.c_str());
    std::printf("Files:           %zu\n", entries.size());
    std::printf("  %5s %4s %3s %10s %10s  %s\n", "index", "kind", "vol", "offset", "size", "path");
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const FileEntry& e = entries[i];
        if (!e.wellFormed) {
            std::printf("  %5zu  malformed entry\n", i);
            continue;
        }
        std::printf("  %5zu %4c %3d %10d %10d  %s\n", i, e.letter ? e.letter : '?', setup.VolumeOf(e),
                    e.offset, e.size, e.rawPath.c_str());
    }
    return 0;
}

}  // namespace vesk::tool
