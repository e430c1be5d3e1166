// Start-up of the engine: preparing the payload of the setup, and the final clean-up.
#include "app/SetupApp.h"

#include <windows.h>

#include "app/DiskRequestPrompt.h"
#include "app/LoadingDialog.h"
#include "install/FinalCleanUp.h"
#include "install/RunAndWait.h"
#include "install/StartupChoices.h"
#include "install/SystemUtilities.h"
#include "project/PathResolver.h"
#include "project/StartValues.h"
#include "project/TaskSlots.h"

namespace vesk {

SetupApp::SetupApp() : reader_(std::make_unique<ContainerReader>(state_.setupFinished)) {
    reader_->SetPrompt(&ProcessDiskRequest(project_));
}

SetupApp::~SetupApp() { FinalCleanUp(); }

bool SetupApp::PrepareSetup() {
    StartValues start = ComputeStartValues(ProcessPathResolver());
    SetProcessStartValues(start);
    state_.tempFiles.push_back(start.projectTempPath);

    if (!reader_->OpenContainer(start.setupPath)) return false;
    if (!reader_->ReadProject(start.projectTempPath) || !project_.Load(start.projectTempPath)) {
        return false;
    }

    const std::string properties = TaskIdForSlot(kSlotProjectProperties);
    const std::string extract = TaskIdForSlot(kSlotExtractFiles);
    reader_->SetVolumeSize(
        LeadingInt(project_.GetValue(properties, SubTaskType::GetAllVar, FieldKind::DiskSize)));
    project_.GetValues(extract, SubTaskType::FileList, FieldKind::File, files_);
    project_.GetValues(extract, SubTaskType::FolderList, FieldKind::Folder, folders_);
    if (files_.Empty()) return false;

    // Entry 0 is the language file: an LZSS body whatever its letter, under a stamped name.
    FileEntry language = ParseFileEntry(files_.At(0), ResolvePathExpander());
    std::string languagePath = TempNameFor(language.rawPath);
    state_.tempFiles.push_back(languagePath);
    if (!reader_->ExtractEntry(languagePath, language.offset, language.size, false)) return false;
    LanguageTable& texts = ProcessLanguageTable();
    if (!texts.Load(languagePath)) return false;

    std::string version = project_.GetValue(properties, SubTaskType::GetAllVar, FieldKind::ProductVersion);
    texts.SetText(TextKey::ProjectName, project_.ProjectName() + " " + version);
    return true;
}

void SetupApp::FinalCleanUp() {
    vesk::FinalCleanUp(state_, removal_, [] { return ResolvePath("[Windows Directory]"); });
}

bool SetupApp::PrepareWizard() {
    // The advertising picture window belongs here; it arrives together with the picture
    // display, so for now a project's AdPicture is passed over.
    state_.programFolder = ProposedProgramFolder(project_);
    const std::string preparatory = PreparatoryProgramSetting(project_);
    PathResolver& resolver = ProcessPathResolver();
    resolver.SetInstallDir(ProposedInstallFolder(project_, resolver, resolver.SystemRegistry()));
    if (preparatory.empty()) return true;
    return RunAndWait(TempNameFor(kPreparatoryProgram), kShowNormal) != 0;
}

int SetupApp::Run() {
    state_.installOk = true;
    metrics_ = PageMetricsForDpi(ScreenDpiY());
    if (!PrepareSetup()) {
        FinalCleanUp();
        return 1;
    }
    // The loading dialog unpacks the start-up files; a failure there leaves setupFinished set.
    LoadingDialog loading(state_, *reader_, files_, ProcessLanguageTable());
    loading.DoModal();
    if (state_.setupFinished) {
        FinalCleanUp();
        return 1;
    }
    if (!PrepareWizard()) {
        FinalCleanUp();
        return 0;
    }
    // The wizard is not there yet: the setup ends here after a complete start-up.
    FinalCleanUp();
    return 0;
}

}  // namespace vesk
