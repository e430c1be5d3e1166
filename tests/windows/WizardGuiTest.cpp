// The real engine stub shows the wizard, driven from outside by control ID as a user would: the
// demo walked forward and back, the licence gate, the exit question, the install's end and the
// advertising picture. Every window reached is saved as a screenshot.
#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>

#include "EnglishTexts.h"
#include "GuiDriver.h"
#include "RunFolders.h"
#include "app/ShowAdPictureWin32.h"
#include "builder/SetupBuilder.h"
#include "project/LanguageTable.h"
#include "resources/LanguageFile.h"
#include "resources/ResourceIds.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

using test::EnglishText;

std::string DemoFile(const std::string& relative) {
    return std::string(VESK_SOURCE_DIR) + "/examples/demo/" + relative;
}

// Builds a setup with the real engine; the first volume's path, "" after a failure.
std::string BuildSetup(const std::string& project, const std::string& output) {
    BuildOptions options;
    options.projectPath = project;
    options.outputDir = output;
    options.stubPath = VESK_STUB_PATH;
    SetupBuilder builder;
    if (!builder.Build(options)) {
        ADD_FAILURE() << builder.LastError();
        return std::string();
    }
    return builder.Summary().outputFiles.front();
}

// Names in the temporary folder the engine's runs give their files and folders.
std::set<std::string> StartupFilesLeft() {
    std::set<std::string> names;
    for (const std::string& name : test::TempFolderEntries()) {
        if (name.find("~VeskInstall-") != std::string::npos) names.insert(name);
    }
    return names;
}

struct ControllessQuery {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK MatchControlless(HWND window, LPARAM data) {
    auto* query = reinterpret_cast<ControllessQuery*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != query->processId || !IsWindowVisible(window) ||
        GetWindow(window, GW_CHILD) != nullptr) {
        return TRUE;
    }
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    if (std::string(name) != "#32770") return TRUE;
    query->found = window;
    return FALSE;
}

// The advertising picture: a visible dialog of the process without controls.
HWND WaitForControllessWindow(DWORD processId) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 30000) {
        ControllessQuery query{processId, nullptr};
        EnumWindows(&MatchControlless, reinterpret_cast<LPARAM>(&query));
        if (query.found) return query.found;
        Sleep(20);
    }
    return nullptr;
}

bool Enabled(HWND frame, int id) {
    return IsWindowEnabled(GetDlgItem(frame, id)) != FALSE;
}

class WizardGuiTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!test::DisplayAvailable()) return;
        demoDir_ = new test::TempDir();
        demoSetup_ = BuildSetup(DemoFile("project.xml"), *demoDir_ / "demo");
    }
    static void TearDownTestSuite() {
        delete demoDir_;
        demoDir_ = nullptr;
    }
    void SetUp() override {
        if (!test::DisplayAvailable()) GTEST_SKIP() << "no display";
        ASSERT_FALSE(demoSetup_.empty());
    }

    // Starts `setup` and waits for its wizard.
    HWND Start(const std::string& setup) {
        tempBefore_ = StartupFilesLeft();
        if (!process_.Start(setup)) return nullptr;
        return test::WaitForWizard(process_.Id(), 30000);
    }
    // Presses Next and waits until the frame has acted on it.
    void Next(HWND frame) { ASSERT_TRUE(test::PressItem(frame, IDC_WIZARD_NEXT)); }
    void Back(HWND frame) { ASSERT_TRUE(test::PressItem(frame, IDC_WIZARD_BACK)); }
    // The shown page, which must hold control `id`.
    HWND PageWith(HWND frame, int id) {
        HWND page = test::VisiblePage(frame);
        EXPECT_NE(page, nullptr);
        EXPECT_NE(page ? GetDlgItem(page, id) : nullptr, nullptr) << "page without control " << id;
        return page;
    }
    // Walks the demo from its welcome page to the destination page, accepting the licence.
    void WalkToDestination(HWND frame) {
        Next(frame);
        HWND licence = PageWith(frame, IDC_LICENCE_ACCEPT);
        ASSERT_TRUE(test::PressItem(licence, IDC_LICENCE_ACCEPT));
        for (int i = 0; i < 4; ++i) Next(frame);  // readme, user, program folder, destination
        PageWith(frame, IDC_DESTINATION_PATH);
    }

    static test::TempDir* demoDir_;
    static std::string demoSetup_;
    std::set<std::string> tempBefore_;
    test::TempDir dir_;
    test::ChildProcess process_;
};

