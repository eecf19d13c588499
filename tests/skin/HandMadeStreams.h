// Bit streams written token by token for the decoder tests, each aimed at one
// corner of the format. The fuzzer starts from the same streams, made into
// skin files by its seed writer.
#pragma once

#include "LzhEncoder.h"

#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace handmade {

using Bytes = std::vector<std::uint8_t>;

struct TStream {
    std::string Name;
    Bytes Stream;
    std::uint32_t Size = 0; // declared decoded size
    Bytes Expected;         // what the decoder must produce
    std::size_t Bits = 0;   // bits the symbols take, where the test needs it
};

// Writes tokens and keeps a tree in step with the encoder's, so that it can
// append tokens whose code is all zero bits: those decode the same whether
// their bytes are in the stream or lie past its end.
class TZeroTailWriter {
public:
    void Literal(std::uint8_t byte) {
        enc_.PutLiteral(byte);
        tree_.Update(byte);
        ++size_;
    }
    void Match(int length, int distance) {
        enc_.PutMatch(length, distance);
        tree_.Update(255 - skin::lzh::kThreshold + length);
        size_ += static_cast<std::uint32_t>(length);
    }
    // The symbol at the end of the all-zero path; a match goes back one
    // byte, position 0, which is written as nine zero bits.
    void ZeroToken() {
        int c = tree_.Child(skin::lzh::kRoot);
        while (c < skin::lzh::kTableSize)
            c = tree_.Child(c);
        const int symbol = c - skin::lzh::kTableSize;
        if (symbol < 256)
            Literal(static_cast<std::uint8_t>(symbol));
        else
            Match(symbol - 255 + skin::lzh::kThreshold, 1);
    }
    std::size_t BitCount() const { return enc_.BitCount(); }
    std::uint32_t Size() const { return size_; } // decoded bytes
    Bytes Finish() { return enc_.Finish(); }

private:
    skinpack::TLzhEncoder enc_;
    skin::TLzhTree tree_;
    std::uint32_t size_ = 0;
};

inline Bytes FromText(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

// Literals, a match, a match overlapping the bytes it produces, and one that
// reaches back before the data into the space-filled window.
inline TStream WindowStream() {
    skinpack::TLzhEncoder enc;
    for (char c : std::string("abc"))
        enc.PutLiteral(static_cast<std::uint8_t>(c));
    enc.PutMatch(3, 3);
    enc.PutMatch(10, 2);
    enc.PutMatch(4, 30);
    return {"window", enc.Finish(), 20, FromText("abcabcbcbcbcbcbc    ")};
}

// The last match goes on well past the declared size and is emitted whole.
inline TStream LastMatchPastTheSizeStream() {
    skinpack::TLzhEncoder enc;
    enc.PutLiteral('x');
    enc.PutLiteral('y');
    enc.PutMatch(20, 2);
    Bytes expected;
    for (int i = 0; i < 11; ++i) {
        expected.push_back('x');
        expected.push_back('y');
    }
    return {"last-match-past-the-size", enc.Finish(), 5, expected};
}

// Random bytes filling the window, then one full-length match per distance
// class, up to the whole window.
inline TStream EveryPositionCodeStream() {
    std::mt19937 rng(7);
    Bytes data(5000);
    for (auto& b : data)
        b = static_cast<std::uint8_t>(rng());
    skinpack::TLzhEncoder enc;
    for (auto b : data)
        enc.PutLiteral(b);
    Bytes expected = data;
    for (int dist : {1, 64, 65, 257, 1000, 2048, 3000, 4032, 4095, 4096}) {
        enc.PutMatch(60, dist);
        for (int k = 0; k < 60; ++k)
            expected.push_back(expected[expected.size() - static_cast<std::size_t>(dist)]);
    }
    const auto size = static_cast<std::uint32_t>(expected.size());
    return {"every-position-code", enc.Finish(), size, expected};
}

// Text and a match, then at least 80 bits of all-zero codes: the last ten
// bytes of the stream are zero.
inline TStream ZeroTailStream() {
    TZeroTailWriter w;
    const std::string text = "a stream that ends in zero bits";
    for (char c : text)
        w.Literal(static_cast<std::uint8_t>(c));
    w.Match(12, 20);
    const std::size_t content = w.BitCount();
    while (w.BitCount() < content + 80)
        w.ZeroToken();
    const std::uint32_t size = w.Size();
    const std::size_t bits = w.BitCount();
    return {"zero-tail", w.Finish(), size, {}, bits};
}

inline std::vector<TStream> AllStreams() {
    return {WindowStream(), LastMatchPastTheSizeStream(), EveryPositionCodeStream(),
            ZeroTailStream()};
}

} // namespace handmade
