// The walk's account read back, the findings of a run, its pictures and its report.
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>

#include "builder/trial/PngPicture.h"
#include "builder/trial/TrialReport.h"
#include "builder/trial/WalkAccountFormat.h"
#include "support/BmpBuilder.h"
#include "support/TempDir.h"

namespace vesk::trial {
namespace {

TEST(TrialReportTest, WalkAccount) {
    const std::string odd = "tab\there\nline\\end";
    const std::string text =
        "page\t01-welcome.bmp\twelcome\n"
        "message\t\t" +
        account::EscapeField(odd) +
        "\r\n"
        "destination\tC:\\\\Program Files\\\\Vesk\n"
        "later-kind\tpassed over\n"
        "page\tonly one field\n"
        "setup-exit\t0\n"
        "link\tC:\\\\a.lnk\tC:\\\\a.exe\t-x\tC:\\\\\t\tA\n"
        "link-unread\tC:\\\\b.lnk\tloading the link failed\n"
        "uninstall\t\"C:\\\\windows\\\\u.exe\" \"C:\\\\log.xml\"\tVesk 1.0\n"
        "uninstaller-exit\tnot a number\n"
        "failure\tthe setup did not end";
    WalkAccount walk;
    walk.Read(text);
    ASSERT_EQ(walk.steps.size(), 2u);
    EXPECT_EQ(walk.steps[0].picture, "01-welcome.bmp");
    EXPECT_EQ(walk.steps[0].text, "welcome");
    EXPECT_EQ(walk.steps[1].kind, "message");
    EXPECT_EQ(walk.steps[1].picture, "");
    EXPECT_EQ(walk.steps[1].text, odd);
    EXPECT_EQ(walk.destination, "C:\\Program Files\\Vesk");
    EXPECT_TRUE(walk.setupEnded);
    EXPECT_EQ(walk.setupExit, 0);
    ASSERT_EQ(walk.shortcuts.size(), 2u);
    EXPECT_EQ(walk.shortcuts[0].target, "C:\\a.exe");
    EXPECT_EQ(walk.shortcuts[0].folder, "C:\\");
    EXPECT_EQ(walk.shortcuts[0].description, "A");
    EXPECT_EQ(walk.shortcuts[1].unreadWhy, "loading the link failed");
    EXPECT_EQ(walk.uninstallEntry, "Vesk 1.0");
    EXPECT_FALSE(walk.uninstallerEnded);
    EXPECT_EQ(walk.failures, std::vector<std::string>{"the setup did not end"});
}

constexpr char kEntry[] =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vesk 1.0";

// A run that installed and removed the product cleanly.
TrialResult CleanRun() {
    TrialResult result;
    result.setupPath = "/home/me/out/Setup.exe";
    result.pictures = "pages";
    result.install.steps = {{"page", "01-welcome.png", "welcome"}};
    result.install.setupEnded = true;
    result.install.setupExit = 0;
    result.installed.uninstallEntries.push_back(
        {kEntry,
         "Vesk 1.0",
         {{ChangeKind::Added, kEntry, false, "DisplayName", "", "\"Vesk 1.0\""},
          {ChangeKind::Added, kEntry, false, "InstallLocation", "", "\"C:\\\\Apps\\\\Vesk\""}}});
    result.removalRan = true;
    result.removal.uninstallerEnded = true;
    result.removal.uninstallerExit = 0;
    return result;
}

TEST(TrialReportTest, Findings) {
    struct Case {
        const char* name;
        void (*spoil)(TrialResult&);
        std::vector<std::string> failures;
        std::vector<std::string> traces;
    };
    const Case cases[] = {
        {"a clean run", [](TrialResult&) {}, {}, {}},
        {"a restart asked for", [](TrialResult& r) { r.install.setupExit = 3010; }, {}, {}},
        {"the setup failed",
         [](TrialResult& r) {
             r.install.setupExit = 1;
             r.removalRan = false;
         },
         {"the setup failed: exit code 1"},
         {}},
        {"no uninstall entry",
         [](TrialResult& r) {
             r.installed.uninstallEntries.clear();
             r.removalRan = false;
         },
         {"the install left no uninstall entry: the product cannot be removed"},
         {}},
        {"the walk stopped",
         [](TrialResult& r) {
             r.install.setupEnded = false;
             r.install.failures = {"no wizard appeared"};
             r.removalRan = false;
         },
         {"the walk through the setup stopped: no wizard appeared", "the setup did not end"},
         {}},
        {"a window under /S",
         [](TrialResult& r) {
             r.install.steps = {{"window", "01-setup.png", "Error"}};
         },
         {"the unattended setup showed a window: \"Error\""},
         {}},
        {"the uninstaller failed",
         [](TrialResult& r) { r.removal.uninstallerExit = 1; },
         {"the uninstaller failed: exit code 1"}},
        {"a shortcut not readable",
         [](TrialResult& r) {
             r.removal.shortcuts = {{"C:\\a.lnk", "", "", "", "", "", "bad"}};
         },
         {"the shortcut C:\\a.lnk cannot be read: bad"},
         {}},
        {"a value left behind: its keys go unnamed",
         [](TrialResult& r) {
             const std::string key = "HKEY_CURRENT_USER\\Software\\Vesk Co\\Vesk";
             r.leftovers.findings.registry = {
                 {ChangeKind::Added, "HKEY_CURRENT_USER\\Software\\Vesk Co", true, "", "", ""},
                 {ChangeKind::Added, key, true, "", "", ""},
                 {ChangeKind::Added, key, false, "Left", "", "dword:00000001"}};
         },
         {},
         {"left behind: value HKEY_CURRENT_USER\\Software\\Vesk Co\\Vesk: Left = 1 (0x00000001) "
          "(REG_DWORD)"}},
        {"empty keys: the deepest named",
         [](TrialResult& r) {
             r.leftovers.findings.registry = {
                 {ChangeKind::Added, "HKEY_CURRENT_USER\\Software\\Co", true, "", "", ""},
                 {ChangeKind::Added, "HKEY_CURRENT_USER\\Software\\Co\\A", true, "", "", ""},
                 {ChangeKind::Added, "HKEY_CURRENT_USER\\Software\\Cob", true, "", "", ""},
                 {ChangeKind::Removed, "HKEY_CURRENT_USER\\Software\\Gone", true, "", "", ""},
                 {ChangeKind::Removed, "HKEY_CURRENT_USER\\Software\\Gone", false, "v", "\"1\"",
                  ""}};
         },
         {},
         {"left behind: key HKEY_CURRENT_USER\\Software\\Co\\A",
          "left behind: key HKEY_CURRENT_USER\\Software\\Cob",
          "removed and not restored: key HKEY_CURRENT_USER\\Software\\Gone",
          "removed and not restored: value HKEY_CURRENT_USER\\Software\\Gone: v = \"1\""}},
        {"a file changed and not restored",
         [](TrialResult& r) {
             r.leftovers.findings.files = {
                 {ChangeKind::Changed, EntryType::File, "C:\\windows\\win.ini", 1000, 1200}};
         },
         {},
         {"changed and not restored: file C:\\windows\\win.ini (1,000 -> 1,200 bytes)"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TrialResult result = CleanRun();
        c.spoil(result);
        const Findings found = ListFindings(result);
        EXPECT_EQ(found.failures, c.failures);
        EXPECT_EQ(found.traces, c.traces);
    }
}

TEST(TrialReportTest, ReportAndSummary) {
    TrialResult result = CleanRun();
    result.installed.registry = {{ChangeKind::Added, "HKEY_CURRENT_USER\\Software\\<script>", false,
                                  "a&b", "", "\"<b>x</b>\""}};
    result.installed.files = {
        {ChangeKind::Added, EntryType::File, "C:\\Apps\\Vesk\\a.exe", 0, 4096}};
    Findings findings;
    findings.traces = {"left behind: key <x>"};
    const std::string html = ReportHtml(result, findings);
    EXPECT_NE(html.find("<title>Vesk 1.0: veskbuild try</title>"), std::string::npos);
    EXPECT_NE(html.find("<img src=\"pages/01-welcome.png\""), std::string::npos);
    EXPECT_NE(html.find("HKEY_CURRENT_USER\\Software\\&lt;script&gt;"), std::string::npos);
    EXPECT_NE(html.find("a&amp;b"), std::string::npos);
    EXPECT_NE(html.find("&lt;b&gt;x&lt;/b&gt;"), std::string::npos);
    EXPECT_NE(html.find("left behind: key &lt;x&gt;"), std::string::npos);
    EXPECT_NE(html.find("4,096"), std::string::npos);
    EXPECT_EQ(html.find("<script>"), std::string::npos);
    // Offline: nothing is fetched from anywhere.
    EXPECT_EQ(html.find("http"), std::string::npos);
    EXPECT_EQ(html.find("url("), std::string::npos);

    const std::string summary = SummaryText(result, findings, "out/try/report.html", 10);
    EXPECT_NE(summary.find("Vesk 1.0: walked through the wizard\n"), std::string::npos) << summary;
    EXPECT_NE(summary.find("  installed into C:\\Apps\\Vesk\n"), std::string::npos) << summary;
    EXPECT_NE(summary.find("  uninstalled: exit code 0; nothing left behind\n"), std::string::npos)
        << summary;
    EXPECT_NE(summary.find("  findings   1:\n    left behind: key <x>\n"), std::string::npos)
        << summary;
    EXPECT_NE(summary.find("    left behind: key <x>\n"), std::string::npos) << summary;
    EXPECT_NE(summary.find("  report     out/try/report.html\n"), std::string::npos) << summary;
    Findings many;
    many.traces.assign(12, "left behind: x");
    EXPECT_NE(SummaryText(result, many, "r", 10).find("... and 2 more in the report"),
              std::string::npos);
}

// The pixels (RGB, rows top down) of a PNG as EncodePng writes it: one IDAT chunk.
std::vector<std::uint8_t> DecodePng(const std::string& png, std::uint32_t& width,
                                    std::uint32_t& height) {
    auto be32 = [&](std::size_t at) {
        return std::uint32_t(std::uint8_t(png[at])) << 24 |
               std::uint32_t(std::uint8_t(png[at + 1])) << 16 |
               std::uint32_t(std::uint8_t(png[at + 2])) << 8 | std::uint8_t(png[at + 3]);
    };
    EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    EXPECT_EQ(png.substr(12, 4), "IHDR");
    width = be32(16);
    height = be32(20);
    const std::size_t idat = png.find("IDAT");
    const std::uint32_t length = be32(idat - 4);
    const std::uint32_t crc = be32(idat + 4 + length);
    EXPECT_EQ(crc, crc32(0, reinterpret_cast<const Bytef*>(png.data() + idat), length + 4));
    const std::size_t stride = std::size_t(width) * 3;
    std::vector<std::uint8_t> raw((stride + 1) * height);
    uLongf rawSize = uLongf(raw.size());
    EXPECT_EQ(uncompress(raw.data(), &rawSize,
                         reinterpret_cast<const Bytef*>(png.data() + idat + 4), length),
              Z_OK);
    std::vector<std::uint8_t> rgb(stride * height);
    for (std::uint32_t y = 0; y < height; ++y) {
        const std::uint8_t filter = raw[y * (stride + 1)];
        for (std::size_t i = 0; i < stride; ++i) {
            std::uint8_t value = raw[y * (stride + 1) + 1 + i];
            if (filter == 1 && i >= 3) value = std::uint8_t(value + rgb[y * stride + i - 3]);
            if (filter == 2 && y > 0) value = std::uint8_t(value + rgb[(y - 1) * stride + i]);
            rgb[y * stride + i] = value;
        }
    }
    EXPECT_NE(png.find("IEND"), std::string::npos);
    return rgb;
}

TEST(TrialReportTest, PicturesAsPng) {
    // 5 x 3 pixels, each row padded to 16 bytes, stored bottom up: pixel (x, y) is blue x,
    // green y, red 200.
    test::BmpBuilder bmp;
    bmp.width = 5;
    bmp.height = 3;
    for (int stored = 0; stored < 3; ++stored) {
        const int y = 2 - stored;
        for (int x = 0; x < 5; ++x) bmp.pixels += {char(x), char(y), char(200)};
        bmp.pixels += '\0';
    }
    test::TempDir dir;
    ASSERT_TRUE(test::WriteWholeFile(dir / "a.bmp", bmp.Bytes()));
    std::string error;
    ASSERT_TRUE(ConvertBitmapToPng(dir / "a.bmp", dir / "a.png", error)) << error;
    std::uint32_t width = 0, height = 0;
    const std::vector<std::uint8_t> rgb =
        DecodePng(test::ReadWholeFile(dir / "a.png"), width, height);
    ASSERT_EQ(width, 5u);
    ASSERT_EQ(height, 3u);
    for (std::uint32_t y = 0; y < 3; ++y) {
        for (std::uint32_t x = 0; x < 5; ++x) {
            const std::uint8_t* pixel = &rgb[(y * 5 + x) * 3];
            EXPECT_EQ(pixel[0], 200);
            EXPECT_EQ(pixel[1], y);
            EXPECT_EQ(pixel[2], x);
        }
    }
    test::BmpBuilder palette;
    palette.bitCount = 8;
    palette.table = test::ColourTable(1);
    palette.pixels = std::string(4, '\0');
    ASSERT_TRUE(test::WriteWholeFile(dir / "p.bmp", palette.Bytes()));
    EXPECT_FALSE(ConvertBitmapToPng(dir / "p.bmp", dir / "p.png", error));
    EXPECT_NE(error.find("not a 24-bit bitmap"), std::string::npos);

    // A larger picture whose rows favour each filter.
    std::vector<std::uint8_t> gradient(64 * 32 * 3);
    for (std::size_t i = 0; i < gradient.size(); ++i) gradient[i] = std::uint8_t(i / 3 % 64 * 4);
    const std::vector<std::uint8_t> back = DecodePng(EncodePng(64, 32, gradient), width, height);
    EXPECT_EQ(back, gradient);
}

}  // namespace
}  // namespace vesk::trial
