// The project's look-ups, page cursor, loading and saving, and the write-read-write round trip.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/AnsiText.h"
#include "project/InstallProject.h"
#include "project/TaskSlots.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

// A project whose tasks at the given indices are pages (index 0 is project properties).
InstallProject ProjectWithExecAt(std::size_t count, std::vector<std::size_t> execIndices) {
    InstallProject project;
    for (std::size_t i = 0; i < count; ++i) {
        bool exec = false;
        for (std::size_t e : execIndices) exec = exec || e == i;
        project.Add(Task(std::to_string(3000 + i), TaskType::ShowDialogBox, exec));
    }
    return project;
}

std::string IdOf(const Task* task) {
    return task ? task->Id() : "none";
}

TEST(InstallProjectTest, TextsAreReadInTheCodePageTheProjectDeclares) {
    if (AnsiEncoder()(0xE9) != "\xE9") GTEST_SKIP() << "the system's code page is not 1252";
    const auto project = [](const std::string& declaration, const std::string& name) {
        return declaration +
               "\r\n<InstallProject>\r\n<Version>VeskInstall5.0</Version>\r\n"
               "<Task ID=\"2401\" Type=\"DataSetting\" IsExec=\"0\">\r\n"
               "<SubTask ID=\"10001\" Type=\"GetAllVar\">\r\n<ProjectName>" +
               name + "</ProjectName>\r\n</SubTask>\r\n</Task>\r\n</InstallProject>\r\n";
    };
    const struct {
        const char* what;
        std::string text;
        std::string name;
    } cases[] = {
        // Every project and log of earlier engines: the system's ANSI code page.
        {"GB2312 declared", project("<?xml version=\"1.0\" encoding=\"GB2312\"?>", "Caf\xE9"),
         "Caf\xC3\xA9"},
        {"UTF-8 declared", project("<?xml version=\"1.0\" encoding=\"UTF-8\"?>", "Caf\xC3\xA9"),
         "Caf\xC3\xA9"},
        {"utf-8 declared", project("<?xml version=\"1.0\" encoding=\"utf-8\"?>", "\xE4\xB8\xAD"),
         "\xE4\xB8\xAD"},
        {"UTF-8 declared, a stray byte", project("<?xml encoding=\"UTF-8\"?>", "Caf\xE9"),
         "Caf\xEF\xBF\xBD"},
    };
    for (const auto& c : cases) {
        InstallProject read;
        read.Parse(c.text);
        EXPECT_EQ(read.ProjectName(), c.name) << c.what;
    }
}

TEST(InstallProjectTest, PageCursorWalksPagesAtOneFourSix) {
    InstallProject project = ProjectWithExecAt(8, {1, 4, 6});
    EXPECT_EQ(project.CurrentPage(), 1u);
    EXPECT_TRUE(project.AtFirstPage());
    EXPECT_EQ(project.PageOrder(), (std::vector<std::size_t>{1, 4, 6}));

    struct Step {
        bool next;
        std::string id;
        std::size_t current;
        bool atFirst;
        bool atLast;
    };
    const Step steps[] = {
        {true, "3004", 4, false, false}, {true, "3006", 6, false, true},
        {true, "none", 6, false, true},  {false, "3004", 4, false, false},
        {false, "3001", 1, true, false}, {false, "none", 1, true, false},
        {true, "3004", 4, false, false},
    };
    int n = 0;
    for (const Step& s : steps) {
        SCOPED_TRACE(n++);
        EXPECT_EQ(IdOf(s.next ? project.NextPage() : project.PreviousPage()), s.id);
        EXPECT_EQ(project.CurrentPage(), s.current);
        EXPECT_EQ(IdOf(project.CurrentPageTask()), IdOf(&project.TaskAt(s.current)));
        EXPECT_EQ(project.AtFirstPage(), s.atFirst);
        EXPECT_EQ(project.AtLastPage(), s.atLast);
    }
}

