// The finish page without a window: its boxes and their column, the programs the checked boxes
// start (with the File and Folder carried over), and the restart through the power seam.
#include <gtest/gtest.h>

#include "project/TaskSlots.h"
#include "support/FakeSystemFacts.h"
#include "support/MemoryRegistry.h"
#include "support/RecordingProcesses.h"
#include "support/RecordingSystemPower.h"
#include "wizard/FinishActions.h"
#include "wizard/FinishBoxes.h"

namespace vesk {
namespace {

LanguageTable Texts() {
    TextLineList lines;
    lines.Add("[Language=409]");
    lines.Add("ShowFinishDesc1=Restart now.");
    LanguageTable texts(0x409);
    texts.LoadLines(lines);
    return texts;
}

struct RunApp {
    const char* id;
    std::vector<std::pair<FieldKind, std::string>> fields;
};

Task FinishTask(int slot, const std::vector<RunApp>& programs) {
    Task task = Task::ForSlot(slot, true);
    task.Add(SubTask("10001", SubTaskType::ShowTopFrame)).Add(FieldKind::Subject, "x");
    for (const RunApp& program : programs) {
        SubTask& subtask = task.Add(SubTask(program.id, SubTaskType::RunApp));
        for (const auto& field : program.fields) subtask.Add(field.first, field.second);
    }
    task.Add(SubTask("10009", SubTaskType::Options)).Add(FieldKind::IsShow, "1");
    return task;
}

TEST(FinishPageTest, BoxesFormOneColumnCentredOnTheLongestCaption) {
    const std::string ten(10, 'a'), twentyFive(25, 'b');
    const Task task = FinishTask(kSlotFinish2, {{"10002", {{FieldKind::Description, ten}}},
                                                {"10003", {{FieldKind::Description, twentyFive}}}});
    const std::vector<FinishBox> boxes = FinishBoxesOf(task, Texts());
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].controlId, 10002);
    EXPECT_EQ(boxes[1].caption, twentyFive);

    struct Case {
        int dpi;
        BoxPlace first, second;
    };
    // Page 548 x 250: x = (548 - 25 * C - B) / 2, y = (250 - 2 * (L + 4)) / 2.
    const Case cases[] = {
        {96, {190, 107, 78, 14}, {190, 125, 168, 14}},
        {120, {163, 103, 102, 18}, {163, 125, 222, 18}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dpi);
        const std::vector<BoxPlace> places =
            LayOutFinishBoxes(boxes, 0, 0, 548, 250, FinishBoxMetricsForDpi(c.dpi));
        ASSERT_EQ(places.size(), 2u);
        for (int i = 0; i < 2; ++i) {
            const BoxPlace& got = places[i];
            const BoxPlace& want = i == 0 ? c.first : c.second;
            EXPECT_EQ(got.x, want.x) << i;
            EXPECT_EQ(got.y, want.y) << i;
            EXPECT_EQ(got.width, want.width) << i;
            EXPECT_EQ(got.height, want.height) << i;
        }
    }

    // A caption wider in the page's font than its bytes make widens its box and the column.
    const std::vector<BoxPlace> wide =
        LayOutFinishBoxes(boxes, 0, 0, 548, 250, FinishBoxMetricsForDpi(96), {70, 180});
    EXPECT_EQ(wide[0].x, (548 - 180 - 18) / 2);
    EXPECT_EQ(wide[0].width, 18 + 70);
    EXPECT_EQ(wide[1].width, 18 + 180);

    // A caption longer than the page wraps inside it: the box keeps to the margins, one line
    // high for every room's width of caption, or as high as the caption is drawn wrapped.
    const FinishBoxMetrics normal = FinishBoxMetricsForDpi(96);
    const int room = FinishCaptionRoom(0, 548, normal);
    EXPECT_EQ(room, 548 - 2 * 8 - 18);
    const std::vector<FinishBox> long_ = {{10002, std::string(120, 'c')}, {10003, "short"}};
    for (const std::vector<int>& heights : {std::vector<int>{}, std::vector<int>{40, 13}}) {
        SCOPED_TRACE(heights.size());
        const std::vector<BoxPlace> places =
            LayOutFinishBoxes(long_, 0, 0, 548, 250, normal, {}, heights);
        ASSERT_EQ(places.size(), 2u);
        const int firstHeight = heights.empty() ? 2 * 14 : 40;
        EXPECT_EQ(places[0].x, 8);
        EXPECT_EQ(places[0].x + places[0].width, 548 - 8);
        EXPECT_EQ(places[0].height, firstHeight);
        EXPECT_EQ(places[1].x, 8);  // one column
        EXPECT_EQ(places[1].y, places[0].y + firstHeight + 4);
        EXPECT_EQ(places[1].height, 14);  // never less than a line
        EXPECT_EQ(places[0].y, (250 - (firstHeight + 4) - (14 + 4)) / 2);
    }

    // The restart variant has its one box; a task without RunApp subtasks has none.
    const std::vector<FinishBox> restart = FinishBoxesOf(FinishTask(kSlotFinish1, {}), Texts());
    ASSERT_EQ(restart.size(), 1u);
    EXPECT_EQ(restart[0].controlId, kRestartBoxId);
    EXPECT_EQ(restart[0].caption, "Restart now.");
    EXPECT_TRUE(FinishBoxesOf(FinishTask(kSlotFinish2, {}), Texts()).empty());
}

