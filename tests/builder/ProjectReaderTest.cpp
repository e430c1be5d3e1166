// Reading hand-written projects: the allowances, the refusals, and completion to the 21 slots.
#include <gtest/gtest.h>

#include "builder/checks/DefaultTasks.h"
#include "builder/checks/ProjectCompleter.h"
#include "builder/reading/ProjectReader.h"
#include "builder/starter/StarterProject.h"
#include "project/TaskSlots.h"

namespace vesk {
namespace {

const char kCanonical[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<InstallProject>\r\n"
    "<Version>VeskInstall5.0</Version>\r\n"
    "<Task ID=\"2401\" Type=\"DataSetting\" IsExec=\"0\">\r\n"
    "<SubTask ID=\"10001\" Type=\"GetAllVar\">\r\n"
    "<ProjectName>Demo</ProjectName>\r\n<InstallPath>[Program Files]\\Demo</InstallPath>\r\n"
    "</SubTask>\r\n</Task>\r\n"
    "<Task ID=\"2002\" Type=\"ShowDialogBox\" IsExec=\"1\">\r\n"
    "<SubTask ID=\"10001\" Type=\"GetValue\">\r\n<Description>a>b</Description>\r\n"
    "<Description></Description>\r\n</SubTask>\r\n</Task>\r\n</InstallProject>\r\n";

TEST(ProjectReaderTest, ReadsWhatPeopleWriteAsTheEngineReadsTheCanonicalForm) {
    const std::string written =
        "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"GB2312\"?>\n"
        "<!-- a project -->\n<InstallProject>\n\n"
        "  <Version>VeskInstall5.0</Version>\n"
        "<!--\n  <Task ID=\"9999\" Type=\"DataSetting\" IsExec=\"0\">\n-->\n"
        "  <task ID=\"2401\" Type=\"datasetting\" IsExec=\"0\">\r\n"
        "    <SubTask ID=\"10001\" Type=\"GetAllVar\">\n"
        "      <projectname>Demo</ProjectName>\t\n"
        "      <InstallPath>[Program Files]\\Demo</InstallPath>\n"
        "    </SubTask>\n  </TASK>\n"
        "  <Task ID=\"2002\" Type=\"ShowDialogBox\" IsExec=\"1\">\n"
        "    <!-- lines -->\n"
        "    <SubTask ID=\"10001\" Type=\"GetValue\">\n"
        "      <Description>a>b</Description>\n      <Description></Description>\n"
        "    </SubTask>\n  </Task>\n</InstallProject>\n\n";
    ProjectReader reader;
    ASSERT_TRUE(reader.ReadText(written, "p.xml")) << reader.LastError();
    InstallProject engine;
    engine.Parse(std::string(kCanonical));
    EXPECT_EQ(reader.Project().ToText(), engine.ToText());
    EXPECT_EQ(reader.Project().ToText(), kCanonical);
}

TEST(ProjectReaderTest, RefusesWhatTheEngineWouldMisread) {
    const std::string head =
        "<InstallProject>\n<Task ID=\"2401\" Type=\"DataSetting\" IsExec=\"0\">\n"
        "<SubTask ID=\"1\" Type=\"GetAllVar\">\n";
    const std::string tail = "</SubTask>\n</Task>\n</InstallProject>\n";
    struct Case {
        std::string text;
        const char* error;
    };
    const Case cases[] = {
        {"", "p.xml: no <InstallProject>"},
        {"<Project>\n", "p.xml:1: expected <InstallProject>"},
        {head + "<Descripton>x</Descripton>\n" + tail, "p.xml:4: unknown field <Descripton>"},
        {head + "<InvalidField>x</InvalidField>\n" + tail, "unknown field"},
        {head + "<File/>\n" + tail, "p.xml:4: write an empty field as <File></File>"},
        {head + "<File>a<b</File>\n" + tail, "p.xml:4: the value of <File> must end"},
        {head + "<File>a</Folder>\n" + tail, "must end at its closing tag </File>"},
        {head + "<File>a\n" + tail, "no closing tag"},
        {head + "just text\n" + tail, "p.xml:4: expected a field"},
        {head + "</Task>\n</InstallProject>\n", "p.xml:4: </SubTask> is missing"},
        {"<InstallProject>\n<Task Type=\"DataSetting\" ID=\"2401\" IsExec=\"0\">\n",
         "p.xml:2: write the attributes of a task in the order ID, Type, IsExec: the setup reads "
         "them by their place"},
        {"<InstallProject>\n<Task ID=\"2401\" Type=\"DataSetting\">\n", "p.xml:2: a task"},
        {"<InstallProject>\n<Task ID=\"2401\"  Type=\"DataSetting\" IsExec=\"0\">\n", "p.xml:2:"},
        {"<InstallProject>\n<Task ID=\"2401\" Type=\"Data\" IsExec=\"0\">\n", "unknown task type"},
        {"<InstallProject>\n<Task ID=\"2401\" Type=\"DataSetting\" IsExec=\"yes\">\n", "IsExec"},
        {"<InstallProject>\n<Task>\n", "p.xml:2: the start tag has no attributes"},
        {"<InstallProject>\n<Task ID=\"2401\" Type=\"DataSetting\" IsExec=\"0\">\n"
         "<SubTask ID=\"1\" Type=\"Nothing\">\n",
         "p.xml:3: unknown subtask type"},
        {"<InstallProject>\n<Task ID=\"2401\" Type=\"DataSetting\" IsExec=\"0\">\n"
         "<SubTask ID=\"1=2\" Type=\"GetValue\">\n",
         "p.xml:3: a subtask ID cannot hold '='"},
        {"<InstallProject>\n<Task ID=\"2401\" Type=\"DataSetting\" IsExec=\"0\">\n<File>x</File>\n",
         "p.xml:3: expected <SubTask"},
        {"<InstallProject>\n<Task ID=\"2401\" Type=\"DataSetting\" IsExec=\"0\">\n",
         "p.xml:2: the task that starts here is not closed"},
        {"<InstallProject>\n", "ends without </InstallProject>"},
        {"<InstallProject>\n</InstallProject>\n<Task>\n", "p.xml:3: nothing may follow"},
        {"<InstallProject>\n<!-- open\n</InstallProject>\n", "p.xml:2: the comment"},
        {"<InstallProject>\n<!-- x --> y\n</InstallProject>\n", "p.xml:2: put nothing after"},
        {"<InstallProject>\r\r\n</InstallProject>\n", "p.xml:1: stray carriage return"},
        {"<InstallProject>\nhello\n</InstallProject>\n", "p.xml:2: expected <Task"},
        {head + std::string("<File>a\0b</File>\n", 17) + tail, "p.xml:4: a NUL byte"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ProjectReader reader;
        EXPECT_FALSE(reader.ReadText(c.text, "p.xml"));
        EXPECT_NE(reader.LastError().find(c.error), std::string::npos) << reader.LastError();
    }
}

// "2404[GetValue/1 CreateShortcutMenu/2]": each task's ID, its subtasks' types and field counts.
std::string Outline(const InstallProject& project) {
    std::string text;
    for (std::size_t t = 0; t < project.TaskCount(); ++t) {
        const Task& task = project.TaskAt(t);
        text += (t ? " " : "") + task.Id() + (task.IsExec() ? "*" : "") + "[";
        for (std::size_t s = 0; s < task.SubTaskCount(); ++s) {
            const SubTask& subtask = task.SubTaskAt(s);
            text += std::string(s ? " " : "") + SubTaskTypeName(subtask.Type()) + "/" +
                    std::to_string(subtask.FieldCount());
        }
        text += "]";
    }
    return text;
}

TEST(ProjectReaderTest, GoesOnAfterAMistakeAndKeepsWhatItCanMakeOut) {
    const std::string task = "<Task ID=\"2404\" Type=\"DataSetting\" IsExec=\"0\">\n";
    const std::string values = "<SubTask ID=\"1\" Type=\"GetValue\">\n";
    const std::string shortcut = "<SubTask ID=\"2\" Type=\"CreateShortcutMenu\">\n";
    const std::string field = "<Description>P</Description>\n";
    const std::string fonts = "<Task ID=\"2407\" Type=\"DataSetting\" IsExec=\"0\">\n";
    struct Case {
        const char* name;
        std::string body;  // from line 2, between <InstallProject> and </InstallProject>
        std::vector<std::size_t> errorLines;
        const char* outline;
        bool lostTasks;
    };
    const Case cases[] = {
        {"</SubTask> missing before a subtask",
         task + values + field + shortcut + field + "</SubTask>\n</Task>\n",
         {5},
         "2404[GetValue/1 CreateShortcutMenu/1]",
         false},
        {"</Task> missing before a task",
         task + values + field + "</SubTask>\n" + fonts + "</Task>\n",
         {6},
         "2404[GetValue/1] 2407[]",
         false},
        {"both missing before a task",
         task + values + field + fonts + "</Task>\n",
         {5},
         "2404[GetValue/1] 2407[]",
         false},
        {"a refused field among good ones",
         task + values + "<Descripton>x</Descripton>\n<Folder/>\n" + field +
             "</SubTask>\n</Task>\n",
         {4, 5},
         "2404[GetValue/1]",
         false},
        {"a field outside a subtask",
         task + field + values + field + "</SubTask>\n</Task>\n",
         {3},
         "2404[GetValue/1]",
         false},
        {"a subtask of no known type, read for its own mistakes",
         task +
             "<SubTask ID=\"1\" Type=\"Shortcut\">\n<Descripton>x</Descripton>\n"
             "</SubTask>\n" +
             shortcut + field + "</SubTask>\n</Task>\n",
         {3, 4},
         "2404[CreateShortcutMenu/1]",
         false},
        {"subtask attributes out of order",
         task + "<SubTask Type=\"GetValue\" ID=\"1\">\n" + field + "</SubTask>\n</Task>\n",
         {3},
         "2404[GetValue/1]",
         false},
        {"a task type misspelt: the slot's type",
         "<Task ID=\"2404\" Type=\"DataSeting\" IsExec=\"0\">\n" + values + field +
             "</SubTask>\n</Task>\n",
         {2},
         "2404[GetValue/1]",
         false},
        {"IsExec neither 0 nor 1",
         "<Task ID=\"2002\" Type=\"ShowDialogBox\" IsExec=\"yes\">\n</Task>\n",
         {2},
         "2002[]",
         false},
        {"a task start that cannot be made out, its lines passed over",
         "<Task>\n" + values + field + "</SubTask>\n</Task>\n" + fonts + "</Task>\n",
         {2},
         "2407[]",
         true},
        {"text between tasks", "hello\n" + fonts + "</Task>\n", {2}, "2407[]", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProjectReader reader;
        EXPECT_FALSE(reader.ReadText("<InstallProject>\n" + c.body + "</InstallProject>\n", "p"));
        std::vector<std::size_t> lines;
        for (const Problem& error : reader.Errors()) lines.push_back(error.line);
        EXPECT_EQ(lines, c.errorLines) << reader.LastError();
        EXPECT_EQ(Outline(reader.Project()), c.outline);
        EXPECT_EQ(reader.LostTasks(), c.lostTasks);
        // What was kept still has a line for each of its parts.
        ASSERT_EQ(reader.Locations().size(), reader.Project().TaskCount());
        for (std::size_t t = 0; t < reader.Locations().size(); ++t) {
            EXPECT_EQ(reader.Locations()[t].subtasks.size(),
                      reader.Project().TaskAt(t).SubTaskCount());
        }
    }
    // Without <InstallProject> the tasks are still read.
    ProjectReader reader;
    EXPECT_FALSE(reader.ReadText(fonts + "</Task>\n</InstallProject>\n", "p"));
    EXPECT_EQ(reader.LastError(), "p:1: expected <InstallProject>");
    EXPECT_EQ(Outline(reader.Project()), "2407[]");
    // A file that is no project is told so once, not line by line; a project full of mistakes
    // is read up to a limit.
    std::string text, fields;
    for (int i = 0; i < 300; ++i) text += "some text\n";
    EXPECT_FALSE(reader.ReadText(text, "p"));
    EXPECT_EQ(reader.LastError(), "p:1: expected <InstallProject>\np: no <InstallProject> element");
    for (int i = 0; i < 300; ++i) fields += "<Descripton>x</Descripton>\n";
    EXPECT_FALSE(reader.ReadText("<InstallProject>\n" + task + values + fields, "p"));
    ASSERT_EQ(reader.Errors().size(), ProjectReader::kMaxErrors + 1);
    EXPECT_EQ(reader.Errors().back().message, "p: stopped reading after 100 mistakes");
}

TEST(ProjectReaderTest, StarterProjectReadsBack) {
    std::string text = StarterProject::ProjectText(StarterProject::Content());
    ProjectReader reader;
    ASSERT_TRUE(reader.ReadText(text, "starter")) << reader.LastError();
    ASSERT_EQ(reader.Project().TaskCount(), std::size_t(kTaskSlotCount));
    for (int slot = 0; slot < kTaskSlotCount; ++slot) {
        EXPECT_EQ(reader.Project().TaskAt(std::size_t(slot)),
                  DefaultTasks::ForSlot(slot, StarterProject::Content()));
    }
    // The engine's own parser reads the commented file to the same project.
    InstallProject engine;
    engine.Parse(text);
    EXPECT_EQ(engine.ToText(), reader.Project().ToText());
}

TEST(ProjectCompleterTest, FillsTheSlotsAndKeepsWhatIsWritten) {
    const char project[] =
        "<InstallProject>\n"
        "<Task ID=\"2404\" Type=\"DataSetting\" IsExec=\"0\">\n"
        "<SubTask ID=\"7\" Type=\"GetValue\">\n<Description>Tools</Description>\n</SubTask>\n"
        "</Task>\n"
        "<Task ID=\"2003\" Type=\"ShowDialogBox\" IsExec=\"1\">\n"
        "<SubTask ID=\"8\" Type=\"ShowSoftDoc\">\n<File>docs/licence.MHT</File>\n</SubTask>\n"
        "</Task>\n"
        "<Task ID=\"2401\" Type=\"DataSetting\" IsExec=\"0\">\n"
        "<SubTask ID=\"9\" Type=\"GetAllVar\">\n<ProjectName>Demo</ProjectName>\n"
        "<CompanyDesc>Vesk</CompanyDesc>\n<FileQty>77</FileQty>\n</SubTask>\n</Task>\n"
        "</InstallProject>\n";
    ProjectReader reader;
    ASSERT_TRUE(reader.ReadText(project, "p.xml")) << reader.LastError();
    ProjectCompleter completer;
    ASSERT_TRUE(completer.Complete(reader.Project())) << completer.LastError();
    const std::vector<Task>& tasks = completer.Tasks();
    ASSERT_EQ(tasks.size(), std::size_t(kTaskSlotCount));
    for (int slot = 0; slot < kTaskSlotCount; ++slot)
        EXPECT_EQ(tasks[slot].Id(), TaskIdForSlot(slot));

    EXPECT_EQ(tasks[kSlotShortcuts], reader.Project().TaskAt(0));
    // 2401 keeps its fields in their order and gets the missing ones after them.
    const SubTask& properties = tasks[kSlotProjectProperties].SubTaskAt(0);
    EXPECT_EQ(properties.Id(), "9");
    EXPECT_EQ(properties.FieldAt(0).Kind(), FieldKind::ProjectName);
    EXPECT_EQ(properties.FieldAt(2).Value(), "77");
    EXPECT_EQ(properties.Value(FieldKind::InstallPath), "[Program Files]\\Vesk\\Demo");
    EXPECT_EQ(properties.FieldCount(), DefaultTasks::ProjectPropertyFields({}).size());
    // A licence without FileType gets one before its File, from the extension.
    const SubTask& licence = tasks[kSlotLicence].SubTaskAt(0);
    ASSERT_EQ(licence.FieldCount(), 2u);
    EXPECT_EQ(licence.FieldAt(0), Field(FieldKind::FileType, "M"));
    // Missing slots are the defaults made for this product.
    DefaultContent product;
    product.projectName = "Demo";
    product.company = "Vesk";
    EXPECT_EQ(tasks[kSlotUserInformation], DefaultTasks::ForSlot(kSlotUserInformation, product));
}

TEST(ProjectCompleterTest, RefusesTasksThatFitNoSlot) {
    const std::string properties =
        "<Task ID=\"2401\" Type=\"DataSetting\" IsExec=\"0\">\n<SubTask ID=\"1\" "
        "Type=\"GetAllVar\">\n"
        "<ProjectName>P</ProjectName>\n</SubTask>\n</Task>\n";
    struct Case {
        std::string tasks;
        const char* error;
    };
    const Case cases[] = {
        {properties + "<Task ID=\"2499\" Type=\"DataSetting\" IsExec=\"0\">\n</Task>\n",
         "p:7: task \"2499\" is not one of the task slots"},
        {properties + "<Task ID=\"2406 \" Type=\"DataSetting\" IsExec=\"0\">\n</Task>\n",
         "is not one of the task slots"},
        {properties + properties, "p:7: task 2401 appears twice"},
        {properties + "<Task ID=\"2002\" Type=\"DataSetting\" IsExec=\"1\">\n</Task>\n",
         "p:7: task 2002 has the type DataSetting; its slot's type is ShowDialogBox"},
        {"<Task ID=\"2402\" Type=\"DataSetting\" IsExec=\"0\">\n</Task>\n",
         "p: task 2401 must name the product"},
        {"<Task ID=\"2401\" Type=\"DataSetting\" IsExec=\"0\">\n<SubTask ID=\"1\" "
         "Type=\"GetAllVar\">\n"
         "<ProjectName></ProjectName>\n</SubTask>\n</Task>\n",
         "p:2: task 2401 must name the product"},
        // The engine would show these as pages of their own.
        {properties + "<Task ID=\"2412\" Type=\"ExtractFiles\" IsExec=\"1\">\n</Task>\n",
         "p:7: task 2412 has IsExec=\"1\", but only the wizard page tasks 2002 ... 2010 may have "
         "IsExec=\"1\"; write IsExec=\"0\""},
        {"<Task ID=\"2401\" Type=\"DataSetting\" IsExec=\"1\">\n</Task>\n",
         "p:2: task 2401 has IsExec=\"1\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tasks);
        ProjectReader reader;
        ASSERT_TRUE(reader.ReadText("<InstallProject>\n" + c.tasks + "</InstallProject>\n", "p"))
            << reader.LastError();
        ProjectCompleter completer;
        EXPECT_FALSE(completer.Complete(reader.Project(), "p", reader.TaskLines()));
        EXPECT_NE(completer.LastError().find(c.error), std::string::npos) << completer.LastError();
    }
}

TEST(ProjectCompleterTest, RefusesPageOrdersThatLeadToADeadEnd) {
    const std::string properties =
        "<Task ID=\"2401\" Type=\"DataSetting\" IsExec=\"0\">\n<SubTask ID=\"1\" "
        "Type=\"GetAllVar\">\n"
        "<ProjectName>P</ProjectName>\n</SubTask>\n</Task>\n";
    // Page tasks, each "ID:IsExec", written after task 2401 (lines 7, 9, 11 ...).
    struct Case {
        std::vector<const char*> pages;
        const char* error;  // nullptr: the order builds
    };
    const Case cases[] = {
        {{}, nullptr},  // the defaults: welcome ... progress, then the finish page
        {{"2002:1", "2008:1", "2010:1"}, nullptr},
        {{"2008:1", "2009:1"}, nullptr},
        {{"2008:1", "2002:1"}, nullptr},  // pages after the install are no dead end
        {{"2002:0", "2006:0", "2007:0", "2008:0", "2010:0"},
         "p:13: no wizard page is shown (every page task has IsExec=\"0\")"},
        {{"2002:1", "2008:0"}, "p:9: task 2008, the progress page, has IsExec=\"0\""},
        {{"2008:0", "2010:1"}, "p:7: task 2008, the progress page, has IsExec=\"0\""},
        {{"2010:1", "2008:1"},
         "p:7: task 2010, a finish page, comes before task 2008, the progress page"},
        {{"2002:1", "2009:1", "2008:1"}, "p:9: task 2009, a finish page, comes before task 2008"},
        // A finish page written before it with IsExec="0" is never shown.
        {{"2009:0", "2008:1"}, nullptr},
    };
    for (const Case& c : cases) {
        std::string tasks = properties;
        for (const char* page : c.pages) {
            const std::string text = page;
            tasks += "<Task ID=\"" + text.substr(0, 4) + "\" Type=\"ShowDialogBox\" IsExec=\"" +
                     text.substr(5) + "\">\n</Task>\n";
        }
        SCOPED_TRACE(tasks);
        ProjectReader reader;
        ASSERT_TRUE(reader.ReadText("<InstallProject>\n" + tasks + "</InstallProject>\n", "p"))
            << reader.LastError();
        ProjectCompleter completer;
        const bool completed = completer.Complete(reader.Project(), "p", reader.TaskLines());
        if (c.error == nullptr) {
            EXPECT_TRUE(completed) << completer.LastError();
        } else {
            EXPECT_FALSE(completed);
            EXPECT_NE(completer.LastError().find(c.error), std::string::npos)
                << completer.LastError();
        }
    }
}

}  // namespace
}  // namespace vesk
