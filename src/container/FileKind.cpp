// Kind letters of file entries.
#include "container/FileKind.h"

namespace vesk {

FileKind FileKindFromLetter(char letter) {
    switch (letter) {
        case 'A': case 'a': return FileKind::Ordinary;
        case 'K': case 'k': return FileKind::StartUp;
        case 'L': case 'l': return FileKind::Program;
        case 'N': case 'n': return FileKind::Raw;
        case 'R': case 'r': return FileKind::RegistryData;
        case 'U': case 'u': return FileKind::Uninstaller;
        default: return FileKind::Other;
    }
}

char LetterOf(FileKind kind) {
    switch (kind) {
        case FileKind::StartUp: return 'K';
        case FileKind::Program: return 'L';
        case FileKind::Raw: return 'N';
        case FileKind::RegistryData: return 'R';
        case FileKind::Uninstaller: return 'U';
        case FileKind::Ordinary:
        case FileKind::Other: break;
    }
    return 'A';
}

}  // namespace vesk
