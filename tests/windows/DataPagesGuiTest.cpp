// The wizard's data pages in the real engine stub, driven from outside by control ID: the user
// information written to the registry on every leave, the program folder picked from the Start
// menu, the destination picked in the folder tree and the drive list or typed and committed, and
// the finish page's boxes starting only the checked program. Every page is saved as a screenshot.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "DemoMachine.h"
#include "GuiDriver.h"
#include "ScopedEnvironment.h"
#include "builder/SetupBuilder.h"
#include "platform/Registry.h"
#include "platform/SystemFacts.h"
#include "project/LanguageTable.h"
#include "project/NameCase.h"
#include "project/PathResolver.h"
#include "resources/LanguageFile.h"
#include "resources/ResourceIds.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;

constexpr char kProductKey[] = "SOFTWARE\\Vesk Data Pages\\Pages";
constexpr int kFirstProgramBox = 10002, kSecondProgramBox = 10003;

std::string EnglishText(TextKey key) {
    TextLineList lines;
    lines.SplitAppend(DefaultLanguageFile(), false);
    LanguageTable texts(0x409);
    texts.LoadLines(lines);
    return texts.GetText(key);
}

// A project of the page tasks given (each a whole <Task> element), in that order; the welcome
// page is shown first when `welcome`, else it is hidden and the first of them is the first page.
std::string PagesProject(const std::string& pageTasks, bool welcome = false) {
    return std::string(
               "<?xml version=\"1.0\" encoding=\"GB2312\"?>\r\n<InstallProject>\r\n"
               "<Version>VeskInstall5.0</Version>\r\n"
               "<Task ID=\"2401\" Type=\"DataSetting\" IsExec=\"0\">\r\n"
               "<SubTask ID=\"10001\" Type=\"GetAllVar\">\r\n"
               "<ProjectName>Pages</ProjectName>\r\n<CompanyDesc>Vesk Data Pages</CompanyDesc>\r\n"
               "<ProductVersion>1.0</ProductVersion>\r\n</SubTask>\r\n</Task>\r\n"
               "<Task ID=\"2002\" Type=\"ShowDialogBox\" IsExec=\"") +
           (welcome ? "1" : "0") + "\">\r\n</Task>\r\n" + pageTasks +
           "<Task ID=\"2402\" Type=\"DataSetting\" IsExec=\"0\">\r\n"
           "<SubTask ID=\"10001\" Type=\"GetAllVar\">\r\n"
           "<PathDesc>[InstallDir]</PathDesc>\r\n<PathValue>product</PathValue>\r\n"
           "</SubTask>\r\n</Task>\r\n</InstallProject>\r\n";
}

std::string PageTask(const char* id, bool shown, const std::string& subtasks = "") {
    return std::string("<Task ID=\"") + id + "\" Type=\"ShowDialogBox\" IsExec=\"" +
           (shown ? "1" : "0") + "\">\r\n" + subtasks + "</Task>\r\n";
}

std::string EditBox(const char* id, const char* description, const char* valueName) {
    return std::string("<SubTask ID=\"") + id + "\" Type=\"EditBox\">\r\n<Description>" +
           description +
           "</Description>\r\n<RegRootKey>HKEY_LOCAL_MACHINE</RegRootKey>\r\n"
           "<RegSubKey>\\" +
           kProductKey + "</RegSubKey>\r\n<RegVarName>" + valueName +
           "</RegVarName>\r\n<RegVarValue></RegVarValue>\r\n<RegDataType>0</RegDataType>\r\n"
           "<RegOperType>0</RegOperType>\r\n<IsOnlyToKey>0</IsOnlyToKey>\r\n</SubTask>\r\n";
}

std::string RunApp(int id, const char* description, const char* file, const char* folder) {
    return "<SubTask ID=\"" + std::to_string(id) + "\" Type=\"RunApp\">\r\n<Description>" +
           description + "</Description>\r\n<File>" + file + "</File>\r\n<Folder>" + folder +
           "</Folder>\r\n<AppParameter></AppParameter>\r\n</SubTask>\r\n";
}

// Builds a setup with the real engine; the first volume's path, "" after a failure.
std::string BuildSetup(const test::TempDir& dir, const std::string& project) {
    CreateDirectoryA((dir / "product").c_str(), nullptr);
    test::WriteWholeFile(dir / "product/readme.txt", std::string(5000000, 'x'));
    test::WriteWholeFile(dir / "project.xml", project);
    BuildOptions options;
    options.projectPath = dir / "project.xml";
    options.outputDir = dir / "out";
    options.stubPath = VESK_STUB_PATH;
    // The finish page's programs are copied into the install folder by the tests themselves.
    options.allowMissingTargets = true;
    SetupBuilder builder;
    if (!builder.Build(options)) {
        ADD_FAILURE() << builder.LastError();
        return std::string();
    }
    return builder.Summary().outputFiles.front();
}

