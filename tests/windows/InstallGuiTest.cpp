// The real engine installs the demo under Wine, driven through its wizard by control ID: every
// file, the font, the registry items, the shortcuts read back through the shell, the uninstall
// record; a second run proposes the same folder; a run cancelled in the file phase, and one
// whose second volume is missing, roll back and give back the user's files.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>
#include <objidl.h>
#include <shlobj.h>

#include <chrono>
#include <filesystem>
#include <set>
#include <string>

#include "EnglishTexts.h"
#include "GuiDriver.h"
#include "SetupBuilder.h"
#include "platform/ComPointerWin32.h"
#include "project/LanguageTable.h"
#include "project/RegistryKey.h"
#include "resources/ResourceIds.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;
using test::EnglishText;
using test::EnglishTexts;
using test::ReadWholeFile;

constexpr RegistryRoot kMachine = RegistryRoot::LocalMachine;
constexpr RegistryRoot kUser = RegistryRoot::CurrentUser;
// Where the tests install: a folder with blanks, which every started program must survive.
const std::string kTestRoot = "C:\\Vesk Gui Test";
const std::string kFolder = kTestRoot + "\\Demo";
const std::string kTitle = "Vesk Demo 1.2";
const std::string kProductKey = "\\SOFTWARE\\VeskSoft\\VeskInstall\\Vesk Demo";
const std::string kUninstallKey =
    "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vesk Demo 1.2";
constexpr DWORD kInstallTimeoutMs = 60000;
constexpr char kFontsKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";
constexpr char kFontName[] = "DejaVu Sans Mono (TrueType)";

// Through drive Z:, which Wine maps to the host's root, so the file-system library finds it.
std::string DemoFile(const std::string& relative) {
    return "Z:" + std::string(VESK_SOURCE_DIR) + "/examples/demo/" + relative;
}

std::string WindowsFolder() {
    char folder[MAX_PATH + 1] = {};
    GetWindowsDirectoryA(folder, sizeof folder);
    return folder;
}

std::string SystemFolder() {
    char folder[MAX_PATH + 1] = {};
    GetSystemDirectoryA(folder, sizeof folder);
    return folder;
}

std::string ShellFolder(int id) {
    char folder[MAX_PATH + 1] = {};
    SHGetSpecialFolderPathA(nullptr, folder, id, FALSE);
    return folder;
}

std::string ReadString(RegistryRoot root, const std::string& key, const std::string& name) {
    RegistryKey reader(HostRegistry(), root);
    if (!reader.OpenForReading(key)) return "(no key)";
    if (!reader.Handle()->QueryValue(name)) return "(no value)";
    return reader.ReadString(name);
}

// Removes a key with everything below it.
void DeleteTree(RegistryRoot root, const std::string& parent, const std::string& name) {
    if (auto key = HostRegistry().Open(root, parent + "\\" + name, RegistryAccess::All)) {
        for (const std::string& sub : key->SubKeyNames())
            DeleteTree(root, parent + "\\" + name, sub);
    }
    if (auto key = HostRegistry().Open(root, parent, RegistryAccess::All)) key->DeleteSubKey(name);
}

// What the demo leaves anywhere, so every test starts on a machine without it.
void RemoveTheDemo() {
    DeleteTree(kMachine, "SOFTWARE\\VeskSoft\\VeskInstall", "Vesk Demo");
    DeleteTree(kMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall", kTitle);
    DeleteTree(kMachine, "SOFTWARE", "Vesk Demo Company");
    DeleteTree(kUser, "Software", "Vesk Demo Company");
    if (auto fonts = HostRegistry().Open(kMachine, kFontsKey, RegistryAccess::All)) {
        fonts->DeleteValue(kFontName);
    }
    std::error_code ec;
    fs::remove_all(kTestRoot, ec);
    fs::remove_all(ShellFolder(CSIDL_COMMON_PROGRAMS) + "\\Vesk Demo", ec);
    fs::remove(ShellFolder(CSIDL_DESKTOPDIRECTORY) + "\\Vesk Demo Readme.Lnk", ec);
    fs::remove(WindowsFolder() + "\\Vesk-UnInstall.exe", ec);
}

// Files whose names carry the run's stamp, and the registry data file, in the temporary folder.
std::set<std::string> RunFilesInTemp() {
    char folder[MAX_PATH + 1] = {};
    GetTempPathA(sizeof folder, folder);
    std::set<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.find("~VeskInstall-") != std::string::npos || name.rfind("VeskInstall", 0) == 0 ||
            name == "demo-settings.reg") {
            names.insert(name);
        }
    }
    return names;
}

