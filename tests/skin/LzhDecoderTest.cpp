#include "skin/LzhDecoder.h"

#include "HandMadeStreams.h"
#include "LzhEncoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace {

using skin::TLzhDecoder;
using skin::TLzhTree;
using skinpack::TLzhEncoder;
using Bytes = std::vector<std::uint8_t>;

// Hands out the input in pieces of at most `piece` bytes, as a file or a
// socket might, and counts what it was asked for.
class SpanSource : public skin::ByteSource {
public:
    explicit SpanSource(const Bytes& bytes, std::size_t piece = SIZE_MAX)
        : bytes_(bytes), piece_(piece) {}
    std::size_t Read(std::uint8_t* buffer, std::size_t size) override {
        ++requests;
        const std::size_t n = std::min({size, piece_, bytes_.size() - pos_});
        std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(pos_), n, buffer);
        pos_ += n;
        return n;
    }
    std::size_t requests = 0;
    std::size_t Delivered() const { return pos_; }

private:
    const Bytes& bytes_;
    std::size_t piece_;
    std::size_t pos_ = 0;
};

class VectorSink : public skin::ByteSink {
public:
    void Write(const std::uint8_t* data, std::size_t size) override {
        out.insert(out.end(), data, data + size);
    }
    Bytes out;
};

// The decoded bytes, or nothing when the decoder refused the stream.
std::optional<Bytes> TryDecode(const Bytes& stream, std::uint32_t size) {
    SpanSource source(stream);
    VectorSink sink;
    if (!TLzhDecoder().Unpack(size, source, sink)) return std::nullopt;
    return sink.out;
}

