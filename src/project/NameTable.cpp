// Upper-cased name lists for the project's vocabularies.
#include "project/NameTable.h"

#include "project/NameCase.h"

namespace vesk {

NameTable::NameTable(const char* const* names, std::size_t count) {
    upper_.reserve(count);
    present_.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        upper_.push_back(names[i] ? UpperName(names[i]) : std::string());
        present_.push_back(names[i] != nullptr);
    }
}

int NameTable::Find(const std::string& name) const {
    const std::string upper = UpperName(name);
    for (std::size_t i = 0; i < upper_.size(); ++i) {
        if (present_[i] && upper_[i] == upper) return static_cast<int>(i);
    }
    return -1;
}

}  // namespace vesk
