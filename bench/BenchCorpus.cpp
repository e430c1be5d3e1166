// Finding, choosing and loading the benchmark corpus.
#include "BenchCorpus.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>

#include "PngBitmap.h"

namespace vesk::bench {
namespace fs = std::filesystem;

namespace {

constexpr std::size_t kMiB = std::size_t(1) << 20;

struct Candidate {
    std::string path;
    std::string source;
    std::size_t expectedBytes;  // what loading it is likely to add
};

// Loads a candidate into the bytes to measure; empty when it turns out unsuitable.
using Loader = std::function<std::vector<std::uint8_t>(const std::string& path)>;

std::vector<std::uint8_t> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::string Extension(const fs::path& path) {
    std::string ext = path.extension().string();
    for (char& c : ext) c = char(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

// Regular files (no links) below the existing roots whose extension passes, in sorted order.
std::vector<Candidate> ListFiles(const std::vector<std::string>& roots,
                                 const std::function<bool(const std::string&)>& wanted,
                                 std::size_t maxBytes) {
    std::vector<Candidate> found;
    for (const std::string& root : roots) {
        std::error_code error;
        if (!fs::is_directory(root, error)) continue;
        fs::recursive_directory_iterator it(root, fs::directory_options::skip_permission_denied,
                                            error);
        for (; !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
            const fs::directory_entry& entry = *it;
            if (entry.is_symlink(error) || !entry.is_regular_file(error)) continue;
            std::uintmax_t size = entry.file_size(error);
            if (error || size == 0 || size > maxBytes) continue;
            if (!wanted(Extension(entry.path()))) continue;
            found.push_back({entry.path().string(), root, std::size_t(size)});
        }
    }
    std::sort(found.begin(), found.end(),
              [](const Candidate& a, const Candidate& b) { return a.path < b.path; });
    return found;
}

// Takes every k-th candidate (k from the bytes on offer and the quota), then the ones in between,
// until the quota is met.
CorpusPart Choose(const std::string& name, const std::vector<Candidate>& candidates,
                  std::size_t quota, const Loader& load) {
    CorpusPart part{name, {}, {}};
    std::size_t offered = 0;
    for (const Candidate& c : candidates) offered += c.expectedBytes;
    std::size_t stride = std::max<std::size_t>(1, quota ? offered / quota : 1);
    std::set<std::string> sources;
    std::size_t taken = 0;
    for (std::size_t start = 0; start < stride && taken < quota; ++start) {
        for (std::size_t i = start; i < candidates.size() && taken < quota; i += stride) {
            std::vector<std::uint8_t> bytes = load(candidates[i].path);
            if (bytes.empty()) continue;
            taken += bytes.size();
            sources.insert(candidates[i].source);
            part.files.push_back({candidates[i].path, std::move(bytes)});
        }
    }
    part.sources.assign(sources.begin(), sources.end());
    return part;
}

CorpusPart PeBinaries(std::size_t quota) {
    static const std::set<std::string> kExtensions = {".dll", ".exe", ".drv", ".sys", ".ocx",
                                                      ".cpl", ".acm", ".ax",  ".tlb"};
    auto candidates = ListFiles(
        {"/usr/lib/i386-linux-gnu/wine/i386-windows", "/usr/lib/wine/i386-windows",
         "/usr/i686-w64-mingw32/lib", "/usr/i686-w64-mingw32/bin"},
        [](const std::string& ext) { return kExtensions.count(ext) > 0; }, 4 * kMiB);
    return Choose("PE binaries", candidates, quota, [](const std::string& path) {
        std::vector<std::uint8_t> bytes = ReadFile(path);
        bool pe = bytes.size() > 64 && bytes[0] == 'M' && bytes[1] == 'Z';
        return pe ? bytes : std::vector<std::uint8_t>();
    });
}

CorpusPart Text(std::size_t quota) {
    static const std::set<std::string> kPacked = {".gz",  ".bz2", ".xz",  ".zst", ".zip", ".png",
                                                  ".jpg", ".gif", ".pdf", ".ico", ".bmp", ".svgz"};
    auto candidates = ListFiles(
        {"/usr/share/doc", "/usr/include"},
        [](const std::string& ext) { return kPacked.count(ext) == 0; }, kMiB);
    return Choose("text", candidates, quota, [](const std::string& path) {
        std::vector<std::uint8_t> bytes = ReadFile(path);
        bool text = std::memchr(bytes.data(), 0, bytes.size()) == nullptr;
        return text ? bytes : std::vector<std::uint8_t>();
    });
}

CorpusPart Bitmaps(std::size_t quota) {
    auto candidates = ListFiles(
        {"/usr/share"}, [](const std::string& ext) { return ext == ".bmp"; }, 8 * kMiB);
    // PNG icons become BMPs; their expected size is the decoded one. Tiny icons are skipped:
    // installer pictures are larger.
    auto pngs = ListFiles(
        {"/usr/share"}, [](const std::string& ext) { return ext == ".png"; }, 8 * kMiB);
    for (Candidate& c : pngs) {
        std::vector<std::uint8_t> head(33);
        std::ifstream in(c.path, std::ios::binary);
        in.read(reinterpret_cast<char*>(head.data()), std::streamsize(head.size()));
        std::uint32_t width = 0, height = 0;
        if (!in || !PngSize(head, width, height) || std::size_t(width) * height < 48 * 48) continue;
        c.expectedBytes = std::size_t(width) * height * 3 + 54;
        candidates.push_back(c);
    }
    return Choose("bitmaps", candidates, quota, [](const std::string& path) {
        std::vector<std::uint8_t> bytes = ReadFile(path);
        if (Extension(path) == ".bmp") {
            return bytes.size() > 54 && bytes[0] == 'B' && bytes[1] == 'M'
                       ? bytes
                       : std::vector<std::uint8_t>();
        }
        return PngToBmp(bytes);
    });
}

}  // namespace

std::size_t CorpusPart::Bytes() const {
    std::size_t total = 0;
    for (const CorpusFile& f : files) total += f.bytes.size();
    return total;
}

std::vector<CorpusPart> BuildCorpus(std::size_t totalBytes) {
    std::size_t eighth = totalBytes / 8;
    return {PeBinaries(3 * eighth), Text(3 * eighth), Bitmaps(totalBytes - 6 * eighth)};
}

}  // namespace vesk::bench
