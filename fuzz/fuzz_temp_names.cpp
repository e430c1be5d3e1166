// Fuzzes the path tokens and the temporary-name check: the input's first line is an entry path
// as a project writes it ("[TempFileDir]\~VeskInstall-Ad.bmp"), its second the install folder.
// The path is resolved and given the run's stamp (TempNameFor), and the run folder decides
// whether the name lies inside it. A name it takes lies below the folder through names Windows
// can hold only (no "..", drive, stream or device can lead it elsewhere); a plain name in
// [TempFileDir] is always taken; and a text without a leading token resolves to itself.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "platform/PrivateFiles.h"
#include "project/PathParts.h"
#include "project/PathResolver.h"
#include "project/StartValues.h"
#include "project/WindowsNames.h"
#include "session/RunFolder.h"
#include "support/FakeSystemFacts.h"
#include "support/MemoryRegistry.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

constexpr char kStamp[] = "20040305140307045";

// A run folder that exists only as a name.
class NamedFolder : public vesk::PrivateFolder {
public:
    explicit NamedFolder(std::string path) : PrivateFolder(std::move(path)) {}
    bool RemoveWithContents() override { return true; }
};

class NamedFiles : public vesk::PrivateFiles {
public:
    std::unique_ptr<vesk::PrivateFolder> CreatePrivateFolder(const std::string& parent,
                                                             const std::string& prefix) override {
        return std::make_unique<NamedFolder>(parent + "\\" + prefix + "0123456789abcdef");
    }
    std::unique_ptr<vesk::HeldFile> CreateNewFile(const std::string&) override { return nullptr; }
};

}  // namespace

extern "C" const char* __ubsan_default_options() {
    return "halt_on_error=1:print_stacktrace=1";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t newline = input.find('\n');
    const std::string raw = input.substr(0, newline);
    const std::string installDir = newline == std::string::npos ? "" : input.substr(newline + 1);

    static vesk::test::FakeSystemFacts system;
    static vesk::test::MemoryRegistry registry;
    static NamedFiles files;
    vesk::RunFolder folder(files);
    Check(folder.Create("C:\\TEMP", "~VeskInstall-"));
    vesk::PathResolver resolver(system, registry, installDir);
    resolver.SetTempFolder(folder.Path());

    if (raw.empty() || raw[0] != '[') Check(resolver.Resolve(raw) == raw);
    const std::string name = vesk::TempNameFor(raw, kStamp, resolver);
    if (folder.Contains(name)) {
        const std::string prefix = folder.Path() + "\\";
        Check(name.compare(0, prefix.size(), prefix) == 0);
        const std::string inside = name.substr(prefix.size());
        std::string why, rebuilt;
        for (const std::string& part : vesk::PathComponents(inside)) {
            Check(vesk::CheckWindowsName(part, why));
            rebuilt += (rebuilt.empty() ? "" : "\\") + part;
        }
        Check(rebuilt == inside);
    }
    // Any name Windows can hold, put in [TempFileDir], stays there.
    std::string why;
    if (vesk::CheckWindowsName(raw, why) && std::string(kStamp).size() + raw.size() < 4096) {
        Check(folder.Contains(vesk::TempNameFor("[TempFileDir]\\" + raw, kStamp, resolver)));
    }
    folder.Remove();
    return 0;
}
