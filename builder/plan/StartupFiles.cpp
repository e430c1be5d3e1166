// Collecting the start-up files of a project.
#include "builder/plan/StartupFiles.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>

#include "builder/plan/FileBytes.h"
#include "builder/plan/TargetPaths.h"
#include "media/BitmapReader.h"
#include "platform/LittleEndian.h"
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

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;

// Why the engine's bitmap reader would not show the bitmap file `bytes` (which start with "BM"),
// or "" when it would.
std::string BitmapProblem(const std::string& bytes) {
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    if (ReadBitmap(data, bytes.size())) return "";
    if (bytes.size() >= kFileHeaderSize + 4) {
        const std::uint8_t* p = data + kFileHeaderSize;
        const std::uint32_t headerSize = Get32(p);
        if (headerSize != kInfoHeaderSize && headerSize != kCoreHeaderSize) {
            return "a BMP with a " + std::to_string(headerSize) + "-byte header";
        }
    }
    return "a BMP that is cut short, or of a bit depth, compression or size (at most " +
           std::to_string(kMaxBitmapDimension) + " pixels a side) it does not read";
}

}  // namespace

std::string StartupFiles::PictureProblem(const StartupSource& file, const std::string& value,
                                         const std::string& origin) const {
    const std::string where = value + " (" + origin + "): ";
    std::error_code ec;
    if (std::filesystem::file_size(file.hostPath, ec) > kMaxBitmapFileSize) {
        return where + "the setup reads no picture larger than " +
               std::to_string(kMaxBitmapFileSize >> 20) + " MiB";
    }
    std::string bytes, why;
    if (!ReadFileContent(file.hostPath, bytes, why)) return where + "cannot be read (" + why + ")";
    if (bytes.compare(0, 2, "BM") != 0) {
        return origin + " names \"" + value + "\", which is no BMP picture";
    }
    const std::string problem = BitmapProblem(bytes);
    if (!problem.empty()) {
        return where + "the setup cannot show this picture (" + problem +
               "); save it as a BMP with a 40-byte header (BITMAPINFOHEADER), 24 bits or fewer";
    }
    return "";
}

bool StartupFiles::Add(const StartupField& field, const std::string& name,
                       const std::string& origin, Signature signature, const std::string& baseDir) {
    const std::string& value = field.value;
    if (value.empty()) return true;
    StartupSource file{HostPathFor(baseDir, value), "[TempFileDir]\\" + name, origin};
    std::error_code ec;
    std::string problem;
    if (!std::filesystem::is_regular_file(file.hostPath, ec)) {
        problem =
            origin + " names \"" + value + "\", which " +
            (std::filesystem::exists(file.hostPath, ec) ? "is not a file" : "does not exist") +
            " (" + file.hostPath + ")";
    } else if (signature == Signature::Bitmap) {
        problem = PictureProblem(file, value, origin);
    } else if (signature == Signature::Program) {
        char head[2] = {};
        std::FILE* stream = std::fopen(file.hostPath.c_str(), "rb");
        bool read = stream && std::fread(head, 1, 2, stream) == 2;
        if (stream) std::fclose(stream);
        if (!read || head[0] != 'M' || head[1] != 'Z') {
            problem = origin + " names \"" + value + "\", which is no Windows program";
        }
    }
    if (!problem.empty()) {
        errors_.push_back({field, problem});
        return false;
    }
    files_.push_back(file);
    return true;
}

std::string StartupFiles::LastError() const {
    std::string text;
    for (const StartupError& error : errors_) text += (text.empty() ? "" : "\n") + error.message;
    return text;
}

bool StartupFiles::Collect(const std::vector<Task>& tasks, const std::string& baseDir) {
    files_.clear();
    errors_.clear();
    auto property = [&](FieldKind kind) {
        return StartupField{kSlotProjectProperties, SubTaskType::GetAllVar, kind,
                            tasks[kSlotProjectProperties].GetValue(SubTaskType::GetAllVar, kind)};
    };
    const StartupField welcome{
        kSlotWelcome, SubTaskType::ShowBitmap, FieldKind::File,
        tasks[kSlotWelcome].GetValue(SubTaskType::ShowBitmap, FieldKind::File)};
    Add(property(FieldKind::AdPicture), "~VeskInstall-AdPicture.bmp", "AdPicture of task 2401",
        Signature::Bitmap, baseDir);
    Add(property(FieldKind::TopFramePicture), "~VeskInstall-TopFramePicture.bmp",
        "TopFramePicture of task 2401", Signature::Bitmap, baseDir);
    Add(welcome, "~VeskInstall-WelcomeWndPicture.bmp", "the ShowBitmap File of task 2002",
        Signature::Bitmap, baseDir);
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
        const StartupField field{document.slot, document.type, FieldKind::File, file};
        Add(field, name, document.origin, Signature::None, baseDir);
    }
    Add(property(FieldKind::ProvideForInstall), "~VeskInstall-ProvideForInstall.exe",
        "ProvideForInstall of task 2401", Signature::Program, baseDir);
    return errors_.empty();
}

}  // namespace vesk
