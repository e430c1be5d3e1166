// The install's operations on the real system: a font added and listed for later starts, a
// registry data file applied to the registry, components run or opened through the shell.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "GuiDriver.h"
#include "install/Components.h"
#include "install/Fonts.h"
#include "install/RegistryDataFile.h"
#include "project/PathResolver.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

constexpr char kScratchKey[] = "Software\\VeskTest\\Operations";
// The demo font renamed (same length, so every table stays in place): a family the system cannot
// know before the test adds it.
constexpr char kDemoFamily[] = "DejaVu Sans Mono";
constexpr char kTestFamily[] = "VeskTestSansMono";
constexpr char kTestFontName[] = "VeskTestSansMono (TrueType)";

std::string WithoutSlash(std::string folder) {
    if (folder.size() > 3 && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
    return folder;
}

std::string Utf16(const std::string& ascii) {
    std::string bytes;
    for (char c : ascii) bytes += std::string(1, '\0') + c;
    return bytes;
}

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
        text.replace(at, from.size(), to);
        at += to.size();
    }
}

std::string TestFontBytes() {
    std::string bytes = test::ReadWholeFile(std::string(VESK_SOURCE_DIR) +
                                            "/examples/demo/fonts/DejaVuSansMono.ttf");
    ReplaceAll(bytes, kDemoFamily, kTestFamily);
    ReplaceAll(bytes, Utf16(kDemoFamily), Utf16(kTestFamily));
    return bytes;
}

int CALLBACK NoteFamily(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

// Whether programs can use a font family now.
bool FamilyKnown(const std::string& family) {
    LOGFONTA font{};
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(font.lfFaceName, family.c_str(), LF_FACESIZE);
    bool found = false;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExA(screen, &font, NoteFamily, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

// A value as the system stores it; nullopt when absent.
std::optional<std::string> RawValue(HKEY root, const std::string& path, const std::string& name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return std::nullopt;
    DWORD type = 0, size = 0;
    std::optional<std::string> data;
    if (RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
        std::string bytes(size, '\0');
        if (RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&bytes[0]),
                             &size) == ERROR_SUCCESS &&
            type == REG_SZ) {
            data = bytes.substr(0, size);
        }
    }
    RegCloseKey(key);
    return data;
}

// Deletes root\path and every key below it.
void DeleteTree(HKEY root, const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
        std::vector<std::string> children;
        char child[256];
        for (DWORD i = 0; RegEnumKeyA(key, i, child, sizeof child) == ERROR_SUCCESS; ++i) {
            children.push_back(child);
        }
        RegCloseKey(key);
        for (const std::string& name : children) DeleteTree(root, path + "\\" + name);
    }
    RegDeleteKeyA(root, path.c_str());
}

bool SetDefaultValue(HKEY root, const std::string& path, const std::string& text) {
    HKEY key = nullptr;
    if (RegCreateKeyA(root, path.c_str(), &key) != ERROR_SUCCESS) return false;
    const bool set =
        RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       DWORD(text.size() + 1)) == ERROR_SUCCESS;
    RegCloseKey(key);
    return set;
}

// A hidden top-level window that counts the font-change broadcasts it receives.
class FontChangeListener {
public:
    FontChangeListener() {
        changes_ = 0;
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = Procedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "VeskFontChangeListener";
        RegisterClassA(&windowClass);
        window_ = CreateWindowExA(0, windowClass.lpszClassName, "", WS_OVERLAPPED, 0, 0, 10, 10,
                                  nullptr, nullptr, windowClass.hInstance, nullptr);
    }
    ~FontChangeListener() {
        if (window_) DestroyWindow(window_);
    }
    // Handles what has arrived (waiting a little for the first); the broadcasts so far.
    int Changes() {
        MSG message;
        for (int round = 0; round < 20 && changes_ == 0; ++round) {
            Sleep(10);
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        }
        return changes_;
    }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_FONTCHANGE) ++changes_;
        return DefWindowProcA(window, message, wParam, lParam);
    }

    static int changes_;
    HWND window_ = nullptr;
};
int FontChangeListener::changes_ = 0;

TEST(InstallOperationsWin32Test, AddFontAddsTheFontAndListsItForLaterStarts) {
    const std::string fontsFolder = HostFonts().FontsFolder();
    ASSERT_FALSE(fontsFolder.empty());
    ASSERT_FALSE(FamilyKnown(kTestFamily));
    test::TempDir dir;
    ASSERT_TRUE(CreateDirectoryA((dir / "my fonts").c_str(), nullptr));
    struct Case {
        std::string path;
        std::string listed;  // the data of the font's value under the fonts key
    };
    const Case cases[] = {
        {dir / "my fonts\\Vesk Test.ttf", dir / "my fonts\\Vesk Test.ttf"},
        {fontsFolder + "\\VeskTestSansMono.ttf", "VeskTestSansMono.ttf"},
    };
    const bool display = test::DisplayAvailable();
    for (const Case& c : cases) {
        ASSERT_TRUE(test::WriteWholeFile(c.path, TestFontBytes())) << c.path;
        FontChangeListener listener;
        AddFont(HostFonts(), c.path);
        EXPECT_TRUE(FamilyKnown(kTestFamily)) << c.path;
        EXPECT_EQ(RawValue(HKEY_LOCAL_MACHINE, kNtFontsKey, kTestFontName), c.listed + '\0');
        if (display) {
            EXPECT_EQ(listener.Changes(), 1) << c.path;
        }
        RemoveFontResourceA(c.path.c_str());
        DeleteFileA(c.path.c_str());
    }
    HKEY fontsKey = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kNtFontsKey, 0, KEY_SET_VALUE, &fontsKey),
              ERROR_SUCCESS);
    RegDeleteValueA(fontsKey, kTestFontName);
    RegCloseKey(fontsKey);
}

