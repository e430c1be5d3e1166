// Fuzzes what `veskbuild try` reads back from a prefix: Wine's registry files (with every value
// viewed) and the walk program's account. No faults; a hive compared with itself shows no change.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "builder/trial/HiveComparison.h"
#include "builder/trial/RegistryHive.h"
#include "builder/trial/WalkAccount.h"
#include "builder/trial/WineText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    vesk::trial::RegistryHive hive;
    std::string error;
    if (hive.Parse(text, error)) {
        for (const auto& [path, key] : hive.Keys()) {
            for (const auto& [name, value] : key.values) vesk::trial::ViewValue(value.data);
        }
        if (!vesk::trial::CompareHives(hive, hive, "HKLM").empty()) std::abort();
    } else if (error.empty() || !hive.Keys().empty()) {
        std::abort();
    }
    vesk::trial::WalkAccount account;
    account.Read(text);
    return 0;
}
