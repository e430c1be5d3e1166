// The builder tests' scratch project.
#include "BuildTestKit.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace vesk::test {

BuildTestKit::BuildTestKit() {
    Write("stub.exe", StubBytes());
}

void BuildTestKit::Write(const std::string& relative, const std::string& bytes) const {
    std::filesystem::path path = std::filesystem::path(dir_.Path()) / relative;
    std::filesystem::create_directories(path.parent_path());
    WriteWholeFile(path.string(), bytes);
}

void BuildTestKit::WriteProject(const std::string& tasks, const std::string& properties,
                                const std::string& bindings) const {
    Write("project.xml",
          "<?xml version=\"1.0\" encoding=\"GB2312\"?>\n<InstallProject>\n"
          "<Version>VeskInstall5.0</Version>\n"
          "<Task ID=\"2401\" Type=\"DataSetting\" IsExec=\"0\">\n"
          "<SubTask ID=\"1\" Type=\"GetAllVar\">\n<ProjectName>Test</ProjectName>\n" +
              properties +
              "</SubTask>\n</Task>\n"
              "<Task ID=\"2402\" Type=\"DataSetting\" IsExec=\"0\">\n"
              "<SubTask ID=\"1\" Type=\"GetAllVar\">\n"
              "<PathDesc>[InstallDir]</PathDesc>\n<PathValue>product</PathValue>\n" +
              bindings + "</SubTask>\n</Task>\n" + tasks + "</InstallProject>\n");
}

BuildOptions BuildTestKit::Options(const std::string& output) const {
    BuildOptions options;
    options.projectPath = Path("project.xml");
    options.stubPath = Path("stub.exe");
    options.outputDir = Path(output);
    return options;
}

std::string BuildTestKit::StubBytes() {
    std::string stub = "MZ";
    for (int i = 2; i < 4096; ++i) stub += char(i * 7 % 251);
    return stub;
}

std::string BuildTestKit::BitmapBytes() {
    // 2 x 2 pixels, 24 bits, rows padded to 8 bytes.
    std::string bmp = "BM";
    auto u32 = [&bmp](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) bmp += char((v >> (8 * i)) & 0xFF);
    };
    u32(14 + 40 + 16);
    u32(0);
    u32(54);
    u32(40);
    u32(2);
    u32(2);
    bmp += std::string("\x01\x00\x18\x00", 4);
    for (int i = 0; i < 6; ++i) u32(0);
    bmp += std::string(16, '\x7f');
    return bmp;
}

std::string SetBytes(const BuildSummary& summary) {
    std::string bytes;
    for (const std::string& path : summary.outputFiles) bytes += ReadWholeFile(path);
    return bytes;
}

CommandOutcome CaptureCommand(int (*command)(const std::vector<std::string>&),
                              const std::vector<std::string>& args) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    CommandOutcome run;
    run.exitCode = command(args);
    run.out = testing::internal::GetCapturedStdout();
    run.err = testing::internal::GetCapturedStderr();
    return run;
}

}  // namespace vesk::test
