// Value checks by form.
#include "builder/checks/ValueCheck.h"

#include <cctype>
#include <cstdint>
#include <cstring>
#include <filesystem>

#include "builder/plan/FileKindRules.h"
#include "builder/plan/SizeOption.h"
#include "builder/plan/TargetPaths.h"
#include "builder/reading/NearMiss.h"
#include "container/FileEntry.h"
#include "project/NameCase.h"
#include "project/PathParts.h"
#include "project/PathVariable.h"
#include "project/RegistryKey.h"
#include "project/TextKey.h"
#include "project/ValueTokens.h"
#include "project/WindowsNames.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;

constexpr int kPathVariableCount = int(PathVariableKind::None);

class Checker {
public:
    Checker(const FieldUse& use, const std::string& value, const std::string& baseDir)
        : use_(use), value_(value), baseDir_(baseDir) {}

    std::vector<Finding> Run();

private:
    void Error(const std::string& message) { findings_.push_back({true, message}); }
    void Warn(const std::string& message) { findings_.push_back({false, message}); }
    // ": \"SOFTWARE\\x\"", to follow "RegSubKey of task 2406".
    std::string Shown() const { return ": \"" + value_ + "\""; }

    void CheckEntities();
    void CheckReferences();
    void CheckNumber(bool flag);
    void CheckChoice(const char* const* choices, const std::string& meaning);
    void CheckTargetPath(const std::string& path, bool installFolder);
    void CheckRelativeName(bool singleName, bool required);
    void CheckNamePart();
    void CheckSourcePath(bool folder);
    void CheckRootKey();
    void CheckKeyReference();

    const FieldUse& use_;
    const std::string& value_;
    const std::string& baseDir_;
    std::vector<Finding> findings_;
};

bool IsNumber(const std::string& text) {
    std::size_t start = !text.empty() && text[0] == '-' ? 1 : 0;
    if (start == text.size()) return false;
    for (std::size_t i = start; i < text.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
    }
    return true;
}

// The length of the XML entity or character reference ("&amp;", "&#233;", "&#xE9;") at `at`;
// 0 when there is none.
std::size_t EntityLengthAt(const std::string& text, std::size_t at) {
    static const char* const kNamed[] = {"&amp;", "&lt;", "&gt;", "&quot;", "&apos;"};
    for (const char* entity : kNamed) {
        if (SameName(text.substr(at, std::strlen(entity)), entity)) return std::strlen(entity);
    }
    if (text.compare(at, 2, "&#") != 0) return 0;
    std::size_t end = at + 2;
    const bool hex = end < text.size() && (text[end] == 'x' || text[end] == 'X');
    if (hex) ++end;
    const std::size_t digits = end;
    while (end < text.size() && (hex ? std::isxdigit(static_cast<unsigned char>(text[end]))
                                     : std::isdigit(static_cast<unsigned char>(text[end])))) {
        ++end;
    }
    return end > digits && end < text.size() && text[end] == ';' ? end - at + 1 : 0;
}

bool IsDriveAbsolute(const std::string& path) {
    return path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) &&
           path[1] == ':' && path[2] == '\\';
}

std::vector<std::string> TokenNames() {
    std::vector<std::string> names;
    for (int kind = 0; kind < kPathVariableCount; ++kind) {
        names.push_back(PathVariableToken(PathVariableKind(kind)));
    }
    return names;
}

std::vector<std::string> TextKeyNames() {
    std::vector<std::string> names;
    for (int key = 0; key < kTextKeyCount; ++key) {
        if (!TextKeyName(key).empty()) names.push_back(TextKeyName(key));
    }
    return names;
}

std::vector<std::string> RootNames() {
    std::vector<std::string> names;
    for (RegistryRoot root :
         {RegistryRoot::ClassesRoot, RegistryRoot::CurrentUser, RegistryRoot::LocalMachine,
          RegistryRoot::Users, RegistryRoot::CurrentConfig}) {
        names.push_back(RegistryRootName(root));
    }
    return names;
}

