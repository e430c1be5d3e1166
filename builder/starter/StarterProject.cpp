// Writing the starter project.
#include "builder/starter/StarterProject.h"

#include <cstdio>
#include <filesystem>

#include "builder/starter/BitmapWriter.h"
#include "project/InstallProject.h"
#include "project/TaskSlots.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;

// What each task holds, said once before the task in the starter's project file.
const char* const kTaskNotes[kTaskSlotCount] = {
    // 2401
    "Project properties. ProjectName, CompanyDesc and ProductVersion name the product;\n"
    "InstallPath is the proposed destination (tokens: [Program Files], [Windows Directory],\n"
    "[System Directory] ...). TopFramePicture is the header band of the wizard (a 548 x 64 BMP);\n"
    "AdPicture, when set, is a BMP shown for five seconds at start; ProvideForInstall names a\n"
    "program run before the wizard (the setup stops when it exits with 0). Paths on this\n"
    "machine are relative to this file. DiskSize is the number of data bytes per volume\n"
    "(1440K, 650M; 0 or empty: everything in Setup.exe); veskbuild build --disk-size overrides\n"
    "it. OutPutPath is the output folder when -o is not given. SoftwareSize and FileQty are\n"
    "filled in by the build.",
    // 2002
    "Welcome page. The ShowBitmap File is its picture (163 x 314 fits beside the texts).\n"
    "Every page task with IsExec=\"1\" is shown, in the order of this file.",
    // 2003
    "Licence page: the document in ShowSoftDoc's File, HTML with FileType S or a web archive\n"
    "(.mht) with FileType M. Next stays disabled until the user accepts.",
    // 2004
    "Readme page: the document in ShowReadme's File (FileType S for HTML, M for .mht).",
    // 2005
    "User information page (off). Each EditBox writes what the user typed into the registry\n"
    "value it names; its Description says which input: |RegisterInfoUserDesc| or\n"
    "|RegisterInfoCompanyDesc|.",
    // 2006
    "Program folder page. The proposed folder name is the Description of task 2404.",
    // 2007
    "Destination folder page; it proposes the InstallPath of task 2401.",
    // 2008
    "Progress page: the install runs while it is shown.",
    // 2009
    "Finish page that offers to restart the computer, checked: off unless a restart is needed.",
    // 2010
    "Finish page with one check box per RunApp subtask, whose fields are Description, File,\n"
    "Folder and AppParameter, in this order (the program starts at its AppParameter). The\n"
    "subtask ID is the check box's control ID: keep it unique and below 65536.",
    // 2402
    "Folder binding: every file and folder below a PathValue (a folder on this machine) is\n"
    "installed into the PathDesc before it (a folder on the user's machine). Add pairs for\n"
    "more targets, such as [InstallDir]\\Help or [Windows Directory]\\Fonts.",
    // 2403
    "Add-on components (carried in the project only).",
    // 2404
    "Shortcuts. The GetValue Description is the program folder's name (empty: no program\n"
    "folder and no shortcuts). One CreateShortcutMenu per shortcut: Description (its name),\n"
    "File and Folder (its target), Parameter, IconFile, and where it goes: IsToFileLinkGroup,\n"
    "IsToDesktop, IsToStartup, IsToQuickLaunch.",
    // 2405
    "Components to register after the files, one File each: .dll and .ocx files go to\n"
    "Regsvr32, .exe files are run, other files are opened.",
    // 2409
    "Files to delete at the end of the install, one File each.",
    // 2406
    "Registry items, one Registry subtask each, for example:\n"
    "  <SubTask ID=\"10001\" Type=\"Registry\">\n"
    "  <RegRootKey>HKEY_LOCAL_MACHINE</RegRootKey>\n"
    "  <RegSubKey>\\SOFTWARE\\My Company\\My Product</RegSubKey>\n"
    "  <RegVarName>Version</RegVarName>\n"
    "  <RegVarValue>1.0</RegVarValue>\n"
    "  <RegDataType>0</RegDataType>          0 text, 1 number\n"
    "  <RegOperType>0</RegOperType>          0 create or write, 1 delete\n"
    "  <IsOnlyToKey>0</IsOnlyToKey>          1: the key alone\n"
    "  <IsToDelete>1</IsToDelete>            for the uninstaller\n"
    "  </SubTask>",
    // 2410
    "Uninstall record: CreateUnInstall1 writes the log and an entry in Add/Remove Programs,\n"
    "CreateUnInstall2 the log and a shortcut. Both pack the uninstaller, Vesk-UnInstall.exe,\n"
    "that came with veskbuild (--uninstaller PATH names another).",
    // 2407
    "Fonts to add, one File each, e.g. [Windows Directory]\\Fonts\\My.ttf with a source folder\n"
    "bound to [Windows Directory]\\Fonts in task 2402.",
    // 2408
    "Compression exclusions: files matching a pattern are stored raw (kind N). A pattern\n"
    "without a backslash is matched against the file name, one with a backslash against the\n"
    "whole target path; * and ? are wildcards. Files that do not shrink are stored raw anyway.",
    // 2411
    "Icon list (carried in the project only).",
    // 2412
    "The folder and file lists are written by the build. A Folder added here is created too\n"
    "(an empty folder, say). A File entry with offset and size left empty gives one of the\n"
    "product's files a kind:\n"
    "  <File>[InstallDir]\\setup\\prepare.exe,,,L,</File>   run during the install, then deleted\n"
    "  <File>[TempFileDir]\\settings.reg,,,R,</File>      registry data file: lines\n"
    "                    [HKEY_...\\key] and \"name\"=\"data\" with CR LF; applied, then deleted\n"
    "  <File>[InstallDir]\\big.dat,,,N,</File>            stored raw",
};

