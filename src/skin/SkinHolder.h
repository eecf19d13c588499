// TSkinHolder: the skin data component of a form. It keeps the skin file in
// its stored state as `SkinStream`: a 32-bit little-endian length followed by
// that many bytes of skin file (nothing follows a length of 0 or less).
#pragma once

#include "ui/Component.h"

#include <cstdint>
#include <span>
#include <vector>

namespace skin {

class TSkinHolder : public ui::TComponent {
public:
    explicit TSkinHolder(ui::TComponent* owner) : ui::TComponent(owner) {}
    std::wstring ClassName() const override { return L"TSkinHolder"; }

    // The stored payload, framing included.
    const std::vector<std::uint8_t>& SkinStream() const { return stream_; }
    void SetSkinStream(std::vector<std::uint8_t> payload) { stream_ = std::move(payload); }
    // Frames a skin file as the stored payload.
    void SetSkinFile(std::span<const std::uint8_t> skinFile);
    // The skin file inside the payload; empty when the payload holds none.
    std::span<const std::uint8_t> SkinFile() const;

    // The form's stored skin: an RCDATA resource of the executable holding
    // the skin file. False (and no skin) when the resource is missing.
    bool LoadStoredSkin(const wchar_t* resourceName);

private:
    std::vector<std::uint8_t> stream_;
};

} // namespace skin
