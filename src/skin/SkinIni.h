// In-memory reader of a skin definition file: an INI-style text of sections
// and key=value lines. The text is read once while a skin loads; lookups then
// walk the kept lines.
#pragma once

#include "skin/Bitmap.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace skin {

class TSkinIni {
public:
    // Parses `text`, replacing whatever was loaded before. The bytes are
    // 8-bit text; each byte becomes one character. A NUL byte ends the text.
    void LoadFromStream(std::span<const std::uint8_t> text);
    void LoadFromText(std::string_view text);

    // The first "=" of the first matching line of the first section of that
    // name decides; an empty value gives `def`.
    std::wstring ReadString(std::wstring_view section, std::wstring_view key,
                            std::wstring_view def) const;
    // Decimal with optional sign, or hexadecimal with "$" or "0x"; anything
    // else gives `def`.
    std::int32_t ReadInteger(std::wstring_view section, std::wstring_view key,
                             std::int32_t def) const;
    // An RGB text ("132 130 246") as a colour; an absent or empty value
    // gives `def`.
    Colour ReadColour(std::wstring_view section, std::wstring_view key, Colour def) const;
    // Keys prefix+"R", prefix+"G", prefix+"B": `target` changes only when all
    // three are present and not negative.
    void ReadColour3(std::wstring_view section, std::wstring_view prefix, Colour& target) const;

    // Section names without brackets, in file order, duplicates included.
    std::vector<std::wstring> ReadSections() const;

    const std::vector<std::wstring>& Lines() const { return lines_; }

private:
    struct Header {
        std::wstring text; // with brackets
        std::size_t line = 0;
    };
    // Section names hash and compare without regard to case, so a lookup
    // needs no folded copy of the name.
    struct FoldedHash {
        using is_transparent = void;
        std::size_t operator()(std::wstring_view name) const;
    };
    struct FoldedEqual {
        using is_transparent = void;
        bool operator()(std::wstring_view a, std::wstring_view b) const;
    };

    std::vector<std::wstring> lines_;
    std::vector<Header> headers_;
    // Header text between the brackets -> index of its first occurrence in
    // headers_, so that a lookup does not walk every header of a large text.
    std::unordered_map<std::wstring, std::size_t, FoldedHash, FoldedEqual> firstHeader_;
};

// Value conversions of the definition file, usable on their own.
// Integer text as the reader accepts it (already trimmed), or nothing.
std::optional<std::int32_t> ParseSkinInteger(std::wstring_view text);
// RGB text to colour; see the .cpp for how loose texts are read.
Colour ParseRgbText(std::wstring_view text);

// Helpers shared with the definition reader.
std::wstring TrimSkinText(std::wstring_view text);
std::wstring AsciiLower(std::wstring_view text);
std::wstring AsciiUpper(std::wstring_view text);

} // namespace skin