std::string RegistryText(HKEY root, const std::string& path, const std::string& name) {
    char data[1024] = {};
    DWORD size = sizeof data - 1;
    DWORD type = 0;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return "<no key>";
    const LONG read =
        RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    return read == ERROR_SUCCESS ? std::string(data) : "<no value>";
}

// The key the user information page writes to, and its parent, removed.
void DeleteProductKey() {
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kProductKey);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Vesk Data Pages");
}

// Memory lent in another process, for the tree-view messages, whose texts no system carries
// across processes: the control writes into it, the test reads it back.
class RemoteBuffer {
public:
    static constexpr std::size_t kSize = 4096;

    explicit RemoteBuffer(DWORD processId) {
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE,
                               processId);
        if (process_) {
            memory_ = static_cast<char*>(
                VirtualAllocEx(process_, nullptr, kSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        }
    }
    ~RemoteBuffer() {
        if (memory_) VirtualFreeEx(process_, memory_, 0, MEM_RELEASE);
        if (process_) CloseHandle(process_);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    bool Ready() const { return memory_ != nullptr; }
    // The address in the other process, `offset` bytes in.
    char* At(std::size_t offset) const { return memory_ + offset; }
    bool Write(std::size_t offset, const void* data, std::size_t size) const {
        return WriteProcessMemory(process_, memory_ + offset, data, size, nullptr) != 0;
    }
    bool Read(std::size_t offset, void* data, std::size_t size) const {
        return ReadProcessMemory(process_, memory_ + offset, data, size, nullptr) != 0;
    }
    // The NUL-terminated text at `offset`.
    std::string Text(std::size_t offset) const {
        std::vector<char> text(kSize - offset + 1, '\0');
        if (!Read(offset, text.data(), kSize - offset)) return "<unreadable>";
        return text.data();
    }

private:
    HANDLE process_ = nullptr;
    char* memory_ = nullptr;
};

// The item texts of a list box (LB_ messages) or combo box (CB_ messages) of another process,
// asked for in UTF-16, which Wine carries across processes as it is.
std::vector<std::string> ListTexts(HWND list, UINT countMessage, UINT lengthMessage,
                                   UINT textMessage) {
    std::vector<std::string> texts;
    const LRESULT count = SendMessageW(list, countMessage, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendMessageW(list, lengthMessage, WPARAM(i), 0);
        std::wstring wide(std::size_t(std::max<LRESULT>(length, 0)) + 1, L'\0');
        SendMessageW(list, textMessage, WPARAM(i), reinterpret_cast<LPARAM>(&wide[0]));
        char text[1024] = {};
        WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, text, sizeof text - 1, nullptr, nullptr);
        texts.push_back(text);
    }
    return texts;
}

// Tree-view items of another process: their labels and images.
class RemoteTree {
public:
    RemoteTree(HWND tree, DWORD processId) : tree_(tree), buffer_(processId) {}

    bool Ready() const { return buffer_.Ready(); }

    struct Item {
        std::string label;
        int image = -1;
    };
    std::optional<Item> Read(HTREEITEM item) const {
        TVITEMA query{};
        query.mask = TVIF_TEXT | TVIF_IMAGE;
        query.hItem = item;
        query.pszText = buffer_.At(sizeof(TVITEMA));
        query.cchTextMax = int(RemoteBuffer::kSize - sizeof(TVITEMA));
        if (!buffer_.Write(0, &query, sizeof query)) return {};
        if (!SendMessageA(tree_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(buffer_.At(0)))) {
            return {};
        }
        if (!buffer_.Read(0, &query, sizeof query)) return {};
        return Item{buffer_.Text(sizeof(TVITEMA)), query.iImage};
    }

