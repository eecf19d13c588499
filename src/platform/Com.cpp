#include "platform/Com.h"

#include <stdexcept>

namespace platform {

ComInit::ComInit() {
    const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (SUCCEEDED(hr)) {
        mustUninitialize_ = true; // S_OK and S_FALSE both count a reference
    } else if (hr != RPC_E_CHANGED_MODE) {
        throw std::runtime_error("COM cannot be initialised");
    }
}

ComInit::~ComInit() {
    if (mustUninitialize_) CoUninitialize();
}

BStr::BStr(std::wstring_view text) {
    s_ = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    if (!s_) throw std::bad_alloc();
}

void BStr::reset(BSTR s) {
    if (s_) SysFreeString(s_);
    s_ = s;
}

std::wstring BStr::str() const {
    if (!s_) return {};
    return std::wstring(s_, SysStringLen(s_));
}

bool VariantToText(const VARIANT& value, std::wstring& text) {
    switch (V_VT(&value)) {
    case VT_EMPTY:
    case VT_NULL:
        text.clear();
        return true;
    case VT_BSTR:
        text = V_BSTR(&value) ? std::wstring(V_BSTR(&value), SysStringLen(V_BSTR(&value)))
                              : std::wstring();
        return true;
    default:
        break;
    }
    Variant converted;
    // Some SDKs declare the source without const; it is only read.
    if (FAILED(VariantChangeType(&converted.get(), const_cast<VARIANT*>(&value), 0, VT_BSTR)))
        return false;
    BSTR s = V_BSTR(&converted.get());
    text = s ? std::wstring(s, SysStringLen(s)) : std::wstring();
    return true;
}

} // namespace platform
