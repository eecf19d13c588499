// Prints the LZHUF decoder's throughput on the embedded skin file (median of
// repeated runs) and the time of a whole skin load: decode, parse, build
// every element. Usage: skin_bench [skin-file]
#include "skin/LzhDecoder.h"
#include "skin/SkinLoader.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

class Source : public skin::ByteSource {
public:
    explicit Source(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}
    std::size_t Read(std::uint8_t& out) override {
        if (at_ >= bytes_.size()) return 0;
        out = bytes_[at_++];
        return 1;
    }

private:
    const std::vector<std::uint8_t>& bytes_;
    std::size_t at_ = 4; // after the decoded-size field
};

class CountingSink : public skin::ByteSink {
public:
    void Write(std::uint8_t byte) override { sum_ += byte; }
    std::uint64_t sum_ = 0;
};

template <typename F> double MedianMs(int runs, F&& f) {
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        f();
        ms.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0)
                .count());
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    const char* path = argc > 1 ? argv[1] : SONDRELK_SKIN_FILE;
    std::ifstream in(path, std::ios::binary);
    const std::vector<std::uint8_t> file{std::istreambuf_iterator<char>(in), {}};
    if (file.size() < 4) {
        std::fprintf(stderr, "cannot read the skin file %s\n", path);
        return 1;
    }
    const std::uint32_t size =
        file[0] | (file[1] << 8) | (file[2] << 16) | (static_cast<std::uint32_t>(file[3]) << 24);

    std::uint64_t check = 0;
    const double decodeMs = MedianMs(21, [&] {
        Source source(file);
        CountingSink sink;
        skin::TLzhDecoder().Unpack(size, source, sink);
        check += sink.sum_;
    });
    const double loadMs = MedianMs(21, [&] {
        auto data = skin::LoadSkinFile(file);
        check += data ? 1 : 0;
    });
    std::printf("skin file: %zu bytes, decoding to %u bytes\n", file.size(), size);
    std::printf("decoder: %.3f ms median of 21, %.1f MB/s of output\n", decodeMs,
                size / 1e6 / (decodeMs / 1e3));
    std::printf("whole skin load (decode, parse, build elements): %.3f ms median of 21\n", loadMs);
    std::printf("(checksum %llu)\n", static_cast<unsigned long long>(check));
    return 0;
}
