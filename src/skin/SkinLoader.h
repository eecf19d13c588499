// The whole platform-free skin load: skin file bytes in, skin data out.
// framing -> LZHUF decoder -> package -> definition -> bitmaps -> elements ->
// derived elements. The skin data component calls it with its stored bytes;
// the fuzzer and the benchmark call it with whatever they like.
#pragma once

#include "skin/SkinDefinition.h"
#include "skin/SkinPackage.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>

namespace skin {

// What the platform supplies to a load.
struct SkinLoadOptions {
    // The system metric SM_CXHSCROLL: width of a scroll bar arrow.
    int CxHScroll = 17;
    // The program's own track bar channel images.
    TSkinFallbacks Fallbacks;
    // Resolves a system colour index (GetSysColor); without one the resolver
    // installed with SetSystemColourResolver is used.
    std::function<Colour(int index)> SystemColours;
    // Declared package sizes above this are refused before decoding: the size
    // field comes from the file and could ask for 4 GB (a fuzzer lowers it).
    std::uint32_t MaxPackageSize = package::kMaxPackageSize;
    // Told the older-format message when the package is refused.
    std::function<void(std::wstring_view message)> OnOlderFormat;
};

// How far a load came, for the skin data component and for diagnostics.
struct SkinLoadReport {
    enum class Failure {
        kNone,
        kBadFraming,    // SkinStream length field 0, negative or beyond the payload
        kTooLarge,      // declared package size beyond what we are willing to decode
        kOlderFormat,   // package marker other than 20000: the user is told so
        kDecodeFailure, // the decoder or package reader refused the bytes
    };
    Failure Result = Failure::kNone;
    std::size_t PackageSize = 0; // decompressed bytes
    std::wstring DefinitionName; // empty when the package has no ".ini" entry
    int BitmapsRequested = 0;    // ExtractFile calls
    int BitmapsFound = 0;        // of which returned a non-empty entry
};

// Loads a skin file (the bytes that follow the SkinStream length field, or
// the contents of a file named by SkinFile). Returns null when no skin was
// built; never throws for bad input.
std::unique_ptr<TSkinData> LoadSkinFile(std::span<const std::uint8_t> skinFile,
                                        SkinLoadReport* report = nullptr,
                                        const SkinLoadOptions& options = {});

// The steps after the package: parses the definition text, reads it with
// bitmaps from `entries` and builds the derived elements.
std::unique_ptr<TSkinData> BuildSkinData(std::span<const std::uint8_t> definition,
                                         const SkinEntryReader& entries,
                                         const SkinLoadOptions& options = {});

// Loads a SkinStream payload: a signed 32-bit little-endian length n, then n
// bytes of skin file.
std::unique_ptr<TSkinData> LoadSkinStream(std::span<const std::uint8_t> payload,
                                          SkinLoadReport* report = nullptr,
                                          const SkinLoadOptions& options = {});

// The skin file inside a SkinStream payload, or nothing when the length field
// is missing, not positive, or larger than the bytes that follow.
std::optional<std::span<const std::uint8_t>>
SkinFileOfStream(std::span<const std::uint8_t> payload);

} // namespace skin