struct LinkInfo {
    bool read = false;
    std::string target, arguments, workingFolder, description;
};

// A shortcut file read back through the shell's link service.
LinkInfo ReadLink(const std::string& path) {
    LinkInfo info;
    ComRuntime runtime;
    ComPointer<IShellLinkA> link;
    ComPointer<IPersistFile> file;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(link.Out()))) ||
        FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.Out())))) {
        return info;
    }
    std::wstring wide(path.begin(), path.end());
    if (FAILED(file->Load(wide.c_str(), STGM_READ))) return info;
    char text[1024] = {};
    link->GetPath(text, sizeof text, nullptr, 0);
    info.target = text;
    link->GetArguments(text, sizeof text);
    info.arguments = text;
    link->GetWorkingDirectory(text, sizeof text);
    info.workingFolder = text;
    link->GetDescription(text, sizeof text);
    info.description = text;
    info.read = true;
    return info;
}

// The demo with an uninstall record (the test helper program stands in for the uninstaller),
// one more product file, "hold.exe", run during the install (kind L): it notes the folder it runs
// in and waits while VESK_TEST_HOLD names a file that does not exist yet; and a volume size that
// leaves room for the start-up files and a few product files behind the stub, whatever its size.
std::string BuildDemoVariant(const test::TempDir& dir) {
    const fs::path demo = fs::path(dir.Path()) / "demo";
    std::error_code ec;
    fs::copy(DemoFile("."), demo, fs::copy_options::recursive, ec);
    fs::copy_file(VESK_EXIT_WITH_PATH, demo / "product" / "hold.exe", ec);
    if (ec) {
        ADD_FAILURE() << "cannot copy the demo: " << ec.message();
        return std::string();
    }
    std::string project = ReadWholeFile((demo / "project.xml").string());
    for (const char* flag : {"CreateUnInstall1", "CreateUnInstall2"}) {
        const std::string off = std::string("<") + flag + ">0<";
        project.replace(project.find(off), off.size(), std::string("<") + flag + ">1<");
    }
    // Volume 1 holds the stub, the start-up files and the first product files whatever the
    // stub's size; the rest goes to Setup2.Cab.
    const std::string diskSize = "<DiskSize>720K</DiskSize>";
    const std::size_t roomAfterStub = 160 * 1024;
    project.replace(project.find(diskSize), diskSize.size(),
                    "<DiskSize>" +
                        std::to_string(ReadWholeFile(VESK_STUB_PATH).size() + roomAfterStub) +
                        "</DiskSize>");
    const std::string list = "<SubTask ID=\"10002\" Type=\"FileList\">";
    project.insert(project.find(list) + list.size(),
                   "\n    <File>[InstallDir]\\hold.exe,,,L,</File>");
    test::WriteWholeFile((demo / "project.xml").string(), project);

    BuildOptions options;
    options.projectPath = (demo / "project.xml").string();
    options.outputDir = dir / "setup";
    options.stubPath = VESK_STUB_PATH;
    options.uninstallerPath = VESK_EXIT_WITH_PATH;
    SetupBuilder builder;
    if (!builder.Build(options)) {
        ADD_FAILURE() << builder.LastError();
        return std::string();
    }
    return builder.Summary().outputFiles.front();
}

void SetEnvironment(const char* name, const std::string& value) {
    SetEnvironmentVariableA(name, value.empty() ? nullptr : value.c_str());
}

class InstallGuiTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!test::DisplayAvailable()) return;
        setupDir_ = new test::TempDir();
        setup_ = BuildDemoVariant(*setupDir_);
    }
    static void TearDownTestSuite() {
        if (test::DisplayAvailable()) RemoveTheDemo();
        delete setupDir_;
        setupDir_ = nullptr;
    }
    void SetUp() override {
        if (!test::DisplayAvailable()) GTEST_SKIP() << "no display";
        ASSERT_FALSE(setup_.empty());
        RemoveTheDemo();
        SetEnvironment("VESK_TEST_MARKER", dir_ / "ran-in.txt");
        SetEnvironment("VESK_TEST_HOLD", "");
    }
    void TearDown() override {
        SetEnvironment("VESK_TEST_MARKER", "");
        SetEnvironment("VESK_TEST_HOLD", "");
    }

    HWND Start(const std::string& setup) {
        tempBefore_ = RunFilesInTemp();
        if (!process_.Start(setup)) return nullptr;
        return test::WaitForWizard(process_.Id(), 30000);
    }
    void Next(HWND frame) { ASSERT_TRUE(test::PressItem(frame, IDC_WIZARD_NEXT)); }
    // Walks from the welcome page to the destination page, accepting the licence.
    HWND WalkToDestination(HWND frame) {
        Next(frame);
        HWND licence = test::VisiblePage(frame);
        EXPECT_TRUE(test::PressItem(licence, IDC_LICENCE_ACCEPT));
        for (int i = 0; i < 4; ++i) Next(frame);  // readme, user, program folder, destination
        HWND page = test::VisiblePage(frame);
        EXPECT_NE(GetDlgItem(page, IDC_DESTINATION_PATH), nullptr) << "not the destination page";
        return page;
    }
    // On to the progress page, installing into `folder`.
    HWND WalkToProgress(HWND frame, const std::string& folder) {
        HWND destination = WalkToDestination(frame);
        EXPECT_TRUE(test::SetItemText(destination, IDC_DESTINATION_PATH, folder));
        Next(frame);
        HWND progress = test::VisiblePage(frame);
        EXPECT_NE(GetDlgItem(progress, IDC_PROGRESS_BAR), nullptr) << "not the progress page";
        return progress;
    }
    void ExpectNothingLeftInTemp() {
        EXPECT_EQ(RunFilesInTemp(), tempBefore_) << "files of the run left in the temporary folder";
    }

    static test::TempDir* setupDir_;
    static std::string setup_;
    std::set<std::string> tempBefore_;
    test::TempDir dir_;
    test::ChildProcess process_;
};

test::TempDir* InstallGuiTest::setupDir_ = nullptr;
std::string InstallGuiTest::setup_;

