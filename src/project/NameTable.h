// A fixed list of names looked up the way the project compares names: both sides upper-cased
// (multibyte-aware), then compared byte for byte; the first match in table order wins.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace vesk {

class NameTable {
public:
    // names must hold count entries; a null entry never matches.
    NameTable(const char* const* names, std::size_t count);

    // Index of the first entry equal to name, ignoring ASCII case; -1 when none matches.
    int Find(const std::string& name) const;

private:
    std::vector<std::string> upper_;
    std::vector<bool> present_;
};

}  // namespace vesk
