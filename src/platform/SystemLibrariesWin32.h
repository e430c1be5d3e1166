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

}  // namespace vesk