TEST_F(InstallGuiTest, TheDemoInstallsEverythingAndTheNextRunProposesItsFolder) {
    SetEnvironment("VESK_TEST_HOLD", dir_ / "release");
    HWND frame = Start(setup_);
    ASSERT_NE(frame, nullptr) << "the wizard did not appear";
    HWND progress = WalkToProgress(frame, kFolder);
    ASSERT_FALSE(HasFailure());

    // Mid-install, while the program of kind L holds the file phase: a screenshot.
    const DWORD start = GetTickCount();
    while (!test::FileExists(dir_ / "ran-in.txt") && GetTickCount() - start < kInstallTimeoutMs) {
        Sleep(20);
    }
    EXPECT_EQ(test::ItemText(progress, IDC_PROGRESS_STATUS), EnglishText(TextKey::CopyFileDesc));
    const LRESULT position = SendMessageA(GetDlgItem(progress, IDC_PROGRESS_BAR), PBM_GETPOS, 0, 0);
    EXPECT_GT(position, 0);
    EXPECT_LT(position, 100);
    EXPECT_TRUE(test::Screenshot(frame, "Install-1-Progress.bmp"));
    ASSERT_TRUE(test::WriteWholeFile(dir_ / "release", ""));

    const std::string finish = EnglishText(TextKey::CompleteButtonDesc);
    while (test::ItemText(frame, IDC_WIZARD_NEXT) != finish &&
           GetTickCount() - start < kInstallTimeoutMs) {
        Sleep(50);
    }
    ASSERT_EQ(test::ItemText(frame, IDC_WIZARD_NEXT), finish) << "no finish page";
    EXPECT_TRUE(test::Screenshot(frame, "Install-2-Finish.bmp"));
    // Leave the readme unopened: nothing may outlive the setup.
    if (HWND box = GetDlgItem(test::VisiblePage(frame), 1000)) {
        SendMessageA(box, BM_SETCHECK, BST_UNCHECKED, 0);
    }
    Next(frame);
    ASSERT_EQ(process_.WaitForExit(), 0);
    ExpectNothingLeftInTemp();

    // Every product file byte for byte, with its time; the file of task 2409 is gone again.
    std::map<std::string, std::string> expected = test::FilesBelow(DemoFile("product"));
    expected.erase("data/first-run.tmp");
    std::map<std::string, std::string> installed = test::FilesBelow(kFolder);
    const std::string logName = "VeskInstall Vesk Demo 1.2.xml";
    ASSERT_EQ(installed.count(logName), 1u) << "no log in the install folder";
    const std::string logText = installed[logName];
    installed.erase(logName);
    EXPECT_EQ(installed, expected);
    for (const auto& file : expected) {
        const auto installedTime = fs::last_write_time(kFolder + "\\" + file.first);
        const auto sourceTime =
            fs::last_write_time(setupDir_->Path() + "demo\\product\\" + file.first);
        EXPECT_LT(std::chrono::abs(
                      std::chrono::duration_cast<std::chrono::seconds>(installedTime - sourceTime))
                      .count(),
                  2)
            << file.first;
    }
    EXPECT_TRUE(fs::is_directory(kFolder + "\\logs"));
    EXPECT_EQ(
        logText.rfind("<?xml version=\"1.0\" encoding=\"GB2312\"?>\r\n<InstallProject>\r\n", 0),
        0u);
    EXPECT_NE(logText.find("<CreateUnInstall1>1</CreateUnInstall1>"), std::string::npos);
    EXPECT_NE(logText.find("<File>[InstallDir]\\Readme.txt,"), std::string::npos);
    // The program of kind L ran in its own folder, found by its quoted path, and went.
    EXPECT_EQ(ReadWholeFile(dir_ / "ran-in.txt"), kFolder);

    // The font, and the uninstaller with its language file.
    EXPECT_EQ(ReadWholeFile(WindowsFolder() + "\\Fonts\\DejaVuSansMono.ttf"),
              ReadWholeFile(DemoFile("fonts/DejaVuSansMono.ttf")));
    EXPECT_EQ(ReadWholeFile(WindowsFolder() + "\\Vesk-UnInstall.exe"),
              ReadWholeFile(VESK_EXIT_WITH_PATH));
    LanguageTable texts = EnglishTexts();
    texts.SetText(TextKey::ProjectName, kTitle);
    EXPECT_EQ(ReadWholeFile(SystemFolder() + "\\VeskInstall\\409.ini"), texts.Lines().Join());

    // Registry items of task 2406.
    const std::string company = "\\SOFTWARE\\Vesk Demo Company\\Vesk Demo";
    EXPECT_EQ(ReadString(kMachine, company, "Version"), "1.2");
    RegistryKey counter(HostRegistry(), kMachine);
    ASSERT_TRUE(counter.OpenForReading(company));
    auto count = counter.Handle()->QueryValue("InstallCount");
    ASSERT_TRUE(count);
    EXPECT_EQ(count->type, kRegistryDword);
    EXPECT_EQ(count->data, std::string("\1\0\0\0", 4));
    // ... and of the registry data file (kind R), which is gone again.
    const std::string settings = "\\Software\\Vesk Demo Company\\Vesk Demo\\Settings";
    EXPECT_EQ(ReadString(kUser, settings, "Theme"), "Harbour");
    EXPECT_EQ(ReadString(kUser, settings, "LastPicture"), "gallery\\dunes.png");
    EXPECT_EQ(ReadString(kUser, "\\Software\\Vesk Demo Company\\Vesk Demo\\Recent", "Table"),
              "measurements.csv");
    // The font is registered for the system, so it stays after a restart.
    EXPECT_EQ(ReadString(kMachine, std::string("\\") + kFontsKey, kFontName), "DejaVuSansMono.ttf");

    // Shortcuts, read back through the shell.
    const std::string group = ShellFolder(CSIDL_COMMON_PROGRAMS) + "\\Vesk Demo";
    struct Expected {
        std::string link, target, arguments, workingFolder;
    };
    const std::string log = kFolder + "\\" + logName;
    const Expected links[] = {
        {group + "\\Vesk Demo Readme.Lnk", kFolder + "\\Readme.txt", "", kFolder},
        {group + "\\User Guide.Lnk", kFolder + "\\docs\\Guide.htm", "", kFolder + "\\docs"},
        {ShellFolder(CSIDL_DESKTOPDIRECTORY) + "\\Vesk Demo Readme.Lnk", kFolder + "\\Readme.txt",
         "", kFolder},
        {group + "\\Uninstall Vesk Demo 1.2.Lnk", WindowsFolder() + "\\Vesk-UnInstall.exe",
         "\"" + log + "\"", WindowsFolder()},
    };
    for (const Expected& link : links) {
        LinkInfo info = ReadLink(link.link);
        ASSERT_TRUE(info.read) << link.link;
        EXPECT_EQ(info.target, link.target) << link.link;
        EXPECT_EQ(info.arguments, link.arguments) << link.link;
        EXPECT_EQ(info.workingFolder, link.workingFolder) << link.link;
    }

    // The uninstall entry and the engine's values.
    EXPECT_EQ(ReadString(kMachine, kUninstallKey, "DisplayName"), kTitle);
    EXPECT_EQ(ReadString(kMachine, kUninstallKey, "UninstallString"),
              "\"" + WindowsFolder() + "\\Vesk-UnInstall.exe\" \"" + log + "\"");
    EXPECT_EQ(ReadString(kMachine, "\\SOFTWARE\\VeskSoft\\VeskInstall", "LastVersion"), "5.05");
    EXPECT_EQ(ReadString(kMachine, kProductKey, "Path"), kFolder);
    EXPECT_EQ(ReadString(kMachine, kProductKey, "Version"), "1.2");
    EXPECT_EQ(ReadString(kMachine, kProductKey + "\\1.2", "ProgramFolder"), group);
    EXPECT_EQ(ReadString(kMachine, kProductKey + "\\1.2", "UnInstallFileLink"),
              group + "\\Uninstall Vesk Demo 1.2.lnk");

    // The next run proposes the folder of this install.
    test::ChildProcess second;
    ASSERT_TRUE(second.Start(setup_));
    HWND again = test::WaitForWizard(second.Id(), 30000);
    ASSERT_NE(again, nullptr);
    HWND destination = WalkToDestination(again);
    EXPECT_EQ(test::ItemText(destination, IDC_DESTINATION_PATH), kFolder);
    EXPECT_TRUE(test::LeaveWizard(second.Id()));
    EXPECT_EQ(second.WaitForExit(), 2);
    ExpectNothingLeftInTemp();
}

