// Command-line parsing.
#include "builder/veskbuild/CommandLine.h"

namespace vesk::tool {
namespace {

const OptionSpec* FindLong(const std::vector<OptionSpec>& options, const std::string& name) {
    for (const OptionSpec& option : options) {
        if (name == option.name) return &option;
    }
    return nullptr;
}

// The short option `arg` starts with ("-o" of "-o" or of "-ofile"), when it takes a value.
const OptionSpec* FindShort(const std::vector<OptionSpec>& options, const std::string& arg) {
    for (const OptionSpec& option : options) {
        if (!option.shortName) continue;
        const std::string name = option.shortName;
        if (arg == name || (option.takesValue && arg.compare(0, name.size(), name) == 0)) {
            return &option;
        }
    }
    return nullptr;
}

}  // namespace

bool CommandLine::Parse(const Arguments& args, const std::vector<OptionSpec>& options,
                        std::string& error) {
    help_ = false;
    values_.clear();
    operands_.clear();
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            operands_.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            help_ = true;
            continue;
        }
        const OptionSpec* option = nullptr;
        std::string value;
        bool hasValue = false;
        if (arg.compare(0, 2, "--") == 0) {
            const std::size_t equals = arg.find('=');
            option = FindLong(options, arg.substr(0, equals));
            hasValue = equals != std::string::npos;
            if (hasValue) value = arg.substr(equals + 1);
        } else {
            option = FindShort(options, arg);
            if (option && arg.size() > std::string(option->shortName).size()) {
                hasValue = true;
                value = arg.substr(std::string(option->shortName).size());
            }
        }
        if (!option) {
            error = "unknown option " + arg.substr(0, arg.find('='));
            return false;
        }
        const std::string name = option->name;
        if (!option->takesValue && hasValue) {
            error = name + " takes no value";
            return false;
        }
        if (option->takesValue && !hasValue) {
            if (i + 1 >= args.size()) {
                error = name + " needs a value";
                return false;
            }
            value = args[++i];
        }
        if (option->takesValue && value.empty()) {
            error = name + " needs a value";
            return false;
        }
        if (!option->repeatable && Has(name)) {
            error = name + " is given twice";
            return false;
        }
        values_[name].push_back(value);
    }
    return true;
}

std::string CommandLine::Value(const std::string& name) const {
    auto found = values_.find(name);
    return found == values_.end() || found->second.empty() ? std::string() : found->second.back();
}

std::vector<std::string> CommandLine::Values(const std::string& name) const {
    auto found = values_.find(name);
    return found == values_.end() ? std::vector<std::string>() : found->second;
}

}  // namespace vesk::tool