    HTREEITEM Next(HTREEITEM item, UINT relation) const {
        return reinterpret_cast<HTREEITEM>(
            SendMessageA(tree_, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
    }
    std::vector<HTREEITEM> Children(HTREEITEM parent) const {
        std::vector<HTREEITEM> children;
        HTREEITEM child = parent ? Next(parent, TVGN_CHILD) : Next(nullptr, TVGN_ROOT);
        for (; child; child = Next(child, TVGN_NEXT)) children.push_back(child);
        return children;
    }
    std::vector<std::string> ChildLabels(HTREEITEM parent) const {
        std::vector<std::string> labels;
        for (HTREEITEM child : Children(parent)) {
            std::optional<Item> item = Read(child);
            labels.push_back(item ? item->label : "<unreadable>");
        }
        return labels;
    }
    HTREEITEM Child(HTREEITEM parent, const std::string& label) const {
        for (HTREEITEM child : Children(parent)) {
            std::optional<Item> item = Read(child);
            if (item && UpperName(item->label) == UpperName(label)) return child;
        }
        return nullptr;
    }

private:
    HWND tree_;
    RemoteBuffer buffer_;
};

// The page's view of a box: its rectangle in the page's client coordinates.
RECT BoxArea(HWND page, HWND box) {
    RECT area{};
    GetWindowRect(box, &area);
    MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&area), 2);
    return area;
}

// A screenshot once the window and its controls have painted what they show now.
bool Picture(HWND frame, const std::string& name) {
    RedrawWindow(frame, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    test::Settle(frame);
    Sleep(200);
    return test::Screenshot(frame, name);
}

// A drive root no drive answers to ("Q:").
std::string AbsentDrive() {
    const DWORD drives = GetLogicalDrives();
    for (char letter = 'Q'; letter <= 'Y'; ++letter) {
        if (!(drives & (1u << (letter - 'A')))) return std::string(1, letter) + ":";
    }
    return "B:";
}

bool WaitForFile(const std::string& path, DWORD timeoutMs = test::kGuiTimeoutMs) {
    const DWORD start = GetTickCount();
    while (!test::FileExists(path)) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(50);
    }
    return true;
}

class DataPagesGuiTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!test::DisplayAvailable()) GTEST_SKIP() << "no display";
    }

    HWND Start(const std::string& pageTasks, bool welcome = false) {
        const std::string setup = BuildSetup(dir_, PagesProject(pageTasks, welcome));
        if (setup.empty() || !process_.Start(setup)) return nullptr;
        return test::WaitForWizard(process_.Id(), 30000);
    }
    void Next(HWND frame) { ASSERT_TRUE(test::PressItem(frame, IDC_WIZARD_NEXT)); }
    void Back(HWND frame) { ASSERT_TRUE(test::PressItem(frame, IDC_WIZARD_BACK)); }
    // The shown page, which must hold control `id`.
    HWND PageWith(HWND frame, int id) {
        HWND page = test::VisiblePage(frame);
        EXPECT_NE(page ? GetDlgItem(page, id) : nullptr, nullptr) << "page without control " << id;
        return page;
    }
    // The control that has the keyboard focus once the wizard has handled what it was sent.
    HWND Focused(HWND frame) {
        test::Settle(frame);
        return test::FocusedWindow(frame);
    }
    // Next on a page that refuses: a message says `said` (saved as `shot` when given), and once
    // it is answered the page is still shown with the focus in its control `edit`.
    void ExpectRefusal(HWND frame, HWND page, int edit, const std::string& said,
                       const char* shot = nullptr) {
        ASSERT_TRUE(test::ClickItem(frame, IDC_WIZARD_NEXT));
        HWND box = test::WaitForMessageBox(process_.Id(), frame);
        ASSERT_NE(box, nullptr) << "no message says why the page stays";
        EXPECT_NE(test::MessageBoxText(box).find(said), std::string::npos)
            << test::MessageBoxText(box);
        if (shot) {
            EXPECT_TRUE(test::Screenshot(box, shot));
        }
        ASSERT_TRUE(test::ClickItem(box, IDOK));
        ASSERT_TRUE(test::WaitForWindowGone(box));
        EXPECT_EQ(test::VisiblePage(frame), page);
        EXPECT_EQ(Focused(frame), GetDlgItem(page, edit));
    }
    // Waits until the install has ended and the finish page is shown (Next reads Finish).
    bool WaitForFinishPage(HWND frame) {
        const std::string finish = EnglishText(TextKey::CompleteButtonDesc);
        const DWORD start = GetTickCount();
        while (test::ItemText(frame, IDC_WIZARD_NEXT) != finish) {
            if (GetTickCount() - start > test::kGuiTimeoutMs) return false;
            Sleep(50);
        }
        return test::Settle(frame);
    }

    test::TempDir dir_;
    test::ChildProcess process_;
};

