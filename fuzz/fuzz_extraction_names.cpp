// Fuzzes extract's name mapping: each input line is an entry's raw path ("[InstallDir]\a.txt"),
// claimed for a file or (a leading '+') a folder. What is accepted lies below the extraction
// folder (no empty, "." or ".." part, no drive, no separator but '/'), every part a name Windows
// can create, and no two accepted files, nor a file and a folder on the way to another path, are
// one name on Windows.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>

#include "builder/inspection/ExtractionNames.h"
#include "builder/inspection/OutputTree.h"
#include "builder/plan/TargetPaths.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" const char* __ubsan_default_options() {
    return "halt_on_error=1:print_stacktrace=1";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    vesk::ExtractionNames names;
    std::set<std::string> files = {vesk::TargetKey(vesk::ExtractionNames::kProjectFile)};
    std::set<std::string> folders;  // every folder on the way to an accepted path, and folders
    for (std::size_t start = 0; start <= input.size();) {
        std::size_t end = input.find('\n', start);
        if (end == std::string::npos) end = input.size();
        std::string line = input.substr(start, end - start);
        start = end + 1;
        const bool folder = !line.empty() && line[0] == '+';
        if (folder) line.erase(0, 1);
        std::string why;
        const auto relative = folder ? names.FolderFor(line, why) : names.FileFor(line, why);
        if (!relative) {
            Check(!why.empty());
            continue;
        }
        Check(!relative->empty() && relative->front() != '/' && relative->back() != '/');
        Check(relative->find('\\') == std::string::npos);
        Check(relative->find(':') == std::string::npos);
        std::string key;
        for (const std::string& part : vesk::RelativeParts(*relative)) {
            Check(part != "." && part != "..");
            Check(vesk::CheckTargetName(part, why));
            if (!key.empty()) {
                Check(!files.count(key));  // no file lies on the way
                folders.insert(key);
            }
            key += (key.empty() ? "" : "\\") + vesk::TargetKey(part);
        }
        Check(relative->find("//") == std::string::npos);
        if (folder) {
            Check(!files.count(key));
            folders.insert(key);
        } else {
            Check(!files.count(key) && !folders.count(key));
            files.insert(key);
        }
    }
    return 0;
}