test::TempDir* WizardGuiTest::demoDir_ = nullptr;
std::string WizardGuiTest::demoSetup_;

TEST_F(WizardGuiTest, TheDemoWalksForwardAndBackThroughEveryPage) {
    HWND frame = Start(demoSetup_);
    ASSERT_NE(frame, nullptr) << "the wizard did not appear";
    EXPECT_EQ(test::TextOf(frame), "Vesk Demo 1.2" + EnglishText(TextKey::InstallDesc));
    EXPECT_EQ(test::ItemText(frame, IDC_WIZARD_NEXT), EnglishText(TextKey::NextButtonDesc));
    EXPECT_EQ(test::ItemText(frame, IDC_WIZARD_BACK), EnglishText(TextKey::BackButtonDesc));
    // The window icon cannot be asked across processes under Wine; SetupIconTest loads it.

    // Welcome: the page covers the header band. Back and Enter change nothing.
    HWND welcome = test::VisiblePage(frame);
    ASSERT_NE(welcome, nullptr);
    RECT area{};
    GetWindowRect(welcome, &area);
    MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&area), 2);
    EXPECT_EQ(area.top, 0);
    EXPECT_EQ(area.right - area.left, 548);
    EXPECT_TRUE(test::Screenshot(frame, "Wizard-1-Welcome.bmp"));
    // Back leads nowhere from here: disabled, and the focus is on Next.
    EXPECT_FALSE(Enabled(frame, IDC_WIZARD_BACK));
    ASSERT_TRUE(test::Settle(frame));
    EXPECT_EQ(test::FocusedWindow(frame), GetDlgItem(frame, IDC_WIZARD_NEXT));
    Back(frame);
    ASSERT_TRUE(test::PressKey(frame, VK_RETURN));
    ASSERT_TRUE(test::PressKey(GetDlgItem(frame, IDC_WIZARD_NEXT), VK_RETURN));
    ASSERT_TRUE(test::Settle(frame));
    EXPECT_EQ(test::VisiblePage(frame), welcome);
    EXPECT_TRUE(IsWindowVisible(frame));

    // Licence: the document can be read, and Next waits for Accept.
    Next(frame);
    HWND licence = PageWith(frame, IDC_LICENCE_ACCEPT);
    const std::string licenceText = test::ItemText(licence, IDC_DOCUMENT_TEXT);
    EXPECT_NE(licenceText.find("VESK DEMO LICENCE AGREEMENT\r\n"), std::string::npos)
        << licenceText;
    EXPECT_NE(licenceText.find("THE SAMPLE IS PROVIDED \"AS IS\""), std::string::npos);
    EXPECT_EQ(licenceText.find('<'), std::string::npos) << "tags are shown";
    EXPECT_EQ(test::ItemText(licence, IDC_LICENCE_ACCEPT),
              EnglishText(TextKey::ReadSoftDocAcceptDesc));
    EXPECT_FALSE(Enabled(frame, IDC_WIZARD_NEXT));
    EXPECT_EQ(IsDlgButtonChecked(licence, IDC_LICENCE_REJECT), BST_CHECKED);
    // The focus went to the checked choice, which it leaves checked.
    ASSERT_TRUE(test::Settle(frame));
    EXPECT_EQ(test::FocusedWindow(frame), GetDlgItem(licence, IDC_LICENCE_REJECT));
    EXPECT_TRUE(test::Screenshot(frame, "Wizard-2-Licence.bmp"));
    Next(frame);  // a disabled Next does nothing
    EXPECT_EQ(test::VisiblePage(frame), licence);
    ASSERT_TRUE(test::PressItem(licence, IDC_LICENCE_ACCEPT));
    EXPECT_TRUE(Enabled(frame, IDC_WIZARD_NEXT));
    ASSERT_TRUE(test::PressItem(licence, IDC_LICENCE_REJECT));
    EXPECT_FALSE(Enabled(frame, IDC_WIZARD_NEXT));
    ASSERT_TRUE(test::PressItem(licence, IDC_LICENCE_ACCEPT));

    // Readme, and back: the acceptance holds.
    Next(frame);
    HWND readme = PageWith(frame, IDC_DOCUMENT_TEXT);
    const std::string readmeText = test::ItemText(readme, IDC_DOCUMENT_TEXT);
    EXPECT_NE(readmeText.find("- The setup needs about 800 KB of disk space."), std::string::npos)
        << readmeText;
    EXPECT_TRUE(test::Screenshot(frame, "Wizard-3-Readme.bmp"));
    Back(frame);
    EXPECT_EQ(test::VisiblePage(frame), licence);
    EXPECT_EQ(IsDlgButtonChecked(licence, IDC_LICENCE_ACCEPT), BST_CHECKED);
    EXPECT_TRUE(Enabled(frame, IDC_WIZARD_NEXT));
    Next(frame);

    // The data pages, in the demo's order.
    Next(frame);
    PageWith(frame, IDC_USER_NAME);
    EXPECT_TRUE(test::Screenshot(frame, "Wizard-4-UserInformation.bmp"));
    Next(frame);
    HWND folder = PageWith(frame, IDC_PROGRAM_FOLDER_NAME);
    EXPECT_EQ(test::ItemText(folder, IDC_PROGRAM_FOLDER_NAME), "Vesk Demo");
    EXPECT_TRUE(test::Screenshot(frame, "Wizard-5-ProgramFolder.bmp"));
    Next(frame);
    HWND destination = PageWith(frame, IDC_DESTINATION_PATH);
    EXPECT_NE(
        test::ItemText(destination, IDC_DESTINATION_PATH).find("Vesk Demo Company\\Vesk Demo"),
        std::string::npos);
    EXPECT_TRUE(test::Screenshot(frame, "Wizard-6-Destination.bmp"));
    for (int i = 0; i < 6; ++i) Back(frame);
    EXPECT_EQ(test::VisiblePage(frame), welcome);

    EXPECT_TRUE(test::LeaveWizard(process_.Id()));
    EXPECT_EQ(process_.WaitForExit(), 2);
}