std::string Comment(const std::string& text) {
    std::string out = "<!--\r\n";
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        out += "  " + text.substr(start, end - start) + "\r\n";
        start = end + 1;
    }
    return out + "-->\r\n";
}

const char kLicence[] =
    "<html><head><title>Licence</title></head>\r\n"
    "<body style=\"font-family: Tahoma, sans-serif; font-size: 9pt\">\r\n"
    "<h3>Licence agreement</h3>\r\n"
    "<p>Replace this text with the licence of your product.</p>\r\n"
    "<p>The user must accept it before the install goes on.</p>\r\n"
    "</body></html>\r\n";

const char kReadme[] =
    "<html><head><title>Readme</title></head>\r\n"
    "<body style=\"font-family: Tahoma, sans-serif; font-size: 9pt\">\r\n"
    "<h3>Before you install</h3>\r\n"
    "<p>Replace this text with what users should know before they install.</p>\r\n"
    "</body></html>\r\n";

struct ProductFile {
    const char* path;
    const char* text;
};

const ProductFile kProductFiles[] = {
    {"product/Readme.txt",
     "My Product 1.0\r\n\r\nThe files of the folder \"product\" are installed into the folder "
     "the user chooses.\r\n"},
    {"product/Settings.ini", "[General]\r\nLanguage=English\r\nStartMaximized=0\r\n"},
    {"product/Docs/Guide.txt",
     "User guide\r\n\r\nSubfolders of the product folder become folders of the install.\r\n"},
};

}  // namespace

DefaultContent StarterProject::Content() {
    DefaultContent content;
    content.projectName = "My Product";
    content.company = "My Company";
    content.version = "1.0";
    content.headerPicture = "pictures/header.bmp";
    content.welcomePicture = "pictures/welcome.bmp";
    content.licence = "licence.htm";
    content.readme = "readme.htm";
    content.productFolder = "product";
    content.outputFolder = "output";
    content.shortcutFile = "Readme.txt";
    return content;
}

