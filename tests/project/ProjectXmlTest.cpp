// Reading the line-oriented project XML: block recognition, start-line attributes and field lines.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "project/Field.h"
#include "project/InstallProject.h"
#include "project/SubTask.h"
#include "project/Task.h"

namespace vesk {
namespace {

// Lines joined with CR LF after each.
std::string Lines(std::initializer_list<std::string> lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

// A whole project file around the given body lines.
std::string ProjectText(std::initializer_list<std::string> body) {
    std::string text = Lines({"<?xml version=\"1.0\" encoding=\"GB2312\"?>", "<InstallProject>",
                              "<Version>VeskInstall5.0</Version>"});
    text += Lines(body);
    return text + "</InstallProject>\r\n";
}

TEST(ProjectXmlTest, FourLineProjectHasNoTasks) {
    InstallProject project;
    project.Parse(ProjectText({}));
    EXPECT_EQ(project.TaskCount(), 0u);
    EXPECT_EQ(project.NextPage(), nullptr);
    EXPECT_EQ(project.PreviousPage(), nullptr);
    EXPECT_EQ(project.GetValue("2401", SubTaskType::GetAllVar, FieldKind::ProjectName), "");
}

TEST(ProjectXmlTest, RecognisesTaskLinesByTheirExactShape) {
    struct Case {
        const char* name;
        std::string start;
        std::string end;
        bool read;
    };
    const Case cases[] = {
        {"builder form", "<Task ID=\"2401\" Type=\"DataSetting\" IsExec=\"0\">", "</Task>", true},
        {"lower case", "<task id=\"2401\" type=\"datasetting\" isexec=\"0\">", "</task>", true},
        {"no attributes", "<Task>", "</Task>", false},
        {"leading space", " <Task ID=\"2401\" Type=\"DataSetting\" IsExec=\"0\">", "</Task>",
         false},
        {"end with trailing space", "<Task ID=\"2401\" Type=\"DataSetting\" IsExec=\"0\">",
         "</Task> ", false},
        {"end with leading space", "<Task ID=\"2401\" Type=\"DataSetting\" IsExec=\"0\">",
         " </Task>", false},
        {"other tag", "<Tasks ID=\"2401\" Type=\"DataSetting\" IsExec=\"0\">", "</Task>", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        InstallProject project;
        project.Parse(ProjectText({c.start, "<SubTask ID=\"1\" Type=\"GetAllVar\">",
                                   "<ProjectName>P</ProjectName>", "</SubTask>", c.end}));
        ASSERT_EQ(project.TaskCount(), c.read ? 1u : 0u);
        if (!c.read) continue;
        EXPECT_EQ(project.TaskAt(0).Id(), "2401");
        EXPECT_EQ(project.TaskAt(0).Type(), TaskType::DataSetting);
        EXPECT_EQ(project.ProjectName(), "P");
    }
}

TEST(ProjectXmlTest, ReadsTaskStartLineByQuotesAndEquals) {
    struct Case {
        std::string start;
        std::string id;
        TaskType type;
        bool isExec;
        bool subtasksRead;
    };
    const Case cases[] = {
        {"<Task ID=\"2002\" Type=\"ShowDialogBox\" IsExec=\"1\">", "2002", TaskType::ShowDialogBox,
         true, true},
        // Attribute names are not looked at.
        {"<Task A=\"2002\" B=\"ExtractFiles\" C=\"1\">", "2002", TaskType::ExtractFiles, true,
         true},
        {"<Task ID=\"2002\" Type=\"Dialog\" IsExec=\"1\">", "2002", TaskType::InvalidType, true,
         true},
        {"<Task ID=\"2002\" Type=\"DataSetting\" IsExec=\"01\">", "2002", TaskType::DataSetting,
         false, true},
        {"<Task ID=\"2002\" Type=\"DataSetting\" IsExec=\"1\"/>", "2002", TaskType::DataSetting,
         false, true},
        {"<Task ID=\"2002\" Type=\"DataSetting\" IsExec=1>", "2002", TaskType::DataSetting, false,
         true},
        // A missing quote or '=' stops the reading.
        {"<Task ID=\"2002\" Type=\"DataSetting\">", "2002", TaskType::DataSetting, false, false},
        {"<Task ID=\"2002\" Type=\"DataSetting", "2002", TaskType::InvalidType, false, false},
        {"<Task ID=\"2002\" Type", "2002", TaskType::InvalidType, false, false},
        {"<Task ID=\"2002", "", TaskType::InvalidType, false, false},
        {"<Task x", "", TaskType::InvalidType, false, false},
        {"<Task ID=\"\" Type=\"\" IsExec=\"\">", "", TaskType::InvalidType, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.start);
        Task task;
        task.Parse(
            Lines({c.start, "<SubTask ID=\"1\" Type=\"GetValue\">", "</SubTask>", "</Task>"}));
        EXPECT_EQ(task.Id(), c.id);
        EXPECT_EQ(task.Type(), c.type);
        EXPECT_EQ(task.IsExec(), c.isExec);
        EXPECT_EQ(task.SubTaskCount(), c.subtasksRead ? 1u : 0u);
    }
}

TEST(ProjectXmlTest, ReadsSubTaskStartLine) {
    struct Case {
        std::string start;
        std::string id;
        SubTaskType type;
        bool fieldsRead;
    };
    const Case cases[] = {
        {"<SubTask ID=\"10001\" Type=\"Registry\">", "10001", SubTaskType::Registry, true},
        {"<subtask id=\"999999\" type=\"getallvar\">", "999999", SubTaskType::GetAllVar, true},
        // An ID holding '=' does not disturb the type.
        {"<SubTask ID=\"a=b\" Type=\"FileList\">", "a=b", SubTaskType::FileList, true},
        {"<SubTask ID=\"1\" Type=\"\">", "1", SubTaskType::InvalidType, true},
        {"<SubTask ID=\"1\" Type>", "1", SubTaskType::InvalidType, false},
        {"<SubTask ID=\"1>", "", SubTaskType::InvalidType, false},
        {"<SubTask>", "", SubTaskType::InvalidType, false},
        {"<SubTask ID=\"1\" =", "1", SubTaskType::InvalidType, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.start);
        SubTask subtask;
        subtask.Parse(Lines({c.start, "<File>a</File>", "</SubTask>"}));
        EXPECT_EQ(subtask.Id(), c.id);
        EXPECT_EQ(subtask.Type(), c.type);
        EXPECT_EQ(subtask.FieldCount(), c.fieldsRead ? 1u : 0u);
    }
}

TEST(ProjectXmlTest, ReadsFieldLines) {
    struct Case {
        std::string line;
        FieldKind kind;
        std::string value;
    };
    const Case cases[] = {
        {"<Description>a>b</Description>", FieldKind::Description, "a>b"},
        {"<Description>a<b</Description>", FieldKind::Description, "a"},
        {"<description>x</DESCRIPTION>", FieldKind::Description, "x"},
        {"<File>[InstallDir]\\a.txt,0,10,A,2003-7-28 20:34:2</File>", FieldKind::File,
         "[InstallDir]\\a.txt,0,10,A,2003-7-28 20:34:2"},
        {"<Colour>red</Colour>", FieldKind::InvalidField, "red"},
        {"<InvalidField>kept</InvalidField>", FieldKind::InvalidField, "kept"},
        {"", FieldKind::InvalidField, ""},
        {"<File>open", FieldKind::File, ""},  // no closing '<'
        {"<File></File>", FieldKind::File, ""},
        {"File", FieldKind::File, ""},                      // no '>': the whole line is the name
        {">File<", FieldKind::InvalidField, "File"},        // '>' first: the whole line is the name
        {"xFile>v<", FieldKind::File, "v"},                 // the first character is not examined
        {"<Fi<le>v</Fi<le>", FieldKind::InvalidField, ""},  // '<' before '>' leaves no value
        {"<File >v</File>", FieldKind::InvalidField, "v"},  // nothing is trimmed
        {"<File>&lt;&amp;</File>", FieldKind::File, "&lt;&amp;"},  // no entity decoding
        {"<File>\xB0\xB2\xD7\xB0</File>", FieldKind::File, "\xB0\xB2\xD7\xB0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        Field field = Field::FromLine(c.line);
        EXPECT_EQ(field.Kind(), c.kind);
        EXPECT_EQ(field.Value(), c.value);
    }
}

TEST(ProjectXmlTest, UnknownElementIsWrittenBackAsInvalidField) {
    SubTask subtask;
    subtask.Parse(
        Lines({"<SubTask ID=\"1\" Type=\"GetValue\">", "<Colour>red</Colour>", "", "</SubTask>"}));
    ASSERT_EQ(subtask.FieldCount(), 2u);
    EXPECT_EQ(subtask.FieldAt(1), Field(FieldKind::InvalidField, ""));  // the empty line
    EXPECT_EQ(subtask.ToXml(),
              Lines({"<SubTask ID=\"1\" Type=\"GetValue\">", "<InvalidField>red</InvalidField>",
                     "<InvalidField></InvalidField>", "</SubTask>"}));
}

TEST(ProjectXmlTest, BlocksWithoutTheirEndLineAreDropped) {
    InstallProject project;
    project.Parse(ProjectText({
        "<Task ID=\"2404\" Type=\"DataSetting\" IsExec=\"0\">",
        "<SubTask ID=\"1\" Type=\"GetValue\">", "<Description>lost</Description>",
        "</Task>",  // the subtask runs over the end of its task
        "<Task ID=\"2405\" Type=\"DataSetting\" IsExec=\"0\">", "<File>first</File>", "</SubTask>",
        "<SubTask ID=\"2\" Type=\"GetValue\">", "<File>kept</File>", "</SubTask>", "</Task>",
        "<Task ID=\"2406\" Type=\"DataSetting\" IsExec=\"0\">",  // restarted by the next start
        "<Task ID=\"2407\" Type=\"DataSetting\" IsExec=\"0\">", "</Task>",
        "</Task>",  // outside any block: ignored
    }));
    ASSERT_EQ(project.TaskCount(), 3u);
    EXPECT_EQ(project.TaskAt(0).Id(), "2404");
    EXPECT_EQ(project.TaskAt(0).SubTaskCount(), 0u);
    ASSERT_EQ(project.TaskAt(1).SubTaskCount(), 1u);
    EXPECT_EQ(project.TaskAt(1).SubTaskAt(0).Id(), "2");
    EXPECT_EQ(project.TaskAt(2).Id(), "2407");
}

TEST(ProjectXmlTest, FirstThreeAndLastLinesAreNotExamined) {
    const std::string task = "<Task ID=\"2401\" Type=\"DataSetting\" IsExec=\"0\">";
    InstallProject project;
    // A task in the header lines is not read; one ending on the last line is not finished.
    project.Parse(Lines({task, "</Task>", "x", task, "</Task>"}));
    EXPECT_EQ(project.TaskCount(), 0u);
    project.Parse(Lines({"a", "b", "c", task, "</Task>", "whatever"}));
    EXPECT_EQ(project.TaskCount(), 1u);
    project.Parse(Lines({"a", "b", "c", task}));  // fewer than five lines
    EXPECT_EQ(project.TaskCount(), 0u);
}

TEST(ProjectXmlTest, ParseReplacesEverything) {
    InstallProject project;
    project.Parse(
        ProjectText({"<Task ID=\"2401\" Type=\"DataSetting\" IsExec=\"0\">", "</Task>",
                     "<Task ID=\"2002\" Type=\"ShowDialogBox\" IsExec=\"1\">", "</Task>"}));
    ASSERT_EQ(project.FirstPage(), 1u);
    project.Parse("garbage");
    EXPECT_EQ(project.TaskCount(), 0u);
    EXPECT_EQ(project.FirstPage(), 0u);
    EXPECT_EQ(project.NextPage(), nullptr);
    EXPECT_EQ(project.CurrentPageTask(), nullptr);
}

}  // namespace
}  // namespace vesk
