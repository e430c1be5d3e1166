// Test folders on the host file system (std::filesystem works in both builds).
#include "support/TempDir.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace vesk::test {

namespace fs = std::filesystem;

TempDir::TempDir() {
    std::random_device seed;
    std::mt19937_64 random(seed());
    fs::path base = fs::temp_directory_path();
    for (;;) {
        fs::path candidate = base / ("vesk-test-" + std::to_string(random() % 1000000000ULL));
        std::error_code ec;
        if (fs::create_directory(candidate, ec)) {
            path_ = candidate.string() + std::string(1, char(fs::path::preferred_separator));
            return;
        }
    }
}

TempDir::~TempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    return bool(out);
}

bool FileExists(const std::string& path) {
    std::error_code ec;
    return fs::exists(path, ec);
}

std::map<std::string, std::string> FilesBelow(const fs::path& root) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.is_regular_file()) {
            files[fs::relative(entry.path(), root).generic_string()] =
                ReadWholeFile(entry.path().string());
        }
    }
    return files;
}

}  // namespace vesk::test
