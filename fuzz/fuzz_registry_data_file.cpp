// Fuzzes applying registry data files to an in-memory registry: no faults, every key closed again,
// only string values with their terminating NUL written, and when the builder's check accepts the
// file, every value line of it written.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "install/RegistryDataFile.h"
#include "project/RegistryDataGrammar.h"
#include "support/MemoryRegistry.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

// Every value of root\path and below is a string no longer than the input, ending in NUL.
void CheckValuesBelow(vesk::Registry& registry, vesk::RegistryRoot root, const std::string& path,
                      std::size_t inputSize) {
    std::unique_ptr<vesk::RegistryHandle> key =
        registry.Open(root, path, vesk::RegistryAccess::Read);
    Check(key != nullptr);
    for (const std::string& name : key->ValueNames()) {
        std::optional<vesk::RegistryValue> value = key->QueryValue(name);
        Check(value && value->type == vesk::kRegistryString);
        Check(!value->data.empty() && value->data.back() == '\0');
        Check(value->data.size() <= inputSize);
    }
    for (const std::string& name : key->SubKeyNames()) {
        CheckValuesBelow(registry, root, path.empty() ? name : path + "\\" + name, inputSize);
    }
}

// A file the builder accepts has CR LF lines only: each value line has landed under its key.
void CheckAcceptedFileApplied(const std::string& bytes, vesk::test::MemoryRegistry& registry) {
    if (!vesk::CheckRegistryData(bytes).empty()) return;
    std::optional<vesk::BracketedKey> key;
    for (std::size_t start = 0; start < bytes.size();) {
        const std::size_t end = bytes.find("\r\n", start);
        Check(end != std::string::npos);
        const vesk::RegistryDataLine line =
            vesk::ReadRegistryDataLine(bytes.substr(start, end - start));
        start = end + 2;
        if (line.kind == vesk::RegistryDataLine::Kind::Key) key = line.key;
        if (line.kind != vesk::RegistryDataLine::Kind::Value) continue;
        Check(key.has_value());
        std::string path;
        for (const std::string& level : key->levels) path += (path.empty() ? "" : "\\") + level;
        Check(registry.Value(key->root, path, line.name).has_value());
    }
}

}  // namespace

// The libraries are built with recoverable sanitizer checks; here any undefined behaviour stops.
extern "C" const char* __ubsan_default_options() {
    return "halt_on_error=1:print_stacktrace=1";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    if (bytes.empty()) return 0;  // fmemopen takes no empty buffer
    std::FILE* file = fmemopen(&bytes[0], bytes.size(), "rb");
    if (!file) return 0;
    vesk::test::MemoryRegistry registry;
    vesk::ApplyRegistryData(registry, file);
    std::fclose(file);
    Check(registry.OpenHandles() == 0);
    CheckAcceptedFileApplied(bytes, registry);
    const vesk::RegistryRoot roots[] = {vesk::RegistryRoot::ClassesRoot,
                                        vesk::RegistryRoot::CurrentUser,
                                        vesk::RegistryRoot::LocalMachine, vesk::RegistryRoot::Users,
                                        vesk::RegistryRoot::CurrentConfig};
    for (vesk::RegistryRoot root : roots) CheckValuesBelow(registry, root, "", size);
    return 0;
}