TEST_F(WizardGuiTest, CancelAsksAndOnlyYesLeavesWithNothingLeftBehind) {
    HWND frame = Start(demoSetup_);
    ASSERT_NE(frame, nullptr);
    Next(frame);
    ASSERT_TRUE(test::ClickItem(frame, IDC_WIZARD_CANCEL));
    HWND question = test::WaitForMessageBox(process_.Id(), frame);
    ASSERT_NE(question, nullptr) << "no exit question";
    EXPECT_EQ(test::TextOf(question), EnglishText(TextKey::ExitInstallTitle));
    EXPECT_NE(test::MessageBoxText(question).find(EnglishText(TextKey::ExitInstallMessage)),
              std::string::npos);
    EXPECT_TRUE(test::Screenshot(question, "Wizard-ExitQuestion.bmp"));
    ASSERT_TRUE(test::ClickItem(question, IDNO));
    ASSERT_TRUE(test::WaitForWindowGone(question));
    ASSERT_TRUE(test::Settle(frame));
    EXPECT_TRUE(IsWindowVisible(frame));
    PageWith(frame, IDC_LICENCE_ACCEPT);

    EXPECT_TRUE(test::LeaveWizard(process_.Id()));
    EXPECT_EQ(process_.WaitForExit(), 2);
    EXPECT_EQ(StartupFilesLeft(), tempBefore_) << "start-up files left behind";
}

