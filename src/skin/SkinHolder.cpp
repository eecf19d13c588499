#include "skin/SkinHolder.h"

#include "skin/SkinLoader.h"

#include <windows.h>

namespace skin {

void TSkinHolder::SetSkinFile(std::span<const std::uint8_t> skinFile) {
    const auto n = static_cast<std::uint32_t>(skinFile.size());
    stream_.assign({static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(n >> 8),
                    static_cast<std::uint8_t>(n >> 16), static_cast<std::uint8_t>(n >> 24)});
    stream_.insert(stream_.end(), skinFile.begin(), skinFile.end());
}

std::span<const std::uint8_t> TSkinHolder::SkinFile() const {
    return SkinFileOfStream(stream_).value_or(std::span<const std::uint8_t>{});
}

bool TSkinHolder::LoadStoredSkin(const wchar_t* resourceName) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC info = FindResourceW(module, resourceName, MAKEINTRESOURCEW(10)); // RT_RCDATA
    if (!info) {
        stream_.clear();
        return false;
    }
    HGLOBAL data = LoadResource(module, info);
    const void* bytes = data ? LockResource(data) : nullptr;
    const DWORD size = SizeofResource(module, info);
    if (!bytes || size == 0) {
        stream_.clear();
        return false;
    }
    SetSkinFile({static_cast<const std::uint8_t*>(bytes), size});
    return true;
}

} // namespace skin
