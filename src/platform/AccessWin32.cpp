// Tokens and access lists.
#include "platform/AccessWin32.h"

// After windows.h, which they need.
#include <aclapi.h>
#include <sddl.h>

#include "platform/HandleWin32.h"
#include "platform/WideTextWin32.h"

namespace vesk {
namespace {

// What lets a holder change a folder or what is in it.
constexpr ACCESS_MASK kWriteRights = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_WRITE_EA |
                                     FILE_WRITE_ATTRIBUTES | FILE_DELETE_CHILD | DELETE |
                                     WRITE_DAC | WRITE_OWNER | GENERIC_WRITE | GENERIC_ALL;

// Those trusted with the machine anyway.
constexpr const char* kTrusted[] = {
    "S-1-5-32-544",                                                    // Administrators
    "S-1-5-18",                                                        // SYSTEM
    "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464",  // TrustedInstaller
};

std::string TokenPart(TOKEN_INFORMATION_CLASS part) {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return {};
    FileHandle owner(token);
    DWORD size = 0;
    GetTokenInformation(token, part, nullptr, 0, &size);
    std::string buffer(size, '\0');
    if (size == 0 || !GetTokenInformation(token, part, &buffer[0], size, &size)) return {};
    return buffer;
}

bool Trusted(PSID sid) {
    LocalMemory<wchar_t*> text;
    if (!ConvertSidToStringSidW(sid, text.Out())) return false;
    for (const char* trusted : kTrusted) {
        if (lstrcmpiW(text.get(), Wide(trusted).c_str()) == 0) return true;
    }
    return false;
}

}  // namespace

std::string CurrentUserSid() {
    std::string buffer = TokenPart(TokenUser);
    if (buffer.empty()) return {};
    LocalMemory<wchar_t*> text;
    if (!ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(&buffer[0])->User.Sid, text.Out())) {
        return {};
    }
    return Narrow(text.get());
}

bool RunsElevated() {
    std::string buffer = TokenPart(TokenIntegrityLevel);
    if (buffer.empty()) return false;
    const PSID label = reinterpret_cast<TOKEN_MANDATORY_LABEL*>(&buffer[0])->Label.Sid;
    const UCHAR count = *GetSidSubAuthorityCount(label);
    return count > 0 && *GetSidSubAuthority(label, count - 1) >= SECURITY_MANDATORY_HIGH_RID;
}

bool OthersMayWrite(HANDLE folder) {
    PACL dacl = nullptr;
    LocalMemory<PSECURITY_DESCRIPTOR> descriptor;
    if (GetSecurityInfo(folder, SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl,
                        nullptr, descriptor.Out()) != ERROR_SUCCESS) {
        return true;
    }
    if (!dacl) return true;  // no list at all: everyone may do everything
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        ACE_HEADER* header = nullptr;
        if (!GetAce(dacl, i, reinterpret_cast<void**>(&header))) return true;
        if (header->AceType != ACCESS_ALLOWED_ACE_TYPE || (header->AceFlags & INHERIT_ONLY_ACE))
            continue;
        auto* ace = reinterpret_cast<ACCESS_ALLOWED_ACE*>(header);
        if ((ace->Mask & kWriteRights) && !Trusted(&ace->SidStart)) return true;
    }
    return false;
}

bool SetInstallFolderAccess(HANDLE folder) {
    LocalMemory<PSECURITY_DESCRIPTOR> descriptor;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(
            L"D:PAI(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)", SDDL_REVISION_1,
            descriptor.Out(), nullptr)) {
        return false;
    }
    BOOL present = FALSE, defaulted = FALSE;
    PACL dacl = nullptr;
    if (!GetSecurityDescriptorDacl(descriptor.get(), &present, &dacl, &defaulted)) return false;
    return SetSecurityInfo(folder, SE_FILE_OBJECT,
                           DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, nullptr,
                           nullptr, dacl, nullptr) == ERROR_SUCCESS;
}

}  // namespace vesk