TEST_F(WizardGuiTest, TheInstallEndsOnTheFinishPage) {
    HWND frame = Start(demoSetup_);
    ASSERT_NE(frame, nullptr);
    WalkToDestination(frame);
    if (HasFatalFailure()) return;
    Next(frame);
    HWND progress = PageWith(frame, IDC_PROGRESS_BAR);
    EXPECT_FALSE(Enabled(frame, IDC_WIZARD_BACK));
    EXPECT_FALSE(Enabled(frame, IDC_WIZARD_NEXT));
    EXPECT_TRUE(test::Screenshot(frame, "Wizard-7-Progress.bmp"));

    // Cancel during the install: the worker asks, and No lets it go on.
    ASSERT_TRUE(test::ClickItem(frame, IDC_WIZARD_CANCEL));
    HWND question = test::WaitForMessageBox(process_.Id(), frame);
    ASSERT_NE(question, nullptr) << "the install did not ask";
    EXPECT_EQ(test::TextOf(question), EnglishText(TextKey::ExitInstallTitle));
    ASSERT_TRUE(test::ClickItem(question, IDNO));

    // Timer 2: the finish page, with Next reading Finish and Cancel disabled.
    const DWORD start = GetTickCount();
    while (test::ItemText(frame, IDC_WIZARD_NEXT) != EnglishText(TextKey::CompleteButtonDesc) &&
           GetTickCount() - start < test::kGuiTimeoutMs) {
        Sleep(50);
    }
    EXPECT_EQ(test::ItemText(frame, IDC_WIZARD_NEXT), EnglishText(TextKey::CompleteButtonDesc));
    EXPECT_FALSE(IsWindowVisible(progress));
    EXPECT_FALSE(Enabled(frame, IDC_WIZARD_CANCEL));
    EXPECT_TRUE(Enabled(frame, IDC_WIZARD_NEXT));
    EXPECT_TRUE(test::Screenshot(frame, "Wizard-8-Finish.bmp"));
    Next(frame);
    EXPECT_EQ(process_.WaitForExit(), 0);
    EXPECT_EQ(StartupFilesLeft(), tempBefore_) << "start-up files left behind";
}

// A project with the welcome and progress pages only, and optionally an advertising picture.
std::string QuickProject(bool withAdPicture) {
    return std::string(
               "<?xml version=\"1.0\" encoding=\"GB2312\"?>\r\n<InstallProject>\r\n"
               "<Version>VeskInstall5.0</Version>\r\n"
               "<Task ID=\"2401\" Type=\"DataSetting\" IsExec=\"0\">\r\n"
               "<SubTask ID=\"10001\" Type=\"GetAllVar\">\r\n"
               "<ProjectName>Quick</ProjectName>\r\n<ProductVersion>2.0</ProductVersion>\r\n") +
           (withAdPicture ? "<AdPicture>ad.bmp</AdPicture>\r\n" : "") +
           "</SubTask>\r\n</Task>\r\n"
           "<Task ID=\"2006\" Type=\"ShowDialogBox\" IsExec=\"0\">\r\n</Task>\r\n"
           "<Task ID=\"2007\" Type=\"ShowDialogBox\" IsExec=\"0\">\r\n</Task>\r\n"
           "<Task ID=\"2010\" Type=\"ShowDialogBox\" IsExec=\"0\">\r\n</Task>\r\n"
           "<Task ID=\"2402\" Type=\"DataSetting\" IsExec=\"0\">\r\n"
           "<SubTask ID=\"10001\" Type=\"GetAllVar\">\r\n"
           "<PathDesc>[InstallDir]</PathDesc>\r\n<PathValue>product</PathValue>\r\n"
           "</SubTask>\r\n</Task>\r\n</InstallProject>\r\n";
}

std::string BuildQuickSetup(const test::TempDir& dir, bool withAdPicture) {
    CreateDirectoryA((dir / "product").c_str(), nullptr);
    test::WriteWholeFile(dir / "product/readme.txt", "Quick\r\n");
    test::WriteWholeFile(dir / "ad.bmp", test::ReadWholeFile(DemoFile("pictures/welcome.bmp")));
    test::WriteWholeFile(dir / "project.xml", QuickProject(withAdPicture));
    return BuildSetup(dir / "project.xml", dir / "out");
}

TEST_F(WizardGuiTest, WithoutAFinishPageTheInstallEndsWithTheCompletionMessage) {
    std::string setup = BuildQuickSetup(dir_, false);
    ASSERT_FALSE(setup.empty());
    HWND frame = Start(setup);
    ASSERT_NE(frame, nullptr);
    Next(frame);
    PageWith(frame, IDC_PROGRESS_BAR);
    HWND message = test::WaitForMessageBox(process_.Id(), frame);
    ASSERT_NE(message, nullptr) << "no completion message";
    EXPECT_EQ(test::TextOf(message), EnglishText(TextKey::MessageDesc));
    EXPECT_NE(
        test::MessageBoxText(message).find("Quick 2.0" + EnglishText(TextKey::InstallComplete)),
        std::string::npos)
        << test::MessageBoxText(message);
    EXPECT_FALSE(IsWindowVisible(frame)) << "the wizard stays behind the message";
    EXPECT_TRUE(test::Screenshot(message, "Wizard-CompletionMessage.bmp"));
    ASSERT_TRUE(test::ClickItem(message, IDOK));
    EXPECT_EQ(process_.WaitForExit(), 0);
}

