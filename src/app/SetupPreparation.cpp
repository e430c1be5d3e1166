// Preparing the session from the payload.
#include "app/SetupPreparation.h"

#include "app/StartupChoices.h"
#include "container/FileEntry.h"
#include "project/TaskSlots.h"

namespace vesk {

bool PrepareSetup(SetupSession& session) {
    session.start = ComputeStartValues(session.paths);
    session.records.AddTempFile(session.start.projectTempPath);

    ContainerReader& reader = session.reader;
    InstallProject& project = session.project;
    if (!reader.OpenContainer(session.start.setupPath)) return false;
    if (!reader.ReadProject(session.start.projectTempPath) ||
        !project.Load(session.start.projectTempPath)) {
        return false;
    }

    const std::string properties = TaskIdForSlot(kSlotProjectProperties);
    const std::string extract = TaskIdForSlot(kSlotExtractFiles);
    reader.SetVolumeSize(
        LeadingInt(project.GetValue(properties, SubTaskType::GetAllVar, FieldKind::DiskSize)));
    if (!reader.SetBodyMethod(
            project.GetValue(properties, SubTaskType::GetAllVar, FieldKind::CompressType))) {
        return false;
    }
    project.GetValues(extract, SubTaskType::FileList, FieldKind::File, session.files);
    project.GetValues(extract, SubTaskType::FolderList, FieldKind::Folder, session.folders);
    if (session.files.Empty()) return false;
    // A file list whose bodies overlap could unpack one body many times over: refused, as damage,
    // before anything of it is written.
    if (!reader.CheckFileList(session.files.Lines())) return false;

    // Entry 0 is the language file: a compressed body whatever its letter, under a stamped name.
    const FileEntry language = ParseFileEntry(session.files.At(0), session.paths.Expander());
    const std::string languagePath = session.TempNameFor(language.rawPath);
    session.records.AddTempFile(languagePath);
    if (!reader.ExtractEntry(languagePath, language.offset, language.size, false,
                             kMaxLanguageFile)) {
        return false;
    }
    if (!session.texts.Load(languagePath)) return false;

    const std::string version =
        project.GetValue(properties, SubTaskType::GetAllVar, FieldKind::ProductVersion);
    session.texts.SetText(TextKey::ProjectName, project.ProjectName() + " " + version);
    return true;
}

void ProposeFolders(SetupSession& session) {
    session.programFolder = ProposedProgramFolder(session.project);
    session.paths.SetInstallDir(
        ProposedInstallFolder(session.project, session.paths, session.SystemRegistry()));
}

}  // namespace vesk
