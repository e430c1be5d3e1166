// Where the engine loads libraries from: the system folder only, never the folder Setup.exe was
// started from (a downloads folder, where anyone may have put a library of a system name).
#pragma once

#include <windows.h>

namespace vesk {

// Takes the program's folder and the current folder out of the library search for the whole
// process, so that libraries loaded from now on, and the libraries they pull in, come from the
// system folder. Called first thing by the program. Where the system cannot restrict the search
// to the system folder (before the update that brought it to Windows Vista and 7), at least the
// current folder is dropped. False when only that was possible.
bool RestrictLibrarySearch();

// Loads the system library `name` ("atl.dll") by its full path in the system folder; null when
// it cannot be loaded.
HMODULE LoadSystemLibrary(const char* name);

// Loads, by their full paths in the system folder, the libraries that the common controls, the
// shell and the component runtime load later by name (uxtheme, dwmapi, version, propsys, oleacc,
// cryptbase, profapi, userenv, ole32, ...), so that a later load by name finds them loaded and
// none can come from the program's folder, whatever the system's search rules (Wine's builtin
// libraries look beside the program first where a library is set to load native first). Called
// by the program right after RestrictLibrarySearch, before any window. A library the system
// lacks is passed over.
void PreloadSystemLibraries();

// The names PreloadSystemLibraries loads, for the tests that plant libraries of these names.
extern const char* const kPreloadedLibraries[];
extern const int kPreloadedLibraryCount;

}  // namespace vesk
