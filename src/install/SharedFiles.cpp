// The shared-file list.
#include "install/SharedFiles.h"

#include "project/RegistryKey.h"

namespace vesk {
namespace {

Change CountChange(const std::string& path, std::optional<RegistryValue> before,
                   std::optional<RegistryValue> after) {
    return RegistryValueChange(ChangeKind::SharedFileCounted, RegistryRoot::LocalMachine,
                               kSharedFilesKey, path, std::move(before), std::move(after));
}

}  // namespace

std::uint32_t SharedCountOf(const std::optional<RegistryValue>& value) {
    if (!value || value->type != kRegistryDword || value->data.size() != 4) return 0;
    std::uint32_t count = 0;
    for (int i = 3; i >= 0; --i) count = count << 8 | std::uint8_t(value->data[i]);
    return count;
}

RegistryValue SharedCountValue(std::uint32_t count) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) bytes[i] = char((count >> (8 * i)) & 0xFF);
    return RegistryValue{kRegistryDword, bytes};
}

bool CountSharedFile(Registry& journalled, Registry& system, InstallRecords& records,
                     const std::string& path, bool existed) {
    std::unique_ptr<RegistryHandle> list =
        system.Open(RegistryRoot::LocalMachine, kSharedFilesKey, RegistryAccess::All);
    if (!list) {
        RegistryKey(journalled).Open(std::string("\\") + kSharedFilesKey, true);
        list = system.Open(RegistryRoot::LocalMachine, kSharedFilesKey, RegistryAccess::All);
    }
    if (!list) return false;
    const std::optional<RegistryValue> before = list->QueryValue(path);
    std::uint32_t count = SharedCountOf(before);
    if (count == 0 && existed) count = 1;
    const RegistryValue after = SharedCountValue(count + 1);
    if (!list->SetValue(path, after)) return false;
    records.Add(CountChange(path, before, after));
    return true;
}

std::uint32_t UncountSharedFile(Registry& system, InstallRecords& records,
                                const std::string& path) {
    std::unique_ptr<RegistryHandle> list =
        system.Open(RegistryRoot::LocalMachine, kSharedFilesKey, RegistryAccess::All);
    if (!list) return 0;
    const std::optional<RegistryValue> before = list->QueryValue(path);
    const std::uint32_t count = SharedCountOf(before);
    if (count > 1) {
        const RegistryValue after = SharedCountValue(count - 1);
        if (list->SetValue(path, after)) records.Add(CountChange(path, before, after));
        return count - 1;
    }
    if (before && list->DeleteValue(path)) records.Add(CountChange(path, before, std::nullopt));
    return 0;
}

}  // namespace vesk
