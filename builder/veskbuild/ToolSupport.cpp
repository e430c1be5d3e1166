// Error reporting and whole-file I/O shared by the commands.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "builder/plan/FileBytes.h"
#include "builder/veskbuild/Commands.h"
#include "builder/veskbuild/TerminalText.h"
#include "platform/SystemFacts.h"

namespace vesk::tool {

int Failure(const std::string& message) {
    std::size_t start = 0;
    while (start <= message.size()) {
        std::size_t end = message.find('\n', start);
        if (end == std::string::npos) end = message.size();
        std::fprintf(stderr, "veskbuild: %s\n",
                     MessageForTerminal(message.substr(start, end - start)).c_str());
        start = end + 1;
    }
    return kExitFailure;
}

int SetupFailure(const std::string& message, bool damaged) {
    Failure(message);
    return damaged ? kExitDamaged : kExitFailure;
}

int UsageError(const std::string& command, const std::string& message) {
    const std::string text = MessageForTerminal(message);
    if (command.empty()) {
        std::fprintf(stderr, "veskbuild: %s (see veskbuild --help)\n", text.c_str());
    } else {
        std::fprintf(stderr, "veskbuild: %s: %s (see veskbuild help %s)\n", command.c_str(),
                     text.c_str(), command.c_str());
    }
    return kExitUsage;
}

std::string BesideTheTool(const char* folder, const char* name) {
    namespace fs = std::filesystem;
    const fs::path bin = fs::path(HostSystemFacts().ModuleFileName()).parent_path();
    const fs::path places[] = {bin / ".." / folder / name,
                               bin / ".." / "share" / "veskinstall" / folder / name};
    for (const fs::path& place : places) {
        std::error_code ec;
        if (fs::is_regular_file(place, ec)) return place.lexically_normal().string();
    }
    return places[0].lexically_normal().string();
}

void Warning(const std::string& message) {
    std::fprintf(stderr, "veskbuild: warning: %s\n", MessageForTerminal(message).c_str());
}

bool ReadFileBytes(const std::string& path, std::string& bytes, std::string& error) {
    return ReadFileContent(path, bytes, error);
}

bool WriteFileBytes(const std::string& path, const std::string& bytes, std::string& error) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = std::fclose(file) == 0 && ok;
    if (!ok) error = path + ": write error";
    return ok;
}

}  // namespace vesk::tool
