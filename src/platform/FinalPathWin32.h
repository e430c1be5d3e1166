// Where a path really leads: the final path of an open handle, and whether one path lies in a
// folder. What keeps links out of the run's folder and the install folder.
#pragma once

#include <windows.h>

#include <string>

namespace vesk {

// The final path of an open file or folder, without the "\\?\" prefix; empty when the system
// cannot tell (before Windows Vista).
std::string FinalPathOf(HANDLE handle);

// Where opening `path` really leads, not following a link at its end: the link itself on Windows,
// the link's target under Wine, which cannot open a link itself. Empty when the system cannot
// tell or nothing is there.
std::string FinalPathOfEntry(const std::string& path);

// Opens the entry `path` itself (file or folder), not what a link there leads to.
HANDLE OpenEntry(const std::string& path, DWORD access, DWORD share);

// Whether `path` is `folder` or lies inside it, in any letter case.
bool IsInside(const std::string& path, const std::string& folder);

// Whether two paths are the same, in any letter case.
bool SamePath(const std::string& a, const std::string& b);

// Marks the open handle's file or folder for deletion when its last handle closes (a folder only
// when empty); false when the system refuses. The handle needs DELETE access.
bool DeleteThroughHandle(HANDLE handle);

}  // namespace vesk
