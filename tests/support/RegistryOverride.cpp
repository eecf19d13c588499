#include "support/RegistryOverride.h"

#include <stdexcept>

namespace testing_support {

RegistryOverride::RegistryOverride() {
    root_ = "Software\\SondrelkTests\\" + std::to_string(GetCurrentProcessId());
    if (RegCreateKeyExA(HKEY_CURRENT_USER, root_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &scratch_, nullptr) != ERROR_SUCCESS)
        throw std::runtime_error("cannot create the scratch key");
    if (RegOverridePredefKey(HKEY_LOCAL_MACHINE, scratch_) != ERROR_SUCCESS)
        throw std::runtime_error("cannot redirect HKEY_LOCAL_MACHINE");
}

RegistryOverride::~RegistryOverride() {
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    RegCloseKey(scratch_);
    RegDeleteTreeA(HKEY_CURRENT_USER, root_.c_str());
    // The shared parent goes once no other run holds a key below it.
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\SondrelkTests");
}

void RegistryOverride::CreateKey(const std::string& key) {
    HKEY k;
    if (RegCreateKeyExA(scratch_, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k,
                        nullptr) != ERROR_SUCCESS)
        throw std::runtime_error("cannot create " + key);
    RegCloseKey(k);
}

void RegistryOverride::Clear() {
    if (RegDeleteTreeA(scratch_, nullptr) != ERROR_SUCCESS)
        throw std::runtime_error("cannot clear the scratch key");
}

bool RegistryOverride::KeyExists(const std::string& key) const {
    HKEY k;
    if (RegOpenKeyExA(scratch_, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
    RegCloseKey(k);
    return true;
}

void RegistryOverride::SetBinary(const std::string& key, const std::string& name, DWORD type,
                                 const void* data, DWORD size) {
    HKEY k;
    if (RegCreateKeyExA(scratch_, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k,
                        nullptr) != ERROR_SUCCESS)
        throw std::runtime_error("cannot create " + key);
    const LONG rc = RegSetValueExA(k, name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(k);
    if (rc != ERROR_SUCCESS) throw std::runtime_error("cannot write " + name);
}

void RegistryOverride::SetString(const std::string& key, const std::string& name,
                                 const std::string& text, DWORD type) {
    SetBinary(key, name, type, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

void RegistryOverride::SetDword(const std::string& key, const std::string& name, DWORD value) {
    SetBinary(key, name, REG_DWORD, &value, sizeof(value));
}

} // namespace testing_support