TEST(InstallProjectTest, IndexZeroIsNeverAPage) {
    InstallProject onlyZero = ProjectWithExecAt(3, {0});
    EXPECT_EQ(onlyZero.FirstPage(), 0u);
    EXPECT_EQ(onlyZero.LastPage(), 0u);
    EXPECT_FALSE(onlyZero.AtFirstPage());
    EXPECT_EQ(onlyZero.NextPage(), nullptr);
    EXPECT_EQ(onlyZero.PreviousPage(), nullptr);
    EXPECT_TRUE(onlyZero.PageOrder().empty());

    InstallProject single = ProjectWithExecAt(3, {0, 2});
    EXPECT_EQ(single.FirstPage(), 2u);
    EXPECT_EQ(single.LastPage(), 2u);
    EXPECT_EQ(single.NextPage(), nullptr);
    EXPECT_TRUE(single.AtLastPage());
    EXPECT_EQ(single.PreviousPage(), nullptr);
    EXPECT_TRUE(single.AtFirstPage());
    EXPECT_EQ(single.PageOrder(), (std::vector<std::size_t>{2}));
}

InstallProject LookupProject() {
    InstallProject project;
    Task task("2401", TaskType::DataSetting, false);
    task.Add(SubTask("1", SubTaskType::GetValue)).Add(FieldKind::File, "a1");
    task.Add(SubTask("2", SubTaskType::GetAllVar)).Add(FieldKind::Description, "not this type");
    task.Add(SubTask("3", SubTaskType::GetValue))
        .Add(FieldKind::Description, "second")
        .Add(FieldKind::File, "b1")
        .Add(FieldKind::File, "b2")
        .Add(FieldKind::Description, "third");
    project.Add(task);
    project.Add(Task("2401", TaskType::DataSetting, false));  // a later duplicate is not found
    return project;
}

TEST(InstallProjectTest, GetValueTakesFirstSubTaskHoldingTheField) {
    const InstallProject project = LookupProject();
    struct Case {
        std::string taskId;
        SubTaskType type;
        FieldKind kind;
        std::string value;
    };
    const Case cases[] = {
        {"2401", SubTaskType::GetValue, FieldKind::Description, "second"},
        {"2401", SubTaskType::GetValue, FieldKind::File, "a1"},
        {"2401", SubTaskType::GetAllVar, FieldKind::Description, "not this type"},
        {"2401", SubTaskType::GetAllVar, FieldKind::File, ""},
        {"2401", SubTaskType::Registry, FieldKind::File, ""},
        {"2401 ", SubTaskType::GetValue, FieldKind::File, ""},  // IDs compare exactly
        {"2402", SubTaskType::GetValue, FieldKind::File, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.taskId + " " + FieldName(c.kind));
        EXPECT_EQ(project.GetValue(c.taskId, c.type, c.kind), c.value);
    }
    EXPECT_EQ(project.FindTask("2401"), &project.TaskAt(0));
    EXPECT_EQ(project.FindTask("2401 "), nullptr);
    EXPECT_EQ(project.FindSlotTask(kSlotProjectProperties), &project.TaskAt(0));
    EXPECT_EQ(project.FindSlotTask(kSlotFonts), nullptr);
}

TEST(InstallProjectTest, GetValuesCollectsAcrossSubTasksInFileOrder) {
    const InstallProject project = LookupProject();
    TextLineList out;
    out.Add("stale");
    project.GetValues("2401", SubTaskType::GetValue, FieldKind::File, out);
    EXPECT_EQ(out.Lines(), (std::vector<std::string>{"a1", "b1", "b2"}));
    project.GetValues("2401", SubTaskType::GetValue, FieldKind::Description, out);
    EXPECT_EQ(out.Lines(), (std::vector<std::string>{"second", "third"}));
    project.GetValues("9999", SubTaskType::GetValue, FieldKind::File, out);
    EXPECT_EQ(out.Count(), 0u);
}

// A project with every slot's task, every subtask type and every field kind, repeated Files
// among them, values with '>' and UTF-8 characters, and the catch-all types.
InstallProject EveryKindProject() {
    InstallProject project;
    for (int slot = 0; slot < kTaskSlotCount; ++slot) {
        Task task = Task::ForSlot(slot, IsPageSlot(slot) && slot != kSlotReadme);
        for (int t = 0; t < kSubTaskTypeCount; ++t) {
            SubTask& subtask = task.Add(SubTask(std::to_string(10000 + t), SubTaskType(t)));
            for (int k = 0; k < kFieldKindCount; ++k) {
                subtask.Add(FieldKind(k), "v" + std::to_string(slot * 100 + k));
            }
            subtask.Add(FieldKind::File, "second file")
                .Add(FieldKind::File, "a>b \xE5\xAE\x89 \"quoted\" &amp;")
                .Add(FieldKind::Description, "");
        }
        task.Add(SubTask("999999", SubTaskType::GetValue));
        project.Add(task);
    }
    project.Add(Task("", TaskType::InvalidType, true));
    return project;
}

