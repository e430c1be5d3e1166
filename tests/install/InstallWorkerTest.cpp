// The worker's order of phases, its pauses, the Cancel question and its end, through a scripted
// report.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <numeric>
#include <string>
#include <vector>

#include "install/InstallBench.h"
#include "project/TaskSlots.h"

namespace vesk {
namespace {

using test::InstallBench;

const std::vector<std::string> kAllPhases = {"Installing", "Folders",    "Files",    "Fonts",
                                             "Registry",   "Components", "Clearing", "Shortcuts"};
const std::string kExitQuestion = "? Exit: Exit?";

int Sum(const std::vector<int>& pauses) {
    return std::accumulate(pauses.begin(), pauses.end(), 0);
}

TEST(InstallWorkerTest, PhasesRunInOrderWithTheirPausesAndEndCompleted) {
    InstallBench run;
    run.Run();
    std::vector<std::string> expected = kAllPhases;
    expected.insert(expected.end(), {"100%", "completed"});
    EXPECT_EQ(run.report.log, expected);
    EXPECT_EQ(Sum(run.pauses), 8 * InstallWorker::kPhasePauseMs);
    EXPECT_TRUE(run.session.flags.setupFinished);
    EXPECT_TRUE(run.session.flags.installOk);
}

TEST(InstallWorkerTest, CancelAsksAndYesEndsEarlyWhileNoGoesOn) {
    struct Case {
        const char* cancelAt;
        bool answer;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"Fonts", false, {}},  // No: every phase still runs
        {"Fonts", true, {"Installing", "Folders", "Files", "Fonts", kExitQuestion, "ended early"}},
        {"Shortcuts", true, {}},
    };
    for (const Case& c : cases) {
        InstallBench run;
        run.report.cancelAt = c.cancelAt;
        run.report.answers = {c.answer};
        run.Run();
        std::vector<std::string> expected = c.expected;
        if (expected.empty()) {
            expected = kAllPhases;
            auto at = std::find(expected.begin(), expected.end(), c.cancelAt);
            expected.insert(at + 1, kExitQuestion);
            if (c.answer) {
                expected.push_back("ended early");
            } else {
                expected.insert(expected.end(), {"100%", "completed"});
            }
        }
        EXPECT_EQ(run.report.log, expected) << c.cancelAt << " " << c.answer;
        EXPECT_EQ(run.session.flags.installOk, !c.answer);
        EXPECT_EQ(run.session.flags.setupFinished, !c.answer);
        EXPECT_FALSE(run.session.flags.cancelRequested && !c.answer);
    }
}

// Two items in one phase, Cancel pressed as the phase begins: the question comes after the
// first item; Yes leaves the second undone and ends the install, No lets both be done.
TEST(InstallWorkerTest, CancelInEachPhaseIsAnsweredAfterItsFirstItem) {
    struct Case {
        const char* phase;
        std::function<void(InstallBench&)> prepare;
        std::function<int(const InstallBench&)> itemsDone;
    };
    auto operationsStarting = [](const std::string& prefix) {
        return [prefix](const InstallBench& run) {
            return int(
                std::count_if(run.operations.begin(), run.operations.end(),
                              [&](const std::string& op) { return op.rfind(prefix, 0) == 0; }));
        };
    };
    auto registryItem = [](const std::string& name) {
        SubTask item("10001", SubTaskType::Registry);
        item.Add(FieldKind::RegRootKey, "HKEY_LOCAL_MACHINE")
            .Add(FieldKind::RegSubKey, "\\SOFTWARE\\Demo")
            .Add(FieldKind::RegVarName, name);
        return item;
    };
    auto shortcut = [](const std::string& name) {
        SubTask item("10002", SubTaskType::CreateShortcutMenu);
        item.Add(FieldKind::Description, name)
            .Add(FieldKind::Folder, "[InstallDir]")
            .Add(FieldKind::File, "a.exe")
            .Add(FieldKind::IsToDesktop, "1");
        return item;
    };
    const Case cases[] = {
        {"Folders",
         [](InstallBench& run) {
             run.session.folders.Add("[InstallDir]\\one");
             run.session.folders.Add("[InstallDir]\\two");
         },
         [](const InstallBench& run) {
             return int(run.files.FolderExists("C:\\Apps\\Demo\\one")) +
                    int(run.files.FolderExists("C:\\Apps\\Demo\\two"));
         }},
        {"Files",
         [](InstallBench& run) {
             run.session.folders.Add("[InstallDir]");
             run.AddFile("[InstallDir]\\one.txt", 'A');
             run.AddFile("[InstallDir]\\two.txt", 'A');
         },
         [](const InstallBench& run) { return int(run.extractor.timed.size()); }},
        {"Fonts",
         [](InstallBench& run) {
             run.Add(kSlotFonts, SubTaskType::GetValue, FieldKind::File,
                     "[Windows Directory]\\a.ttf");
             run.Add(kSlotFonts, SubTaskType::GetValue, FieldKind::File,
                     "[Windows Directory]\\b.ttf");
         },
         operationsStarting("font ")},
        {"Registry",
         [&](InstallBench& run) {
             run.AddSubTask(kSlotRegistry, registryItem("One"));
             run.AddSubTask(kSlotRegistry, registryItem("Two"));
         },
         [](const InstallBench& run) {
             return int(bool(
                        run.registry.Value(RegistryRoot::LocalMachine, "SOFTWARE\\Demo", "One"))) +
                    int(bool(
                        run.registry.Value(RegistryRoot::LocalMachine, "SOFTWARE\\Demo", "Two")));
         }},
        {"Components",
         [](InstallBench& run) {
             run.Add(kSlotComponentRegistration, SubTaskType::GetValue, FieldKind::File, "a.txt");
             run.Add(kSlotComponentRegistration, SubTaskType::GetValue, FieldKind::File, "b.txt");
             run.shellOpened = {"a.txt", "b.txt"};
         },
         operationsStarting("component ")},
        {"Clearing",
         [](InstallBench& run) {
             run.files.Put("C:\\Apps\\one.tmp", "x");
             run.files.Put("C:\\Apps\\two.tmp", "x");
             run.Add(kSlotClearFiles, SubTaskType::GetValue, FieldKind::File, "C:\\Apps\\one.tmp");
             run.Add(kSlotClearFiles, SubTaskType::GetValue, FieldKind::File, "C:\\Apps\\two.tmp");
         },
         [](const InstallBench& run) {
             return int(!run.files.FileExists("C:\\Apps\\one.tmp")) +
                    int(!run.files.FileExists("C:\\Apps\\two.tmp"));
         }},
        {"Shortcuts",
         [&](InstallBench& run) {
             run.session.programFolder = "Demo";
             run.AddSubTask(kSlotShortcuts, shortcut("One"));
             run.AddSubTask(kSlotShortcuts, shortcut("Two"));
         },
         [](const InstallBench& run) { return int(run.links.links.size()); }},
    };
    for (bool stop : {true, false}) {
        for (const Case& c : cases) {
            InstallBench run;
            c.prepare(run);
            run.report.cancelAt = c.phase;
            run.report.answers = {stop};
            run.Run();
            EXPECT_EQ(c.itemsDone(run), stop ? 1 : 2) << c.phase << " " << stop;
            EXPECT_EQ(run.report.log.back(), stop ? "ended early" : "completed") << c.phase;
            EXPECT_EQ(std::count(run.report.log.begin(), run.report.log.end(), kExitQuestion), 1)
                << c.phase;
            EXPECT_FALSE(run.session.flags.cancelRequested && !stop);
        }
    }
}

TEST(InstallWorkerTest, AComponentBeingRegisteredIsNotInterruptedByTheQuestion) {
    InstallBench run;
    for (const char* value : {"a.ocx", "b.exe", "c.txt"}) {
        run.Add(kSlotComponentRegistration, SubTaskType::GetValue, FieldKind::File, value);
    }
    run.shellOpened = {"c.txt"};
    run.report.cancelAt = "Components";
    run.report.answers = {true};
    run.Run();
    // Only the document opened through the shell is followed by the question.
    EXPECT_EQ(run.operations,
              (std::vector<std::string>{"component a.ocx", "component b.exe", "component c.txt"}));
    EXPECT_EQ(run.report.log.back(), "ended early");
}

}  // namespace
}  // namespace vesk