std::vector<Finding> Checker::Run() {
    CheckEntities();
    CheckReferences();
    switch (use_.form) {
        case ValueForm::Text:
        case ValueForm::PageText:
        case ValueForm::OutputFolder:
            break;
        case ValueForm::NamePart:
            CheckNamePart();
            break;
        case ValueForm::RegistryData:
            if (const std::string problem = ValueTokenProblem(value_); !problem.empty()) {
                Error(Shown() + " " + problem);
            }
            break;
        case ValueForm::Pattern:
            // A pattern with a token is matched against whole target paths.
            if (!value_.empty() && value_[0] == '[') CheckTargetPath(value_, false);
            break;
        case ValueForm::KeyReference:
            CheckKeyReference();
            break;
        case ValueForm::Flag:
            CheckNumber(true);
            break;
        case ValueForm::Integer:
            CheckNumber(false);
            break;
        case ValueForm::Size: {
            std::int32_t bytes = 0;
            std::string why;
            if (!value_.empty() && value_ != "0" && !ParseSizeOption(value_, bytes, why)) {
                Error(": " + why);
            }
            break;
        }
        case ValueForm::InstallFolder:
            CheckTargetPath(value_, true);
            break;
        case ValueForm::TargetPath:
            if (!value_.empty()) CheckTargetPath(value_, false);
            break;
        case ValueForm::FileName:
            CheckRelativeName(false, false);
            break;
        case ValueForm::LinkName:
            CheckRelativeName(true, true);
            break;
        case ValueForm::GroupName:
            CheckRelativeName(false, false);
            break;
        case ValueForm::SourceFile:
            CheckSourcePath(false);
            break;
        case ValueForm::SourceFolder:
            CheckSourcePath(true);
            break;
        case ValueForm::RootKey:
            CheckRootKey();
            break;
        case ValueForm::SubKey:
            if (!value_.empty() && value_[0] != '\\') {
                Error(Shown() +
                      " must start with a backslash: the setup drops the first "
                      "character, so it would use the key \"" +
                      value_.substr(1) + "\"");
            }
            break;
        case ValueForm::DataType: {
            static const char* const kTypes[] = {"0", "1", "2", nullptr};
            CheckChoice(kTypes,
                        "0 for a text value, 1 for a number (DWORD) or 2 for an expandable text "
                        "(REG_EXPAND_SZ)");
            break;
        }
        case ValueForm::OperType: {
            static const char* const kOperations[] = {"0", "1", nullptr};
            CheckChoice(kOperations, "0 to create or write, 1 to delete");
            break;
        }
        case ValueForm::Method: {
            static const char* const kMethods[] = {"LZSS", "LZMA", "LZMA-SOLID", nullptr};
            CheckChoice(kMethods, "LZSS, LZMA or LZMA-SOLID");
            break;
        }
        case ValueForm::Scope: {
            static const char* const kScopes[] = {"machine", "user", nullptr};
            CheckChoice(kScopes,
                        "machine (every user, with administrator rights) or user (the current "
                        "user, no elevation); the setup installs for the machine");
            break;
        }
        case ValueForm::DocumentType: {
            static const char* const kDocuments[] = {"S", "M", nullptr};
            CheckChoice(kDocuments, "S for an HTML document or M for a web archive (.mht)");
            break;
        }
        case ValueForm::FileMark: {
            KindMark mark;
            std::string why;
            if (!ReadKindMark(value_, mark, why)) {
                Error(Shown() + ": " + why);
            } else {
                CheckTargetPath(mark.target, false);
            }
            break;
        }
    }
    return std::move(findings_);
}

void Checker::CheckEntities() {
    for (std::size_t at = value_.find('&'); at != std::string::npos;
         at = value_.find('&', at + 1)) {
        const std::size_t length = EntityLengthAt(value_, at);
        if (length == 0) continue;
        Error(Shown() + " holds \"" + value_.substr(at, length) +
              "\", which the setup shows as it is: project values are not escaped, write the "
              "character itself (a value cannot hold '<')");
        return;
    }
}

void Checker::CheckReferences() {
    const std::vector<std::string> keys = ReferencedKeys(value_);
    if (keys.empty()) return;
    bool unknown = false;
    for (const std::string& key : keys) {
        if (TextKeyFromReference("|" + key + "|") == kNoTextKey) {
            Error(Shown() + ": |" + key + "| names no text of the language table" +
                  DidYouMean(key, TextKeyNames()));
            unknown = true;
        }
    }
    const bool read = use_.role == FieldRole::Engine || use_.role == FieldRole::Both;
    if (!unknown && read && use_.form != ValueForm::PageText &&
        use_.form != ValueForm::KeyReference) {
        Warn(Shown() +
             " is shown as it is: the setup puts no language text in place of a "
             "|Key| reference here");
    }
}