TEST(InstallProjectTest, WriteReadWriteGivesIdenticalBytes) {
    const InstallProject original = EveryKindProject();
    const std::string written = original.ToText();
    InstallProject back;
    back.Parse(written);
    EXPECT_EQ(back.Tasks(), original.Tasks());
    EXPECT_EQ(back.ToText(), written);
    EXPECT_EQ(back.PageOrder(), original.PageOrder());
    EXPECT_EQ(back.TaskAt(kSlotFonts).Label(), TaskLabelForSlot(kSlotFonts));
    // The repeated File fields keep their number and order.
    const TextLineList files = back.GetValues("2412", SubTaskType::FileList, FieldKind::File);
    EXPECT_EQ(files.Lines(), (std::vector<std::string>{"v2009", "second file",
                                                       "a>b \xE5\xAE\x89 \"quoted\" &amp;"}));
}

TEST(InstallProjectTest, WritesTheFixedLayout) {
    InstallProject project;
    Task task("2401", TaskType::DataSetting, false);
    task.Add(SubTask("10001", SubTaskType::GetAllVar)).Add(FieldKind::ProjectName, "Demo");
    project.Add(task);
    project.Add(Task("2002", TaskType::ShowDialogBox, true));
    EXPECT_EQ(project.ToText(),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
              "<InstallProject>\r\n"
              "<Version>VeskInstall5.0</Version>\r\n"
              "<Task ID=\"2401\" Type=\"DataSetting\" IsExec=\"0\">\r\n"
              "<SubTask ID=\"10001\" Type=\"GetAllVar\">\r\n"
              "<ProjectName>Demo</ProjectName>\r\n"
              "</SubTask>\r\n"
              "</Task>\r\n"
              "<Task ID=\"2002\" Type=\"ShowDialogBox\" IsExec=\"1\">\r\n"
              "</Task>\r\n"
              "</InstallProject>\r\n");
}

TEST(InstallProjectTest, LoadsAndSavesFiles) {
    test::TempDir dir;
    const InstallProject source = EveryKindProject();
    ASSERT_TRUE(test::WriteWholeFile(dir / "p.xml", source.ToText()));

    InstallProject project;
    ASSERT_TRUE(project.Load(dir / "p.xml"));
    EXPECT_EQ(project.Path(), dir / "p.xml");
    EXPECT_EQ(project.TempPath(), dir / "p.xml.~TempFile");
    EXPECT_TRUE(project.Saved());
    EXPECT_EQ(project.ProjectName(), "v15");
    EXPECT_EQ(project.TaskCount(), source.TaskCount());

    // A saved project is not written again when only unsaved ones are asked for.
    EXPECT_TRUE(project.Save(true, false));
    EXPECT_FALSE(test::FileExists(project.TempPath()));
    EXPECT_TRUE(project.Save(true, true));
    EXPECT_EQ(test::ReadWholeFile(project.TempPath()), source.ToText());

    project.SetPath(dir / "log.xml");
    EXPECT_TRUE(project.Save());
    EXPECT_EQ(test::ReadWholeFile(dir / "log.xml"), source.ToText());

    project.SetPath(dir / "missing folder/log.xml");
    EXPECT_FALSE(project.Save());
}

TEST(InstallProjectTest, UnreadableFileLoadsAsEmptyProject) {
    test::TempDir dir;
    ASSERT_TRUE(test::WriteWholeFile(dir / "empty.xml", ""));
    for (const char* name : {"empty.xml", "missing.xml"}) {
        SCOPED_TRACE(name);
        InstallProject project;
        project.Add(Task("2002", TaskType::ShowDialogBox, true));
        EXPECT_FALSE(project.Load(dir / name));
        EXPECT_EQ(project.TaskCount(), 0u);
        EXPECT_EQ(project.NextPage(), nullptr);
        EXPECT_EQ(project.ProjectName(), "");
    }
}

}  // namespace
}  // namespace vesk
