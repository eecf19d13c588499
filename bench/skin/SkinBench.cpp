// Prints the skin decoder's output rate on the embedded skin file next to
// that of a classic bit-by-bit LZHUF decoder (the yardstick, built into this
// benchmark only), their ratio, and the time of a whole skin load: decode,
// parse, build every element. Both decoders write into a reserved vector and
// must produce the same bytes. Usage: skin_bench [skin-file]
#include "ClassicLzhuf.h"
#include "skin/LzhDecoder.h"
#include "skin/SkinLoader.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

constexpr int kRuns = 31;

class Source : public skin::ByteSource {
public:
    Source(const std::uint8_t* bytes, std::size_t size) : bytes_(bytes), size_(size) {}
    std::size_t Read(std::uint8_t* buffer, std::size_t size) override {
        const std::size_t n = std::min(size, size_ - at_);
        std::copy_n(bytes_ + at_, n, buffer);
        at_ += n;
        return n;
    }

private:
    const std::uint8_t* bytes_;
    std::size_t size_;
    std::size_t at_ = 0;
};

class VectorSink : public skin::ByteSink {
public:
    explicit VectorSink(std::size_t reserve) { out.reserve(reserve); }
    void Write(const std::uint8_t* data, std::size_t size) override {
        out.insert(out.end(), data, data + size);
    }
    std::vector<std::uint8_t> out;
};

template <typename F> double MedianMs(F&& f) {
    std::vector<double> ms;
    for (int i = 0; i < kRuns; ++i) {
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
    const std::uint8_t* stream = file.data() + 4;
    const std::size_t streamSize = file.size() - 4;

    std::vector<std::uint8_t> ours, classic;
    bool complete = true;
    // Alternating the two, so that a busy machine weighs on both alike.
    std::vector<double> oursMs, classicMs;
    for (int i = 0; i < kRuns; ++i) {
        auto t0 = std::chrono::steady_clock::now();
        Source source(stream, streamSize);
        VectorSink sink(size + 64);
        complete = skin::TLzhDecoder().Unpack(size, source, sink) && complete;
        auto t1 = std::chrono::steady_clock::now();
        ours = std::move(sink.out);
        classic = bench::ClassicLzhufDecode(stream, streamSize, size);
        auto t2 = std::chrono::steady_clock::now();
        oursMs.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
        classicMs.push_back(std::chrono::duration<double, std::milli>(t2 - t1).count());
    }
    std::sort(oursMs.begin(), oursMs.end());
    std::sort(classicMs.begin(), classicMs.end());
    const double decodeMs = oursMs[kRuns / 2];
    const double classicDecodeMs = classicMs[kRuns / 2];
    const bool same = complete && ours == classic;

    const double loadMs = MedianMs([&] {
        auto data = skin::LoadSkinFile(file);
        if (!data) std::fprintf(stderr, "the skin did not load\n");
    });

    const auto rate = [&](double ms) { return size / 1e6 / (ms / 1e3); };
    std::printf("skin file: %zu bytes, decoding to %u bytes\n", file.size(), size);
    std::printf("decoder:                  %8.3f ms median of %d, %6.1f MB/s of output\n", decodeMs,
                kRuns, rate(decodeMs));
    std::printf("classic decoder (yardstick): %5.3f ms median of %d, %6.1f MB/s of output\n",
                classicDecodeMs, kRuns, rate(classicDecodeMs));
    std::printf("decoder / classic, output per second: %.2f\n",
                rate(decodeMs) / rate(classicDecodeMs));
    std::printf("same output as the classic decoder: %s\n", same ? "yes" : "NO");
    std::printf("whole skin load (decode, parse, build elements): %.3f ms median of %d\n", loadMs,
                kRuns);
    return same ? 0 : 1;
}