TEST_F(DataPagesGuiTest, UserInformationIsWrittenToTheRegistryOnEveryLeave) {
    DeleteProductKey();
    HWND frame = Start(PageTask("2006", true) +
                       PageTask("2005", true,
                                EditBox("10002", "|RegisterInfoUserDesc|", "UserName") +
                                    EditBox("10003", "|registerinfocompanydesc|", "Company") +
                                    EditBox("10004", "|ProjectName|", "Other")) +
                       PageTask("2007", true));
    ASSERT_NE(frame, nullptr) << "the wizard did not appear";
    Next(frame);
    HWND page = PageWith(frame, IDC_USER_NAME);
    ASSERT_NE(page, nullptr);
    // The fields start with what Windows was registered to.
    const char kCurrentVersion[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
    std::string owner = RegistryText(HKEY_LOCAL_MACHINE, kCurrentVersion, "RegisteredOwner");
    std::string organization =
        RegistryText(HKEY_LOCAL_MACHINE, kCurrentVersion, "RegisteredOrganization");
    EXPECT_EQ(test::ItemText(page, IDC_USER_NAME), owner[0] == '<' ? "" : owner);
    EXPECT_EQ(test::ItemText(page, IDC_USER_COMPANY), organization[0] == '<' ? "" : organization);
    EXPECT_EQ(test::ItemText(page, IDC_USER_NAME_LABEL),
              EnglishText(TextKey::RegisterInfoUserDesc));

    // Left by Back: written.
    ASSERT_TRUE(test::SetItemText(page, IDC_USER_NAME, "Ann Example"));
    ASSERT_TRUE(test::SetItemText(page, IDC_USER_COMPANY, "Example Works"));
    EXPECT_TRUE(Picture(frame, "DataPages-UserInformation.bmp"));
    Back(frame);
    PageWith(frame, IDC_PROGRAM_FOLDER_NAME);
    EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, kProductKey, "UserName"), "Ann Example");
    EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, kProductKey, "Company"), "Example Works");
    EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, kProductKey, "Other"), "<no value>");

    // Left by Next with newer texts: written over.
    Next(frame);
    ASSERT_TRUE(test::SetItemText(page, IDC_USER_NAME, "Bob Example"));
    ASSERT_TRUE(test::SetItemText(page, IDC_USER_COMPANY, "Example Works Ltd"));
    Next(frame);
    PageWith(frame, IDC_DESTINATION_PATH);
    EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, kProductKey, "UserName"), "Bob Example");
    EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, kProductKey, "Company"), "Example Works Ltd");

    EXPECT_TRUE(test::LeaveWizard(process_.Id()));
    EXPECT_EQ(process_.WaitForExit(), 2);
    DeleteProductKey();
}

