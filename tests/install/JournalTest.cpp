// The journal of a run's changes and their undoing: whatever kind of change, made to something
// new or to something that was there, the rollback gives back the machine as it was.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "install/FileKeeper.h"
#include "install/Fonts.h"
#include "install/Rollback.h"
#include "project/RegistryKey.h"
#include "session/JournalingRegistry.h"
#include "support/MemoryFileSystem.h"
#include "support/MemoryRegistry.h"
#include "support/RecordingFonts.h"
#include "support/RecordingProcesses.h"

namespace vesk {
namespace {

using test::MemoryFileSystem;
using test::MemoryRegistry;

constexpr RegistryRoot kMachine = RegistryRoot::LocalMachine;
constexpr RegistryRoot kUser = RegistryRoot::CurrentUser;

// A machine with something of everything on it, journalled changes and their undoing.
struct Machine {
    MemoryRegistry registry;
    MemoryFileSystem files;
    test::RecordingFonts fonts;
    test::RecordingProcesses processes;
    InstallRecords records;
    JournalingRegistry journalled{registry, records};
    FileKeeper keeper{files, records, "2004"};
    UndoServices system{files, registry, fonts, processes};

    Machine() {
        registry.PutString(kMachine, "SOFTWARE\\Other", "Text", "the user's");
        RegistryKey other(registry);
        other.Open("\\SOFTWARE\\Other", false);
        other.WriteDword("Number", 7);
        registry.PutString(kMachine, "SOFTWARE\\Other\\Leaf", "Kept", "leaf value");
        registry.AddKey(kUser, "Software");
        registry.AddKey(kMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs");
        files.Put("C:\\App\\user.txt", "the user's text");
        files.Put("C:\\App\\old.tmp", "the user's old file");
        files.AddFolders("C:\\WINDOWS\\Fonts");
        fonts.registered["Earlier Font (TrueType)"] = "earlier.ttf";
    }

    std::string State() const {
        std::string state = registry.Dump();
        for (const auto& file : files.files) state += file.first + "=" + file.second + "\n";
        for (const std::string& folder : files.folders) state += folder + "\\\n";
        for (const auto& listing : fonts.registered) {
            state += listing.first + ": " + listing.second + "\n";
        }
        return state;
    }
};

void Undo(Machine& machine) {
    RollBack(machine.records.TakeChanges(), machine.system);
}

TEST(JournalTest, EveryRegistryChangeIsUndone) {
    struct Case {
        const char* what;
        std::function<void(Registry&)> change;
        bool leavesAChange = true;  // false: the change undoes itself before the rollback
    };
    auto key = [](Registry& registry, const char* path, RegistryRoot root = kMachine) {
        RegistryKey opened(registry, root);
        EXPECT_TRUE(opened.Open(path, true)) << path;
        return opened;
    };
    const Case cases[] = {
        {"a new key three levels deep, with a value",
         [&](Registry& r) { key(r, "\\SOFTWARE\\New\\A\\B").WriteString("v", "1"); }},
        {"a new key below a root", [&](Registry& r) { key(r, "\\Software\\Demo", kUser); }},
        {"a string written over with a number",
         [&](Registry& r) { key(r, "\\SOFTWARE\\Other").WriteDword("Text", 5); }},
        {"a number written over with a string",
         [&](Registry& r) { key(r, "\\SOFTWARE\\Other").WriteString("Number", "x"); }},
        {"a new value in a key that was there",
         [&](Registry& r) { key(r, "\\SOFTWARE\\Other").WriteString("Added", "y"); }},
        {"one value written twice",
         [&](Registry& r) {
             RegistryKey other = key(r, "\\SOFTWARE\\Other");
             other.WriteString("Text", "first");
             other.WriteString("Text", "second");
         }},
        {"a value deleted",
         [](Registry& r) { RegistryKey(r).DeleteValue("\\SOFTWARE\\Other\\Number"); }},
        {"a key deleted with its values",
         [](Registry& r) { RegistryKey(r).DeleteKey("\\SOFTWARE\\Other\\Leaf"); }},
        {"a key made, filled and deleted again",
         [&](Registry& r) {
             key(r, "\\SOFTWARE\\Brief").WriteString("v", "1");
             RegistryKey(r).DeleteValue("\\SOFTWARE\\Brief\\v");
             RegistryKey(r).DeleteKey("\\SOFTWARE\\Brief");
         },
         false},
    };
    for (const Case& c : cases) {
        Machine machine;
        const std::string before = machine.State();
        c.change(machine.journalled);
        EXPECT_EQ(machine.State() != before, c.leavesAChange) << c.what;
        EXPECT_FALSE(machine.records.Changes().empty()) << c.what;
        Undo(machine);
        EXPECT_EQ(machine.State(), before) << c.what;
        EXPECT_EQ(machine.registry.OpenHandles(), 0) << c.what;
    }
}

TEST(JournalTest, EveryFileAndFolderChangeIsUndone) {
    struct Case {
        const char* what;
        std::function<void(Machine&)> change;
        bool leavesAChange = true;  // false: the change undoes itself before the rollback
    };
    auto write = [](Machine& m, const std::string& path) {
        m.keeper.BeforeWrite(path);
        ASSERT_TRUE(m.files.WriteWholeFile(path, "the install's")) << path;
        m.keeper.AfterWrite(path);
    };
    const Case cases[] = {
        {"a new file", [&](Machine& m) { write(m, "C:\\App\\new.txt"); }},
        {"a user's file written over", [&](Machine& m) { write(m, "C:\\App\\user.txt"); }},
        {"a user's file written over twice",
         [&](Machine& m) {
             write(m, "C:\\App\\user.txt");
             write(m, "C:\\App\\user.txt");
         }},
        {"a user's file removed",
         [](Machine& m) { EXPECT_TRUE(m.keeper.Remove("C:\\App\\old.tmp")); }},
        {"a file of the install written, then removed",
         [&](Machine& m) {
             write(m, "C:\\App\\first-run.tmp");
             EXPECT_TRUE(m.keeper.Remove("C:\\App\\first-run.tmp"));
         },
         false},
        {"a new file made read-only",
         [&](Machine& m) {
             write(m, "C:\\App\\readonly.dat");
             m.files.readOnly.insert("C:\\App\\readonly.dat");
         }},
        {"folders made for a file",
         [&](Machine& m) {
             for (const char* folder : {"C:\\Data", "C:\\Data\\Deep"}) {
                 ASSERT_TRUE(m.files.CreateFolder(folder));
                 m.records.AddCreatedFolder(folder);
             }
             write(m, "C:\\Data\\Deep\\a.bin");
         }},
        {"a file in use, replaced at the restart",
         [](Machine& m) {
             m.records.Add(FileChange(ChangeKind::FileAtRestart, "C:\\App\\user.txt",
                                      "C:\\App\\user.txt.~VeskNew"));
             m.files.WriteWholeFile("C:\\App\\user.txt.~VeskNew", "the install's");
             m.files.ReplaceAtRestart("C:\\App\\user.txt.~VeskNew", "C:\\App\\user.txt");
         }},
    };
    for (const Case& c : cases) {
        Machine machine;
        const std::string before = machine.State();
        c.change(machine);
        EXPECT_EQ(machine.State() != before, c.leavesAChange) << c.what;
        Undo(machine);
        EXPECT_EQ(machine.State(), before) << c.what;
    }
}

TEST(JournalTest, FontsComponentsAndSharedCountsAreUndone) {
    const std::string sharedKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
    struct Case {
        const char* what;
        std::function<void(Machine&)> prepare;  // the machine before the change
        std::function<void(Machine&)> change;
        std::vector<std::string> programs;  // what the rollback runs
    };
    auto nothing = [](Machine&) {};
    auto countTo = [&](std::uint32_t count) {
        return [&sharedKey, count](Machine& m) {
            RegistryKey key(m.registry);
            key.Open("\\" + sharedKey, false);
            const std::string path = "C:\\WINDOWS\\System32\\shared.dll";
            const std::optional<RegistryValue> before = key.Handle()->QueryValue(path);
            key.WriteDword(path, count);
            m.records.Add(RegistryValueChange(ChangeKind::SharedFileCounted, kMachine, sharedKey,
                                              path, before, key.Handle()->QueryValue(path)));
        };
    };
    const Case cases[] = {
        {"a font added and listed",
         nothing,
         [](Machine& m) { AddFont(m.fonts, "C:\\WINDOWS\\Fonts\\Demo.ttf", &m.records); },
         {}},
        {"a font listed over an earlier listing of its name",
         [](Machine& m) { m.fonts.registered["Demo (TrueType)"] = "older.ttf"; },
         [](Machine& m) { AddFont(m.fonts, "C:\\WINDOWS\\Fonts\\Demo.ttf", &m.records); },
         {}},
        {"a component registered",
         nothing,
         [](Machine& m) {
             m.records.Add(FileChange(ChangeKind::ComponentRegistered, "C:\\App\\Grid.ocx",
                                      "C:\\WINDOWS\\System32\\Regsvr32.exe"));
         },
         {"wait C:\\WINDOWS\\System32\\Regsvr32.exe | \"C:\\WINDOWS\\System32\\Regsvr32.exe\" /u "
          "/s \"C:\\App\\Grid.ocx\" | C:\\App | 1"}},
        {"a shared file counted for the first time", nothing, countTo(1), {}},
        {"a shared file counted again",
         [&](Machine& m) {
             countTo(2)(m);
             m.records.TakeChanges();
         },
         countTo(3),
         {}},
    };
    for (const Case& c : cases) {
        Machine machine;
        c.prepare(machine);
        const std::string before = machine.State();
        c.change(machine);
        Undo(machine);
        EXPECT_EQ(machine.State(), before) << c.what;
        EXPECT_EQ(machine.processes.Log(), c.programs) << c.what;
    }
    // The font leaves the table and running programs hear of it once.
    Machine machine;
    AddFont(machine.fonts, "C:\\WINDOWS\\Fonts\\Demo.ttf", &machine.records);
    const int told = machine.fonts.announcements;
    Undo(machine);
    EXPECT_EQ(machine.fonts.removed, std::vector<std::string>{"C:\\WINDOWS\\Fonts\\Demo.ttf"});
    EXPECT_EQ(machine.fonts.announcements, told + 1);
}

TEST(JournalTest, ACompletedInstallLetsGoOfItsCopiesEvenReadOnlyOrInUse) {
    struct Case {
        const char* what;
        bool readOnly;
        bool inUse;
        bool gone;       // deleted now
        bool atRestart;  // deleted when Windows restarts
    };
    const Case cases[] = {
        {"an ordinary copy", false, false, true, false},
        {"a read-only copy", true, false, true, false},
        {"a copy in use", false, true, false, true},
    };
    for (const Case& c : cases) {
        MemoryFileSystem files;
        const std::string copy = "C:\\App\\a.dll.~VeskKeep2004";
        files.Put(copy, "the user's");
        if (c.readOnly) files.readOnly.insert(copy);
        if (c.inUse) files.locked.insert(copy);
        LetGoOfCopies({copy}, files);
        EXPECT_EQ(!files.FileExists(copy), c.gone) << c.what;
        EXPECT_EQ(files.atRestart == std::vector<std::string>{copy}, c.atRestart) << c.what;
    }
}

}  // namespace
}  // namespace vesk

namespace vesk {
namespace {

// A file in a folder the run made cannot have been there: it is journalled as created without a
// look at the disk; anywhere else the disk is asked, and a file found is kept.
TEST(JournalTest, OnlyFilesOutsideTheRunsNewFoldersAreLookedFor) {
    struct Case {
        const char* path;
        ChangeKind journalled;
        int checks;
    };
    const Case cases[] = {
        {"C:\\App\\New\\a.dll", ChangeKind::FileCreated, 0},
        {"C:\\APP\\new\\b.dll", ChangeKind::FileCreated, 0},  // names compared as Windows does
        {"C:\\App\\New\\Deeper\\c.dll", ChangeKind::FileCreated, 1},  // not made by the run
        {"C:\\App\\fresh.txt", ChangeKind::FileCreated, 1},
        {"C:\\App\\user.txt", ChangeKind::FileReplaced, 1},
    };
    for (const Case& c : cases) {
        Machine machine;
        machine.files.AddFolders("C:\\App\\New\\Deeper");
        machine.keeper.NoteNewFolder("C:\\App\\New\\");
        machine.files.existenceChecks = 0;
        machine.keeper.BeforeWrite(c.path);
        const std::vector<Change> changes = machine.records.Changes();
        ASSERT_EQ(changes.size(), 1u) << c.path;
        EXPECT_EQ(changes[0].kind, c.journalled) << c.path;
        EXPECT_EQ(machine.files.existenceChecks, c.checks) << c.path;
    }
}

}  // namespace
}  // namespace vesk
