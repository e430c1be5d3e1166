// The product record's text: what the install writes reads back the same, whatever bytes its
// paths and values hold, and anything that is not a whole record is refused.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/AnsiText.h"
#include "session/ProductRecord.h"

namespace vesk {
namespace {

ProductRecord Example() {
    ProductRecord record;
    record.identity = "Vesk|Demo\\100%";
    record.product = "Demo";
    record.version = "1.2";
    record.title = "Demo 1.2";
    record.installFolder = "C:\\Apps\\Demo";
    record.logPath = "C:\\Apps\\Demo\\VeskInstall Demo 1.2.xml";
    DigestOf("<InstallProject/>", record.logCrc, record.logSize);
    record.entryKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Demo 1.2";
    record.scope = InstallScope::User;
    Change file = FileChange(ChangeKind::FileCreated, "C:\\Apps\\Demo\\a|b%c\r\n.txt");
    file.stamp = FileStamp{12, 0xFFFFFFFFFFFFFFFFull};
    Change value = RegistryValueChange(
        ChangeKind::RegistryValueSet, RegistryRoot::CurrentUser, "Software\\Demo", "Name",
        RegistryValue{3, std::string("\0|\xff", 3)}, StringValue("after"));
    value.keepAtUninstall = true;
    Change key = RegistryKeyChange(ChangeKind::RegistryKeyCreated, RegistryRoot::LocalMachine,
                                   "SOFTWARE\\Demo");
    key.wholeTree = true;
    record.changes = {file, value, key,
                      FileChange(ChangeKind::ComponentRegistered, "C:\\g.ocx", "C:\\R.exe"),
                      FolderChange(ChangeKind::FolderCreated, "C:\\Apps\\Demo")};
    return record;
}

TEST(ProductRecordTest, AWrittenRecordReadsBackTheSame) {
    const std::string text = RecordText(Example());
    ProductRecord read;
    ASSERT_TRUE(ReadRecordText(text, read)) << text;
    EXPECT_EQ(RecordText(read), text);
    EXPECT_EQ(read.identity, "Vesk|Demo\\100%");
    ASSERT_EQ(read.changes.size(), 5u);
    EXPECT_EQ(read.changes[0].path, "C:\\Apps\\Demo\\a|b%c\r\n.txt");
    EXPECT_EQ(read.changes[0].stamp->writeTime, 0xFFFFFFFFFFFFFFFFull);
    EXPECT_EQ(read.changes[1].before->data, std::string("\0|\xff", 3));
    EXPECT_TRUE(read.changes[1].keepAtUninstall);
    EXPECT_TRUE(read.changes[2].wholeTree);
    EXPECT_EQ(read.changes[3].copy, "C:\\R.exe");
    EXPECT_EQ(read.scope, InstallScope::User);
    // A record of an earlier engine has no scope line: its install was for the machine.
    std::string earlier = text;
    earlier.erase(earlier.find("Scope=user\r\n"), std::strlen("Scope=user\r\n"));
    ASSERT_TRUE(ReadRecordText(earlier, read));
    EXPECT_EQ(read.scope, InstallScope::Machine);
}

TEST(ProductRecordTest, AnEarlierEnginesRecordIsReadFromTheAnsiCodePage) {
    if (AnsiEncoder()(0xE9) != "\xE9") GTEST_SKIP() << "the system's code page is not 1252";
    ProductRecord old = Example();
    old.title = "Caf\xE9 1.2";
    old.changes[1].after = StringValue("\xC6r\xF8");
    std::string text = RecordText(old);
    text.replace(0, text.find('\r'), "VeskInstall record 1");
    ProductRecord read;
    ASSERT_TRUE(ReadRecordText(text, read)) << text;
    EXPECT_EQ(read.title, "Caf\xC3\xA9 1.2");
    EXPECT_EQ(read.changes[1].after->data, std::string("\xC3\x86r\xC3\xB8\0", 6));
    EXPECT_EQ(read.changes[1].before->data, std::string("\0|\xff", 3));  // no text: as it was
}

TEST(ProductRecordTest, WhatIsNoWholeRecordIsRefused) {
    const std::string whole = RecordText(Example());
    auto without = [&](const std::string& part) {
        std::string text = whole;
        text.erase(text.find(part), part.size());
        return text;
    };
    auto replaced = [&](const std::string& part, const std::string& by) {
        std::string text = whole;
        text.replace(text.find(part), part.size(), by);
        return text;
    };
    const struct {
        const char* what;
        std::string text;
    } cases[] = {
        {"cut short", whole.substr(0, whole.size() / 2)},
        {"no end", without("End\r\n")},
        {"lines after the end", whole + "folder||2|C:\\x|||-|-|-\r\n"},
        {"another first line", replaced("VeskInstall record 2", "VeskInstall record 3")},
        {"a header field missing", without("Version=1.2\r\n")},
        {"an unknown kind", replaced("folder||", "drive||")},
        {"an unknown flag", replaced("key|t|", "key|x|")},
        {"a root past the last", replaced("key|t|2|", "key|t|9|")},
        {"an escape cut short", replaced("100%25", "100%2")},
        {"hex of odd length", replaced(":00", ":0")},
        {"a field too many", replaced("|-|-|-\r\nEnd", "|-|-|-|-\r\nEnd")},
        {"a digest that is no number", replaced("LogDigest=", "LogDigest=x")},
    };
    for (const auto& c : cases) {
        ProductRecord record;
        EXPECT_FALSE(ReadRecordText(c.text, record)) << c.what;
    }
}

}  // namespace
}  // namespace vesk