void Checker::CheckNumber(bool flag) {
    if (value_.empty()) return;
    if (flag ? (value_ == "0" || value_ == "1") : IsNumber(value_)) return;
    const std::int32_t reads = LeadingInt(value_);
    if (flag) {
        Error(Shown() + " is a flag, 0 or 1: the setup reads it as " + std::to_string(reads) +
              (reads ? " (set)" : " (not set)"));
    } else {
        Error(Shown() + " is a number: the setup reads it as " + std::to_string(reads));
    }
}

void Checker::CheckChoice(const char* const* choices, const std::string& meaning) {
    if (value_.empty()) return;
    for (const char* const* choice = choices; *choice; ++choice) {
        if (SameName(value_, *choice)) return;
    }
    const bool numeric = use_.form != ValueForm::DocumentType && use_.form != ValueForm::Method &&
                         use_.form != ValueForm::Scope;
    Error(Shown() + ": write " + meaning +
          (numeric ? "; the setup reads it as " + std::to_string(LeadingInt(value_)) : ""));
}

void Checker::CheckTargetPath(const std::string& path, bool installFolder) {
    const std::string shown = ": \"" + path + "\"";
    if (path.empty()) {
        Error(": the path is empty");
        return;
    }
    if (path.find('/') != std::string::npos) {
        Error(shown + ": separate folders on the user's machine with backslashes");
        return;
    }
    for (const std::string& part : PathComponents(path)) {
        // Windows takes "..." and ". ." for "." or "..", dropping trailing dots and blanks.
        if (part.find_first_not_of(". ") == std::string::npos) {
            Error(shown + ": a path may not step through \"" + part +
                  "\" (it would leave the folder it names); write the folder itself");
            return;
        }
    }
    if (path[0] != '[') {
        if (IsDriveAbsolute(path) || path.compare(0, 2, "\\\\") == 0) return;
        Error(shown +
              " is a relative path, which the setup would take from its current folder: start "
              "it with a folder token such as [InstallDir] or [Program Files], or a drive");
        return;
    }
    const std::size_t close = path.find(']');
    if (close == std::string::npos) {
        Error(shown + ": the token has no closing ']'");
        return;
    }
    const std::string token = path.substr(0, close + 1);
    const std::string tail = path.substr(close + 1);
    const PathVariableKind kind = PathVariableKindFromToken(token);
    if (kind == PathVariableKind::None) {
        Error(shown + ": " + token + " is no folder token" + DidYouMean(token, TokenNames()));
        return;
    }
    if (kind == PathVariableKind::QuickLaunch) {
        Error(shown +
              ": the setup does not resolve [QuickLaunch] in a path (a shortcut goes "
              "there with IsToQuickLaunch)");
        return;
    }
    if (installFolder && kind == PathVariableKind::InstallDir) {
        Error(shown +
              ": [InstallDir] is the folder this chooses; start with another token, "
              "such as [Program Files]");
        return;
    }
    if (kind == PathVariableKind::AbsoluteDirectory) {
        if (!IsDriveAbsolute(tail)) {
            Error(shown + ": [Absolute Directory] is followed by a whole path, such as C:\\Tools");
        }
        return;
    }
    if (!tail.empty() && tail[0] != '\\') {
        Error(shown + ": write a backslash after " + token +
              " (the setup puts the folder and the rest side by side)");
    }
}

void Checker::CheckNamePart() {
    std::string why;
    if (!CheckNameCharacters(value_, why)) {
        Error(Shown() + ": " + why + " (the value names the install log and registry keys)");
    }
}

void Checker::CheckRelativeName(bool singleName, bool required) {
    if (value_.empty()) {
        if (required) Error(": the name is empty");
        return;
    }
    if (value_[0] == '[' || value_[0] == '\\' || (value_.size() > 1 && value_[1] == ':')) {
        Error(Shown() + " is a name, not a path: the folder goes into its own field");
        return;
    }
    const std::vector<std::string> parts =
        singleName ? std::vector<std::string>{value_} : PathComponents(value_);
    for (const std::string& part : parts) {
        std::string why;
        if (!CheckTargetName(part, why)) {
            Error(Shown() + " cannot be a name on Windows: " + why);
            return;
        }
    }
}

