// The fixed name tables of the project: task slots, task and subtask types, field kinds and the
// language-key references.
#include <gtest/gtest.h>

#include <string>

#include "project/FieldKind.h"
#include "project/SubTaskType.h"
#include "project/TaskSlots.h"
#include "project/TaskType.h"
#include "project/TextKey.h"

namespace vesk {
namespace {

TEST(TaskSlotsTest, SlotTableKeepsItsOrder) {
    const char* const ids[kTaskSlotCount] = {
        "2401", "2002", "2003", "2004", "2005", "2006", "2007", "2008", "2009", "2010", "2402",
        "2403", "2404", "2405", "2409", "2406", "2410", "2407", "2408", "2411", "2412"};
    for (int slot = 0; slot < kTaskSlotCount; ++slot) {
        SCOPED_TRACE(slot);
        EXPECT_EQ(TaskIdForSlot(slot), ids[slot]);
        EXPECT_EQ(TaskSlotFromIdOrLabel(ids[slot]), slot);
        EXPECT_EQ(TaskSlotFromIdOrLabel(TaskLabelForSlot(slot)), slot);
        EXPECT_FALSE(TaskLabelForSlot(slot).empty());
    }
    EXPECT_EQ(TaskSlotFromIdOrLabel("2406"), 15);
    EXPECT_EQ(TaskIdForSlot(14), "2409");
    EXPECT_EQ(TaskTypeForSlot(kSlotWelcome), TaskType::ShowDialogBox);
    EXPECT_EQ(TaskTypeForSlot(kSlotRegistry), TaskType::DataSetting);
    EXPECT_EQ(TaskTypeForSlot(kSlotExtractFiles), TaskType::ExtractFiles);
}

TEST(TaskSlotsTest, LooksUpIdsAndLabelsExactlyOutsideAsciiCase) {
    struct Case {
        std::string text;
        int slot;
    };
    const Case cases[] = {
        {"2401", 0},
        {"2401 ", kNoSlot},  // nothing is trimmed
        {" 2002", kNoSlot},
        {"", kNoSlot},
        {"2001", kNoSlot},
        {"[\xE5\xAD\x97\xE4\xBD\x93\xE5\xAE\x89\xE8\xA3\x85]",
         kSlotFonts},  // "[font installation]"
        {"\xE8\xA7\xA3\xE5\xBC\x80\xE6\x96\x87\xE4\xBB\xB6", kSlotExtractFiles},  // "extract files"
        {"\xE5\xAE\x8C\xE6\x88\x90\xE5\xAE\x89\xE8\xA3\x85\xE5\xAF\xB9\xE8\xAF\x9D\xE6\xA1\x86"
         "2\xE8\xAE\xBE\xE7\xBD\xAE",
         kSlotFinish2},  // "install complete dialog 2 settings"
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(TaskSlotFromIdOrLabel(c.text), c.slot);
    }
    for (int slot : {-1, int(kNoSlot), 100}) {
        EXPECT_EQ(TaskIdForSlot(slot), "");
        EXPECT_EQ(TaskLabelForSlot(slot), "");
        EXPECT_EQ(TaskTypeForSlot(slot), TaskType::InvalidType);
    }
}

TEST(TypeNamesTest, ReadIgnoringAsciiCaseAndFallBackToInvalidType) {
    EXPECT_EQ(TaskTypeFromName("datasetting"), TaskType::DataSetting);
    EXPECT_EQ(TaskTypeFromName("SHOWDIALOGBOX"), TaskType::ShowDialogBox);
    EXPECT_EQ(TaskTypeFromName("ExtractFiles "), TaskType::InvalidType);
    EXPECT_EQ(TaskTypeFromName(""), TaskType::InvalidType);
    EXPECT_EQ(SubTaskTypeFromName("createshortcutmenu"), SubTaskType::CreateShortcutMenu);
    EXPECT_EQ(SubTaskTypeFromName("Get Value"), SubTaskType::InvalidType);
    for (int t = 0; t < kTaskTypeCount; ++t) {
        EXPECT_EQ(TaskTypeFromName(TaskTypeName(TaskType(t))), TaskType(t));
    }
    for (int t = 0; t < kSubTaskTypeCount; ++t) {
        EXPECT_EQ(SubTaskTypeFromName(SubTaskTypeName(SubTaskType(t))), SubTaskType(t));
    }
    EXPECT_STREQ(TaskTypeName(TaskType(7)), "InvalidType");
    EXPECT_STREQ(SubTaskTypeName(SubTaskType(-1)), "InvalidType");
    EXPECT_STREQ(SubTaskTypeName(SubTaskType::ShowSoftDoc), "ShowSoftDoc");
}

TEST(FieldKindTest, ElementNamesAreExact) {
    // Spot checks of spellings that are easy to get wrong.
    struct Case {
        FieldKind kind;
        const char* name;
    };
    const Case cases[] = {
        {FieldKind::PosX, "PosX"},
        {FieldKind::OutPutPath, "OutPutPath"},
        {FieldKind::UnInstallEx, "UnInstallEx"},
        {FieldKind::CreateUnInstall2, "CreateUnInstall2"},
        {FieldKind::IsToFileLinkGroup, "IsToFileLinkGroup"},
        {FieldKind::FileQty, "FileQty"},
        {FieldKind::IsToQuickLaunch, "IsToQuickLaunch"},
        {FieldKind::InvalidField, "InvalidField"},
    };
    for (const Case& c : cases) EXPECT_STREQ(FieldName(c.kind), c.name);
    for (int k = 0; k < kFieldKindCount; ++k) {
        EXPECT_EQ(FieldKindFromName(FieldName(FieldKind(k))), FieldKind(k)) << k;
    }
    EXPECT_EQ(FieldKindFromName("regrootkey"), FieldKind::RegRootKey);
    EXPECT_EQ(FieldKindFromName("Files"), FieldKind::InvalidField);
    EXPECT_STREQ(FieldName(FieldKind(kFieldKindCount)), "InvalidField");
}

TEST(TextKeyTest, ReferencesMatchWholeValuesIgnoringAsciiCase) {
    struct Case {
        std::string value;
        int key;
    };
    const Case cases[] = {
        {"|ProjectName|", 19},
        {"|projectname|", 19},
        {"|projectname| ", kNoTextKey},
        {"ProjectName", kNoTextKey},
        {"|InstallDesc|", 0},
        {"|UnInstallDesc|", 64},
        {"|ReadSoftDocSubject|", 24},
        {"|RegisterInfoCompanyDesc|", 33},
        {"|WelcomeWndDesc1||ProjectName|", kNoTextKey},
        {"||", kNoTextKey},  // the reserved numbers have no reference
        {"", kNoTextKey},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(TextKeyFromReference(c.value), c.key);
    }
    EXPECT_EQ(TextKeyName(TextKey::ChangePathFreeSpaceDesc3), "ChangePathFreeSpaceDesc3");
    EXPECT_EQ(TextKeyName(35), "");
    EXPECT_EQ(TextKeyName(65), "");
    EXPECT_EQ(TextKeyName(66), "FolderNameErrorDesc");  // the keys added after 65 follow it
    EXPECT_EQ(TextKeyName(kTextKeyCount), "");
}

}  // namespace
}  // namespace vesk
