// Redirects HKEY_LOCAL_MACHINE of this process to a scratch key under
// HKEY_CURRENT_USER, so tests run the real registry code against keys they
// write themselves. The scratch key is deleted again at the end.
#pragma once

#include <windows.h>

#include <string>

namespace testing_support {

class RegistryOverride {
public:
    RegistryOverride();
    ~RegistryOverride();
    RegistryOverride(const RegistryOverride&) = delete;
    RegistryOverride& operator=(const RegistryOverride&) = delete;

    // Writes a value under the redirected HKLM, creating the key.
    void SetBinary(const std::string& key, const std::string& name, DWORD type, const void* data,
                   DWORD size);
    void SetString(const std::string& key, const std::string& name, const std::string& text,
                   DWORD type = REG_SZ);
    void SetDword(const std::string& key, const std::string& name, DWORD value);
    void CreateKey(const std::string& key);
    // Removes every key and value written so far.
    void Clear();
    bool KeyExists(const std::string& key) const;

private:
    std::string root_;
    HKEY scratch_ = nullptr;
};

} // namespace testing_support
