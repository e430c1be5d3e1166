// The demo product as the Windows tests install it: building its setup, clearing the machine of
// it, and checking everything an install of it leaves, whichever way it was installed.
#pragma once

#include <windows.h>

#include <functional>
#include <set>
#include <string>

#include "DemoMachine.h"
#include "project/RegistryKey.h"
#include "support/TempDir.h"

namespace vesk::test {

constexpr RegistryRoot kMachine = RegistryRoot::LocalMachine;
constexpr RegistryRoot kUser = RegistryRoot::CurrentUser;
// Where the tests install: a folder with blanks, which every started program must survive.
// (Inline, so the constants of a test file built from them are initialised after them.)
inline const std::string kTestRoot = "C:\\Vesk Gui Test";
constexpr DWORD kInstallTimeoutMs = 60000;

// A REG_DWORD value; -1 when it is not there or of another type.
long long ReadDword(RegistryRoot root, const std::string& key, const std::string& name);

// What the demo leaves anywhere and the test root, so every test starts on a machine without
// them.
void RemoveTheDemo();

// Files whose names carry a run's stamp, and the registry data file, in the temporary folder.
std::set<std::string> RunFilesInTemp();

// Sets (or with "" removes) a variable of this process's environment, which started programs
// inherit.
void SetEnvironment(const char* name, const std::string& value);

// The demo copied into `dir`\demo, its first volume ending among the product files, with an
// uninstall record (the test helper program stands in
// for the uninstaller) and one more product file, "hold.exe", run during the install (kind L):
// it notes the folder it runs in in the file VESK_TEST_MARKER names and waits while
// VESK_TEST_HOLD names a file that does not exist yet. `editProject`, when given, changes the
// project text before the build; `compression` is the build's --compression (empty: none);
// `uninstaller` the program packed as the uninstaller (empty: the helper program). The built
// Setup.exe's path; "" after a failure of the test.
std::string BuildDemoVariant(const TempDir& dir,
                             const std::function<void(std::string&)>& editProject = nullptr,
                             const std::string& compression = "",
                             const std::string& uninstaller = "");

// Everything an install of the variant built in `dir` into `folder` leaves, checked with
// gtest expectations: every product file with its time and the log, the font, the uninstaller
// and its language file, the registry items (the user information page's with the registered
// user), the shortcuts read back through the shell, the uninstall entry and the engine's values.
void ExpectTheDemoInstalled(const std::string& folder, const TempDir& dir);

}  // namespace vesk::test