TEST_F(WizardGuiTest, TheAdvertisingPictureTakesItsSizeAndStaysFiveSeconds) {
    std::string setup = BuildQuickSetup(dir_, true);
    ASSERT_FALSE(setup.empty());
    ASSERT_TRUE(process_.Start(setup));
    HWND picture = WaitForControllessWindow(process_.Id());
    ASSERT_NE(picture, nullptr) << "no advertising picture";
    const DWORD shown = GetTickCount();
    RECT frame{};
    GetWindowRect(picture, &frame);
    EXPECT_EQ(frame.right - frame.left, 163);  // the picture's own size, without a border
    EXPECT_EQ(frame.bottom - frame.top, 314);
    const int centreX = (GetSystemMetrics(SM_CXSCREEN) - 163) / 2;
    EXPECT_NEAR(frame.left, centreX, 1);
    EXPECT_EQ(GetWindowLongA(picture, GWL_STYLE) & WS_CAPTION, 0);
    EXPECT_TRUE(test::Screenshot(picture, "AdPicture.bmp"));

    // Closing it early is refused, and so are Enter and Escape.
    ASSERT_TRUE(PostMessageA(picture, WM_CLOSE, 0, 0));
    ASSERT_TRUE(test::PressKey(picture, VK_ESCAPE));
    ASSERT_TRUE(test::PressKey(picture, VK_RETURN));
    ASSERT_TRUE(test::Settle(picture));
    EXPECT_TRUE(IsWindowVisible(picture));

    // It goes by itself after five seconds.
    while (IsWindow(picture) && IsWindowVisible(picture) && GetTickCount() - shown < 10000) {
        Sleep(20);
    }
    const DWORD lasted = GetTickCount() - shown;
    EXPECT_GE(lasted, 4500u);
    EXPECT_LE(lasted, 6500u);
    EXPECT_TRUE(test::LeaveWizard(process_.Id()));
    EXPECT_EQ(process_.WaitForExit(), 2);
}

// The display's resolution the programs started from now on see, for the lifetime of the object.
class ScopedLogPixels {
public:
    explicit ScopedLogPixels(DWORD dpi) {
        RegCreateKeyExA(HKEY_CURRENT_USER, kDesktop, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                        &key_, nullptr);
        DWORD size = sizeof old_;
        had_ = key_ && RegQueryValueExA(key_, kValue, nullptr, nullptr,
                                        reinterpret_cast<BYTE*>(&old_), &size) == ERROR_SUCCESS;
        if (key_) {
            RegSetValueExA(key_, kValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi),
                           sizeof dpi);
        }
    }
    ~ScopedLogPixels() {
        if (!key_) return;
        if (had_) {
            RegSetValueExA(key_, kValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&old_),
                           sizeof old_);
        } else {
            RegDeleteValueA(key_, kValue);
        }
        RegCloseKey(key_);
    }
    ScopedLogPixels(const ScopedLogPixels&) = delete;
    ScopedLogPixels& operator=(const ScopedLogPixels&) = delete;

private:
    static constexpr const char* kDesktop = "Control Panel\\Desktop";
    static constexpr const char* kValue = "LogPixels";
    HKEY key_ = nullptr;
    DWORD old_ = 0;
    bool had_ = false;
};

// Sixty characters.
constexpr char kLongName[] = "Vesk Demo Suite, Edition with an Unusually Long Name to Wrap";
static_assert(sizeof kLongName - 1 == 60, "the product name is sixty characters long");

