// Wine's registry files read back: escapes, value forms, the file's lines, and two readings
// compared.
#include <gtest/gtest.h>

#include "builder/trial/HiveComparison.h"
#include "builder/trial/RegistryHive.h"
#include "builder/trial/WineText.h"

namespace vesk::trial {
namespace {

TEST(WineRegistryTest, Escapes) {
    struct Case {
        const char* escaped;
        std::string text;
    };
    const Case cases[] = {
        {"C:\\\\windows\\\\system32", "C:\\windows\\system32"},
        {"say \\\"hi\\\"", "say \"hi\""},
        {"\\[key\\]", "[key]"},
        {"\\x4e2d\\x6587", "\xE4\xB8\xAD\xE6\x96\x87"},  // two CJK characters
        {"\\xd83c\\xdf0e", "\xF0\x9F\x8C\x8E"},          // a surrogate pair: one character
        {"\\xe9t\\xe9", "\xC3\xA9t\xC3\xA9"},            // 1 to 4 hex digits
        {"\\x00e9a",
         "\xC3\xA9"
         "a"},  // four digits, then a letter
        {"a\\0b", std::string("a\0b", 3)},
        {"tab\\there\\nline\\r", "tab\there\nline\r"},
        {"\\101\\102", "AB"},  // octal
        {"\\e", "\x1B"},
        {"\\d800x", "d800x"},  // not an escape: the letter itself
        {"trailing\\", "trailing\\"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.escaped);
        EXPECT_EQ(UnescapeWineText(c.escaped), c.text);
    }
    EXPECT_EQ(UnescapeWineText("\\xd83c"), "\xEF\xBF\xBD");  // a lone surrogate: U+FFFD
}

TEST(WineRegistryTest, ValueViews) {
    struct Case {
        const char* data;
        const char* type;
        const char* text;
    };
    const Case cases[] = {
        {"\"C:\\\\Program Files\\\\Vesk\"", "REG_SZ", "C:\\Program Files\\Vesk"},
        {"\"\"", "REG_SZ", ""},
        {"str(2):\"%ProgramFiles%\\\\x\"", "REG_EXPAND_SZ", "%ProgramFiles%\\x"},
        {"str(7):\"one\\0two\\0\"", "REG_MULTI_SZ", "\"one\", \"two\""},
        {"dword:0000000a", "REG_DWORD", "10 (0x0000000a)"},
        {"dword:ffffffff", "REG_DWORD", "4294967295 (0xffffffff)"},
        {"hex:01,02,ff", "REG_BINARY", "01 02 ff"},
        {"hex:", "REG_BINARY", ""},
        {"hex(2):25,00,41,00,25,00,00,00", "REG_EXPAND_SZ", "%A%"},
        {"hex(7):61,00,00,00,62,00,00,00,00,00", "REG_MULTI_SZ", "\"a\", \"b\""},
        {"hex(b):01,00,00,00,00,00,00,00", "REG_QWORD", "1 (0x0000000000000001)"},
        {"hex(4):01,00", "REG_DWORD", "01 00"},  // the wrong length: shown as bytes
        {"hex(100):01", "type 256", "01"},
        {"dword:zz", "unknown", "dword:zz"},
        {"hex:1,2", "unknown", "hex:1,2"},
        {"\"unterminated", "unknown", "\"unterminated"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.data);
        const ValueView view = ViewValue(c.data);
        EXPECT_EQ(view.type, c.type);
        EXPECT_EQ(view.text, c.text);
    }
    std::string bytes = "hex:00";
    for (int i = 1; i < 100; ++i) bytes += ",00";
    EXPECT_NE(ViewValue(bytes).text.find("00 00 ... (100 bytes)"), std::string::npos);
}

constexpr char kHive[] =
    "WINE REGISTRY Version 2\n"
    ";; All keys relative to REGISTRY\\\\Machine\n"
    "\n"
    "#arch=win32\n"
    "\n"
    "[Software\\\\Vesk Soft\\\\App] 1796678285\n"
    "#time=1dd8690732ed8c6\n"
    "@=\"default\"\n"
    "\"Path\"=\"C:\\\\Apps\\\\Vesk\"\n"
    "\"Data\"=hex:01,02,03,\\\n"
    "  04,05\n"
    "\"Quote\\\"d\"=dword:00000001\n"
    "\n"
    "[Software\\\\Empty] 1796678286\n"
    "#time=1dd8690732ed8c7\n"
    "#class=\"x\"\n";

TEST(WineRegistryTest, HiveLines) {
    RegistryHive hive;
    std::string error;
    ASSERT_TRUE(hive.Parse(kHive, error)) << error;
    ASSERT_EQ(hive.Keys().size(), 4u);
    const HiveKey& app = hive.Keys().at("SOFTWARE\\VESK SOFT\\APP");
    EXPECT_EQ(app.path, "Software\\Vesk Soft\\App");
    ASSERT_EQ(app.values.size(), 4u);
    EXPECT_EQ(app.values.at("").data, "\"default\"");
    EXPECT_EQ(app.values.at("PATH").name, "Path");
    EXPECT_EQ(app.values.at("DATA").data, "hex:01,02,03,04,05");
    EXPECT_EQ(app.values.at("QUOTE\"D").name, "Quote\"d");
    EXPECT_TRUE(hive.Keys().at("SOFTWARE\\EMPTY").values.empty());
    // Implied by the keys below them.
    EXPECT_EQ(hive.Keys().at("SOFTWARE").path, "Software");
    EXPECT_EQ(hive.Keys().at("SOFTWARE\\VESK SOFT").path, "Software\\Vesk Soft");

    std::string crlf = kHive;
    for (std::size_t at = 0; (at = crlf.find('\n', at)) != std::string::npos; at += 2) {
        crlf.insert(at, "\r");
    }
    RegistryHive again;
    ASSERT_TRUE(again.Parse(crlf, error)) << error;
    EXPECT_EQ(again.Keys().at("SOFTWARE\\VESK SOFT\\APP").values.at("DATA").data,
              "hex:01,02,03,04,05");
}

TEST(WineRegistryTest, FilesThatAreNoHives) {
    struct Case {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {"", "line 1: not a Wine registry file"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\x]\n", "line 1: not a Wine registry file"},
        {"WINE REGISTRY Version 2\n\"a\"=\"b\"\n", "line 2: a value before the first key"},
        {"WINE REGISTRY Version 2\n[Software\\\\x 1\n", "line 2: a key without its closing"},
        {"WINE REGISTRY Version 2\n[x] 1\n\"a=\"b\"\n", "line 3: a value name without \"=\""},
        {"WINE REGISTRY Version 2\n[x] 1\n\"a\n", "line 3: a value name without its closing"},
        {"WINE REGISTRY Version 2\n[x] 1\nvalue\n", "line 3: neither a key"},
        {"WINE REGISTRY Version 2\n[x] 1\n\"a\"=hex:01,\\\n", "line 3: the file ends inside"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        RegistryHive hive;
        std::string error;
        EXPECT_FALSE(hive.Parse(c.text, error));
        EXPECT_EQ(error.rfind(c.error, 0), 0u) << error;
        EXPECT_TRUE(hive.Keys().empty());
    }
}

std::string Hive(const std::string& body) {
    return "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\Machine\n\n" + body;
}

// A change as a line: "+ key HKLM\a", "~ value HKLM\a: N = x -> y", "- value ...".
std::string Line(const RegistryChange& change) {
    const char sign = change.kind == ChangeKind::Added     ? '+'
                      : change.kind == ChangeKind::Changed ? '~'
                                                           : '-';
    std::string line = std::string(1, sign) + " ";
    if (change.wholeKey) return line + "key " + change.key;
    line += "value " + change.key + ": " + change.name + " = " + change.before;
    if (change.kind == ChangeKind::Changed) line += " -> ";
    return line + change.after;
}

TEST(WineRegistryTest, Comparisons) {
    struct Case {
        const char* name;
        const char* before;
        const char* after;
        std::vector<std::string> changes;
    };
    const Case cases[] = {
        {"only the key's times differ",
         "[A] 1\n#time=1\n\"v\"=\"x\"\n",
         "[A] 2\n#time=2\n\"v\"=\"x\"\n",
         {}},
        {"letter case alone",
         "[Software\\\\A] 1\n\"Name\"=\"x\"\n",
         "[SOFTWARE\\\\a] 1\n\"NAME\"=\"x\"\n",
         {}},
        {"a key with values added",
         "",
         "[Software\\\\Vesk] 1\n\"Path\"=\"C:\\\\V\"\n@=\"d\"\n",
         {"+ key HKLM\\Software", "+ key HKLM\\Software\\Vesk",
          "+ value HKLM\\Software\\Vesk:  = \"d\"",
          "+ value HKLM\\Software\\Vesk: Path = \"C:\\\\V\""}},
        {"a key removed",
         "[Gone] 1\n\"a\"=dword:00000001\n",
         "",
         {"- key HKLM\\Gone", "- value HKLM\\Gone: a = dword:00000001"}},
        {"values added, changed and removed",
         "[K] 1\n\"keep\"=\"1\"\n\"old\"=\"1\"\n\"set\"=\"1\"\n",
         "[K] 1\n\"keep\"=\"1\"\n\"new\"=\"1\"\n\"set\"=\"2\"\n",
         {"+ value HKLM\\K: new = \"1\"", "- value HKLM\\K: old = \"1\"",
          "~ value HKLM\\K: set = \"1\" -> \"2\""}},
        {"a type change is a change",
         "[K] 1\n\"n\"=\"1\"\n",
         "[K] 1\n\"n\"=dword:00000001\n",
         {"~ value HKLM\\K: n = \"1\" -> dword:00000001"}},
        // Wine writes a key without values only while it has no subkeys.
        {"a key implied by its first subkey",
         "[Software\\\\Uninstall] 1\n",
         "[Software\\\\Uninstall\\\\Vesk\\\\Sub] 1\n",
         {"+ key HKLM\\Software\\Uninstall\\Vesk", "+ key HKLM\\Software\\Uninstall\\Vesk\\Sub"}},
        {"keys implied until their last subkey went",
         "[A\\\\B\\\\C] 1\n\"v\"=\"1\"\n",
         "[A\\\\B] 1\n",
         {"- key HKLM\\A\\B\\C", "- value HKLM\\A\\B\\C: v = \"1\""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RegistryHive before, after;
        std::string error;
        ASSERT_TRUE(before.Parse(Hive(c.before), error)) << error;
        ASSERT_TRUE(after.Parse(Hive(c.after), error)) << error;
        std::vector<std::string> lines;
        for (const RegistryChange& change : CompareHives(before, after, "HKLM")) {
            lines.push_back(Line(change));
        }
        EXPECT_EQ(lines, c.changes);
    }
}

}  // namespace
}  // namespace vesk::trial
