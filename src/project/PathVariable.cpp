// Token names of the path variables.
#include "project/PathVariable.h"

#include "project/NameTable.h"

namespace vesk {
namespace {

const char* const kTokens[] = {
    "[Program Files]",     "[InstallDir]",         "[Windows Directory]", "[System Directory]",
    "[Desktop Directory]", "[Absolute Directory]", "[TempFileDir]",       "[Start Menu]",
    "[Startup]",           "[QuickLaunch]",
};
constexpr int kKindCount = int(sizeof(kTokens) / sizeof(kTokens[0]));

}  // namespace

std::string PathVariableToken(PathVariableKind kind) {
    int index = int(kind);
    return index < 0 || index >= kKindCount ? std::string() : std::string(kTokens[index]);
}

PathVariableKind PathVariableKindFromToken(const std::string& text) {
    static const NameTable table(kTokens, kKindCount);
    const int index = table.Find(text);
    return index < 0 ? PathVariableKind::None : PathVariableKind(index);
}

}  // namespace vesk
