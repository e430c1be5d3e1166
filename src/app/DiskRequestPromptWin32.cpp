// Asks the user for the next volume file through the insert-media dialog.
#include "app/DiskRequestPrompt.h"
#include "app/InsertMediaDlgWin32.h"
#include "project/TaskSlots.h"

namespace vesk {
namespace {

// The dialog's texts for a disk request that comes before the language file is loaded.
constexpr const char* kBuiltInTexts[] = {
    "SureDesc=&OK",
    "InsertMediaDesc=Select location",
    "InsertMediaDesc0=Please insert the disk: ",
    "InsertMediaDesc1= Disk",
    "InsertMediaDesc2= and click OK!",
    "InsertMediaDesc3=Location:",
    "InsertMediaBrowseDesc=&Browse",
    "CancelButtonDesc=Cancel",
};

}  // namespace

LanguageTable DiskRequestPrompt::CurrentTexts() const {
    if (!texts_.Lines().Empty()) return texts_;
    TextLineList lines;
    lines.Add(std::string("[Language=") + LanguageTable::kFallbackLanguageId + "]");
    for (const char* line : kBuiltInTexts) lines.Add(line);
    const std::string properties = TaskIdForSlot(kSlotProjectProperties);
    lines.Add("ProjectName=" + project_.ProjectName() + " " +
              project_.GetValue(properties, SubTaskType::GetAllVar, FieldKind::ProductVersion));
    LanguageTable builtIn(0x409);
    builtIn.LoadLines(lines);
    return builtIn;
}

std::string DiskRequestPrompt::AskForVolume(const std::string& expectedPath, int volumeNumber) {
    const LanguageTable texts = CurrentTexts();
    CInsertMediaDlg dialog(texts);
    dialog.SetRequest(expectedPath, volumeNumber);
    if (!dialog.DoModal()) return std::string();
    return dialog.ResultPath();
}

}  // namespace vesk
