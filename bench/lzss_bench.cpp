// LZSS decoder and encoder speed and ratio beside zlib and memcpy, on a corpus from this machine.
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "BenchCorpus.h"
#include "codec/lzss/LzssDecoder.h"
#include "codec/lzss/LzssEncoder.h"

namespace vesk::bench {
namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr std::size_t kCorpusBytes = std::size_t(68) << 20;
constexpr int kDecodeRuns = 3;
constexpr int kZlibLevel = 6;

// Writes decoded bytes straight into a buffer big enough for them.
class BufferSink : public ByteSink {
public:
    explicit BufferSink(std::uint8_t* at) : at_(at) {}
    bool Write(const std::uint8_t* data, std::size_t size) override {
        std::memcpy(at_, data, size);
        at_ += size;
        return true;
    }

private:
    std::uint8_t* at_;
};

double Seconds(const std::function<void()>& work) {
    auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double BestOf(int runs, const std::function<void()>& work) {
    double best = 1e30;
    for (int i = 0; i < runs; ++i) best = std::min(best, Seconds(work));
    return best;
}

double MBps(std::size_t bytes, double seconds) {
    return double(bytes) / 1e6 / seconds;
}
double MiB(std::size_t bytes) {
    return double(bytes) / double(1 << 20);
}

struct FileRef {
    const Bytes* data;
    std::size_t part;
};

// One way of compressing: the streams of every file and what they cost.
struct Compressed {
    const char* name;
    std::vector<Bytes> streams;
    std::vector<std::size_t> partBytes;
    std::size_t total = 0;
    double seconds = 0;
};

Compressed Compress(const char* name, const std::vector<FileRef>& files, std::size_t parts,
                    const std::function<void(const Bytes&, Bytes&)>& compress) {
    Compressed c{name, std::vector<Bytes>(files.size()), std::vector<std::size_t>(parts), 0, 0};
    c.seconds = Seconds([&] {
        for (std::size_t i = 0; i < files.size(); ++i) compress(*files[i].data, c.streams[i]);
    });
    for (std::size_t i = 0; i < files.size(); ++i) {
        c.partBytes[files[i].part] += c.streams[i].size();
        c.total += c.streams[i].size();
    }
    return c;
}

void DecodeAll(LzssDecoder& decoder, const std::vector<Bytes>& streams, std::uint8_t* out) {
    BufferSink sink(out);
    for (const Bytes& s : streams) {
        decoder.Reset();
        decoder.Feed(s.data(), s.size(), sink);
        decoder.Finish(sink);
    }
}

bool InflateAll(const std::vector<FileRef>& files, const std::vector<Bytes>& streams,
                std::uint8_t* out) {
    bool ok = true;
    for (std::size_t i = 0; i < streams.size(); ++i) {
        uLongf size = uLongf(files[i].data->size());
        ok = uncompress(out, &size, streams[i].data(), uLong(streams[i].size())) == Z_OK && ok;
        out += size;
    }
    return ok;
}

bool SameAsCorpus(const std::vector<FileRef>& files, const Bytes& out) {
    std::size_t at = 0;
    for (const FileRef& f : files) {
        if (std::memcmp(out.data() + at, f.data->data(), f.data->size()) != 0) return false;
        at += f.data->size();
    }
    return true;
}

int Run() {
    std::vector<CorpusPart> parts = BuildCorpus(kCorpusBytes);
    std::vector<FileRef> files;
    std::size_t total = 0;
    for (std::size_t p = 0; p < parts.size(); ++p) {
        for (const CorpusFile& f : parts[p].files) {
            files.push_back({&f.bytes, p});
            total += f.bytes.size();
        }
    }
    if (total == 0) {
        std::puts("no corpus files found on this machine");
        return 1;
    }

    std::printf("Corpus: %.1f MiB in %zu files, each compressed as its own stream\n", MiB(total),
                files.size());
    std::printf("  %-12s %6s %8s  %s\n", "part", "files", "MiB", "taken from");
    for (const CorpusPart& part : parts) {
        std::string from;
        for (const std::string& s : part.sources) from += (from.empty() ? "" : ", ") + s;
        if (part.name == "bitmaps") from += " (24-bit BMP; PNG icons converted)";
        std::printf("  %-12s %6zu %8.1f  %s\n", part.name.c_str(), part.files.size(),
                    MiB(part.Bytes()), from.c_str());
    }
    if (total < (std::size_t(64) << 20)) std::puts("  (short of 64 MiB: sources missing)");
    std::fflush(stdout);

    LzssEncoder encoder;
    std::vector<Compressed> encoders;
    encoders.push_back(
        Compress("LZSS optimal (ours)", files, parts.size(), [&](const Bytes& in, Bytes& out) {
            encoder.Encode(in.data(), in.size(), out, LzssParse::Optimal);
        }));
    encoders.push_back(
        Compress("LZSS greedy", files, parts.size(), [&](const Bytes& in, Bytes& out) {
            encoder.Encode(in.data(), in.size(), out, LzssParse::Greedy);
        }));
    encoders.push_back(
        Compress("zlib deflate", files, parts.size(), [](const Bytes& in, Bytes& out) {
            uLongf size = compressBound(uLong(in.size()));
            out.resize(size);
            compress2(out.data(), &size, in.data(), uLong(in.size()), kZlibLevel);
            out.resize(size);
        }));
    const Compressed& optimal = encoders[0];
    const Compressed& greedy = encoders[1];
    const Compressed& zlib = encoders[2];

    // Every stream must give the corpus back before its speed means anything.
    Bytes out(total);
    auto decoder = std::make_unique<LzssDecoder>();
    bool ok = true;
    for (const Compressed* c : {&optimal, &greedy}) {
        std::fill(out.begin(), out.end(), 0);
        DecodeAll(*decoder, c->streams, out.data());
        if (!SameAsCorpus(files, out)) {
            std::printf("%s: decoded output differs from the corpus\n", c->name);
            ok = false;
        }
    }
    std::fill(out.begin(), out.end(), 0);
    if (!InflateAll(files, zlib.streams, out.data()) || !SameAsCorpus(files, out)) {
        std::puts("zlib: inflated output differs from the corpus");
        ok = false;
    }

    double lzss = BestOf(kDecodeRuns, [&] { DecodeAll(*decoder, optimal.streams, out.data()); });
    double inflate = BestOf(kDecodeRuns, [&] { InflateAll(files, zlib.streams, out.data()); });
    double copy = BestOf(kDecodeRuns, [&] {
        std::uint8_t* at = out.data();
        for (const FileRef& f : files) {
            std::memcpy(at, f.data->data(), f.data->size());
            at += f.data->size();
        }
    });

    // One table: MB/s counts original bytes (decoded output, encoder input) per second.
    std::printf("\n%-29s %9s %9s %8s", "", "MB/s", "out MiB", "ratio");
    for (const CorpusPart& part : parts) std::printf(" %12s", part.name.c_str());
    std::printf("\n");
    const std::pair<const char*, double> decoders[] = {
        {"decode  LZSS decoder (ours)", lzss},
        {"decode  zlib inflate", inflate},
        {"decode  memcpy", copy},
    };
    for (const auto& d : decoders) std::printf("%-29s %9.1f\n", d.first, MBps(total, d.second));
    for (const Compressed& c : encoders) {
        std::printf("encode  %-21s %9.1f %9.2f %7.2f%%", c.name, MBps(total, c.seconds),
                    MiB(c.total), 100.0 * double(c.total) / double(total));
        for (std::size_t p = 0; p < parts.size(); ++p) {
            std::size_t in = parts[p].Bytes();
            std::printf(" %11.2f%%", in ? 100.0 * double(c.partBytes[p]) / double(in) : 0.0);
        }
        std::printf("\n");
    }
    std::printf(
        "MB/s: 10^6 original bytes (decoded output, encoder input) per second; decoding best of "
        "%d runs.\nratio: compressed / original; zlib at level %d.\n",
        kDecodeRuns, kZlibLevel);
    std::printf("\nOptimal parsing: %.2f%% smaller than greedy\n",
                100.0 * (1.0 - double(optimal.total) / double(greedy.total)));
    return ok ? 0 : 1;
}

}  // namespace
}  // namespace vesk::bench

int main() {
    return vesk::bench::Run();
}
