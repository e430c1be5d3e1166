// Placeholder substitution in project lines.
#include "builder/reading/ProjectDefines.h"

#include <cctype>
#include <vector>

#include "builder/reading/CodePageText.h"
#include "builder/reading/NearMiss.h"

namespace vesk {
namespace {

bool IsName(const std::string& name) {
    if (name.empty() || std::isdigit(static_cast<unsigned char>(name[0]))) return false;
    for (unsigned char c : name) {
        if (!std::isalnum(c) && c != '_') return false;
    }
    return true;
}

}  // namespace

bool ProjectDefines::Add(const std::string& assignment, std::string& why) {
    std::size_t equals = assignment.find('=');
    const std::string name = assignment.substr(0, equals);
    if (equals == std::string::npos) {
        why = "write NAME=VALUE (an empty value is NAME=)";
        return false;
    }
    if (!IsName(name)) {
        why = "\"" + name + "\" is no name: letters, digits and '_', not starting with a digit";
        return false;
    }
    const std::string value = assignment.substr(equals + 1);
    if (value.find_first_of("<\r\n") != std::string::npos) {
        why = "the value of " + name + " holds '<' or a line break, which a project value cannot";
        return false;
    }
    std::string converted;
    if (!ToProjectText(value, converted, why)) {
        why = "the value of " + name + ": " + why;
        return false;
    }
    values_[name] = converted;
    return true;
}

bool ProjectDefines::Expand(const std::string& line, std::string& out, std::string& why) const {
    std::string result;
    std::size_t at = 0;
    while (at < line.size()) {
        std::size_t open = line.find("${", at);
        if (open == std::string::npos) break;
        if (open > 0 && line[open - 1] == '$') {
            result += line.substr(at, open - 1 - at) + "${";
            at = open + 2;
            continue;
        }
        std::size_t close = line.find('}', open + 2);
        if (close == std::string::npos) {
            why = "\"${\" without its \"}\" (write $${ for a literal ${)";
            return false;
        }
        const std::string name = line.substr(open + 2, close - open - 2);
        auto found = values_.find(name);
        if (found == values_.end()) {
            std::vector<std::string> names;
            for (const auto& entry : values_) names.push_back(entry.first);
            why = "${" + name + "} is not defined: give -D " + name + "=VALUE" +
                  DidYouMean(name, names);
            return false;
        }
        result += line.substr(at, open - at) + found->second;
        at = close + 1;
    }
    out = result + line.substr(at);
    return true;
}

}  // namespace vesk
