// The engine reaches Windows through the W functions only: a text of any script passes the seam,
// which converts UTF-8 to UTF-16 where it calls the system. An A call or the C library's fopen
// (which takes the ANSI code page) anywhere in src/ would lose every character outside it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

namespace vesk {
namespace {

TEST(WideSeamTest, NoAnsiCallIsLeftInTheEngine) {
    const std::filesystem::path source = std::filesystem::path(VESK_SOURCE_DIR) / "src";
    // A Win32 name with the A suffix called (CreateFileA, SendMessageA, MAKEINTRESOURCEA ...),
    // and fopen, which only platform/FileOpenPosix may call.
    const std::regex ansiCall(
        R"(\b[A-Z][A-Za-z0-9]{3,}[a-z0-9]A\s*\(|\blstr[a-z]+A\s*\(|\bMAKEINTRESOURCEA\b|\bfopen\s*\()");
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(source)) {
        const std::string name = entry.path().filename().string();
        const std::string extension = entry.path().extension().string();
        if ((extension != ".cpp" && extension != ".h") || name == "FileOpenPosix.cpp") continue;
        std::ifstream file(entry.path());
        std::string line;
        for (int number = 1; std::getline(file, line); ++number) {
            std::smatch match;
            if (std::regex_search(line, match, ansiCall)) {
                found.push_back(name + ":" + std::to_string(number) + ": " + match.str());
            }
        }
    }
    EXPECT_GT(std::distance(std::filesystem::recursive_directory_iterator(source),
                            std::filesystem::recursive_directory_iterator()),
              100);
    EXPECT_TRUE(found.empty()) << ::testing::PrintToString(found);
}

}  // namespace
}  // namespace vesk
