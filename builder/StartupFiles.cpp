// Collecting the start-up files of a project.
#include "StartupFiles.h"

#include <cstdio>
#include <filesystem>

#include "TargetPaths.h"
#include "project/NameCase.h"
#include "project/TaskSlots.h"

namespace vesk {
namespace {

// The first non-empty File of the subtasks of `type` and the FileType met before it, as the
// licence and readme pages read them.
bool DocumentOf(const Task& task, SubTaskType type, std::string& file, std::string& fileType) {
    std::string lastType;
    for (const SubTask& subtask : task.SubTasks()) {
        if (subtask.Type() != type) continue;
        for (const Field& field : subtask.Fields()) {
            if (field.Kind() == FieldKind::FileType) lastType = field.Value();
            if (field.Kind() == FieldKind::File && !field.Value().empty()) {
                file = field.Value();
                fileType = lastType;
                return true;
            }
        }
    }
    return false;
}

}  // namespace

bool StartupFiles::Add(const std::string& value, const std::string& name, const std::string& origin,
                       Signature signature, const std::string& baseDir) {
    if (value.empty()) return true;
    StartupFile file{HostPathFor(baseDir, value), "[TempFileDir]\\" + name, origin};
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file.hostPath, ec)) {
        error_ = origin + " names \"" + value + "\", which " +
                 (std::filesystem::exists(file.hostPath, ec) ? "is not a file" : "does not exist") +
                 " (" + file.hostPath + ")";
        return false;
    }
    if (signature != Signature::None) {
        char head[2] = {};
        std::FILE* stream = std::fopen(file.hostPath.c_str(), "rb");
        bool read = stream && std::fread(head, 1, 2, stream) == 2;
        if (stream) std::fclose(stream);
        const char* expected = signature == Signature::Bitmap ? "BM" : "MZ";
        if (!read || head[0] != expected[0] || head[1] != expected[1]) {
            error_ = origin + " names \"" + value + "\", which is no " +
                     (signature == Signature::Bitmap ? "BMP picture" : "Windows program");
            return false;
        }
    }
    files_.push_back(file);
    return true;
}

bool StartupFiles::Collect(const std::vector<Task>& tasks, const std::string& baseDir) {
    files_.clear();
    error_.clear();
    const Task& properties = tasks[kSlotProjectProperties];
    auto property = [&](FieldKind kind) {
        return properties.GetValue(SubTaskType::GetAllVar, kind);
    };
    if (!Add(property(FieldKind::AdPicture), "~VeskInstall-AdPicture.bmp", "AdPicture of task 2401",
             Signature::Bitmap, baseDir) ||
        !Add(property(FieldKind::TopFramePicture), "~VeskInstall-TopFramePicture.bmp",
             "TopFramePicture of task 2401", Signature::Bitmap, baseDir) ||
        !Add(tasks[kSlotWelcome].GetValue(SubTaskType::ShowBitmap, FieldKind::File),
             "~VeskInstall-WelcomeWndPicture.bmp", "the ShowBitmap File of task 2002",
             Signature::Bitmap, baseDir)) {
        return false;
    }
    struct Document {
        int slot;
        SubTaskType type;
        const char* stem;
        const char* origin;
    };
    const Document documents[] = {
        {kSlotLicence, SubTaskType::ShowSoftDoc, "~VeskInstall-SoftDoc",
         "the licence of task 2003"},
        {kSlotReadme, SubTaskType::ShowReadme, "~VeskInstall-SoftReadme",
         "the readme of task 2004"},
    };
    for (const Document& document : documents) {
        std::string file, fileType;
        if (!DocumentOf(tasks[document.slot], document.type, file, fileType)) continue;
        std::string name =
            std::string(document.stem) + (UpperName(fileType) == "M" ? ".MHT" : ".HTM");
        if (!Add(file, name, document.origin, Signature::None, baseDir)) return false;
    }
    return Add(property(FieldKind::ProvideForInstall), "~VeskInstall-ProvideForInstall.exe",
               "ProvideForInstall of task 2401", Signature::Program, baseDir);
}

}  // namespace vesk
