// Values given on the command line (-D NAME=VALUE) for the ${NAME} placeholders of a project, so
// that a build can inject a version or a path without editing the file.
#pragma once

#include <map>
#include <string>

namespace vesk {

class ProjectDefines {
public:
    // Takes "NAME=VALUE": NAME is letters, digits and '_' (not starting with a digit); VALUE is
    // converted to the project's code page (ToProjectCodePage) and may not hold '<' or a line
    // break, which a project value cannot carry. A later definition of a name replaces an
    // earlier one. False with the reason otherwise.
    bool Add(const std::string& assignment, std::string& why);

    // The line with every "${NAME}" replaced by its value; "$${" stands for a literal "${". False
    // with the reason for an undefined name or a "${" without its "}".
    bool Expand(const std::string& line, std::string& out, std::string& why) const;

    bool Empty() const { return values_.empty(); }

private:
    std::map<std::string, std::string> values_;
};

}  // namespace vesk