TEST_F(DataPagesGuiTest, AnExistingStartMenuFolderIsPickedAndUnusableNamesKeepThePage) {
    PathResolver paths(HostSystemFacts(), HostRegistry());
    const std::string programs = paths.Resolve("[Start Menu]");
    ASSERT_FALSE(programs.empty());
    const std::string picked = programs + "\\Vesk Picked Folder";
    std::error_code made;
    fs::create_directories(picked, made);
    fs::create_directories(programs + "\\.Vesk Dot Folder", made);
    test::WriteWholeFile(programs + "\\Vesk File.txt", "not a folder");

    HWND frame = Start(PageTask("2006", true) + PageTask("2007", true));
    ASSERT_NE(frame, nullptr) << "the wizard did not appear";
    HWND page = PageWith(frame, IDC_PROGRAM_FOLDER_NAME);
    ASSERT_NE(page, nullptr);
    // The proposed name is shown (the builder's default: the product name).
    EXPECT_EQ(test::ItemText(page, IDC_PROGRAM_FOLDER_NAME), "Pages");

    HWND list = GetDlgItem(page, IDC_PROGRAM_FOLDER_LIST);
    const std::vector<std::string> names = ListTexts(list, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT);
    EXPECT_TRUE(std::is_sorted(
        names.begin(), names.end(),
        [](const std::string& a, const std::string& b) { return UpperName(a) < UpperName(b); }));
    const auto at = std::find(names.begin(), names.end(), "Vesk Picked Folder");
    std::string listed;
    for (const std::string& name : names) listed += "\n  " + name;
    ASSERT_NE(at, names.end()) << "the existing folder is not listed; the list:" << listed;
    EXPECT_EQ(std::count(names.begin(), names.end(), ".Vesk Dot Folder"), 0);
    EXPECT_EQ(std::count(names.begin(), names.end(), "Vesk File.txt"), 0);

    // Picking the folder puts its name into the edit.
    SendMessageA(list, LB_SETCURSEL, WPARAM(at - names.begin()), 0);
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_PROGRAM_FOLDER_LIST, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
    EXPECT_EQ(test::ItemText(page, IDC_PROGRAM_FOLDER_NAME), "Vesk Picked Folder");
    EXPECT_TRUE(Picture(frame, "DataPages-ProgramFolder.bmp"));

    // Names Windows cannot hold keep the page, and the user is told why; a usable one goes on.
    for (const char* name : {"Bad|Name", "Tools.", "Vendor\\CON"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(test::SetItemText(page, IDC_PROGRAM_FOLDER_NAME, name));
        ExpectRefusal(frame, page, IDC_PROGRAM_FOLDER_NAME,
                      EnglishText(TextKey::FolderNameErrorDesc) + name);
    }
    ASSERT_TRUE(test::SetItemText(page, IDC_PROGRAM_FOLDER_NAME, "Vendor\\Tool"));
    Next(frame);
    PageWith(frame, IDC_DESTINATION_PATH);

    EXPECT_TRUE(test::LeaveWizard(process_.Id()));
    EXPECT_EQ(process_.WaitForExit(), 2);
    RemoveDirectoryA(picked.c_str());
    RemoveDirectoryA((programs + "\\.Vesk Dot Folder").c_str());
    DeleteFileA((programs + "\\Vesk File.txt").c_str());
}

TEST_F(DataPagesGuiTest, TheTreeAndTheDriveListProposeFoldersWithTheTail) {
    // The project's folder is proposed only while no earlier install (the typed-destination
    // case, run before this one or not) left its folder in the engine's key or its record; its
    // version subkey goes first, as a key with subkeys is not deleted.
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\VeskSoft\\VeskInstall\\Pages\\1.0");
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\VeskSoft\\VeskInstall\\Pages");
    std::error_code ec;
    std::filesystem::remove_all(test::SystemFolder() + "\\VeskInstall\\Records", ec);
    HWND frame = Start(PageTask("2006", false) + PageTask("2007", true));
    ASSERT_NE(frame, nullptr) << "the wizard did not appear";
    HWND page = PageWith(frame, IDC_DESTINATION_PATH);
    ASSERT_NE(page, nullptr);
    const std::string programFiles =
        PathResolver(HostSystemFacts(), HostRegistry()).Resolve("[Program Files]");
    const std::string proposed = programFiles + "\\Vesk Data Pages\\Pages";
    EXPECT_EQ(test::ItemText(page, IDC_DESTINATION_PATH), proposed);
    // The product folder holds 5000000 bytes.
    EXPECT_EQ(test::ItemText(page, IDC_DESTINATION_SIZE),
              EnglishText(TextKey::ChangePathSoftSizeDesc1) + " 4.76 MB " +
                  EnglishText(TextKey::ChangePathSoftSizeDesc2));

    // The drive list: every line a fixed or removable drive, the default path's selected.
    HWND drives = GetDlgItem(page, IDC_DESTINATION_DRIVES);
    const std::vector<std::string> lines =
        ListTexts(drives, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
    ASSERT_FALSE(lines.empty());
    const LRESULT selected = SendMessageA(drives, CB_GETCURSEL, 0, 0);
    ASSERT_GE(selected, 0);
    const std::string diskC = EnglishText(TextKey::ChangePathFreeSpaceDesc1) + "C" +
                              EnglishText(TextKey::ChangePathFreeSpaceDesc2) + " ";
    EXPECT_EQ(lines[std::size_t(selected)].rfind(diskC, 0), 0u) << lines[std::size_t(selected)];
    for (const std::string& line : lines) {
        EXPECT_NE(line.find(" MB " + EnglishText(TextKey::ChangePathFreeSpaceDesc3)),
                  std::string::npos)
            << line;
        EXPECT_EQ(line.find(EnglishText(TextKey::ChangePathFreeSpaceDesc1) + "A"),
                  std::string::npos);
    }

    // The tree: drive C as its top, listed, with the system's icons.
    HWND treeWindow = GetDlgItem(page, IDC_DESTINATION_TREE);
    RemoteTree tree(treeWindow, process_.Id());
    ASSERT_TRUE(tree.Ready());
    EXPECT_NE(SendMessageA(treeWindow, TVM_GETIMAGELIST, TVSIL_NORMAL, 0), 0) << "no icons";
    const std::vector<HTREEITEM> tops = tree.Children(nullptr);
    ASSERT_EQ(tops.size(), 1u);
    std::optional<RemoteTree::Item> top = tree.Read(tops[0]);
    ASSERT_TRUE(top);
    EXPECT_EQ(top->label, "C:");
    EXPECT_GE(top->image, 0);
    const std::vector<std::string> folders = tree.ChildLabels(tops[0]);
    EXPECT_TRUE(std::is_sorted(
        folders.begin(), folders.end(),
        [](const std::string& a, const std::string& b) { return UpperName(a) < UpperName(b); }));
    EXPECT_TRUE(Picture(frame, "DataPages-Destination.bmp"));

    // Picking a folder proposes it with the tail; expanding it lists its folders.
    HTREEITEM windows = tree.Child(tops[0], "windows");
    ASSERT_NE(windows, nullptr) << "no Windows folder below C:";
    const std::string windowsLabel = tree.Read(windows)->label;
    SendMessageA(treeWindow, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(windows));
    EXPECT_EQ(test::ItemText(page, IDC_DESTINATION_PATH),
              "C:\\" + windowsLabel + "\\Vesk Data Pages\\Pages");
    SendMessageA(treeWindow, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(windows));
    EXPECT_NE(tree.Child(windows, "system32"), nullptr) << "the expanded folder was not listed";
    HTREEITEM system32 = tree.Child(windows, "system32");
    if (system32) {
        SendMessageA(treeWindow, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(system32));
        EXPECT_EQ(
            test::ItemText(page, IDC_DESTINATION_PATH),
            "C:\\" + windowsLabel + "\\" + tree.Read(system32)->label + "\\Vesk Data Pages\\Pages");
    }
    EXPECT_TRUE(Picture(frame, "DataPages-DestinationTree.bmp"));

    // Picking another drive shows its folders and proposes its Program Files folder.
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i == std::size_t(selected)) continue;
        const char letter = lines[i][EnglishText(TextKey::ChangePathFreeSpaceDesc1).size()];
        SendMessageA(drives, CB_SETCURSEL, WPARAM(i), 0);
        SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_DESTINATION_DRIVES, CBN_SELENDOK),
                     reinterpret_cast<LPARAM>(drives));
        std::string expected = proposed;
        expected[0] = letter;
        EXPECT_EQ(test::ItemText(page, IDC_DESTINATION_PATH), expected);
        const std::vector<HTREEITEM> newTops = tree.Children(nullptr);
        ASSERT_EQ(newTops.size(), 1u);
        EXPECT_EQ(tree.Read(newTops[0])->label, std::string(1, letter) + ":");
        EXPECT_TRUE(Picture(frame, "DataPages-DestinationDrive.bmp"));
        break;
    }
    // And back to drive C.
    SendMessageA(drives, CB_SETCURSEL, WPARAM(selected), 0);
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_DESTINATION_DRIVES, CBN_SELENDOK),
                 reinterpret_cast<LPARAM>(drives));
    EXPECT_EQ(test::ItemText(page, IDC_DESTINATION_PATH), proposed);

    EXPECT_TRUE(test::LeaveWizard(process_.Id()));
    EXPECT_EQ(process_.WaitForExit(), 2);
}

