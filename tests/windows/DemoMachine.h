// The demo's traces on the machine the GUI tests run on: where Windows keeps things, what the
// demo's install writes to the registry, and a way to start every test without any of it.
#pragma once

#include <string>

#include "platform/Registry.h"

namespace vesk::test {

// The demo's name and version as the setup shows them, and its keys (leading backslash).
// (Inline, so the constants of a test file built from them are initialised after them.)
inline const std::string kDemoTitle = "Vesk Demo 1.2";
inline const std::string kDemoProductKey = "\\SOFTWARE\\VeskSoft\\VeskInstall\\Vesk Demo";
inline const std::string kDemoUninstallKey =
    "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vesk Demo 1.2";
// How Windows lists the demo's font, under HKEY_LOCAL_MACHINE.
inline const std::string kFontsKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";
inline const std::string kDemoFontName = "DejaVu Sans Mono (TrueType)";

// A file of examples/demo, through drive Z:, which Wine maps to the host's root.
std::string DemoFile(const std::string& relative);

std::string WindowsFolder();
std::string SystemFolder();
// The folder of a CSIDL_ value.
std::string ShellFolder(int id);

// The value's text; "(no key)" or "(no value)" when it is not there.
std::string ReadRegistryString(RegistryRoot root, const std::string& key, const std::string& name);
// Whether the key (leading backslash) is there.
bool RegistryKeyExists(RegistryRoot root, const std::string& key);
// Removes the key below `parent` (no leading backslash) with everything below it.
void DeleteRegistryTree(RegistryRoot root, const std::string& parent, const std::string& name);

// Everything the demo leaves anywhere (its shared-file counts, the test component's key and the
// records of every product included), and the folder `testRoot` with all in it.
void RemoveTheDemo(const std::string& testRoot);

}  // namespace vesk::test
