#include "app/Resources.h"

namespace app {

HBITMAP LoadProgramBitmap(int id) {
    return static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id),
                                           IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

std::vector<std::uint8_t> LoadProgramData(int id) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC info = FindResourceW(module, MAKEINTRESOURCEW(id), RT_RCDATA);
    if (!info) return {};
    HGLOBAL loaded = LoadResource(module, info);
    const DWORD size = SizeofResource(module, info);
    const auto* bytes = loaded ? static_cast<const std::uint8_t*>(LockResource(loaded)) : nullptr;
    if (!bytes) return {};
    return std::vector<std::uint8_t>(bytes, bytes + size);
}

} // namespace app