TEST(InstallOperationsWin32Test, ARegistryDataFileReachesTheRegistry) {
    DeleteTree(HKEY_CURRENT_USER, kScratchKey);
    const std::string key = std::string(kScratchKey) + "\\Data";
    const std::string longData(5000, 'l');
    test::TempDir dir;
    ASSERT_TRUE(test::WriteWholeFile(
        dir / "settings.reg",
        "\"Early\"=\"1\"\r\n\r\n[HKEY_CURRENT_USER\\" + key + "]\r\n" +
            "\"Path\"=\"C:\\Program Files\\Vesk\\\"\r\n\"\"=\"default\"\r\n\"Long\"=\"" + longData +
            "\"\r\n\"Last\"=\"no line end\""));
    ApplyRegistryDataFile(HostRegistry(), dir / "settings.reg");

    EXPECT_EQ(RawValue(HKEY_CURRENT_USER, key, "Path"),
              std::string("C:\\Program Files\\Vesk\\", 23));
    EXPECT_EQ(RawValue(HKEY_CURRENT_USER, key, ""), std::string("default", 8));
    EXPECT_EQ(RawValue(HKEY_CURRENT_USER, key, "Long"), longData + '\0');
    EXPECT_FALSE(RawValue(HKEY_CURRENT_USER, key, "Early"));
    EXPECT_FALSE(RawValue(HKEY_CURRENT_USER, key, "Last"));
    DeleteTree(HKEY_CURRENT_USER, kScratchKey);
    HKEY gone = nullptr;
    EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, kScratchKey, 0, KEY_READ, &gone), ERROR_SUCCESS);
}

class ComponentsWin32Test : public ::testing::Test {
protected:
    // RunAndWait makes the program's folder current; it is given back before the folder goes.
    void SetUp() override { GetCurrentDirectoryA(sizeof currentFolder_, currentFolder_); }
    void TearDown() override {
        SetEnvironmentVariableA("VESK_TEST_MARKER", nullptr);
        SetCurrentDirectoryA(currentFolder_);
    }

    bool Register(const std::string& value) {
        PathResolver paths(HostSystemFacts(), HostRegistry(), WithoutSlash(dir_.Path()));
        return RegisterComponent(value, paths, HostProcesses(),
                                 [this](const std::string& text) { notices_.push_back(text); });
    }

    test::TempDir dir_;
    std::vector<std::string> notices_;

private:
    char currentFolder_[MAX_PATH + 1] = {};
};

TEST_F(ComponentsWin32Test, AProgramRunsInItsFolderAndIsWaitedFor) {
    ASSERT_TRUE(CreateDirectoryA((dir_ / "my tools").c_str(), nullptr));
    ASSERT_TRUE(CopyFileA(VESK_EXIT_WITH_PATH, (dir_ / "my tools\\exit with.EXE").c_str(), FALSE));
    SetEnvironmentVariableA("VESK_TEST_MARKER", (dir_ / "marker.txt").c_str());
    EXPECT_FALSE(Register("[InstallDir]\\my tools\\exit with.EXE"));
    // Waited for: the marker is there as soon as the call returns.
    EXPECT_EQ(
        lstrcmpiA(test::ReadWholeFile(dir_ / "marker.txt").c_str(), (dir_ / "my tools").c_str()),
        0);
    EXPECT_TRUE(notices_.empty());
}

TEST_F(ComponentsWin32Test, ADocumentIsOpenedWithItsProgram) {
    // A document type whose program is the test helper, which leaves a marker when it runs.
    constexpr char kType[] = "VeskTest.Document";
    ASSERT_TRUE(CreateDirectoryA((dir_ / "viewer").c_str(), nullptr));
    const std::string viewer = dir_ / "viewer\\view it.exe";
    ASSERT_TRUE(CopyFileA(VESK_EXIT_WITH_PATH, viewer.c_str(), FALSE));
    ASSERT_TRUE(SetDefaultValue(HKEY_CLASSES_ROOT, ".vesktestdoc", kType));
    ASSERT_TRUE(SetDefaultValue(HKEY_CLASSES_ROOT, std::string(kType) + "\\shell\\open\\command",
                                "\"" + viewer + "\" \"%1\""));
    ASSERT_TRUE(test::WriteWholeFile(dir_ / "read me.VeskTestDoc", "document"));
    SetEnvironmentVariableA("VESK_TEST_MARKER", (dir_ / "marker.txt").c_str());

    EXPECT_TRUE(Register("[InstallDir]\\read me.VeskTestDoc"));
    const DWORD start = GetTickCount();
    while (!test::FileExists(dir_ / "marker.txt") && GetTickCount() - start < test::kGuiTimeoutMs) {
        Sleep(50);
    }
    EXPECT_TRUE(test::FileExists(dir_ / "marker.txt"));
    // A document no program takes (text files in the tests' Wine prefix) fails nothing either.
    ASSERT_TRUE(test::WriteWholeFile(dir_ / "read me.txt", "text"));
    EXPECT_TRUE(Register("[InstallDir]\\read me.txt"));
    EXPECT_TRUE(notices_.empty());

    DeleteTree(HKEY_CLASSES_ROOT, ".vesktestdoc");
    DeleteTree(HKEY_CLASSES_ROOT, kType);
}

}  // namespace
}  // namespace vesk
