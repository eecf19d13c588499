#include "skin/SkinIni.h"

#include <algorithm>
#include <limits>
#include <type_traits>

namespace skin {

namespace {

// Control characters and the space; a character read from a byte is its
// byte, so narrow and wide text agree.
template <typename C> bool IsBlank(C c) {
    return static_cast<std::make_unsigned_t<C>>(c) <= ' ';
}

bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

int HexValue(wchar_t c) {
    if (IsDigit(c)) return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

// Section names compare without regard to case. The definition is 8-bit text
// read one byte per character, so folding ASCII and the Latin-1 letters is
// what a case-insensitive compare can do for it.
wchar_t FoldCase(wchar_t c) {
    if (c >= L'A' && c <= L'Z') return static_cast<wchar_t>(c + 32);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<wchar_t>(c + 32);
    return c;
}

template <typename C> std::basic_string_view<C> TrimmedView(std::basic_string_view<C> text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && IsBlank(text[first]))
        ++first;
    while (last > first && IsBlank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

wchar_t LowerAscii(wchar_t c) {
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + 32) : c;
}

// Whether the two are equal once every character went through `fold`.
template <typename Fold> bool EqualFolded(std::wstring_view a, std::wstring_view b, Fold fold) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (fold(a[i]) != fold(b[i])) return false;
    }
    return true;
}

} // namespace

std::size_t TSkinIni::FoldedHash::operator()(std::wstring_view name) const {
    std::size_t h = 14695981039346656037ull; // FNV-1a
    for (const wchar_t c : name)
        h = (h ^ static_cast<std::size_t>(FoldCase(c))) * 1099511628211ull;
    return h;
}

bool TSkinIni::FoldedEqual::operator()(std::wstring_view a, std::wstring_view b) const {
    return EqualFolded(a, b, FoldCase);
}

std::wstring TrimSkinText(std::wstring_view text) {
    return std::wstring(TrimmedView(text));
}

std::wstring AsciiLower(std::wstring_view text) {
    std::wstring out(text);
    for (auto& c : out)
        c = LowerAscii(c);
    return out;
}

std::wstring AsciiUpper(std::wstring_view text) {
    std::wstring out(text);
    for (auto& c : out) {
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - 32);
    }
    return out;
}

void TSkinIni::LoadFromStream(std::span<const std::uint8_t> text) {
    LoadFromText(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()));
}

void TSkinIni::LoadFromText(std::string_view text) {
    lines_.clear();
    headers_.clear();
    firstHeader_.clear();
    // A NUL byte ends the text.
    text = text.substr(0, text.find('\0'));
    auto keep = [&](std::string_view raw) {
        raw = TrimmedView(raw);
        if (raw.empty() || raw.front() == ';') return;
        // One character per byte.
        std::wstring line(raw.size(), L'\0');
        std::transform(raw.begin(), raw.end(), line.begin(),
                       [](char c) { return static_cast<wchar_t>(static_cast<unsigned char>(c)); });
        if (line.size() >= 2 && line.front() == L'[' && line.back() == L']') {
            firstHeader_.try_emplace(line.substr(1, line.size() - 2), headers_.size());
            headers_.push_back({line, lines_.size()});
        }
        lines_.push_back(std::move(line));
    };
    std::size_t start = 0;
    for (;;) {
        const std::size_t stop = text.find_first_of("\r\n", start);
        keep(text.substr(start, stop == std::string_view::npos ? stop : stop - start));
        if (stop == std::string_view::npos) break;
        start = stop + 1;
        if (text[stop] == '\r' && start < text.size() && text[start] == '\n') ++start;
    }
}

std::wstring TSkinIni::ReadString(std::wstring_view section, std::wstring_view key,
                                  std::wstring_view def) const {
    // Read key by key while a skin loads: nothing is copied but the result.
    const auto found = firstHeader_.find(section);
    if (found == firstHeader_.end()) return std::wstring(def);
    const std::size_t h = found->second;

    const std::size_t begin = headers_[h].line + 1;
    const std::size_t end = h + 1 < headers_.size() ? headers_[h + 1].line : lines_.size();
    for (std::size_t i = begin; i < end; ++i) {
        const std::wstring_view line = lines_[i];
        const std::size_t eq = line.find(L'=');
        const std::wstring_view lineKey =
            eq == std::wstring_view::npos ? std::wstring_view() : TrimmedView(line.substr(0, eq));
        // Keys fold ASCII letters only.
        if (!EqualFolded(lineKey, key, LowerAscii)) continue;
        // Only the first line of a key counts, even when its value is empty.
        if (eq != std::wstring_view::npos) {
            const std::wstring_view value = TrimmedView(line.substr(eq + 1));
            if (!value.empty()) return std::wstring(value);
        }
        break;
    }
    return std::wstring(def);
}

