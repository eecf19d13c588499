// Read-only access to the registry through the ANSI entry points: an owner
// for HKEY handles and the registry access object of a detection run.
#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>
#include <utility>

namespace platform {

class RegistryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// 64-bit Windows keeps two views of HKLM\SOFTWARE: a 32-bit program's keys
// live in the 32-bit one. Both are only ever read.
inline constexpr REGSAM kReadView64 = KEY_READ | KEY_WOW64_64KEY;
inline constexpr REGSAM kReadView32 = KEY_READ | KEY_WOW64_32KEY;

// Owns a key opened by this program and closes it once. Predefined root keys
// are never owned.
class RegKey {
public:
    RegKey() = default;
    explicit RegKey(HKEY key) : key_(key) {}
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    RegKey(RegKey&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}
    RegKey& operator=(RegKey&& other) noexcept {
        if (this != &other) reset(std::exchange(other.key_, nullptr));
        return *this;
    }
    ~RegKey() { reset(); }

    HKEY get() const { return key_; }
    explicit operator bool() const { return key_ != nullptr; }
    void reset(HKEY key = nullptr);

private:
    HKEY key_ = nullptr;
};

// One open key at a time below a root key. Keys are opened, never created,
// and only values are read.
class TRegistry {
public:
    // Read rights only: full access is refused to ordinary users under UAC,
    // and nothing is ever written. Rights beyond KEY_READ, or both views at
    // once, throw std::invalid_argument.
    explicit TRegistry(REGSAM access = kReadView64);

    HKEY RootKey() const { return root_; }
    // Changing the root closes the open key.
    void SetRootKey(HKEY root);
    REGSAM Access() const { return access_; }

    // Opens `path` below the root key after closing the open key. Returns
    // false when the key cannot be opened with the access rights. Creating
    // keys is not supported: canCreate = true throws std::invalid_argument.
    bool OpenKey(const std::string& path, bool canCreate);
    void CloseKey();
    HKEY CurrentKey() const { return current_.get(); }
    // The path of the open key as given to OpenKey; empty when none is open.
    std::string CurrentPath() const { return currentPath_; }

    bool ValueExists(const std::string& name) const;
    // Size of the value's data in bytes, -1 when the value is missing.
    int GetDataSize(const std::string& name) const;

    // Copies the data of any value that is not REG_SZ, REG_EXPAND_SZ or
    // REG_DWORD into `buffer`; returns the number of bytes copied. A missing
    // value, one of those types, or one larger than bufferSize throws.
    int ReadBinaryData(const std::string& name, void* buffer, int bufferSize) const;

    // Reads a REG_SZ or REG_EXPAND_SZ value (not expanded), cut at its first
    // NUL. A value of size 0 reads as "" whatever its type; any other type
    // or a missing value throws.
    std::string ReadString(const std::string& name) const;

private:
    struct DataInfo {
        DWORD type = REG_NONE;
        DWORD size = 0;
    };
    bool QueryInfo(const std::string& name, DataInfo& info) const;
    DataInfo RequireInfo(const std::string& name) const;
    DWORD ReadData(const std::string& name, void* buffer, DWORD size, DWORD& type) const;

    HKEY root_ = HKEY_CURRENT_USER;
    REGSAM access_;
    RegKey current_;
    std::string currentPath_;
};

} // namespace platform
