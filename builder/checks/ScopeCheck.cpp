// The refusals of a setup for the current user.
#include "builder/checks/ScopeCheck.h"

#include "builder/plan/FileKindRules.h"
#include "project/NameCase.h"
#include "project/PathParts.h"
#include "project/PathVariable.h"
#include "project/RegistryDataGrammar.h"
#include "project/RegistryKey.h"
#include "project/TaskSlots.h"
#include "project/TextLineList.h"

namespace vesk {
namespace {

const char kUserSetup[] = "a setup for the current user (InstallScope user)";

std::string RootProblem(RegistryRoot root) {
    return "is below " + RegistryRootName(root) + ", which " + kUserSetup +
           " cannot write: use HKEY_CURRENT_USER (HKEY_CURRENT_USER\\Software\\Classes for file "
           "types)";
}

// The token a target path starts with when it is the Windows or the system folder.
std::string SystemFolderToken(const std::string& path) {
    const std::size_t close = path.find(']');
    if (path.empty() || path[0] != '[' || close == std::string::npos) return "";
    const std::string token = path.substr(0, close + 1);
    const PathVariableKind kind = PathVariableKindFromToken(token);
    return kind == PathVariableKind::WindowsDirectory || kind == PathVariableKind::SystemDirectory
               ? token
               : "";
}

// Fields whose value is a place the install writes to.
bool WritesTo(int slot, SubTaskType type, FieldKind kind) {
    return (slot == kSlotFolderBinding && kind == FieldKind::PathDesc) ||
           (slot == kSlotExtractFiles &&
            (kind == FieldKind::Folder ||
             (type == SubTaskType::FileList && kind == FieldKind::File)));
}

}  // namespace

std::string UserScopeProblem(int slot, SubTaskType type, FieldKind kind, const std::string& value) {
    if (kind == FieldKind::RegRootKey &&
        (type == SubTaskType::Registry || type == SubTaskType::EditBox)) {
        const std::optional<RegistryRoot> root = RegistryRootFromName(value);
        return root && *root != RegistryRoot::CurrentUser
                   ? ": \"" + value + "\" " + RootProblem(*root)
                   : "";
    }
    if (slot == kSlotComponentRegistration && kind == FieldKind::File) {
        const std::string extension = ExtensionOf(value);
        if (SameName(extension, "dll") || SameName(extension, "ocx")) {
            return ": \"" + value + "\" is registered for every user (Regsvr32), which " +
                   kUserSetup + " cannot do";
        }
        return "";
    }
    if (slot == kSlotFonts && kind == FieldKind::File) {
        return ": \"" + value + "\": fonts are installed for every user, which " + kUserSetup +
               " cannot do";
    }
    if (!WritesTo(slot, type, kind)) return "";
    std::string target = value;
    KindMark mark;
    std::string why;
    if (type == SubTaskType::FileList && ReadKindMark(value, mark, why)) target = mark.target;
    const std::string token = SystemFolderToken(target);
    if (token.empty()) return "";
    return ": \"" + value + "\" installs into " + token +
           ", which only administrators can write; " + kUserSetup +
           " installs into [InstallDir] or [Program Files]";
}

std::vector<std::string> UserScopeDataProblems(const std::string& bytes) {
    std::vector<std::string> problems;
    TextLineList lines;
    lines.SplitAppend(bytes, false);
    for (std::size_t i = 0; i < lines.Count(); ++i) {
        const RegistryDataLine read = ReadRegistryDataLine(lines.At(i));
        if (read.kind == RegistryDataLine::Kind::Key &&
            read.key.root != RegistryRoot::CurrentUser) {
            problems.push_back("line " + std::to_string(i + 1) + " " + RootProblem(read.key.root));
        }
    }
    return problems;
}

}  // namespace vesk