std::optional<std::int32_t> ParseSkinInteger(std::wstring_view text) {
    std::wstring value(text);
    if (value.size() > 2 && value[0] == L'0' && (value[1] == L'x' || value[1] == L'X')) {
        value = L"$" + value.substr(2);
    }
    std::size_t i = 0;
    bool negative = false;
    if (i < value.size() && (value[i] == L'+' || value[i] == L'-')) {
        negative = value[i] == L'-';
        ++i;
    }
    if (i < value.size() && value[i] == L'$') {
        ++i;
        if (i == value.size()) return std::nullopt;
        std::uint64_t n = 0;
        for (; i < value.size(); ++i) {
            const int d = HexValue(value[i]);
            if (d < 0) return std::nullopt;
            n = n * 16 + static_cast<unsigned>(d);
            if (n > 0xFFFFFFFFull) return std::nullopt;
        }
        // Hexadecimal covers the full 32 bits: $FFFFFFFF is -1.
        auto bits = static_cast<std::uint32_t>(n);
        if (negative) bits = 0u - bits;
        return static_cast<std::int32_t>(bits);
    }
    if (i == value.size()) return std::nullopt;
    std::int64_t n = 0;
    for (; i < value.size(); ++i) {
        if (!IsDigit(value[i])) return std::nullopt;
        n = n * 10 + (value[i] - L'0');
        if (n > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1) return std::nullopt;
    }
    if (negative) n = -n;
    if (n > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
    return static_cast<std::int32_t>(n);
}

std::int32_t TSkinIni::ReadInteger(std::wstring_view section, std::wstring_view key,
                                   std::int32_t def) const {
    const std::wstring text = ReadString(section, key, L"");
    return ParseSkinInteger(text).value_or(def);
}

// Digits accumulate into a number; any other character closes the number
// being read. At the end of the text the pending number is kept as well,
// provided at least one number came before it: a lone "255" stays black,
// "1 2" gives red 1 and green 2. Numbers after the third are ignored, and a
// number too large to hold is skipped.
Colour ParseRgbText(std::wstring_view raw) {
    const std::wstring text = TrimSkinText(raw);
    int components[3] = {0, 0, 0};
    int stored = 0;
    std::int64_t pending = 0;
    bool inNumber = false;
    bool tooLarge = false;
    auto store = [&] {
        if (!tooLarge && stored < 3) components[stored++] = static_cast<int>(pending % 256);
        pending = 0;
        inNumber = false;
        tooLarge = false;
    };
    for (wchar_t c : text) {
        if (IsDigit(c)) {
            inNumber = true;
            if (!tooLarge) {
                pending = pending * 10 + (c - L'0');
                if (pending > std::numeric_limits<std::int32_t>::max()) tooLarge = true;
            }
        } else if (inNumber) {
            store();
        }
    }
    if (inNumber && stored >= 1) store();
    return Rgb(components[0], components[1], components[2]);
}

Colour TSkinIni::ReadColour(std::wstring_view section, std::wstring_view key, Colour def) const {
    const std::wstring text = ReadString(section, key, L"");
    if (text.empty()) return def;
    return ParseRgbText(text);
}

void TSkinIni::ReadColour3(std::wstring_view section, std::wstring_view prefix,
                           Colour& target) const {
    std::wstring key(prefix);
    key.push_back(L'R');
    const std::int32_t r = ReadInteger(section, key, -1);
    key.back() = L'G';
    const std::int32_t g = ReadInteger(section, key, -1);
    key.back() = L'B';
    const std::int32_t b = ReadInteger(section, key, -1);
    if (r >= 0 && g >= 0 && b >= 0) target = Rgb(r % 256, g % 256, b % 256);
}

std::vector<std::wstring> TSkinIni::ReadSections() const {
    std::vector<std::wstring> names;
    names.reserve(headers_.size());
    for (const auto& h : headers_)
        names.push_back(h.text.substr(1, h.text.size() - 2));
    return names;
}

} // namespace skin