void Checker::CheckSourcePath(bool folder) {
    if (value_.empty()) return;
    if (value_[0] == '[') {
        Error(Shown() + " names a " + (folder ? "folder" : "file") +
              " on the build machine (relative to the project file), not a path on the user's "
              "machine");
        return;
    }
    if (folder) return;  // the folder binding says more about a missing source folder
    const std::string hostPath = HostPathFor(baseDir_, value_);
    std::error_code ec;
    if (!fs::is_regular_file(hostPath, ec)) {
        Error(" names \"" + value_ + "\", which " +
              (fs::exists(hostPath, ec) ? "is not a file" : "does not exist") + " (" + hostPath +
              ")");
    }
}

void Checker::CheckRootKey() {
    if (RegistryRootFromName(value_)) return;
    if (value_.empty()) {
        Warn(": empty, so the item uses the root key of the registry item before it");
        return;
    }
    static const char* const kShort[][2] = {{"HKCR", "HKEY_CLASSES_ROOT"},
                                            {"HKCU", "HKEY_CURRENT_USER"},
                                            {"HKLM", "HKEY_LOCAL_MACHINE"},
                                            {"HKU", "HKEY_USERS"},
                                            {"HKCC", "HKEY_CURRENT_CONFIG"}};
    for (const auto& pair : kShort) {
        if (SameName(value_, pair[0])) {
            Error(Shown() + ": the setup knows the root keys by their full names only (" + pair[1] +
                  ")");
            return;
        }
    }
    Error(Shown() + " is no root key" + DidYouMean(value_, RootNames()));
}

void Checker::CheckKeyReference() {
    const int key = TextKeyFromReference(value_);
    if (key == int(TextKey::RegisterInfoUserDesc) || key == int(TextKey::RegisterInfoCompanyDesc)) {
        return;
    }
    if (!ReferencedKeys(value_).empty() && key == kNoTextKey) return;  // reported as unknown
    Warn(Shown() +
         ": the page fills in only the entries described |RegisterInfoUserDesc| (the user's "
         "name) or |RegisterInfoCompanyDesc| (the company); this one writes nothing");
}

}  // namespace

std::vector<Finding> CheckFieldValue(const FieldUse& use, const std::string& value,
                                     const std::string& baseDir) {
    return Checker(use, value, baseDir).Run();
}

std::vector<std::string> ReferencedKeys(const std::string& value) {
    std::vector<std::string> keys;
    std::size_t at = 0;
    while (at < value.size()) {
        if (value[at] != '|') return {};
        std::size_t close = value.find('|', at + 1);
        if (close == std::string::npos || close == at + 1) return {};
        const std::string key = value.substr(at + 1, close - at - 1);
        for (unsigned char c : key) {
            if (!std::isalnum(c)) return {};
        }
        keys.push_back(key);
        at = close + 1;
    }
    return keys;
}

std::string RegistryNumberProblem(const std::string& data) {
    constexpr std::int64_t kLargest = 2147483647;  // what the setup's conversion reaches
    constexpr std::int64_t kDwords = std::int64_t(1) << 32;
    const std::string shown = ": \"" + data + "\"";
    if (IsNumber(data) && data.size() <= 11) {
        const std::int64_t value = std::stoll(data);
        if (value >= -kLargest - 1 && value <= kLargest) return "";
        if (value > kLargest && value < kDwords) {
            return shown + ": the setup reads numbers up to " + std::to_string(kLargest) +
                   " and would write that; write " + std::to_string(value - kDwords) +
                   " for the DWORD " + data;
        }
    }
    const std::string written = std::to_string(std::uint32_t(LeadingInt(data)));
    if (data.size() > 2 && data[0] == '0' && (data[1] == 'x' || data[1] == 'X') &&
        data.size() <= 10 &&
        data.find_first_not_of("0123456789abcdefABCDEF", 2) == std::string::npos) {
        const std::int64_t value = std::stoll(data.substr(2), nullptr, 16);
        return shown + ": write the number in decimal, " +
               std::to_string(value > kLargest ? value - kDwords : value) +
               ": the setup reads it as " + written;
    }
    if (data.empty()) {
        return ": empty: with RegDataType 1 the setup writes the number 0; write 0 if that is "
               "meant";
    }
    return shown + " is no number (RegDataType 1): the setup would write " + written +
           "; write a decimal number from " + std::to_string(-kLargest - 1) + " to " +
           std::to_string(kLargest);
}

}  // namespace vesk
