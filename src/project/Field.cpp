// Reading and writing one field line of the project XML.
#include "project/Field.h"

namespace vesk {
namespace {

const std::string kNoValue;

}  // namespace

const std::string& Field::NoValue() {
    return kNoValue;
}

Field Field::FromLine(const std::string& line) {
    const std::size_t close = line.find('>');
    // The first character is taken to be '<' without looking at it.
    std::string name =
        (close != std::string::npos && close >= 1) ? line.substr(1, close - 1) : line;
    std::string value;
    if (close != std::string::npos) {
        const std::size_t open = line.find('<', 1);
        // A '<' before the '>' leaves nothing between them: the value is empty.
        if (open != std::string::npos && open > close)
            value = line.substr(close + 1, open - close - 1);
    }
    return Field(FieldKindFromName(name), std::move(value));
}

std::string Field::ToXml() const {
    const std::string name = FieldName(kind_);
    std::string line;
    line.reserve(2 * name.size() + value_.size() + 5);
    line += '<';
    line += name;
    line += '>';
    line += value_;
    line += "</";
    line += name;
    line += '>';
    return line;
}

}  // namespace vesk
