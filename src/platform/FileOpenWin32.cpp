// The wide fopen, so a path of any characters opens, long ones included.
#include "platform/FileOpen.h"
#include "platform/LongPathWin32.h"
#include "platform/WideTextWin32.h"

namespace vesk {

std::FILE* OpenFile(const std::string& path, const char* mode) {
    return _wfopen(LongPath(path).c_str(), Wide(mode).c_str());
}

}  // namespace vesk
