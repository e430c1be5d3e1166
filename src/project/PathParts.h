// Splitting paths at backslashes without mistaking a double-byte character's trail byte (0x5C in
// GBK, Big5 and Shift-JIS) for a separator.
#pragma once

#include <string>
#include <vector>

namespace vesk {

// Position of the last backslash that is a character of its own; npos when there is none.
std::size_t LastBackslash(const std::string& path);
// Position of the first such backslash at or after `from`; npos when there is none.
std::size_t FirstBackslash(const std::string& path, std::size_t from = 0);

// The backslash-separated parts of `path`, empty parts left out ("\a\\b\" gives a, b).
std::vector<std::string> PathComponents(const std::string& path);

// The text up to the last backslash, without it unless what is left is a drive root of three
// characters or less ("C:\a.txt" gives "C:\", "C:\dir\a.txt" gives "C:\dir"); "" without one.
std::string FolderOf(const std::string& path);
// The text up to and including the last backslash; "" without one.
std::string FolderWithSlashOf(const std::string& path);
// The text after the last backslash; the whole text without one.
std::string FileNameOf(const std::string& path);
// The text after the last dot of the file name, without the dot; "" when the name has none.
std::string ExtensionOf(const std::string& path);

// Whether `inner` lies below the folder `outer` (letter case ignored, whole names only: "C:\App2"
// is not below "C:\App"; trailing backslashes of `outer` do not count).
bool LiesBelow(const std::string& inner, const std::string& outer);

}  // namespace vesk
