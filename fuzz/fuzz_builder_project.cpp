// Hand-written project files through the builder's reader (UTF-8 conversion and ${NAME}
// placeholders included), checks and completer, and registry data files through their check:
// nothing crashes, whatever the reader accepts the engine reads back to the same project, every
// element read (also from a project with mistakes, which is read on past them) has its line, and
// a text converted to GB2312 converts back to itself.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "builder/checks/ProjectCheck.h"
#include "builder/checks/ProjectCompleter.h"
#include "builder/reading/CodePageText.h"
#include "builder/reading/ProjectDefines.h"
#include "builder/reading/ProjectReader.h"
#include "project/RegistryDataGrammar.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::string error;
    for (const vesk::RegistryDataProblem& problem : vesk::CheckRegistryData(text)) {
        if (problem.line == 0 || problem.message.empty()) std::abort();
    }

    std::string converted;
    if (vesk::Utf8ToGb2312(text, converted, error) && vesk::Gb2312ToUtf8(converted) != text) {
        std::abort();
    }

    vesk::ProjectDefines defines;
    if (!defines.Add("VERSION=1.0", error)) std::abort();
    vesk::ProjectReader reader;
    reader.SetDefines(&defines);
    const bool accepted = reader.ReadText(text, "fuzz.xml");
    if (accepted != reader.Errors().empty()) std::abort();
    const vesk::InstallProject& project = reader.Project();
    if (reader.Locations().size() != project.TaskCount()) std::abort();
    for (std::size_t t = 0; t < project.TaskCount(); ++t) {
        const auto& location = reader.Locations()[t];
        if (location.subtasks.size() != project.TaskAt(t).SubTaskCount()) std::abort();
        for (std::size_t s = 0; s < location.subtasks.size(); ++s) {
            if (location.subtasks[s].fieldLines.size() !=
                project.TaskAt(t).SubTaskAt(s).FieldCount()) {
                std::abort();
            }
        }
    }
    vesk::ProjectCheck check;
    check.Check(project, reader.Locations(), "fuzz.xml", "/nonexistent-fuzz-folder");
    const std::string written = reader.Project().ToText();
    vesk::InstallProject engine;
    engine.Parse(written);
    if (accepted && engine.ToText() != written) std::abort();

    vesk::ProjectCompleter completer;
    const bool completed =
        completer.Complete(reader.Project(), "fuzz.xml", reader.TaskLines(), reader.LostTasks());
    // Every slot once, whatever the written order and whatever the mistakes.
    std::vector<int> slots = completer.Order();
    std::sort(slots.begin(), slots.end());
    for (std::size_t i = 0; i < slots.size(); ++i) {
        if (slots[i] != int(i)) std::abort();
    }
    if (slots.size() != completer.Tasks().size()) std::abort();
    if (accepted && completed) {
        const std::string text = vesk::ProjectOf(completer.Tasks(), completer.Order()).ToText();
        engine.Parse(text);
        if (engine.ToText() != text) std::abort();
    }
    return 0;
}
