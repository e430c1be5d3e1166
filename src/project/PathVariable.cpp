// Token names of the path variables.
#include "project/PathVariable.h"

#include "project/NameCase.h"

namespace vesk {
namespace {

const char* const kNames[] = {
    "Program Files",     "InstallDir",         "Windows Directory", "System Directory",
    "Desktop Directory", "Absolute Directory", "TempFileDir",       "Start Menu",
    "Startup",           "QuickLaunch",
};
constexpr int kKindCount = int(sizeof(kNames) / sizeof(kNames[0]));

}  // namespace

std::string PathVariableToken(PathVariableKind kind) {
    int index = int(kind);
    if (index < 0 || index >= kKindCount) return std::string();
    return std::string("[") + kNames[index] + "]";
}

PathVariableKind PathVariableKindFromToken(const std::string& text) {
    for (int index = 0; index < kKindCount; ++index) {
        if (SameName(text, PathVariableToken(PathVariableKind(index)))) {
            return PathVariableKind(index);
        }
    }
    return PathVariableKind::None;
}

}  // namespace vesk