TEST_F(InstallGuiTest, ACancelInTheFilePhaseGivesBackTheUsersFilesAndFolder) {
    // The user's own folder with a readme of the product's name and a note.
    ASSERT_TRUE(fs::create_directories(kFolder));
    const std::string readme = "The user's own readme, not the product's.\r\n";
    ASSERT_TRUE(test::WriteWholeFile(kFolder + "\\Readme.txt", readme));
    ASSERT_TRUE(test::WriteWholeFile(kFolder + "\\notes.txt", "mine\r\n"));
    const std::map<std::string, std::string> before = test::FilesBelow(kFolder);
    SetEnvironment("VESK_TEST_HOLD", dir_ / "release");

    HWND frame = Start(setup_);
    ASSERT_NE(frame, nullptr) << "the wizard did not appear";
    HWND progress = WalkToProgress(frame, kFolder);
    ASSERT_FALSE(HasFailure());
    // hold.exe runs (after Readme.txt was written over): Cancel now, then let it end.
    const DWORD start = GetTickCount();
    while (!test::FileExists(dir_ / "ran-in.txt") && GetTickCount() - start < kInstallTimeoutMs) {
        Sleep(20);
    }
    ASSERT_TRUE(test::FileExists(dir_ / "ran-in.txt")) << "the program of kind L did not run";
    EXPECT_EQ(ReadWholeFile(kFolder + "\\Readme.txt"),
              ReadWholeFile(DemoFile("product/Readme.txt")));
    ASSERT_TRUE(test::ClickItem(frame, IDC_WIZARD_CANCEL));
    ASSERT_TRUE(test::Settle(frame));
    ASSERT_TRUE(test::WriteWholeFile(dir_ / "release", ""));

    HWND question = test::WaitForMessageBox(process_.Id(), frame, kInstallTimeoutMs);
    ASSERT_NE(question, nullptr) << "the install did not ask";
    EXPECT_EQ(test::TextOf(question), EnglishText(TextKey::ExitInstallTitle));
    EXPECT_EQ(test::ItemText(progress, IDC_PROGRESS_STATUS), EnglishText(TextKey::CopyFileDesc));
    EXPECT_TRUE(test::Screenshot(question, "Install-3-CancelQuestion.bmp"));
    ASSERT_TRUE(test::ClickItem(question, IDYES));
    EXPECT_EQ(process_.WaitForExit(kInstallTimeoutMs), 2);

    // The user's files as they were, byte for byte, in the user's folder; nothing of the install.
    EXPECT_EQ(test::FilesBelow(kFolder), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(kFolder), fs::directory_iterator()), 2)
        << "folders of the install left behind";
    EXPECT_FALSE(fs::exists(ShellFolder(CSIDL_COMMON_PROGRAMS) + "\\Vesk Demo"));
    EXPECT_EQ(ReadString(kMachine, kProductKey, "Path").rfind("(no ", 0), 0u) << "values written";
    ExpectNothingLeftInTemp();
}

