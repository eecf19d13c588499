#include "data/TextUtil.h"

#include <cstdint>

namespace data {

namespace {

constexpr bool kWide16 = sizeof(wchar_t) == 2;

bool IsHighSurrogate(std::uint32_t u) {
    return u >= 0xD800 && u <= 0xDBFF;
}
bool IsLowSurrogate(std::uint32_t u) {
    return u >= 0xDC00 && u <= 0xDFFF;
}

std::uint32_t FoldCase(std::uint32_t u) {
    if (u >= 'a' && u <= 'z') return u - 0x20;
    if (u >= 0xE0 && u <= 0xFE && u != 0xF7) return u - 0x20; // Latin-1 lower-case letters
    return u;
}

} // namespace

// With UTF-16, surrogates (D800-DFFF) sort below E000-FFFF; moving them above
// gives code point order for well-formed text.
std::uint32_t OrdinalKey(wchar_t c, bool ignoreCase) {
    auto u = static_cast<std::uint32_t>(c);
    if (ignoreCase) u = FoldCase(u);
    if (kWide16 && u >= 0xD800) u = u >= 0xE000 ? u - 0x800 : u + 0x2000;
    return u;
}

bool SameText(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto x = static_cast<std::uint32_t>(a[i]);
        auto y = static_cast<std::uint32_t>(b[i]);
        if (x >= 'a' && x <= 'z') x -= 0x20;
        if (y >= 'a' && y <= 'z') y -= 0x20;
        if (x != y) return false;
    }
    return true;
}

int CompareOrdinal(std::wstring_view a, std::wstring_view b, bool ignoreCase) {
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    if (!ignoreCase) return CompareCodePoints(a, b);
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint32_t x = OrdinalKey(a[i], ignoreCase);
        const std::uint32_t y = OrdinalKey(b[i], ignoreCase);
        if (x != y) return x < y ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

int Utf16Length(const std::wstring& text) {
    if constexpr (kWide16) {
        return static_cast<int>(text.size());
    } else {
        std::size_t units = 0;
        for (wchar_t c : text)
            units += (static_cast<std::uint32_t>(c) >> 16) != 0 ? 2 : 1;
        return static_cast<int>(units);
    }
}

std::wstring TruncateToUtf16(const std::wstring& text, int maxUnits) {
    if (maxUnits <= 0) return {};
    const auto limit = static_cast<std::size_t>(maxUnits);
    std::size_t units = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto u = static_cast<std::uint32_t>(text[i]);
        std::size_t chars = 1;
        std::size_t width = 1;
        if constexpr (kWide16) {
            if (IsHighSurrogate(u) && i + 1 < text.size() &&
                IsLowSurrogate(static_cast<std::uint32_t>(text[i + 1]))) {
                chars = 2;
                width = 2;
            }
        } else {
            if (u > 0xFFFF) width = 2;
        }
        if (units + width > limit) break;
        units += width;
        i += chars;
    }
    return text.substr(0, i);
}

std::string ToUtf8(const std::wstring& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        auto cp = static_cast<std::uint32_t>(text[i]);
        if (kWide16 && IsHighSurrogate(cp) && i + 1 < text.size() &&
            IsLowSurrogate(static_cast<std::uint32_t>(text[i + 1]))) {
            cp = 0x10000 + ((cp - 0xD800) << 10) +
                 (static_cast<std::uint32_t>(text[i + 1]) - 0xDC00);
            ++i;
        } else if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) {
            cp = 0xFFFD;
        }
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

} // namespace data
