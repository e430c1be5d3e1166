// The start-up files (kind K) a project names: pictures, documents and the preparatory program
// that the engine unpacks into its temporary folder under fixed names before the wizard.
#pragma once

#include <string>
#include <vector>

#include "project/Task.h"

namespace vesk {

// Where a project names a start-up file: a field of a subtask type of a slot's task.
struct StartupField {
    int slot = 0;
    SubTaskType type = SubTaskType::InvalidType;
    FieldKind kind = FieldKind::InvalidField;
    std::string value;
};

// A start-up file the build cannot take, and why.
struct StartupError {
    StartupField field;  // the field that names it
    std::string message;
};

// A start-up file as the builder plans it: where it comes from and where the engine unpacks it.
// (The engine's own StartupFile is the entry of a built setup.)
struct StartupSource {
    std::string hostPath;  // the builder-side file
    std::string target;    // "[TempFileDir]\~VeskInstall-..."
    std::string origin;    // the field that names it, for messages ("TopFramePicture of task 2401")
};

class StartupFiles {
public:
    // Collects, in this order, the advertising picture, the header picture, the welcome picture,
    // the licence and readme documents (.HTM or .MHT by their FileType) and the preparatory
    // program, each when its field is not empty. `tasks` are indexed by slot. False (see
    // Errors) for a file that does not exist, a picture that is no BMP file or one the engine's
    // bitmap reader would refuse (and so not draw), or a program that is no Windows executable;
    // every such file is reported, and the others are collected all the same.
    bool Collect(const std::vector<Task>& tasks, const std::string& baseDir);

    const std::vector<StartupSource>& Files() const { return files_; }
    const std::vector<StartupError>& Errors() const { return errors_; }
    // The messages of Errors(), one per line.
    std::string LastError() const;

private:
    enum class Signature { None, Bitmap, Program };
    bool Add(const StartupField& field, const std::string& name, const std::string& origin,
             Signature signature, const std::string& baseDir);
    // The reason the picture cannot be shown, or "".
    std::string PictureProblem(const StartupSource& file, const std::string& value,
                               const std::string& origin) const;

    std::vector<StartupSource> files_;
    std::vector<StartupError> errors_;
};

}  // namespace vesk
