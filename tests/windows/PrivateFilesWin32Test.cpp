// The private temporary folder on Windows: files made new never go through what lies at their
// name (a file, a link, a dangling link), a sealed file cannot be swapped, and the folder goes
// with everything in it without following a link out of it.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which they need.
#include <aclapi.h>
#include <sddl.h>

#include <cstdio>
#include <string>

#include "HostLinks.h"
#include "platform/PrivateFiles.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

using test::MakeLink;
using test::RemoveLinksFolder;
using test::UnderWine;

bool Write(HeldFile& file, const std::string& bytes) {
    return file.Write(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

TEST(PrivateFilesWin32Test, NewFilesNeverGoThroughWhatIsAtTheirName) {
    test::TempDir dir;
    PrivateFiles& files = HostPrivateFiles();
    const std::string victim = dir / "victim.txt";
    ASSERT_TRUE(test::WriteWholeFile(victim, "the user's"));
    CreateDirectoryA((dir / "victim-folder").c_str(), nullptr);
    ASSERT_TRUE(test::WriteWholeFile(dir / "victim-folder\\keep.txt", "kept"));
    ASSERT_TRUE(test::WriteWholeFile(dir / "nowhere.txt", "soon gone"));
    // What lies at the names: a file, a folder, a link to a file, a link to a file that is no
    // longer there, a link to a folder.
    const std::string planted = dir / "planted";
    CreateDirectoryA(planted.c_str(), nullptr);
    ASSERT_TRUE(test::WriteWholeFile(planted + "\\file", "planted"));
    CreateDirectoryA((planted + "\\folder").c_str(), nullptr);
    const bool links = MakeLink(victim, planted + "\\link", false) &&
                       MakeLink(dir / "nowhere.txt", planted + "\\dangling", false) &&
                       MakeLink(dir / "victim-folder", planted + "\\folder-link", true);
    DeleteFileA((dir / "nowhere.txt").c_str());
    if (!links) std::printf("links cannot be made here: only a file and a folder are planted\n");

    struct Planted {
        const char* name;
        bool link;
    };
    for (const Planted& p :
         {Planted{"file", false}, Planted{"folder", false}, Planted{"link", true},
          Planted{"dangling", true}, Planted{"folder-link", true}}) {
        if (p.link && !links) continue;
        std::unique_ptr<HeldFile> file = files.CreateNewFile(planted + "\\" + p.name);
        EXPECT_EQ(file, nullptr) << p.name;
        if (file) Write(*file, "written through");
    }
    EXPECT_EQ(test::ReadWholeFile(victim), "the user's");
    EXPECT_EQ(test::ReadWholeFile(planted + "\\file"), "planted");
    EXPECT_FALSE(test::FileExists(dir / "nowhere.txt"));
    EXPECT_FALSE(test::FileExists(dir / "victim-folder\\folder-link"));

    std::unique_ptr<HeldFile> fresh = files.CreateNewFile(dir / "fresh.txt");
    ASSERT_NE(fresh, nullptr);
    EXPECT_TRUE(Write(*fresh, "mine"));
    EXPECT_TRUE(fresh->Seal());
    EXPECT_EQ(test::ReadWholeFile(dir / "fresh.txt"), "mine");
    RemoveLinksFolder(planted);
}

TEST(PrivateFilesWin32Test, ASealedFileStaysAsWrittenUntilLetGo) {
    test::TempDir dir;
    const std::string path = dir / "program.exe";
    std::unique_ptr<HeldFile> file = HostPrivateFiles().CreateNewFile(path);
    ASSERT_NE(file, nullptr);
    // While it is written, nobody else gets at it at all.
    EXPECT_TRUE(Write(*file, "MZ first"));
    EXPECT_FALSE(DeleteFileA(path.c_str()));
    EXPECT_FALSE(test::WriteWholeFile(path, "swapped"));
    ASSERT_TRUE(file->Seal());
    EXPECT_FALSE(Write(*file, "more")) << "a sealed file takes no more bytes";
    // Sealed, it can be read, but not deleted, renamed or written.
    EXPECT_EQ(test::ReadWholeFile(path), "MZ first");
    EXPECT_FALSE(DeleteFileA(path.c_str()));
    EXPECT_FALSE(MoveFileA(path.c_str(), (dir / "aside.exe").c_str()));
    EXPECT_FALSE(test::WriteWholeFile(path, "swapped"));
    EXPECT_EQ(test::ReadWholeFile(path), "MZ first");
    file.reset();
    EXPECT_TRUE(DeleteFileA(path.c_str()));
}

TEST(PrivateFilesWin32Test, TheFolderIsNewHeldAndGoesWithAllItHoldsButNotWhereLinksLead) {
    test::TempDir dir;
    const std::string parent = dir.Path().substr(0, dir.Path().size() - 1);
    PrivateFiles& files = HostPrivateFiles();
    std::unique_ptr<PrivateFolder> first = files.CreatePrivateFolder(parent, "~run-");
    std::unique_ptr<PrivateFolder> second = files.CreatePrivateFolder(parent, "~run-");
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first->Path(), second->Path());
    const std::string path = first->Path();
    EXPECT_EQ(path.rfind(parent + "\\~run-", 0), 0u) << path;
    EXPECT_EQ(path.size(), parent.size() + 6 + 16) << "sixteen random characters: " << path;
    // Held: it can be neither renamed nor removed while the run lasts.
    EXPECT_FALSE(MoveFileA(path.c_str(), (dir / "moved").c_str()));
    // Open to the user and the administrators only, whatever the parent folder allows. Wine
    // gives every new folder a default list of its own, whatever it was asked for.
    PACL acl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_EQ(GetNamedSecurityInfoA(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION,
                                    nullptr, nullptr, &acl, nullptr, &descriptor),
              static_cast<DWORD>(ERROR_SUCCESS));
    LPSTR rules = nullptr;
    ASSERT_TRUE(ConvertSecurityDescriptorToStringSecurityDescriptorA(
        descriptor, SDDL_REVISION_1, DACL_SECURITY_INFORMATION, &rules, nullptr));
    const std::string text = rules;
    LocalFree(rules);
    LocalFree(descriptor);
    if (!UnderWine()) {
        EXPECT_EQ(text.rfind("D:P", 0), 0u) << "inherits from its parent: " << text;
        ASSERT_NE(acl, nullptr);
        EXPECT_EQ(acl->AceCount, 2) << text;
        EXPECT_NE(text.find(";;;BA)"), std::string::npos) << text;
    }

    CreateDirectoryA((path + "\\sub").c_str(), nullptr);
    ASSERT_TRUE(test::WriteWholeFile(path + "\\sub\\a.txt", "a"));
    ASSERT_TRUE(test::WriteWholeFile(path + "\\read-only.txt", "r"));
    SetFileAttributesA((path + "\\read-only.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    CreateDirectoryA((dir / "victim").c_str(), nullptr);
    ASSERT_TRUE(test::WriteWholeFile(dir / "victim\\keep.txt", "kept"));
    ASSERT_TRUE(test::WriteWholeFile(dir / "victim.txt", "kept"));
    const bool links = MakeLink(dir / "victim", path + "\\folder-link", true) &&
                       MakeLink(dir / "victim.txt", path + "\\file-link", false);
    // A program run in the folder left it current.
    char before[MAX_PATH + 1] = {};
    GetCurrentDirectoryA(MAX_PATH, before);
    ASSERT_TRUE(SetCurrentDirectoryA((path + "\\sub").c_str()));

    const bool removed = first->RemoveWithContents();
    const bool leftLinks = GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    RemoveLinksFolder(path);
    EXPECT_EQ(test::ReadWholeFile(dir / "victim\\keep.txt"), "kept");
    EXPECT_EQ(test::ReadWholeFile(dir / "victim.txt"), "kept");
    EXPECT_FALSE(test::FileExists(path + "\\sub\\a.txt"));
    EXPECT_FALSE(test::FileExists(path + "\\read-only.txt"));
    // Windows removes the links themselves, and so the whole folder; Wine cannot remove a link
    // without what it leads to, so they stay.
    if (!links || !UnderWine()) {
        EXPECT_TRUE(removed);
        EXPECT_FALSE(leftLinks);
    }
    char current[MAX_PATH + 1] = {};
    GetCurrentDirectoryA(MAX_PATH, current);
    EXPECT_EQ(lstrcmpiA(current, parent.c_str()), 0) << current;
    SetCurrentDirectoryA(before);
    second->RemoveWithContents();
}

// The integrity level of this process's token (SECURITY_MANDATORY_HIGH_RID ...); 0 unknown.
DWORD IntegrityLevel() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return 0;
    DWORD size = 0;
    GetTokenInformation(token, TokenIntegrityLevel, nullptr, 0, &size);
    std::string buffer(size, '\0');
    DWORD level = 0;
    if (size && GetTokenInformation(token, TokenIntegrityLevel, &buffer[0], size, &size)) {
        const PSID sid = reinterpret_cast<TOKEN_MANDATORY_LABEL*>(&buffer[0])->Label.Sid;
        level = *GetSidSubAuthority(sid, *GetSidSubAuthorityCount(sid) - 1);
    }
    CloseHandle(token);
    return level;
}

TEST(PrivateFilesWin32Test, AnElevatedRunLabelsItsFolderHighIntegrity) {
    test::TempDir dir;
    const std::string parent = dir.Path().substr(0, dir.Path().size() - 1);
    std::unique_ptr<PrivateFolder> folder = HostPrivateFiles().CreatePrivateFolder(parent, "~run-");
    ASSERT_NE(folder, nullptr) << "the label must not keep the folder from being made";
    const bool elevated = IntegrityLevel() >= SECURITY_MANDATORY_HIGH_RID;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const DWORD read =
        GetNamedSecurityInfoA(folder->Path().c_str(), SE_FILE_OBJECT, LABEL_SECURITY_INFORMATION,
                              nullptr, nullptr, nullptr, nullptr, &descriptor);
    std::string text;
    LPSTR rules = nullptr;
    if (read == ERROR_SUCCESS &&
        ConvertSecurityDescriptorToStringSecurityDescriptorA(
            descriptor, SDDL_REVISION_1, LABEL_SECURITY_INFORMATION, &rules, nullptr)) {
        text = rules;
        LocalFree(rules);
    }
    if (descriptor) LocalFree(descriptor);
    std::printf("integrity level 0x%lx; the folder's label: %s\n", IntegrityLevel(),
                read == ERROR_SUCCESS ? ("\"" + text + "\"").c_str()
                                      : ("not readable, error " + std::to_string(read)).c_str());
    // Wine makes the folder but enforces no integrity levels and lets no one read a label back:
    // only Windows is checked.
    if (!UnderWine()) {
        ASSERT_EQ(read, static_cast<DWORD>(ERROR_SUCCESS));
        EXPECT_EQ(text.find("(ML;OICI;NW;;;HI)") != std::string::npos, elevated) << text;
    }
    folder->RemoveWithContents();
}

}  // namespace
}  // namespace vesk
