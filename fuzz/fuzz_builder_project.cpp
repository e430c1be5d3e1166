// Hand-written project files through the builder's reader and completer, and registry data files
// through their check: nothing crashes, and whatever the reader accepts the engine reads back to
// the same project.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "ProjectCompleter.h"
#include "ProjectReader.h"
#include "RegistryDataCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::string error;
    (void)vesk::CheckRegistryDataFile(text, error);

    vesk::ProjectReader reader;
    if (!reader.ReadText(text, "fuzz.xml")) return 0;
    const std::string written = reader.Project().ToText();
    vesk::InstallProject engine;
    engine.Parse(written);
    if (engine.ToText() != written) std::abort();

    vesk::ProjectCompleter completer;
    if (completer.Complete(reader.Project(), "fuzz.xml", reader.TaskLines())) {
        // Every slot once, whatever the written order.
        std::vector<int> slots = completer.Order();
        std::sort(slots.begin(), slots.end());
        for (std::size_t i = 0; i < slots.size(); ++i) {
            if (slots[i] != int(i)) std::abort();
        }
        if (slots.size() != completer.Tasks().size()) std::abort();
        const std::string completed =
            vesk::ProjectOf(completer.Tasks(), completer.Order()).ToText();
        engine.Parse(completed);
        if (engine.ToText() != completed) std::abort();
    }
    return 0;
}