TEST(FinishPageTest, CheckedProgramsUseTheFileAndFolderMetLast) {
    const Task task = FinishTask(kSlotFinish2, {{"10002",
                                                 {{FieldKind::AppParameter, "-early"},
                                                  {FieldKind::File, "a.exe"},
                                                  {FieldKind::Folder, "[InstallDir]"},
                                                  {FieldKind::AppParameter, ""}}},
                                                {"10003",
                                                 {{FieldKind::File, "b.exe"},
                                                  {FieldKind::Folder, "C:\\B"},
                                                  {FieldKind::AppParameter, "-b"}}},
                                                {"10004",
                                                 {{FieldKind::AppParameter, "-c"},
                                                  {FieldKind::File, "c.txt"},
                                                  {FieldKind::Folder, "[InstallDir]\\docs"},
                                                  {FieldKind::AppParameter, ""}}}});
    using Starts = std::vector<ProgramStart>;
    struct Case {
        std::vector<bool> checked;
        Starts expected;
    };
    const Case cases[] = {
        {{true, false, true},
         {{"", "", "-early"},
          {"[InstallDir]", "a.exe", ""},
          {"[InstallDir]", "a.exe", "-c"},  // carried over the unchecked subtask
          {"[InstallDir]\\docs", "c.txt", ""}}},
        {{false, true, true},
         {{"C:\\B", "b.exe", "-b"}, {"C:\\B", "b.exe", "-c"}, {"[InstallDir]\\docs", "c.txt", ""}}},
        {{false, false, false}, {}},
        {{true}, {{"", "", "-early"}, {"[InstallDir]", "a.exe", ""}}},
    };
    for (const Case& c : cases) {
        const Starts starts = ProgramsToStart(task, c.checked);
        EXPECT_EQ(starts.size(), c.expected.size());
        for (std::size_t i = 0; i < std::min(starts.size(), c.expected.size()); ++i) {
            EXPECT_EQ(starts[i], c.expected[i]) << i << ": " << starts[i].folder << " | "
                                                << starts[i].file << " | " << starts[i].parameter;
        }
    }
}

TEST(FinishPageTest, ProgramsStartQuotedDocumentsOpenThroughTheShell) {
    test::FakeSystemFacts system;
    test::MemoryRegistry registry;
    PathResolver paths(system, registry, "C:\\Program Files\\Tool");
    struct Case {
        ProgramStart program;
        const char* logged;
    };
    const Case cases[] = {
        {{"[InstallDir]", "run.exe", ""},
         "start C:\\Program Files\\Tool\\run.exe | \"C:\\Program Files\\Tool\\run.exe\" | "
         "C:\\Program Files\\Tool | 1"},
        {{"[InstallDir]", "Run.EXE", "-q /x"},
         "start C:\\Program Files\\Tool\\Run.EXE | \"C:\\Program Files\\Tool\\Run.EXE\" -q /x | "
         "C:\\Program Files\\Tool | 1"},
        {{"[InstallDir]\\docs", "readme.txt", ""},
         "open C:\\Program Files\\Tool\\docs\\readme.txt |  | C:\\Program Files\\Tool\\docs | 1"},
        {{"[Windows Directory]", "notes.exe.txt", "-p"},
         "open C:\\WINDOWS\\notes.exe.txt | -p | C:\\WINDOWS | 1"},
        {{"D:\\Apps", "tool", ""}, "open D:\\Apps\\tool |  | D:\\Apps | 1"},
    };
    for (const Case& c : cases) {
        test::RecordingProcesses processes;
        EXPECT_TRUE(StartProgram(c.program, paths, processes));
        EXPECT_EQ(processes.Log(), std::vector<std::string>{c.logged});
    }
}

TEST(FinishPageTest, RestartCleansUpFirstAndRunsOnlyWhenItsBoxIsChecked) {
    test::FakeSystemFacts system;
    test::MemoryRegistry registry;
    PathResolver paths(system, registry, "C:\\Tool");
    const Task restart = FinishTask(kSlotFinish1, {});
    const Task programs = FinishTask(kSlotFinish2, {{"10002",
                                                     {{FieldKind::File, "a.exe"},
                                                      {FieldKind::Folder, "[InstallDir]"},
                                                      {FieldKind::AppParameter, ""}}}});
    struct Case {
        const Task* task;
        std::vector<bool> checked;
        std::vector<std::string> log;
        std::size_t started;
    };
    const Case cases[] = {
        {&restart, {true}, {"clean-up", "shutdown privilege", "forced restart"}, 0},
        {&restart, {false}, {}, 0},
        {&programs, {true}, {}, 1},  // the run-programs variant never restarts
        {&programs, {false}, {}, 0},
    };
    for (const Case& c : cases) {
        std::vector<std::string> log;
        test::RecordingSystemPower power(log);
        test::RecordingProcesses processes;
        RunFinishAction(*c.task, c.checked, FinishServices{paths, processes, power, [&] {
                                                               log.push_back("clean-up");
                                                           }});
        EXPECT_EQ(log, c.log);
        EXPECT_EQ(processes.Log().size(), c.started);
    }
}

}  // namespace
}  // namespace vesk
