// File trees compared, Wine's own changes learnt and taken out, and an install's changes sorted.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "builder/trial/FileTree.h"
#include "builder/trial/InstallReading.h"
#include "builder/trial/MachineState.h"
#include "builder/trial/WineChurn.h"
#include "support/TempDir.h"

namespace vesk::trial {
namespace {

TreeEntry File(std::uint64_t size, std::int64_t modified = 1) {
    return {EntryType::File, size, modified};
}
const TreeEntry kFolder{EntryType::Folder, 0, 0};
const TreeEntry kLink{EntryType::Link, 0, 0};

std::string Line(const FileChange& change) {
    const char sign = change.kind == ChangeKind::Added     ? '+'
                      : change.kind == ChangeKind::Changed ? '~'
                                                           : '-';
    const char* type = change.type == EntryType::Folder ? "folder"
                       : change.type == EntryType::Link ? "link"
                                                        : "file";
    return std::string(1, sign) + " " + type + " " + change.path + " " +
           std::to_string(change.sizeBefore) + "/" + std::to_string(change.sizeAfter);
}

TEST(MachineChangesTest, FileTrees) {
    struct Entry {
        const char* path;
        TreeEntry entry;
    };
    struct Case {
        const char* name;
        std::vector<Entry> before;
        std::vector<Entry> after;
        std::vector<std::string> changes;
    };
    const Case cases[] = {
        {"a file and its folder added",
         {},
         {{"App", kFolder}, {"App/a.exe", File(10)}},
         {"+ folder C:\\App 0/0", "+ file C:\\App\\a.exe 0/10"}},
        {"a file removed", {{"x.txt", File(3)}}, {}, {"- file C:\\x.txt 3/0"}},
        {"a new size", {{"x.txt", File(3)}}, {{"x.txt", File(4)}}, {"~ file C:\\x.txt 3/4"}},
        {"a new time alone",
         {{"x.txt", File(3, 1)}},
         {{"x.txt", File(3, 2)}},
         {"~ file C:\\x.txt 3/3"}},
        {"a folder whose content changed is no change",
         {{"d", kFolder}, {"d/a", File(1)}},
         {{"d", kFolder}},
         {"- file C:\\d\\a 1/0"}},
        {"a file that became a folder",
         {{"n", File(1)}},
         {{"n", kFolder}},
         {"- file C:\\n 1/0", "+ folder C:\\n 0/0"}},
        {"links compare by type only", {{"l", kLink}}, {{"l", kLink}}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FileTree before, after;
        for (const Entry& e : c.before) before.Put(e.path, e.entry);
        for (const Entry& e : c.after) after.Put(e.path, e.entry);
        std::vector<std::string> lines;
        for (const FileChange& change : CompareTrees(before, after, "C:")) {
            lines.push_back(Line(change));
        }
        EXPECT_EQ(lines, c.changes);
    }
}

TEST(MachineChangesTest, ScanRecordsLinksWithoutFollowing) {
    namespace fs = std::filesystem;
    test::TempDir dir;
    const fs::path root = fs::path(dir.Path()) / "drive_c";
    fs::create_directories(root / "users" / "me");
    std::ofstream(root / "a.txt") << "12345";
    fs::create_directory_symlink(dir.Path(), root / "users" / "me" / "Desktop");
    FileTree tree;
    std::string error;
    ASSERT_TRUE(tree.Scan(root.string(), error)) << error;
    const auto& entries = tree.Entries();
    ASSERT_EQ(entries.size(), 4u);  // a.txt, users, users/me, users/me/Desktop
    EXPECT_EQ(entries.at("a.txt").size, 5u);
    EXPECT_EQ(entries.at("users/me").type, EntryType::Folder);
    EXPECT_EQ(entries.at("users/me/Desktop").type, EntryType::Link);
    EXPECT_FALSE(tree.Scan((root / "missing").string(), error));
    EXPECT_NE(error.find("missing"), std::string::npos) << error;
}

RegistryChange Value(ChangeKind kind, const std::string& key, const std::string& name) {
    return {kind,
            key,
            false,
            name,
            kind == ChangeKind::Added ? "" : "\"1\"",
            kind == ChangeKind::Removed ? "" : "\"2\""};
}
RegistryChange Key(ChangeKind kind, const std::string& key) {
    return {kind, key, true, {}, {}, {}};
}
FileChange FileAt(ChangeKind kind, const std::string& path, EntryType type = EntryType::File) {
    return {kind, type, path, 0, 1};
}

TEST(MachineChangesTest, WineChurn) {
    MachineChanges empty;
    empty.registry = {Value(ChangeKind::Changed, "HKLM\\System\\Clock", "Time"),
                      Key(ChangeKind::Removed, "HKLM\\Software\\NetworkCards"),
                      Key(ChangeKind::Added, "HKLM\\Hardware\\Volatile")};
    empty.files = {FileAt(ChangeKind::Changed, "C:\\windows\\win.ini")};
    WineChurn churn;
    churn.Learn(empty);

    struct Case {
        const char* name;
        RegistryChange change;
        bool wines;
    };
    const Case cases[] = {
        {"the same value, another kind of change",
         Value(ChangeKind::Added, "HKLM\\SYSTEM\\clock", "TIME"), true},
        {"another value of that key", Value(ChangeKind::Added, "HKLM\\System\\Clock", "Zone"),
         false},
        {"a key Wine makes afresh", Key(ChangeKind::Added, "HKLM\\Software\\NetworkCards"), true},
        {"a value in such a key", Value(ChangeKind::Added, "HKLM\\Hardware\\Volatile", "x"), true},
        {"a key below such a key", Key(ChangeKind::Added, "HKLM\\Hardware\\Volatile\\Sub"), false},
        {"the product's key", Key(ChangeKind::Added, "HKLM\\Software\\Vesk"), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MachineChanges changes;
        changes.registry = {c.change};
        MachineChanges wines;
        const MachineChanges kept = churn.Without(changes, &wines);
        EXPECT_EQ(kept.registry.size(), c.wines ? 0u : 1u);
        EXPECT_EQ(wines.registry.size(), c.wines ? 1u : 0u);
    }
    MachineChanges files;
    files.files = {FileAt(ChangeKind::Changed, "C:\\WINDOWS\\WIN.INI"),
                   FileAt(ChangeKind::Added, "C:\\windows\\system.ini")};
    const MachineChanges kept = churn.Without(files);
    ASSERT_EQ(kept.files.size(), 1u);
    EXPECT_EQ(kept.files[0].path, "C:\\windows\\system.ini");
}

constexpr char kEntries[] =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

TEST(MachineChangesTest, InstallSorted) {
    MachineChanges changes;
    changes.files = {
        FileAt(ChangeKind::Added, "C:\\Program Files\\Vesk", EntryType::Folder),
        FileAt(ChangeKind::Added, "C:\\Program Files\\Vesk\\app.exe"),
        FileAt(ChangeKind::Added, "C:\\users\\me\\Desktop\\App.LNK"),
        FileAt(ChangeKind::Added, "C:\\windows\\Fonts\\vesk.ttf"),
        FileAt(ChangeKind::Changed, "C:\\windows\\win.ini"),
    };
    changes.registry = {
        Key(ChangeKind::Added, std::string(kEntries) + "\\Vesk 1.0"),
        Value(ChangeKind::Added, std::string(kEntries) + "\\Vesk 1.0", "DisplayName"),
        Value(ChangeKind::Added, std::string(kEntries) + "\\Vesk 1.0\\Sub", "x"),
        Value(ChangeKind::Changed, std::string(kEntries) + "\\Other", "DisplayName"),
        Value(ChangeKind::Added,
              "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts",
              "Vesk (TrueType)"),
        Value(ChangeKind::Added, "HKEY_CURRENT_USER\\Software\\Vesk", "Name"),
    };
    const InstallReading reading = ReadInstall(changes);
    ASSERT_EQ(reading.folders.size(), 1u);
    ASSERT_EQ(reading.files.size(), 2u);
    EXPECT_EQ(reading.files[1].path, "C:\\windows\\win.ini");
    ASSERT_EQ(reading.shortcuts.size(), 1u);
    ASSERT_EQ(reading.fontFiles.size(), 1u);
    ASSERT_EQ(reading.fontValues.size(), 1u);
    ASSERT_EQ(reading.uninstallEntries.size(), 1u);
    EXPECT_EQ(reading.uninstallEntries[0].name, "Vesk 1.0");
    ASSERT_EQ(reading.uninstallEntries[0].values.size(), 1u);
    EXPECT_EQ(reading.uninstallEntries[0].values[0].name, "DisplayName");
    // A key below an entry, and an entry that was there before, are plain registry changes.
    ASSERT_EQ(reading.registry.size(), 3u);
    EXPECT_EQ(reading.registry[0].key, std::string(kEntries) + "\\Vesk 1.0\\Sub");
}

TEST(MachineChangesTest, LeftoversSharedOrFound) {
    struct Case {
        const char* name;
        MachineChanges change;
        bool shared;
    };
    auto files = [](FileChange f) {
        MachineChanges m;
        m.files = {f};
        return m;
    };
    auto registry = [](RegistryChange r) {
        MachineChanges m;
        m.registry = {r};
        return m;
    };
    const std::string engine = "HKEY_LOCAL_MACHINE\\SOFTWARE\\VeskSoft\\VeskInstall";
    const Case cases[] = {
        {"the shared uninstaller",
         files(FileAt(ChangeKind::Added, "C:\\windows\\Vesk-UnInstall.exe")), true},
        {"its language folder",
         files(FileAt(ChangeKind::Added, "C:\\windows\\system32\\VeskInstall", EntryType::Folder)),
         true},
        {"a language file",
         files(FileAt(ChangeKind::Added, "C:\\windows\\system32\\VeskInstall\\1033.ini")), true},
        {"a folder beside it",
         files(FileAt(ChangeKind::Added, "C:\\windows\\system32\\VeskInstallX")), false},
        {"a product file", files(FileAt(ChangeKind::Added, "C:\\Program Files\\Vesk\\a.exe")),
         false},
        {"LastVersion", registry(Value(ChangeKind::Added, engine, "LastVersion")), true},
        {"the engine's key", registry(Key(ChangeKind::Added, engine)), true},
        {"the key above it",
         registry(Key(ChangeKind::Added, "HKEY_LOCAL_MACHINE\\Software\\VeskSoft")), true},
        {"SOFTWARE itself", registry(Key(ChangeKind::Added, "HKEY_LOCAL_MACHINE\\SOFTWARE")),
         false},
        {"another value of the engine's key", registry(Value(ChangeKind::Added, engine, "Other")),
         false},
        {"a product's key below it", registry(Key(ChangeKind::Added, engine + "\\Vesk Demo")),
         false},
        {"the product's values", registry(Value(ChangeKind::Added, engine + "\\Vesk Demo", "Path")),
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Leftovers left = ReadLeftovers(c.change);
        EXPECT_EQ(left.shared.Empty(), !c.shared);
        EXPECT_EQ(left.findings.Empty(), c.shared);
    }
}

TEST(MachineChangesTest, PrefixCaptured) {
    namespace fs = std::filesystem;
    test::TempDir dir;
    const fs::path prefix = fs::path(dir.Path()) / "prefix";
    fs::create_directories(prefix / "drive_c" / "windows");
    for (const HiveFile& hive : kHiveFiles) {
        std::ofstream(prefix / hive.file)
            << "WINE REGISTRY Version 2\n[Software\\\\A] 1\n\"v\"=\"1\"\n";
    }
    MachineState before, after;
    std::string error;
    ASSERT_TRUE(before.Capture(prefix.string(), error)) << error;
    std::ofstream(prefix / "user.reg")
        << "WINE REGISTRY Version 2\n[Software\\\\A] 1\n\"v\"=\"2\"\n";
    std::ofstream(prefix / "drive_c" / "windows" / "new.txt") << "x";
    ASSERT_TRUE(after.Capture(prefix.string(), error)) << error;
    const MachineChanges changes = CompareMachines(before, after);
    ASSERT_EQ(changes.registry.size(), 1u);
    EXPECT_EQ(changes.registry[0].key, "HKEY_CURRENT_USER\\Software\\A");
    ASSERT_EQ(changes.files.size(), 1u);
    EXPECT_EQ(changes.files[0].path, "C:\\windows\\new.txt");

    std::ofstream(prefix / "userdef.reg") << "not a hive";
    EXPECT_FALSE(after.Capture(prefix.string(), error));
    EXPECT_NE(error.find("userdef.reg: line 1"), std::string::npos) << error;
}

}  // namespace
}  // namespace vesk::trial
