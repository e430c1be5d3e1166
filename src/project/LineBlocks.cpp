// Start and end lines of task and subtask blocks.
#include "project/LineBlocks.h"

#include <cstring>

#include "project/NameCase.h"

namespace vesk {

bool IsBlockStart(const std::string& line, const char* upperTag) {
    std::size_t space = line.find(' ');
    if (space == std::string::npos || space != std::strlen(upperTag)) return false;
    return UpperName(line.substr(0, space)) == upperTag;
}

bool IsBlockEnd(const std::string& line, const char* upperTag) {
    return line.size() == std::strlen(upperTag) && UpperName(line) == upperTag;
}

}  // namespace vesk