TEST_F(InstallGuiTest, AMissingVolumeGivenUpEndsTheInstallAndRollsItBack) {
    // Only Setup.exe, in a folder of its own: the second volume cannot be found.
    const std::string lone = dir_ / "Setup.exe";
    ASSERT_TRUE(CopyFileA(setup_.c_str(), lone.c_str(), FALSE));
    HWND frame = Start(lone);
    ASSERT_NE(frame, nullptr) << "the wizard did not appear";
    WalkToProgress(frame, kFolder);
    ASSERT_FALSE(HasFailure());
    HWND request = test::WaitForTopWindow(process_.Id(), EnglishText(TextKey::InsertMediaDesc), "",
                                          nullptr, kInstallTimeoutMs);
    ASSERT_NE(request, nullptr) << "no disk request during the install";
    EXPECT_TRUE(test::Screenshot(request, "Install-4-DiskRequest.bmp"));
    EXPECT_TRUE(fs::exists(kFolder + "\\Readme.txt")) << "files of volume 1 come first";
    ASSERT_TRUE(test::ClickItem(request, IDC_INSERT_MEDIA_CANCEL));
    EXPECT_EQ(process_.WaitForExit(kInstallTimeoutMs), 2);
    EXPECT_FALSE(fs::exists(kFolder)) << "the install was not rolled back";
    EXPECT_FALSE(fs::exists(ShellFolder(CSIDL_COMMON_PROGRAMS) + "\\Vesk Demo"));
    ExpectNothingLeftInTemp();
}

}  // namespace
}  // namespace vesk
