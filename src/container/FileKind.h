// The kind letter of a file entry and what it means for the container.
#pragma once

namespace vesk {

// Numbers are part of the system's vocabulary (1 is never produced).
enum class FileKind : int {
    Ordinary = 0,      // 'A': a file of the install, LZSS body
    StartUp = 2,       // 'K': unpacked into the temporary folder before the wizard
    Program = 3,       // 'L': run during the install
    Raw = 4,           // 'N': body stored as is, not compressed
    RegistryData = 5,  // 'R': registry data file applied during the install
    Uninstaller = 6,   // 'U': the uninstaller program
    Other = 7,         // any other letter: treated as an ordinary file
};

// Case-insensitive; any letter outside the table gives FileKind::Other.
FileKind FileKindFromLetter(char letter);

// The upper-case letter the builder writes for a kind ('A' for Other).
char LetterOf(FileKind kind);

// Everything but kind N is an LZSS body.
inline bool IsRawBody(FileKind kind) { return kind == FileKind::Raw; }

}  // namespace vesk
