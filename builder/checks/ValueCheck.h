// Checks one project value against what its field must hold (FieldUsage): the mistakes the
// engine would take silently, such as a misspelt path token, a flag written "yes" or a registry
// key without its leading backslash.
#pragma once

#include <string>
#include <vector>

#include "builder/checks/FieldUsage.h"

namespace vesk {

struct Finding {
    bool error = true;  // false: a warning, the setup builds
    std::string message;
};

// The problems of `value` in a field used as `use`; files on the build machine are looked for
// relative to `baseDir`. Each message continues the field's name and task ("RegSubKey of task
// 2406" + ": \"SOFTWARE\\x\" must start with a backslash ...").
std::vector<Finding> CheckFieldValue(const FieldUse& use, const std::string& value,
                                     const std::string& baseDir);

// Why the setup would not write `data` as the number it reads as (a registry value of
// RegDataType 1, which the setup converts as a decimal number from -2147483648 to 2147483647 and
// stores as a DWORD), or "" when it would. The reason follows the field's name and task
// ("RegVarValue of task 2406" + ": \"five\" is no number ...").
std::string RegistryNumberProblem(const std::string& data);

// The key names of a value made only of "|Key|" references ("|WelcomeWndDesc1||ProjectName|"
// gives two); empty for any other text.
std::vector<std::string> ReferencedKeys(const std::string& value);

}  // namespace vesk
