// The values start-up reads from the project and the registry before the wizard: the proposed
// program folder, the preparatory program, and the proposed install folder.
#pragma once

#include <string>

#include "platform/Registry.h"
#include "project/EngineKey.h"
#include "project/InstallProject.h"
#include "project/PathResolver.h"

namespace vesk {

// The start-up file that holds the preparatory program.
constexpr char kPreparatoryProgram[] = "[TempFileDir]\\~VeskInstall-ProvideForInstall.exe";

// The program group name the program folder page proposes (task 2404, GetValue, Description).
std::string ProposedProgramFolder(const InstallProject& project);

// The project's AdPicture value: the advertising picture is shown when it is not empty.
std::string AdPictureSetting(const InstallProject& project);

// The project's ProvideForInstall value: a preparatory program runs when it is not empty.
std::string PreparatoryProgramSetting(const InstallProject& project);

// The project's InstallPath, expanded; replaced by the "Path" value of the product's key
// (HKEY_LOCAL_MACHINE + kEngineKey + "\" + project name) when that value is not empty: the
// destination of an earlier install of the same product. The key is only read: a run that
// writes nothing to it leaves no key behind.
std::string ProposedInstallFolder(const InstallProject& project, const PathResolver& resolver,
                                  Registry& registry);

}  // namespace vesk
