// The options and operands of one command: "--name value" and "--name=value", short forms such
// as "-o DIR" or "-DNAME=VALUE", "--" before operands that start with '-'.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "builder/veskbuild/Commands.h"

namespace vesk::tool {

struct OptionSpec {
    const char* name;       // "--output"
    const char* shortName;  // "-o", or nullptr
    bool takesValue;
    bool repeatable;   // given more than once, every value counts; otherwise a repeat is an error
    const char* help;  // "-o, --output DIR  the output folder", for the command's help
};

class CommandLine {
public:
    // Reads `args` against `options`; "--help" and "-h" are always known. False with the
    // reason for an unknown option, a missing value, a value given to a flag or an option
    // given twice that may not be.
    bool Parse(const Arguments& args, const std::vector<OptionSpec>& options, std::string& error);

    bool HelpAsked() const { return help_; }
    bool Has(const std::string& name) const { return values_.count(name) != 0; }
    // The option's value; empty when it was not given.
    std::string Value(const std::string& name) const;
    // Every value of a repeatable option, in order.
    std::vector<std::string> Values(const std::string& name) const;
    const std::vector<std::string>& Operands() const { return operands_; }

private:
    bool help_ = false;
    std::map<std::string, std::vector<std::string>> values_;
    std::vector<std::string> operands_;
};

}  // namespace vesk::tool
