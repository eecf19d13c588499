#include "skin/LzhDecoder.h"

#include "LzhEncoder.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

using skin::TLzhDecoder;
using skin::TLzhTree;
using skinpack::TLzhEncoder;
using Bytes = std::vector<std::uint8_t>;

class SpanSource : public skin::ByteSource {
public:
    explicit SpanSource(const Bytes& bytes) : bytes_(bytes) {}
    std::size_t Read(std::uint8_t& out) override {
        ++requests;
        if (pos_ >= bytes_.size()) return 0;
        out = bytes_[pos_++];
        return 1;
    }
    std::size_t requests = 0;

private:
    const Bytes& bytes_;
    std::size_t pos_ = 0;
};

class VectorSink : public skin::ByteSink {
public:
    void Write(std::uint8_t byte) override { out.push_back(byte); }
    Bytes out;
};

Bytes Decode(const Bytes& stream, std::uint32_t size) {
    SpanSource source(stream);
    VectorSink sink;
    TLzhDecoder().Unpack(size, source, sink);
    return sink.out;
}

Bytes FromText(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

// Fresh tree: following child 0 eight times from the root ends at leaf 116
// ('t'); taking child 1 at the last step gives its sibling 117 ('u').
TEST(LzhDecoder, FirstSymbolFollowsTheInitialTree) {
    EXPECT_EQ(Decode({}, 1), FromText("t")); // no input at all reads as zero bits
    EXPECT_EQ(Decode({0x01}, 1), FromText("u"));
    EXPECT_EQ(Decode({}, 0), Bytes{});
}

TEST(LzhDecoder, DecodesLiteralsAndMatchesIntoTheWindow) {
    TLzhEncoder enc;
    for (char c : std::string("abc"))
        enc.PutLiteral(static_cast<std::uint8_t>(c));
    enc.PutMatch(3, 3);  // "abc" again
    enc.PutMatch(10, 2); // overlaps the bytes it produces: "bcbcbcbcbc"
    enc.PutMatch(4, 30); // reaches back before the data into the space-filled window
    EXPECT_EQ(Decode(enc.Finish(), 20), FromText("abcabcbcbcbcbcbc"
                                                 "    "));
}

TEST(LzhDecoder, EmitsTheWholeLastMatchPastTheDeclaredSize) {
    TLzhEncoder enc;
    enc.PutLiteral('x');
    enc.PutLiteral('y');
    enc.PutMatch(20, 2);
    const Bytes out = Decode(enc.Finish(), 5);
    ASSERT_EQ(out.size(), 22u);
    EXPECT_EQ(out[21], 'y');
}

TEST(LzhDecoder, ReachesEveryPositionCode) {
    // 4096 distinct-ish bytes, then one match per distance class, up to the
    // full window.
    std::mt19937 rng(7);
    Bytes data(5000);
    for (auto& b : data)
        b = static_cast<std::uint8_t>(rng());
    TLzhEncoder enc;
    for (auto b : data)
        enc.PutLiteral(b);
    Bytes expected = data;
    for (int dist : {1, 64, 65, 257, 1000, 2048, 3000, 4032, 4095, 4096}) {
        enc.PutMatch(60, dist);
        for (int k = 0; k < 60; ++k)
            expected.push_back(expected[expected.size() - dist]);
    }
    EXPECT_EQ(Decode(enc.Finish(), static_cast<std::uint32_t>(expected.size())), expected);
}

TEST(LzhDecoder, MissingInputReadsAsZeroBitsUntilTheSizeIsReached) {
    std::string text;
    for (int i = 0; i < 400; ++i)
        text += "line " + std::to_string(i * 7919 % 1000) + "\r\n";
    const Bytes data = FromText(text);
    Bytes stream = skinpack::Compress(data);
    stream.resize(stream.size() / 2);
    const Bytes out = Decode(stream, static_cast<std::uint32_t>(data.size()));
    ASSERT_GE(out.size(), data.size());
    EXPECT_TRUE(std::equal(data.begin(), data.begin() + 200, out.begin()));
}

// Checks what the coder relies on: frequencies ascend, every inner node holds
// the sum of its children, and parent links agree with child links.
void ExpectTreeConsistent(const TLzhTree& tree) {
    using namespace skin::lzh;
    for (int i = 0; i < kRoot; ++i)
        ASSERT_LE(tree.Freq(i), tree.Freq(i + 1)) << "node " << i;
    for (int i = 0; i < kTableSize; ++i) {
        const int c = tree.Child(i);
        if (c >= kTableSize) {
            ASSERT_EQ(tree.Parent(c), i);
        } else {
            ASSERT_EQ(tree.Parent(c), i);
            ASSERT_EQ(tree.Parent(c + 1), i);
            ASSERT_EQ(tree.Freq(i), tree.Freq(c) + tree.Freq(c + 1)) << "node " << i;
        }
    }
}

TEST(LzhTree, StaysConsistentAcrossReconstruction) {
    TLzhTree tree;
    ExpectTreeConsistent(tree);
    std::mt19937 rng(3);
    std::geometric_distribution<int> skewed(0.05);
    bool rebuilt = false;
    for (int n = 0; n < 70000; ++n) {
        const bool full = tree.Freq(skin::lzh::kRoot) == skin::lzh::kMaxFreq;
        tree.Update(skewed(rng) % skin::lzh::kCharCount);
        if (full) {
            rebuilt = true;
            ASSERT_LT(tree.Freq(skin::lzh::kRoot), skin::lzh::kMaxFreq);
            ExpectTreeConsistent(tree);
        }
    }
    EXPECT_TRUE(rebuilt);
    ExpectTreeConsistent(tree);
}

struct RoundTripCase {
    const char* name;
    Bytes data;
};

std::vector<RoundTripCase> RoundTripCases() {
    std::mt19937 rng(11);
    std::vector<RoundTripCase> cases;
    Bytes random(100000);
    for (auto& b : random)
        b = static_cast<std::uint8_t>(rng());
    cases.push_back({"random", random});
    cases.push_back({"zeros", Bytes(1 << 20, 0)}); // long runs: many rebuilds of the tree
    Bytes rows;                                    // bitmap-like: repeated rows with noise
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 555; ++x)
            rows.push_back(static_cast<std::uint8_t>((x * 3 + (rng() % 8 == 0 ? y : 0)) & 0xFF));
    cases.push_back({"rows", rows});
    cases.push_back({"spaces", Bytes(5000, ' ')});
    cases.push_back({"one", Bytes{42}});
    return cases;
}

TEST(LzhRoundTrip, PackerOutputDecodesExactly) {
    for (const auto& c : RoundTripCases()) {
        const Bytes stream = skinpack::Compress(c.data);
        const Bytes out = Decode(stream, static_cast<std::uint32_t>(c.data.size()));
        EXPECT_EQ(out, c.data) << c.name;
    }
}

TEST(LzhRoundTrip, DecoderStreamsItsInputOnce) {
    const Bytes data(20000, 'q');
    const Bytes stream = skinpack::Compress(data);
    SpanSource source(stream);
    VectorSink sink;
    TLzhDecoder().Unpack(static_cast<std::uint32_t>(data.size()), source, sink);
    EXPECT_EQ(sink.out, data);
    EXPECT_LE(source.requests, stream.size() + 2); // reads ahead at most one fill
}

} // namespace