TEST_F(DataPagesGuiTest, ATypedDestinationBecomesTheInstallFolderAndOnlyCheckedProgramsRun) {
    // In the test's own folder, which goes with everything in it when the test ends.
    const std::string top = dir_ / "vesk data pages";
    const std::string destination = top + "\\deeper\\Pages Here";
    SetEnvironmentVariableA("VESK_TEST_MARKER", "ran.txt");  // written where a program starts
    HWND frame = Start(PageTask("2006", false) + PageTask("2007", true) + PageTask("2008", true) +
                       PageTask("2010", true,
                                RunApp(kFirstProgramBox, "Start the first program", "Exit_With.EXE",
                                       "[InstallDir]") +
                                    RunApp(kSecondProgramBox, "Do not start this second program",
                                           "exit_with.exe", "[InstallDir]\\other")));
    SetEnvironmentVariableA("VESK_TEST_MARKER", nullptr);
    ASSERT_NE(frame, nullptr) << "the wizard did not appear";
    HWND page = PageWith(frame, IDC_DESTINATION_PATH);
    ASSERT_NE(page, nullptr);

    // What cannot be committed keeps the page, says why, and nothing is created: names Windows
    // cannot hold, and a folder on a drive that is not there.
    for (const std::string& typed :
         {std::string("C:"), top + "\\a?b", top + "\\CON\\x", top + "."}) {
        SCOPED_TRACE(typed);
        ASSERT_TRUE(test::SetItemText(page, IDC_DESTINATION_PATH, typed));
        ExpectRefusal(frame, page, IDC_DESTINATION_PATH,
                      EnglishText(TextKey::FolderNameErrorDesc) + typed,
                      typed == "C:" ? "DataPages-RefusedName.bmp" : nullptr);
    }
    const std::string absent = AbsentDrive() + "\\Vesk\\Pages";
    ASSERT_TRUE(test::SetItemText(page, IDC_DESTINATION_PATH, absent));
    ExpectRefusal(frame, page, IDC_DESTINATION_PATH,
                  EnglishText(TextKey::CreateFolderErrorDesc) + absent,
                  "DataPages-RefusedFolder.bmp");
    EXPECT_FALSE(fs::exists(top));

    // A usable path, with one trailing separator: created, and the install goes there.
    ASSERT_TRUE(test::SetItemText(page, IDC_DESTINATION_PATH, destination + "\\"));
    Next(frame);
    PageWith(frame, IDC_PROGRESS_BAR);
    EXPECT_TRUE(fs::is_directory(destination)) << destination;
    // The programs the finish page may start, in the install folder and below it.
    CreateDirectoryA((destination + "\\other").c_str(), nullptr);
    EXPECT_TRUE(CopyFileA(VESK_EXIT_WITH_PATH, (destination + "\\Exit_With.EXE").c_str(), FALSE));
    EXPECT_TRUE(
        CopyFileA(VESK_EXIT_WITH_PATH, (destination + "\\other\\exit_with.exe").c_str(), FALSE));

    ASSERT_TRUE(WaitForFinishPage(frame)) << "no finish page";
    HWND finish = test::VisiblePage(frame);
    ASSERT_NE(finish, nullptr);
    HWND first = GetDlgItem(finish, kFirstProgramBox),
         second = GetDlgItem(finish, kSecondProgramBox);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(test::TextOf(first), "Start the first program");
    EXPECT_EQ(SendMessageA(first, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageA(second, BM_GETCHECK, 0, 0), BST_CHECKED);
    // One column centred on the longest caption (32 characters, wider when its font needs
    // more than 6 pixels a character), the second box 18 pixels lower.
    RECT client{}, one = BoxArea(finish, first), two = BoxArea(finish, second);
    GetClientRect(finish, &client);
    EXPECT_GE(two.right - two.left, 18 + 32 * 6);
    EXPECT_EQ(one.left, (client.right - (two.right - two.left)) / 2);
    EXPECT_EQ(two.left, one.left);
    EXPECT_EQ(two.top - one.top, 18);
    EXPECT_EQ(one.top, (client.bottom - 2 * 18) / 2);
    EXPECT_TRUE(Picture(frame, "DataPages-FinishPrograms.bmp"));

    SendMessageA(second, BM_SETCHECK, BST_UNCHECKED, 0);
    // Finish pressed twice before the wizard has gone (a double-click) acts once.
    ASSERT_TRUE(test::ClickItem(frame, IDC_WIZARD_NEXT));
    ASSERT_TRUE(test::ClickItem(frame, IDC_WIZARD_NEXT));
    EXPECT_EQ(process_.WaitForExit(), 0);
    // The checked program ran once, in the install folder; the unchecked one never started.
    ASSERT_TRUE(WaitForFile(destination + "\\ran.txt")) << "the checked program did not run";
    Sleep(500);
    EXPECT_EQ(test::ReadWholeFile(destination + "\\ran.txt"), destination);
    EXPECT_FALSE(test::FileExists(destination + "\\other\\ran.txt"));
}

TEST_F(DataPagesGuiTest, AFolderTypedBeforeOtherPagesIsWhereTheProductGoesAndFocusFollows) {
    const std::string destination = dir_ / "typed first\\Pages";
    test::ScopedEnvironment marker("VESK_TEST_MARKER", "ran.txt");  // where the program starts
    HWND frame = Start(PageTask("2006", false) + PageTask("2007", true) + PageTask("2005", true) +
                           PageTask("2008", true) +
                           PageTask("2010", true,
                                    RunApp(kFirstProgramBox, "Start the program", "exit_with.exe",
                                           "[InstallDir]")),
                       true);
    ASSERT_NE(frame, nullptr) << "the wizard did not appear";
    // Welcome: Back leads nowhere and is disabled; Next has the focus.
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(frame, IDC_WIZARD_BACK)));
    EXPECT_EQ(Focused(frame), GetDlgItem(frame, IDC_WIZARD_NEXT));
    Next(frame);
    HWND page = PageWith(frame, IDC_DESTINATION_PATH);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(Focused(frame), GetDlgItem(page, IDC_DESTINATION_PATH));
    ASSERT_TRUE(test::SetItemText(page, IDC_DESTINATION_PATH, destination));
    // Left forward, the destination is committed, though the progress page does not follow.
    Next(frame);
    HWND user = PageWith(frame, IDC_USER_NAME);
    EXPECT_TRUE(fs::is_directory(destination)) << destination;
    EXPECT_EQ(Focused(frame), GetDlgItem(user, IDC_USER_NAME));
    ASSERT_TRUE(CopyFileA(VESK_EXIT_WITH_PATH, (destination + "\\exit_with.exe").c_str(), FALSE));

    // The progress page: Back and Next are disabled, so Cancel has the focus; under the status
    // the file being written.
    Next(frame);
    HWND progress = PageWith(frame, IDC_PROGRESS_BAR);
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(Focused(frame), GetDlgItem(frame, IDC_WIZARD_CANCEL));
    const DWORD start = GetTickCount();
    std::string item;
    while (item.empty() && GetTickCount() - start < test::kGuiTimeoutMs) {
        item = test::ItemText(progress, IDC_PROGRESS_ITEM);
        if (item.empty()) Sleep(5);
    }
    EXPECT_EQ(item, destination + "\\readme.txt");
    EXPECT_TRUE(test::Screenshot(frame, "DataPages-ProgressFile.bmp"));

    ASSERT_TRUE(WaitForFinishPage(frame)) << "no finish page";
    HWND finish = test::VisiblePage(frame);
    EXPECT_EQ(Focused(frame), GetDlgItem(finish, kFirstProgramBox));
    // Enter with the focus on the box presses nothing: the wizard stays.
    ASSERT_TRUE(test::PressKey(GetDlgItem(finish, kFirstProgramBox), VK_RETURN));
    EXPECT_TRUE(test::Settle(frame));
    EXPECT_TRUE(IsWindowVisible(frame));
    Next(frame);
    EXPECT_EQ(process_.WaitForExit(), 0);
    EXPECT_EQ(test::ReadWholeFile(destination + "\\readme.txt"), std::string(5000000, 'x'));
    ASSERT_TRUE(WaitForFile(destination + "\\ran.txt")) << "the checked program did not run";
}

