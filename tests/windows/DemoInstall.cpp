// Building, removing and checking the demo's install for the Windows tests.
#include "DemoInstall.h"

#include <gtest/gtest.h>
// After windows.h, which they need.
#include <objidl.h>
#include <shlobj.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>

#include "EnglishTexts.h"
#include "builder/SetupBuilder.h"
#include "install/UserInformation.h"
#include "platform/ComPointerWin32.h"
#include "platform/SystemFacts.h"
#include "project/LanguageTable.h"

namespace vesk::test {

namespace fs = std::filesystem;

namespace {

const std::string kLogName = "VeskInstall Vesk Demo 1.2.xml";
// How far volume 1 reaches beyond the engine: its branding, the start-up files and a few product
// files.
constexpr std::uintmax_t kVolumeOneProductBytes = 100 * 1024;

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

void ExpectFilesAndLog(const std::string& folder, const TempDir& dir) {
    // Every product file byte for byte, with its time; the file of task 2409 is gone again.
    std::map<std::string, std::string> expected = FilesBelow(DemoFile("product"));
    expected.erase("data/first-run.tmp");
    std::map<std::string, std::string> installed = FilesBelow(folder);
    ASSERT_EQ(installed.count(kLogName), 1u) << "no log in the install folder";
    const std::string logText = installed[kLogName];
    installed.erase(kLogName);
    EXPECT_EQ(installed, expected);
    for (const auto& file : expected) {
        const auto installedTime = fs::last_write_time(folder + "\\" + file.first);
        const auto sourceTime = fs::last_write_time(dir.Path() + "demo\\product\\" + file.first);
        EXPECT_LT(std::chrono::abs(
                      std::chrono::duration_cast<std::chrono::seconds>(installedTime - sourceTime))
                      .count(),
                  2)
            << file.first;
    }
    EXPECT_TRUE(fs::is_directory(folder + "\\logs"));
    EXPECT_EQ(
        logText.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<InstallProject>\r\n", 0), 0u);
    EXPECT_NE(logText.find("<CreateUnInstall1>1</CreateUnInstall1>"), std::string::npos);
    EXPECT_NE(logText.find("<File>[InstallDir]\\Readme.txt,"), std::string::npos);
}

void ExpectRegistryItems(const std::string& folder) {
    // Registry items of task 2406, the token of one replaced by the install folder.
    const std::string company = "\\SOFTWARE\\Vesk Demo Company\\Vesk Demo";
    EXPECT_EQ(ReadRegistryString(kMachine, company, "Version"), "1.2");
    EXPECT_EQ(ReadRegistryString(kMachine, company, "Readme"), folder + "\\Readme.txt");
    EXPECT_EQ(ReadDword(kMachine, company, "InstallCount"), 1);
    // ... of the user information page, which starts from the registered user ...
    const RegisteredUser user = ReadRegisteredUser(HostRegistry(), HostSystemFacts());
    EXPECT_EQ(ReadRegistryString(kMachine, company, "UserName"), user.owner);
    EXPECT_EQ(ReadRegistryString(kMachine, company, "Company"), user.organization);
    // ... and of the registry data file (kind R), which is gone again.
    const std::string settings = "\\Software\\Vesk Demo Company\\Vesk Demo\\Settings";
    EXPECT_EQ(ReadRegistryString(kUser, settings, "Theme"), "Harbour");
    EXPECT_EQ(ReadRegistryString(kUser, settings, "LastPicture"), "gallery\\dunes.png");
    EXPECT_EQ(ReadRegistryString(kUser, settings, "DataFolder"), folder + "\\data");
    EXPECT_EQ(ReadRegistryString(kUser, settings, ""), "Vesk Demo settings");
    EXPECT_EQ(
        ReadRegistryString(kUser, "\\Software\\Vesk Demo Company\\Vesk Demo\\Recent", "Table"),
        "measurements.csv");
    // The font is registered for the system, so it stays after a restart.
    EXPECT_EQ(ReadRegistryString(kMachine, std::string("\\") + kFontsKey, kDemoFontName),
              "DejaVuSansMono.ttf");
}

void ExpectShortcuts(const std::string& folder) {
    const std::string group = ShellFolder(CSIDL_COMMON_PROGRAMS) + "\\Vesk Demo";
    struct Expected {
        std::string link, target, arguments, workingFolder;
    };
    const std::string log = folder + "\\" + kLogName;
    const Expected links[] = {
        {group + "\\Vesk Demo Readme.Lnk", folder + "\\Readme.txt", "", folder},
        {group + "\\User Guide.Lnk", folder + "\\docs\\Guide.htm", "", folder + "\\docs"},
        {ShellFolder(CSIDL_DESKTOPDIRECTORY) + "\\Vesk Demo Readme.Lnk", folder + "\\Readme.txt",
         "", folder},
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
}

void ExpectUninstallRecord(const std::string& folder) {
    const std::string uninstaller = WindowsFolder() + "\\Vesk-UnInstall.exe";
    const std::string command = "\"" + uninstaller + "\" \"" + folder + "\\" + kLogName + "\"";
    const std::pair<const char*, std::string> strings[] = {
        {"DisplayName", kDemoTitle},
        {"UninstallString", command},
        {"QuietUninstallString", command + " /S"},
        {"DisplayVersion", "1.2"},
        {"Publisher", "Vesk Demo Company"},
        {"InstallLocation", folder},
        {"DisplayIcon", uninstaller},
    };
    for (const auto& value : strings) {
        EXPECT_EQ(ReadRegistryString(kMachine, kDemoUninstallKey, value.first), value.second)
            << value.first;
    }
    EXPECT_EQ(ReadDword(kMachine, kDemoUninstallKey, "NoModify"), 1);
    EXPECT_EQ(ReadDword(kMachine, kDemoUninstallKey, "NoRepair"), 1);
    // The SoftwareSize the builder counted, in bytes, as KiB rounded up.
    const std::string log = ReadWholeFile(folder + "\\" + kLogName);
    const std::string tag = "<SoftwareSize>";
    const std::size_t at = log.find(tag);
    ASSERT_NE(at, std::string::npos);
    const long long bytes = std::atoll(log.c_str() + at + tag.size());
    EXPECT_GT(bytes, 0);
    EXPECT_EQ(ReadDword(kMachine, kDemoUninstallKey, "EstimatedSize"), (bytes + 1023) / 1024);

    const std::string group = ShellFolder(CSIDL_COMMON_PROGRAMS) + "\\Vesk Demo";
    EXPECT_EQ(ReadRegistryString(kMachine, "\\SOFTWARE\\VeskSoft\\VeskInstall", "LastVersion"),
              "5.05");
    EXPECT_EQ(ReadRegistryString(kMachine, kDemoProductKey, "Path"), folder);
    EXPECT_EQ(ReadRegistryString(kMachine, kDemoProductKey, "Version"), "1.2");
    EXPECT_EQ(ReadRegistryString(kMachine, kDemoProductKey + "\\1.2", "ProgramFolder"), group);
    EXPECT_EQ(ReadRegistryString(kMachine, kDemoProductKey + "\\1.2", "UnInstallFileLink"),
              group + "\\Uninstall Vesk Demo 1.2.lnk");
}

}  // namespace

long long ReadDword(RegistryRoot root, const std::string& key, const std::string& name) {
    RegistryKey reader(HostRegistry(), root);
    if (!reader.OpenForReading(key)) return -1;
    const auto value = reader.Handle()->QueryValue(name);
    if (!value || value->type != kRegistryDword || value->data.size() != 4) return -1;
    std::uint32_t number = 0;
    for (int i = 3; i >= 0; --i) number = number << 8 | std::uint8_t(value->data[i]);
    return number;
}

void RemoveTheDemo() {
    RemoveTheDemo(kTestRoot);
}

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

void SetEnvironment(const char* name, const std::string& value) {
    SetEnvironmentVariableA(name, value.empty() ? nullptr : value.c_str());
}

std::string BuildDemoVariant(const TempDir& dir,
                             const std::function<void(std::string&)>& editProject,
                             const std::string& compression, const std::string& uninstaller) {
    const fs::path demo = fs::path(dir.Path()) / "demo";
    std::error_code ec;
    fs::copy(DemoFile("."), demo, fs::copy_options::recursive, ec);
    fs::copy_file(VESK_EXIT_WITH_PATH, demo / "product" / "hold.exe", ec);
    if (ec) {
        ADD_FAILURE() << "cannot copy the demo: " << ec.message();
        return std::string();
    }
    std::string project = ReadWholeFile((demo / "project.xml").string());
    // The uninstall record on, whatever the demo says.
    for (const char* flag : {"CreateUnInstall1", "CreateUnInstall2"}) {
        const std::string off = std::string("<") + flag + ">0<";
        const std::size_t at = project.find(off);
        if (at != std::string::npos)
            project.replace(at, off.size(), std::string("<") + flag + ">1<");
    }
    const std::string list = "<SubTask ID=\"10002\" Type=\"FileList\">";
    project.insert(project.find(list) + list.size(),
                   "\n    <File>[InstallDir]\\hold.exe,,,L,</File>");
    // Volume 1 ends among the product files whatever the engine's size, so a missing volume 2
    // is asked for during the install, not while the start-up files are unpacked.
    const std::string diskSize = "<DiskSize>720K</DiskSize>";
    const auto stubSize = fs::file_size(VESK_STUB_PATH, ec);
    project.replace(
        project.find(diskSize), diskSize.size(),
        "<DiskSize>" + std::to_string(stubSize + kVolumeOneProductBytes) + "</DiskSize>");
    if (editProject) editProject(project);
    WriteWholeFile((demo / "project.xml").string(), project);

    BuildOptions options;
    options.projectPath = (demo / "project.xml").string();
    options.outputDir = dir / "setup";
    options.stubPath = VESK_STUB_PATH;
    options.uninstallerPath = uninstaller.empty() ? VESK_EXIT_WITH_PATH : uninstaller;
    options.compression = compression;
    SetupBuilder builder;
    if (!builder.Build(options)) {
        ADD_FAILURE() << builder.LastError();
        return std::string();
    }
    return builder.Summary().outputFiles.front();
}

void ExpectTheDemoInstalled(const std::string& folder, const TempDir& dir) {
    ExpectFilesAndLog(folder, dir);
    // The font, and the uninstaller with its language file.
    EXPECT_EQ(ReadWholeFile(WindowsFolder() + "\\Fonts\\DejaVuSansMono.ttf"),
              ReadWholeFile(DemoFile("fonts/DejaVuSansMono.ttf")));
    EXPECT_EQ(ReadWholeFile(WindowsFolder() + "\\Vesk-UnInstall.exe"),
              ReadWholeFile(VESK_EXIT_WITH_PATH));
    LanguageTable texts = EnglishTexts();
    texts.SetText(TextKey::ProjectName, kDemoTitle);
    // UTF-8, marked so for the uninstaller (an earlier engine's file has no mark).
    EXPECT_EQ(ReadWholeFile(SystemFolder() + "\\VeskInstall\\409.ini"),
              "\xEF\xBB\xBF" + texts.Lines().Join());
    ExpectRegistryItems(folder);
    ExpectShortcuts(folder);
    ExpectUninstallRecord(folder);
}

}  // namespace vesk::test