std::string StarterProject::ProjectText(const DefaultContent& content) {
    std::string text = std::string(InstallProject::kDeclarationLine) + "\r\n" +
                       InstallProject::kRootStartLine + "\r\n" + InstallProject::kVersionLine +
                       "\r\n";
    text += Comment(
        "A VeskInstall project: the 21 tasks of a setup in their fixed order. Build it with\n"
        "  veskbuild build project.xml -o OUTDIR\n"
        "Values are written byte for byte: no '<' inside a value and no entities such as &amp;.\n"
        "A value of the form |Key| stands for a text of the language table.");
    for (int slot = 0; slot < kTaskSlotCount; ++slot) {
        text += Comment(std::string("Task ") + TaskIdForSlot(slot) + ": " + kTaskNotes[slot]);
        text += DefaultTasks::ForSlot(slot, content).ToXml();
    }
    return text + InstallProject::kRootEndLine + "\r\n";
}

std::string StarterProject::HeaderPicture() {
    // A light band, so that the black header texts stay readable, with steps at the right.
    std::vector<Rgb> palette = GradientPalette({255, 255, 255}, {170, 192, 222}, 240);
    palette.push_back({40, 70, 140});
    BitmapWriter picture(kHeaderWidth, kHeaderHeight, palette);
    for (int y = 0; y < kHeaderHeight; ++y) {
        for (int x = 0; x < kHeaderWidth; ++x) {
            int shade = x * 239 / (kHeaderWidth - 1);
            for (int step = 0; step < 3; ++step) {
                int left = kHeaderWidth - 100 + step * 26, top = 38 - step * 10;
                if (x >= left && x < left + 20 && y >= top && y < 50) shade = 240;
            }
            picture.Set(x, y, std::uint8_t(shade));
        }
    }
    return picture.FileBytes();
}

std::string StarterProject::WelcomePicture() {
    std::vector<Rgb> palette = GradientPalette({20, 40, 110}, {40, 140, 170}, 240);
    palette.push_back({235, 240, 250});
    BitmapWriter picture(kWelcomeWidth, kWelcomeHeight, palette);
    for (int y = 0; y < kWelcomeHeight; ++y) {
        for (int x = 0; x < kWelcomeWidth; ++x) {
            int shade = y * 239 / (kWelcomeHeight - 1);
            int dx = x - kWelcomeWidth / 2, dy = y - 110;
            int distance = dx * dx + dy * dy;
            if ((distance >= 44 * 44 && distance < 48 * 48) ||
                (distance >= 28 * 28 && distance < 31 * 31)) {
                shade = 240;
            }
            picture.Set(x, y, std::uint8_t(shade));
        }
    }
    return picture.FileBytes();
}

bool StarterProject::Write(const std::string& dir) {
    files_.clear();
    error_.clear();
    std::error_code ec;
    if (fs::exists(dir, ec) && (!fs::is_directory(dir, ec) || !fs::is_empty(dir, ec))) {
        error_ = dir + ": init writes into a new or empty folder, and this one is not";
        return false;
    }
    DefaultContent content = Content();
    std::vector<std::pair<std::string, std::string>> files = {
        {"project.xml", ProjectText(content)},
        {content.licence, kLicence},
        {content.readme, kReadme},
        {content.headerPicture, HeaderPicture()},
        {content.welcomePicture, WelcomePicture()},
    };
    for (const ProductFile& file : kProductFiles) files.emplace_back(file.path, file.text);

    for (const auto& [relative, bytes] : files) {
        fs::path path = fs::path(dir) / relative;
        fs::create_directories(path.parent_path(), ec);
        std::FILE* out = std::fopen(path.string().c_str(), "wb");
        bool ok = out && std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
        if (out) ok = std::fclose(out) == 0 && ok;
        if (!ok) {
            error_ = path.string() + ": cannot be written";
            fs::remove_all(dir, ec);
            files_.clear();
            return false;
        }
        files_.push_back(relative);
    }
    return true;
}

}  // namespace vesk