TEST_F(DataPagesGuiTest, FoldersCommittedBeforeTheInstallGoWhenTheyAreNotUsed) {
    const std::string first = dir_ / "first\\deep", second = dir_ / "second";
    HWND frame = Start(PageTask("2006", false) + PageTask("2007", true) + PageTask("2005", true));
    ASSERT_NE(frame, nullptr) << "the wizard did not appear";
    HWND page = PageWith(frame, IDC_DESTINATION_PATH);
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(test::SetItemText(page, IDC_DESTINATION_PATH, first));
    Next(frame);
    EXPECT_TRUE(fs::is_directory(first));
    // Back, another folder: the first one's folders go, the second is made.
    Back(frame);
    ASSERT_TRUE(test::SetItemText(page, IDC_DESTINATION_PATH, second));
    Next(frame);
    EXPECT_FALSE(fs::exists(dir_ / "first"));
    EXPECT_TRUE(fs::is_directory(second));
    // Left before the install: nothing the wizard made stays.
    EXPECT_TRUE(test::LeaveWizard(process_.Id()));
    EXPECT_EQ(process_.WaitForExit(), 2);
    EXPECT_FALSE(fs::exists(second));
}

TEST_F(DataPagesGuiTest, TheRestartVariantOffersItsBoxAndUncheckedRestartsNothing) {
    HWND frame = Start(PageTask("2006", false) + PageTask("2007", false) + PageTask("2008", true) +
                       PageTask("2009", true));
    ASSERT_NE(frame, nullptr) << "the wizard did not appear";
    ASSERT_TRUE(WaitForFinishPage(frame)) << "no finish page";
    HWND finish = test::VisiblePage(frame);
    ASSERT_NE(finish, nullptr);
    HWND box = GetDlgItem(finish, IDC_FINISH_RESTART);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(test::TextOf(box), EnglishText(TextKey::ShowFinishDesc1));
    EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_CHECKED);
    RECT client{}, area = BoxArea(finish, box);
    GetClientRect(finish, &client);
    const int length = int(EnglishText(TextKey::ShowFinishDesc1).size());
    EXPECT_GE(area.right - area.left, 18 + length * 6);
    EXPECT_EQ(area.left, (client.right - (area.right - area.left)) / 2);
    EXPECT_EQ(area.top, (client.bottom - 18) / 2);
    EXPECT_TRUE(Picture(frame, "DataPages-FinishRestart.bmp"));
    // Checked, Finish would restart this machine: the restart itself is proven natively.
    SendMessageA(box, BM_SETCHECK, BST_UNCHECKED, 0);
    Next(frame);
    // Installed, and the restart the product asks for is still to be made.
    EXPECT_EQ(process_.WaitForExit(), 3010);
}

}  // namespace
}  // namespace vesk
