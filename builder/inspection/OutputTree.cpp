// The platform-neutral part of the output tree.
#include "builder/inspection/OutputTree.h"

namespace vesk {

std::vector<std::string> RelativeParts(const std::string& relative) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= relative.size()) {
        std::size_t stop = relative.find('/', start);
        if (stop == std::string::npos) stop = relative.size();
        if (stop > start) parts.push_back(relative.substr(start, stop - start));
        start = stop + 1;
    }
    return parts;
}

}  // namespace vesk