// Every page shown, the demo's pictures and documents, and a finish caption as long as a line.
std::string LongNameProject(const std::string& installDir) {
    const std::string page = "Type=\"ShowDialogBox\" IsExec=\"1\">\r\n";
    return std::string(
               "<?xml version=\"1.0\" encoding=\"GB2312\"?>\r\n<InstallProject>\r\n"
               "<Version>VeskInstall5.0</Version>\r\n"
               "<Task ID=\"2401\" Type=\"DataSetting\" IsExec=\"0\">\r\n"
               "<SubTask ID=\"10001\" Type=\"GetAllVar\">\r\n<ProjectName>") +
           kLongName + "</ProjectName>\r\n<ProductVersion>1.0</ProductVersion>\r\n<InstallPath>" +
           installDir +
           "</InstallPath>\r\n<TopFramePicture>header.bmp</TopFramePicture>\r\n"
           "</SubTask>\r\n</Task>\r\n"
           "<Task ID=\"2002\" " +
           page +
           "<SubTask ID=\"10001\" Type=\"ShowBitmap\">\r\n"
           "<File>welcome.bmp</File>\r\n</SubTask>\r\n</Task>\r\n"
           "<Task ID=\"2003\" " +
           page +
           "<SubTask ID=\"10001\" Type=\"ShowSoftDoc\">\r\n"
           "<FileType>S</FileType>\r\n<File>licence.htm</File>\r\n</SubTask>\r\n</Task>\r\n"
           "<Task ID=\"2004\" " +
           page +
           "<SubTask ID=\"10001\" Type=\"ShowReadme\">\r\n"
           "<FileType>S</FileType>\r\n<File>readme.htm</File>\r\n</SubTask>\r\n</Task>\r\n"
           "<Task ID=\"2005\" " +
           page +
           "</Task>\r\n"
           "<Task ID=\"2006\" " +
           page +
           "</Task>\r\n"
           "<Task ID=\"2007\" " +
           page +
           "</Task>\r\n"
           "<Task ID=\"2008\" " +
           page +
           "</Task>\r\n"
           "<Task ID=\"2010\" " +
           page +
           "<SubTask ID=\"10002\" Type=\"RunApp\">\r\n"
           "<Description>Start " +
           kLongName +
           " now and show the notes that come with it"
           "</Description>\r\n<File>notes.txt</File>\r\n<Folder>[InstallDir]</Folder>\r\n"
           "<AppParameter></AppParameter>\r\n</SubTask>\r\n</Task>\r\n"
           "<Task ID=\"2402\" Type=\"DataSetting\" IsExec=\"0\">\r\n"
           "<SubTask ID=\"10001\" Type=\"GetAllVar\">\r\n"
           "<PathDesc>[InstallDir]</PathDesc>\r\n<PathValue>product</PathValue>\r\n"
           "</SubTask>\r\n</Task>\r\n</InstallProject>\r\n";
}

// Whether every visible control of `page` lies inside it, and the page inside the frame's
// client area; what sticks out is named in `why`.
bool InsidePage(HWND frame, HWND page, std::string& why) {
    RECT client{}, frameClient{}, area{};
    GetClientRect(page, &client);
    GetClientRect(frame, &frameClient);
    GetWindowRect(page, &area);
    MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&area), 2);
    bool inside = area.left >= 0 && area.top >= 0 && area.right <= frameClient.right &&
                  area.bottom <= frameClient.bottom;
    if (!inside) why += " the page itself;";
    for (HWND child = GetWindow(page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child)) continue;
        RECT box{};
        GetWindowRect(child, &box);
        MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&box), 2);
        if (box.left >= 0 && box.top >= 0 && box.right <= client.right &&
            box.bottom <= client.bottom) {
            continue;
        }
        inside = false;
        why += " control " + std::to_string(GetDlgCtrlID(child)) + " at " +
               std::to_string(box.left) + "," + std::to_string(box.top) + "-" +
               std::to_string(box.right) + "," + std::to_string(box.bottom) + ";";
    }
    return inside;
}

