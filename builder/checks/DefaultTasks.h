// The subtasks and fields the builder writes for a task slot that a project leaves out.
#pragma once

#include <string>
#include <vector>

#include "project/Field.h"
#include "project/Task.h"

namespace vesk {

// What the defaults are made of: the product (from task 2401 of the project) and, for a starter
// project, the builder-side paths of its files (empty: none).
struct DefaultContent {
    std::string projectName;
    std::string company;
    std::string version;
    std::string headerPicture;   // TopFramePicture
    std::string welcomePicture;  // the welcome page's ShowBitmap File
    std::string licence;         // HTML document of the licence page (task 2003 shown when set)
    std::string readme;          // HTML document of the readme page (task 2004 shown when set)
    std::string productFolder;   // bound to [InstallDir] in task 2402
    std::string outputFolder;    // OutPutPath
    std::string shortcutFile;    // a file of the product folder that gets a program-group shortcut
};

class DefaultTasks {
public:
    // The task of `slot` (0 ... 20) as the builder writes it. Pages: welcome, program folder,
    // destination, progress and the run-programs finish page are shown; licence and readme when
    // the content names their documents; user information and the restarting finish page are not.
    // Computed fields (DiskSize, SoftwareSize, FileQty) hold "0" until a build sets them.
    static Task ForSlot(int slot, const DefaultContent& content);

    // The GetAllVar fields of task 2401, in the order the builder writes them.
    static std::vector<Field> ProjectPropertyFields(const DefaultContent& content);

    // "[Program Files]\Company\Product", or without the company folder when there is none.
    static std::string DefaultInstallPath(const DefaultContent& content);

    // The FileType of a licence or readme document: "M" for a web archive (.mht, .mhtml), else
    // "S" (an HTML file).
    static std::string DocumentTypeFor(const std::string& path);

    // The compression exclusions of task 2408 when a project has none: formats that are
    // compressed already.
    static std::vector<std::string> DefaultExclusions();

    // The Language value: the sections of the default language file.
    static constexpr const char* kLanguages = "English,Simplified Chinese,Traditional Chinese";
};

}  // namespace vesk
