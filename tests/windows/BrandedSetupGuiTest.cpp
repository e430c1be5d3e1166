// A setup branded by the builder, read by Windows itself: the version information through
// GetFileVersionInfo, the icons through ExtractIcon, and the engine still starts its wizard.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <string>

#include "GuiDriver.h"
#include "builder/SetupBuilder.h"
#include "support/PeProbe.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

constexpr std::uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00;

// The colour at the middle of the icon drawn 32 x 32, as 0xAARRGGBB with alpha dropped.
std::uint32_t MiddleColour(HICON icon) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = 32;
    info.bmiHeader.biHeight = -32;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    DrawIconEx(dc, 0, 0, icon, 32, 32, 0, nullptr, DI_NORMAL);
    GdiFlush();
    std::uint32_t colour = static_cast<const std::uint32_t*>(bits)[16 * 32 + 16] & 0xFFFFFF;
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return colour;
}

std::string VersionString(const std::string& block, const char* name) {
    struct Translation {
        WORD language, codePage;
    }* translation = nullptr;
    UINT size = 0;
    if (!VerQueryValueA(block.data(), "\\VarFileInfo\\Translation",
                        reinterpret_cast<void**>(&translation), &size) ||
        size < sizeof *translation) {
        return "(no translation)";
    }
    char path[128];
    wsprintfA(path, "\\StringFileInfo\\%04x%04x\\%s", translation->language, translation->codePage,
              name);
    char* text = nullptr;
    if (!VerQueryValueA(block.data(), path, reinterpret_cast<void**>(&text), &size)) {
        return std::string("(no ") + name + ")";
    }
    return text;
}

TEST(BrandedSetupGuiTest, WindowsReadsTheProductsVersionAndIcon) {
    test::TempDir dir;
    test::WriteWholeFile(dir / "app.ico", test::MakeIconFile({{16, kGreen}, {32, kRed}}));
    CreateDirectoryA((dir / "product").c_str(), nullptr);
    test::WriteWholeFile(dir / "product/readme.txt", "read me");
    test::WriteWholeFile(
        dir / "project.xml",
        "<InstallProject>\n<Task ID=\"2401\" Type=\"DataSetting\" IsExec=\"0\">\n"
        "<SubTask ID=\"1\" Type=\"GetAllVar\">\n<ProjectName>Vesk Brand</ProjectName>\n"
        "<CompanyDesc>Vesk Works</CompanyDesc>\n<ProductVersion>3.4.5.6</ProductVersion>\n"
        "<AppFileIcon>app.ico</AppFileIcon>\n</SubTask>\n</Task>\n"
        "<Task ID=\"2402\" Type=\"DataSetting\" IsExec=\"0\">\n<SubTask ID=\"1\" "
        "Type=\"GetAllVar\">\n<PathDesc>[InstallDir]</PathDesc>\n<PathValue>product</PathValue>\n"
        "</SubTask>\n</Task>\n"
        "<Task ID=\"2002\" Type=\"ShowDialogBox\" IsExec=\"1\">\n</Task>\n</InstallProject>\n");
    BuildOptions options;
    options.projectPath = dir / "project.xml";
    options.outputDir = dir / "out";
    options.stubPath = VESK_STUB_PATH;
    SetupBuilder builder;
    ASSERT_TRUE(builder.Build(options)) << builder.LastError();
    const std::string setup = dir / "out/Setup.exe";

    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(setup.c_str(), &handle);
    ASSERT_GT(size, 0u);
    std::string block(size, '\0');
    ASSERT_TRUE(GetFileVersionInfoA(setup.c_str(), 0, size, &block[0]));
    EXPECT_EQ(VersionString(block, "ProductName"), "Vesk Brand");
    EXPECT_EQ(VersionString(block, "CompanyName"), "Vesk Works");
    EXPECT_EQ(VersionString(block, "ProductVersion"), "3.4.5.6");
    EXPECT_EQ(VersionString(block, "FileDescription"), "Vesk Brand Setup");
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &fixedSize));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00030004u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00050006u);

    // The engine's application manifest stays as it was.
    const test::ProbedImage branded = test::ProbePe(test::ReadWholeFile(setup));
    const test::ProbedImage bareImage = test::ProbePe(test::ReadWholeFile(VESK_STUB_PATH));
    const test::ProbedResource* manifest = branded.Find(24, 1);
    ASSERT_NE(manifest, nullptr) << "the manifest was lost";
    ASSERT_NE(bareImage.Find(24, 1), nullptr);
    EXPECT_EQ(manifest->data, bareImage.Find(24, 1)->data);

    // Icon 0 is the product's (its 32-pixel image is red), icon 1 the stub's own.
    HINSTANCE self = GetModuleHandleA(nullptr);
    EXPECT_EQ(reinterpret_cast<UINT_PTR>(ExtractIconA(self, setup.c_str(), UINT(-1))), 2u);
    HICON product = ExtractIconA(self, setup.c_str(), 0);
    HICON own = ExtractIconA(self, setup.c_str(), 1);
    HICON bare = ExtractIconA(self, VESK_STUB_PATH, 0);
    ASSERT_TRUE(product && own && bare);
    EXPECT_EQ(MiddleColour(product), kRed & 0xFFFFFF);
    EXPECT_EQ(MiddleColour(own), MiddleColour(bare));
    DestroyIcon(product);
    DestroyIcon(own);
    DestroyIcon(bare);

    // The rewritten image still runs: the wizard comes up (its caption shows the stub's icon).
    if (!test::DisplayAvailable()) return;
    test::ChildProcess process;
    ASSERT_TRUE(process.Start(setup));
    HWND frame = test::WaitForWizard(process.Id());
    ASSERT_TRUE(frame) << "the wizard did not appear";
    EXPECT_TRUE(test::Settle(frame));
    test::Screenshot(frame, "BrandedWizard.bmp");
    EXPECT_TRUE(test::LeaveWizard(process.Id()));
    EXPECT_EQ(process.WaitForExit(60000), 2);
}

}  // namespace
}  // namespace vesk
