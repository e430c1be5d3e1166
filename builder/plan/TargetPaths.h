// Paths on both sides of a build: source paths on the build machine as a project names them, and
// the target paths ("[InstallDir]\docs\a.txt") the setup writes on the user's machine.
#pragma once

#include <string>

namespace vesk {

// A builder-side path from a project value: absolute as it is, relative to `baseDir` (the project
// file's folder) otherwise. Backslashes separate folders on every build machine.
std::string HostPathFor(const std::string& baseDir, const std::string& value);

// Whether `name` can be one component of a target path: a name the project file can carry (no
// '<', no line break) and Windows can create (no control character, none of \ / : * ? " < > |,
// no trailing dot or space, no device name such as CON or LPT1). False with the reason.
bool CheckTargetName(const std::string& name, std::string& why);

// The folder and a relative path joined with exactly one backslash between them.
std::string JoinTarget(const std::string& folder, const std::string& relative);

// Two targets are one file on Windows when their keys are equal (letter case ignored).
std::string TargetKey(const std::string& target);

}  // namespace vesk
