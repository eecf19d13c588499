#include "platform/JpegPicture.h"

#include "platform/Com.h"

#include <wincodec.h>

#include <stdexcept>

namespace platform {

namespace {

// JPEG markers (ITU T.81, table B.1).
constexpr std::uint8_t kMarkerPrefix = 0xFF;
constexpr std::uint8_t kStartOfImage = 0xD8;
constexpr std::uint8_t kEndOfImage = 0xD9;
constexpr std::uint8_t kStartOfScan = 0xDA;
constexpr std::uint8_t kTem = 0x01;
constexpr std::uint8_t kRestart0 = 0xD0, kRestart7 = 0xD7;
constexpr std::uint8_t kDefineHuffman = 0xC4, kJpgExtension = 0xC8, kDefineArithmetic = 0xCC;

// SOF0..SOF15 except the three table and extension markers in that range.
bool IsStartOfFrame(std::uint8_t marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != kDefineHuffman &&
           marker != kJpgExtension && marker != kDefineArithmetic;
}

// Far beyond any banner; keeps a damaged header from asking for gigabytes.
constexpr int kMaxSide = 16384;

std::uint16_t BigEndian16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] << 8 | p[1]);
}

} // namespace

std::optional<PictureSize> ReadJpegSize(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 2 || bytes[0] != kMarkerPrefix || bytes[1] != kStartOfImage)
        return std::nullopt;
    std::size_t at = 2;
    for (;;) {
        if (at >= bytes.size() || bytes[at] != kMarkerPrefix) return std::nullopt;
        while (at < bytes.size() && bytes[at] == kMarkerPrefix) // fill bytes
            ++at;
        if (at >= bytes.size()) return std::nullopt;
        const std::uint8_t marker = bytes[at++];
        if (marker == kTem || (marker >= kRestart0 && marker <= kRestart7)) continue;
        if (marker == kStartOfScan || marker == kEndOfImage || marker == kStartOfImage)
            return std::nullopt;
        if (bytes.size() - at < 2) return std::nullopt;
        const std::size_t length = BigEndian16(&bytes[at]);
        if (length < 2 || length > bytes.size() - at) return std::nullopt;
        if (IsStartOfFrame(marker)) {
            // Length, precision, height, width, component count.
            if (length < 8) return std::nullopt;
            const int height = BigEndian16(&bytes[at + 3]);
            const int width = BigEndian16(&bytes[at + 5]);
            if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide)
                return std::nullopt;
            return PictureSize{width, height};
        }
        at += length;
    }
}

namespace {

Bitmap DecodeWithWic(std::span<const std::uint8_t> bytes) {
    ComPtr<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory, reinterpret_cast<void**>(factory.put()))))
        return {};
    ComPtr<IWICStream> stream;
    if (FAILED(factory->CreateStream(stream.put()))) return {};
    // The stream only reads; the interface takes a non-const pointer.
    if (FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(bytes.data()),
                                            static_cast<DWORD>(bytes.size()))))
        return {};
    ComPtr<IWICBitmapDecoder> decoder;
    if (FAILED(factory->CreateDecoderFromStream(stream.get(), nullptr,
                                                WICDecodeMetadataCacheOnDemand, decoder.put())))
        return {};
    GUID container{};
    if (FAILED(decoder->GetContainerFormat(&container)) ||
        !IsEqualGUID(container, GUID_ContainerFormatJpeg))
        return {};
    ComPtr<IWICBitmapFrameDecode> frame;
    if (FAILED(decoder->GetFrame(0, frame.put()))) return {};
    UINT width = 0, height = 0;
    if (FAILED(frame->GetSize(&width, &height)) || width == 0 || height == 0 || width > kMaxSide ||
        height > kMaxSide)
        return {};
    ComPtr<IWICFormatConverter> converter;
    if (FAILED(factory->CreateFormatConverter(converter.put())) ||
        FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGR,
                                     WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom)))
        return {};

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = static_cast<LONG>(width);
    info.bmiHeader.biHeight = -static_cast<LONG>(height); // top-down, as WIC writes rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    Bitmap dib(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dib || !bits) return {};
    const UINT stride = width * 4;
    if (FAILED(converter->CopyPixels(nullptr, stride, stride * height, static_cast<BYTE*>(bits))))
        return {};
    return dib;
}

} // namespace

Bitmap DecodeJpeg(std::span<const std::uint8_t> bytes) {
    if (bytes.empty() || bytes.size() > MAXDWORD) return {};
    try {
        ComInit com; // outlives every interface pointer of the decode
        return DecodeWithWic(bytes);
    } catch (const std::runtime_error&) {
        return {}; // no apartment to be had: the picture stays empty
    }
}

} // namespace platform
