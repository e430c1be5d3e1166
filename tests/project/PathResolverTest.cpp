// Path variable tokens and their resolution against test system facts and registry.
#include <gtest/gtest.h>

#include "project/PathResolver.h"
#include "support/FakeSystemFacts.h"
#include "support/MemoryRegistry.h"

namespace vesk {
namespace {

using test::FakeSystemFacts;
using test::MemoryRegistry;

const char kShellFolders[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char kPrograms[] = "C:\\Documents and Settings\\All Users\\Start Menu\\Programs";

TEST(PathVariableTest, TokensRoundTripAndMatchInAnyCase) {
    for (int kind = 0; kind < 10; ++kind) {
        std::string token = PathVariableToken(PathVariableKind(kind));
        EXPECT_EQ(PathVariableKindFromToken(token), PathVariableKind(kind)) << token;
    }
    EXPECT_EQ(PathVariableToken(PathVariableKind::ProgramFiles), "[Program Files]");
    EXPECT_EQ(PathVariableToken(PathVariableKind::TempFileDir), "[TempFileDir]");
    EXPECT_EQ(PathVariableKindFromToken("[PROGRAM FILES]"), PathVariableKind::ProgramFiles);
    EXPECT_EQ(PathVariableKindFromToken("[start menu]"), PathVariableKind::StartMenu);
    EXPECT_EQ(PathVariableKindFromToken("[Start Menu] "), PathVariableKind::None);
    EXPECT_EQ(PathVariableKindFromToken("Start Menu"), PathVariableKind::None);
    EXPECT_EQ(PathVariableToken(PathVariableKind::None), "");
}

struct Machine {
    std::string system = "XP";
    std::string windows = "C:\\WINDOWS";
    std::string temp = "C:\\TEMP\\";
    std::string installDir = "C:\\Program Files\\Vesk";
    bool desktopKnown = true;
    const char* commonPrograms = kPrograms;  // null: the value is absent
    const char* commonStartup =
        "C:\\Documents and Settings\\All Users\\Start Menu\\Programs\\Startup";
};

struct Case {
    const char* what;
    Machine machine;
    std::string path;
    std::string expected;
};

Machine With(void (*change)(Machine&)) {
    Machine machine;
    change(machine);
    return machine;
}

std::string Resolve(const Machine& machine, const std::string& path) {
    FakeSystemFacts facts;
    facts.ActAs(machine.system);
    facts.windowsFolder = machine.windows;
    facts.tempPath = machine.temp;
    if (!machine.desktopKnown) facts.desktopFolder.reset();
    MemoryRegistry registry;
    if (machine.commonPrograms) {
        registry.PutString(RegistryRoot::LocalMachine, kShellFolders, "Common Programs",
                           machine.commonPrograms);
    }
    if (machine.commonStartup) {
        registry.PutString(RegistryRoot::LocalMachine, kShellFolders, "Common Startup",
                           machine.commonStartup);
    }
    PathResolver resolver(facts, registry, machine.installDir);
    std::string result = resolver.Resolve(path);
    EXPECT_EQ(registry.OpenHandles(), 0);
    return result;
}

TEST(PathResolverTest, EveryTokenResolvesAsTheMachineSays) {
    const std::string longTail = "\\" + std::string(600, 'n') + "\\file.txt";
    const Case cases[] = {
        {"program files", {}, "[Program Files]\\Vesk\\App", "C:\\Program Files\\Vesk\\App"},
        {"program files lower case, Windows on D",
         With([](Machine& m) { m.windows = "D:\\WINNT"; }), "[program files]\\Vesk",
         "D:\\Program Files\\Vesk"},
        {"install dir", {}, "[InstallDir]\\Help", "C:\\Program Files\\Vesk\\Help"},
        {"install dir alone", {}, "[InstallDir]", "C:\\Program Files\\Vesk"},
        {"install dir at a drive root", With([](Machine& m) { m.installDir = "E:\\"; }),
         "[InstallDir]", "E:\\"},
        {"install dir at a drive root with a tail", With([](Machine& m) { m.installDir = "E:\\"; }),
         "[InstallDir]\\Data", "E:\\Data"},
        {"windows", {}, "[Windows Directory]\\Fonts", "C:\\WINDOWS\\Fonts"},
        {"windows at a drive root keeps the doubled backslash",
         With([](Machine& m) { m.windows = "C:\\"; }), "[Windows Directory]\\Fonts", "C:\\\\Fonts"},
        {"system", {}, "[System Directory]\\Regsvr32.exe", "C:\\WINDOWS\\System32\\Regsvr32.exe"},
        {"desktop",
         {},
         "[Desktop Directory]\\App.lnk",
         "C:\\Documents and Settings\\Ann\\Desktop\\App.lnk"},
        {"desktop unknown", With([](Machine& m) { m.desktopKnown = false; }),
         "[Desktop Directory]\\App.lnk", "[Desktop Directory]\\App.lnk"},
        {"absolute", {}, "[Absolute Directory]D:\\Tools\\x.exe", "D:\\Tools\\x.exe"},
        {"temp with trailing backslash", {}, "[TempFileDir]\\x.tmp", "C:\\TEMP\\x.tmp"},
        {"temp without trailing backslash", With([](Machine& m) { m.temp = "C:\\TEMP"; }),
         "[TempFileDir]\\x.tmp", "C:\\TEMP\\x.tmp"},
        {"start menu", {}, "[Start Menu]\\Vesk", std::string(kPrograms) + "\\Vesk"},
        {"start menu without the value", With([](Machine& m) { m.commonPrograms = nullptr; }),
         "[Start Menu]\\Vesk", "\\Vesk"},
        {"start menu on 98 ignores the registry", With([](Machine& m) { m.system = "98"; }),
         "[Start Menu]\\Vesk", "C:\\WINDOWS\\Start Menu\\Programs\\Vesk"},
        {"start menu on Me", With([](Machine& m) { m.system = "Me"; }), "[Start Menu]",
         "C:\\WINDOWS\\Start Menu\\Programs"},
        {"start menu on 95 reads the registry", With([](Machine& m) { m.system = "95"; }),
         "[Start Menu]", kPrograms},
        {"startup", {}, "[Startup]\\App.lnk", std::string(kPrograms) + "\\Startup\\App.lnk"},
        {"startup keeps the localised folder name",
         With([](Machine& m) { m.commonStartup = "C:\\Dokumente\\All Users\\Autostart"; }),
         "[Startup]\\App.lnk", std::string(kPrograms) + "\\Autostart\\App.lnk"},
        {"startup on 98", With([](Machine& m) { m.system = "98"; }), "[Startup]",
         "C:\\WINDOWS\\Start Menu\\Programs\\Startup"},
        {"quick launch", {}, "[QuickLaunch]\\App.lnk", "[QuickLaunch]\\App.lnk"},
        {"no token", {}, "C:\\Plain\\Path", "C:\\Plain\\Path"},
        {"unknown token", {}, "[Program Data]\\x", "[Program Data]\\x"},
        {"unclosed bracket", {}, "[InstallDir\\x", "[InstallDir\\x"},
        {"token not at the start", {}, "x[InstallDir]", "x[InstallDir]"},
        {"empty", {}, "", ""},
        {"long tail", {}, "[InstallDir]" + longTail, "C:\\Program Files\\Vesk" + longTail},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Resolve(c.machine, c.path), c.expected);
    }
}

// Every token for the machine and for the current user: a user's install goes to the user's
// programs folder, Start menu and Startup folder; the rest is the same.
TEST(PathResolverTest, EveryTokenInEachScope) {
    struct Row {
        std::string path, machine, user;
    };
    const std::string roaming = "C:\\Users\\Ann\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu";
    const Row rows[] = {
        {"[Program Files]\\V", "C:\\Program Files\\V",
         "C:\\Users\\Ann\\AppData\\Local\\Programs\\V"},
        {"[InstallDir]\\a", "C:\\Program Files\\Vesk\\a", "C:\\Program Files\\Vesk\\a"},
        {"[Windows Directory]", "C:\\WINDOWS", "C:\\WINDOWS"},
        {"[System Directory]", "C:\\WINDOWS\\System32", "C:\\WINDOWS\\System32"},
        {"[Desktop Directory]\\a.lnk", "C:\\Documents and Settings\\Ann\\Desktop\\a.lnk",
         "C:\\Documents and Settings\\Ann\\Desktop\\a.lnk"},
        {"[Absolute Directory]D:\\x", "D:\\x", "D:\\x"},
        {"[TempFileDir]\\x", "C:\\TEMP\\x", "C:\\TEMP\\x"},
        {"[Start Menu]\\V", std::string(kPrograms) + "\\V", roaming + "\\Programs\\V"},
        {"[Startup]\\a.lnk", std::string(kPrograms) + "\\Startup\\a.lnk",
         roaming + "\\Programs\\Startup\\a.lnk"},
        {"[QuickLaunch]\\a.lnk", "[QuickLaunch]\\a.lnk", "[QuickLaunch]\\a.lnk"},
    };
    FakeSystemFacts facts;
    MemoryRegistry registry;
    registry.PutString(RegistryRoot::LocalMachine, kShellFolders, "Common Programs", kPrograms);
    registry.PutString(RegistryRoot::LocalMachine, kShellFolders, "Common Startup",
                       std::string(kPrograms) + "\\Startup");
    PathResolver resolver(facts, registry, "C:\\Program Files\\Vesk");
    for (const Row& row : rows) {
        resolver.SetScope(InstallScope::Machine);
        EXPECT_EQ(resolver.Resolve(row.path), row.machine) << row.path;
        resolver.SetScope(InstallScope::User);
        EXPECT_EQ(resolver.Resolve(row.path), row.user) << row.path;
    }
    // A user's folder the shell cannot name leaves the token in place.
    facts.userFolders.clear();
    EXPECT_EQ(resolver.Resolve("[Program Files]\\V"), "[Program Files]\\V");
    EXPECT_EQ(resolver.Resolve("[Startup]"), "[Startup]");
}

TEST(PathResolverTest, ANewInstallFolderIsSeenByTheNextResolution) {
    FakeSystemFacts facts;
    MemoryRegistry registry;
    PathResolver resolver(facts, registry, "C:\\First");
    std::function<std::string(const std::string&)> expand = resolver.Expander();
    EXPECT_EQ(expand("[InstallDir]\\a.txt"), "C:\\First\\a.txt");
    resolver.SetInstallDir("D:\\Second");
    EXPECT_EQ(expand("[InstallDir]\\a.txt"), "D:\\Second\\a.txt");
    facts.windowsFolder = "E:\\WIN";
    EXPECT_EQ(resolver.Resolve("[Program Files]"), "E:\\Program Files");
}

}  // namespace
}  // namespace vesk
