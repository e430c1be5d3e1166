// The system's fonts: adding a font file for this session, listing it so that it is loaded at
// every start, taking both back, and telling running programs that the fonts changed.
#pragma once

#include <optional>
#include <string>

namespace vesk {

// Where the system lists its installed fonts, under HKEY_LOCAL_MACHINE: value name the font's
// name, data its file (a bare name for a file in the fonts folder, else a full path).
constexpr char kNtFontsKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";
constexpr char kWin9xFontsKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Fonts";

class Fonts {
public:
    virtual ~Fonts() = default;

    // Adds the fonts of the file at `path` to the system's font table until the system restarts.
    // How many fonts were added; 0 when the file is no font or cannot be read.
    virtual int AddResource(const std::string& path) = 0;

    // The folder the system keeps its fonts in, without a trailing backslash.
    virtual std::string FontsFolder() const = 0;

    // Writes the value `name` with the text `file` under the fonts key of this system's family
    // (kNtFontsKey or kWin9xFontsKey). False when it is refused (a limited account).
    virtual bool Register(const std::string& name, const std::string& file) = 0;

    // Takes the fonts of the file at `path` out of the system's font table; false when none of
    // them was there.
    virtual bool RemoveResource(const std::string& path) = 0;

    // Removes every value under the fonts key of this system's family whose text is `file`
    // (letter case ignored), whatever its name. How many were removed.
    virtual int Unregister(const std::string& file) = 0;

    // The text of the listing `name` under the fonts key; nullopt when there is none.
    virtual std::optional<std::string> Listing(const std::string& name) const = 0;
    // Removes the listing `name`; false when it was not there or is refused.
    virtual bool Unlist(const std::string& name) = 0;

    // Tells every running program's top-level windows that the set of fonts changed; does not
    // wait for them.
    virtual void AnnounceChange() = 0;
};

// The running system's fonts (natively: nothing is added, registered or announced).
Fonts& HostFonts();

}  // namespace vesk