TEST_F(WizardGuiTest, ALongProductNameKeepsEveryPageWholeAt96And120Dpi) {
    for (const char* file : {"licence.htm", "readme.htm"}) {
        test::WriteWholeFile(dir_ / file, test::ReadWholeFile(DemoFile(file)));
    }
    test::WriteWholeFile(dir_ / "header.bmp", test::ReadWholeFile(DemoFile("pictures/header.bmp")));
    test::WriteWholeFile(dir_ / "welcome.bmp",
                         test::ReadWholeFile(DemoFile("pictures/welcome.bmp")));
    CreateDirectoryA((dir_ / "product").c_str(), nullptr);
    test::WriteWholeFile(dir_ / "product/notes.txt", std::string(3000000, 'n'));
    test::WriteWholeFile(dir_ / "project.xml", LongNameProject(dir_ / "installed"));
    const std::string setup = BuildSetup(dir_ / "project.xml", dir_ / "out");
    ASSERT_FALSE(setup.empty());

    const struct {
        DWORD dpi;
        int pageWidth;
    } resolutions[] = {{96, 548}, {120, 730}};
    for (const auto& resolution : resolutions) {
        const std::string prefix = "LongName-" + std::to_string(resolution.dpi) + "-";
        SCOPED_TRACE(prefix);
        HWND frame = nullptr;
        {
            ScopedLogPixels dpi(resolution.dpi);  // read by the setup as it starts
            frame = Start(setup);
        }
        ASSERT_NE(frame, nullptr) << "the wizard did not appear";
        int shot = 0;
        // Every control inside the page, a control with the focus, and a picture of it all.
        auto check = [&](const char* name) {
            HWND page = test::VisiblePage(frame);
            ASSERT_NE(page, nullptr) << name;
            std::string why;
            EXPECT_TRUE(InsidePage(frame, page, why)) << name << ":" << why;
            ASSERT_TRUE(test::Settle(frame));
            EXPECT_NE(test::FocusedWindow(frame), nullptr) << name << ": nothing has the focus";
            EXPECT_TRUE(
                test::Screenshot(frame, prefix + std::to_string(++shot) + "-" + name + ".bmp"));
        };
        RECT welcome{};
        GetWindowRect(test::VisiblePage(frame), &welcome);
        EXPECT_EQ(welcome.right - welcome.left, resolution.pageWidth);
        check("Welcome");
        Next(frame);
        ASSERT_TRUE(test::PressItem(PageWith(frame, IDC_LICENCE_ACCEPT), IDC_LICENCE_ACCEPT));
        check("Licence");
        for (const char* name : {"Readme", "UserInformation", "ProgramFolder", "Destination"}) {
            Next(frame);
            check(name);
        }
        Next(frame);
        HWND progress = PageWith(frame, IDC_PROGRESS_BAR);
        const DWORD start = GetTickCount();
        while (progress && test::ItemText(progress, IDC_PROGRESS_ITEM).empty() &&
               GetTickCount() - start < test::kGuiTimeoutMs) {
            Sleep(5);
        }
        check("Progress");
        while (test::ItemText(frame, IDC_WIZARD_NEXT) != EnglishText(TextKey::CompleteButtonDesc) &&
               GetTickCount() - start < 6 * test::kGuiTimeoutMs) {
            Sleep(50);
        }
        check("Finish");
        HWND finish = test::VisiblePage(frame);
        HWND box = finish ? GetDlgItem(finish, 10002) : nullptr;
        ASSERT_NE(box, nullptr);
        RECT area{};
        GetWindowRect(box, &area);
        EXPECT_GT(area.bottom - area.top, 20) << "the long caption is not wrapped";
        SendMessageA(box, BM_SETCHECK, BST_UNCHECKED, 0);
        Next(frame);
        EXPECT_EQ(process_.WaitForExit(), 0);
    }
    const std::string product = std::string("SOFTWARE\\VeskSoft\\VeskInstall\\") + kLongName;
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, (product + "\\1.0").c_str());
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, product.c_str());
}

TEST(SetupIconTest, LoadsInEverySize) {
    for (int size : {16, 32, 48}) {
        HANDLE icon = LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_SETUP), IMAGE_ICON,
                                 size, size, LR_DEFAULTCOLOR);
        EXPECT_NE(icon, nullptr) << size << " " << GetLastError();
        if (icon) DestroyIcon(static_cast<HICON>(icon));
    }
}

TEST(AdPictureTest, APictureThatCannotBeReadShowsNoWindow) {
    test::TempDir dir;
    test::WriteWholeFile(dir / "broken.bmp", "BM not a picture");
    const DWORD start = GetTickCount();
    EXPECT_FALSE(CShowAdPicture(dir / "missing.bmp").DoModal());
    EXPECT_FALSE(CShowAdPicture(dir / "broken.bmp").DoModal());
    EXPECT_LT(GetTickCount() - start, 1000u);
}

}  // namespace
}  // namespace vesk