Bytes Decode(const Bytes& stream, std::uint32_t size) {
    std::optional<Bytes> out = TryDecode(stream, size);
    EXPECT_TRUE(out.has_value()) << "stream refused";
    return out.value_or(Bytes{});
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

// Every match copies as if byte after byte: short gaps that repeat the bytes
// the match is producing, every length at each gap up to 17, gaps around the
// copy's piece sizes, distances reaching into the window as it starts (spaces,
// then zeros), and enough output to pass many times through the decoder's
// output blocks. The expected bytes come from a byte-by-byte model.
TEST(LzhDecoder, MatchesCopyAsByteAfterByteAtEveryGapAndLength) {
    using namespace skin::lzh;
    // The window before any output: zeros at the oldest places, then spaces.
    Bytes model(kRingSize - kStartPos, 0);
    model.insert(model.end(), kStartPos, kFillByte);
    const std::size_t start = model.size();
    TLzhEncoder enc;
    std::mt19937 rng(17);
    const auto literal = [&](std::uint8_t b) {
        enc.PutLiteral(b);
        model.push_back(b);
    };
    const auto match = [&](int length, int distance) {
        enc.PutMatch(length, distance);
        for (int k = 0; k < length; ++k)
            model.push_back(model[model.size() - static_cast<std::size_t>(distance)]);
    };
    match(60, kRingSize);     // all zeros
    match(60, kStartPos + 1); // zeros, then spaces
    for (int i = 0; i < 40; ++i)
        literal(static_cast<std::uint8_t>(rng()));
    for (int gap = 1; gap <= 17; ++gap)
        for (int length = kThreshold + 1; length <= kMaxMatch; ++length) {
            match(length, gap);
            literal(static_cast<std::uint8_t>(rng()));
        }
    std::uniform_int_distribution<int> length(kThreshold + 1, kMaxMatch);
    std::uniform_int_distribution<int> nearGap(1, 70), anyGap(1, kRingSize);
    while (model.size() - start < 300000) {
        const int r = static_cast<int>(rng() % 8);
        if (r < 2)
            literal(static_cast<std::uint8_t>(rng()));
        else
            match(length(rng), r < 5 ? nearGap(rng) : anyGap(rng));
    }
    const Bytes expected(model.begin() + static_cast<std::ptrdiff_t>(start), model.end());
    const Bytes out = Decode(enc.Finish(), static_cast<std::uint32_t>(expected.size()));
    ASSERT_EQ(out.size(), expected.size());
    const auto diff = std::mismatch(out.begin(), out.end(), expected.begin());
    EXPECT_EQ(diff.first, out.end()) << "first difference at byte " << (diff.first - out.begin());
}

// The hand-made streams: literals and overlapping matches, a last match
// that runs past the declared size, every class of match distance.
TEST(LzhDecoder, DecodesTheHandMadeStreams) {
    for (const auto& h : {handmade::WindowStream(), handmade::LastMatchPastTheSizeStream(),
                          handmade::EveryPositionCodeStream()})
        EXPECT_EQ(Decode(h.Stream, h.Size), h.Expected) << h.Name;
}

// A stream may stop inside its last symbols: their missing bits read as zero
// while they lie at most four bytes past the end of the input (the fourth
// byte past the end still counts, the fifth does not); what the decoder
// reads ahead into its bit buffer does not count.
TEST(LzhDecoder, MissingBitsReadAsZeroUpToFourBytesPastTheEnd) {
    const handmade::TStream h = handmade::ZeroTailStream();
    const Bytes& stream = h.Stream;
    const std::uint32_t size = h.Size;
    ASSERT_TRUE(std::all_of(stream.end() - 9, stream.end(), [](auto b) { return b == 0; }));
    const std::size_t bits = h.Bits; // the encoder pads only the last byte
    ASSERT_EQ(stream.size(), (bits + 7) / 8);

    const Bytes expected = Decode(stream, size);
    ASSERT_EQ(expected.size(), size);
    EXPECT_EQ(std::string(expected.begin(), expected.begin() + 31),
              "a stream that ends in zero bits");

    const std::size_t lastByte = (bits - 1) / 8; // holds the last bit the symbols need
    for (std::size_t pastEnd = 0; pastEnd <= 6; ++pastEnd) {
        // The last needed bit lies in byte number `pastEnd` past the end
        // (0: the stream still holds it).
        const Bytes cut(stream.begin(),
                        stream.begin() + static_cast<std::ptrdiff_t>(lastByte + 1 - pastEnd));
        const std::optional<Bytes> out = TryDecode(cut, size);
        if (pastEnd <= 4) {
            ASSERT_TRUE(out.has_value()) << pastEnd;
            EXPECT_EQ(*out, expected) << pastEnd;
        } else {
            EXPECT_FALSE(out.has_value()) << pastEnd;
        }
    }
    // With nothing at all, only a symbol or two fit in four zero bytes.
    EXPECT_FALSE(TryDecode({}, size).has_value());
}

TEST(LzhDecoder, InputCutShortIsRefusedAfterWhatItHeld) {
    std::string text;
    for (int i = 0; i < 400; ++i)
        text += "line " + std::to_string(i * 7919 % 1000) + "\r\n";
    const Bytes data = FromText(text);
    Bytes stream = skinpack::Compress(data);
    stream.resize(stream.size() / 2);
    SpanSource source(stream);
    VectorSink sink;
    EXPECT_FALSE(TLzhDecoder().Unpack(static_cast<std::uint32_t>(data.size()), source, sink));
    // It stopped soon after the input ran out, with the start intact.
    ASSERT_GE(sink.out.size(), 200u);
    EXPECT_LT(sink.out.size(), data.size());
    EXPECT_TRUE(std::equal(data.begin(), data.begin() + 200, sink.out.begin()));
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

int LongestCode(const TLzhTree& tree) {
    using namespace skin::lzh;
    int longest = 0;
    for (int s = 0; s < kCharCount; ++s) {
        int bits = 0;
        for (int n = tree.Parent(s + kTableSize); n != kRoot; n = tree.Parent(n))
            ++bits;
        longest = std::max(longest, bits + 1);
    }
    return longest;
}

// The decoder refills its bit buffer once per symbol, trusting that no code
// is longer than 21 bits: counts that grow like the Fibonacci numbers build
// deep trees, and the halving at 0x8000 bounds every tree.
TEST(LzhTree, NoCodeIsLongerThanTwentyOneBits) {
    TLzhTree tree;
    int deepest = 0;
    int a = 1, b = 1;
    for (int round = 0; round < 3; ++round) {
        for (int s = 0; s < 40; ++s) {
            for (int k = 0; k < a; ++k)
                tree.Update(s % skin::lzh::kCharCount);
            deepest = std::max(deepest, LongestCode(tree));
            ASSERT_LE(deepest, 21) << "symbol " << s;
            const int next = std::min(a + b, 20000);
            a = b;
            b = next;
        }
        a = b = 1;
    }
    EXPECT_GE(deepest, 16); // the sequence did build a deep tree
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

// However the input arrives, in single bytes or in odd pieces that split
// the decoder's eight-byte reads, it is read once, in order, and decodes the
// same.
TEST(LzhRoundTrip, DecoderStreamsItsInputOnceInAnyPieces) {
    std::mt19937 rng(5);
    Bytes data(30000);
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<std::uint8_t>(i % 97 < 50 ? 'q' : rng() % 16);
    const Bytes stream = skinpack::Compress(data);
    for (std::size_t piece : {std::size_t{1}, std::size_t{7}, std::size_t{4095}, SIZE_MAX}) {
        SpanSource source(stream, piece);
        VectorSink sink;
        ASSERT_TRUE(TLzhDecoder().Unpack(static_cast<std::uint32_t>(data.size()), source, sink));
        EXPECT_EQ(sink.out, data) << piece;
        EXPECT_EQ(source.Delivered(), stream.size()) << piece;
        // One request per piece and one that meets the end, no more.
        const std::size_t pieces = (stream.size() + std::min(piece, std::size_t{4096}) - 1) /
                                   std::min(piece, std::size_t{4096});
        EXPECT_LE(source.requests, pieces + 1) << piece;
    }
}

} // namespace
