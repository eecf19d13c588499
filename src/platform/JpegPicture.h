// JPEG pictures. The frame header is read here by hand, for the size alone;
// the pixels are decoded by the Windows Imaging Component, the system's own
// JPEG decoder (present on every Windows and in Wine).
#pragma once

#include "platform/GdiHandles.h"

#include <cstdint>
#include <optional>
#include <span>

namespace platform {

struct PictureSize {
    int Width = 0;
    int Height = 0;
    bool operator==(const PictureSize&) const = default;
};

// The width and height in the first frame header of a JPEG stream, without
// decoding anything; nullopt when no well-formed frame header comes before
// the first scan.
std::optional<PictureSize> ReadJpegSize(std::span<const std::uint8_t> bytes);

// The first frame as a top-down 32-bit BGR DIB section, or an empty Bitmap
// when the bytes do not decode as a JPEG picture. Enters COM for the call
// when the thread is not in an apartment yet.
Bitmap DecodeJpeg(std::span<const std::uint8_t> bytes);

} // namespace platform
