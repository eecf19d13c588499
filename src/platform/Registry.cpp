#include "platform/Registry.h"

#include <initializer_list>

namespace platform {

namespace {

// Opening an empty path below a predefined key hands back that key itself;
// predefined keys are not ours to close.
bool IsRootKey(HKEY key) {
    for (HKEY root : {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS,
                      HKEY_PERFORMANCE_DATA, HKEY_CURRENT_CONFIG, HKEY_DYN_DATA})
        if (key == root) return true;
    return false;
}

[[noreturn]] void InvalidType(const std::string& name) {
    throw RegistryError("Invalid data type for '" + name + "'");
}

} // namespace

void RegKey::reset(HKEY key) {
    if (key_ && !IsRootKey(key_)) RegCloseKey(key_);
    key_ = key;
}

TRegistry::TRegistry(REGSAM access) : access_(access) {
    constexpr REGSAM kViews = KEY_WOW64_64KEY | KEY_WOW64_32KEY;
    if ((access & ~(KEY_READ | kViews)) != 0 || (access & kViews) == kViews)
        throw std::invalid_argument("TRegistry only reads, in one view");
}

void TRegistry::SetRootKey(HKEY root) {
    if (root == root_) return;
    CloseKey();
    root_ = root;
}

bool TRegistry::OpenKey(const std::string& path, bool canCreate) {
    if (canCreate) throw std::invalid_argument("TRegistry never creates keys");
    CloseKey();
    // A leading backslash names the same key below the root.
    std::string relative = path;
    if (!relative.empty() && relative.front() == '\\') relative.erase(0, 1);
    HKEY key = nullptr;
    if (RegOpenKeyExA(root_, relative.c_str(), 0, access_, &key) != ERROR_SUCCESS) return false;
    current_.reset(key);
    currentPath_ = path;
    return true;
}

void TRegistry::CloseKey() {
    current_.reset();
    currentPath_.clear();
}

bool TRegistry::QueryInfo(const std::string& name, DataInfo& info) const {
    if (!current_) return false;
    return RegQueryValueExA(current_.get(), name.c_str(), nullptr, &info.type, nullptr,
                            &info.size) == ERROR_SUCCESS;
}

TRegistry::DataInfo TRegistry::RequireInfo(const std::string& name) const {
    DataInfo info;
    if (!QueryInfo(name, info)) throw RegistryError("Cannot read value '" + name + "'");
    return info;
}

DWORD TRegistry::ReadData(const std::string& name, void* buffer, DWORD size, DWORD& type) const {
    // The value may have changed since its size was asked; a grown value is
    // refused by the registry (ERROR_MORE_DATA) rather than overrunning.
    DWORD read = size;
    if (RegQueryValueExA(current_.get(), name.c_str(), nullptr, &type, static_cast<BYTE*>(buffer),
                         &read) != ERROR_SUCCESS)
        throw RegistryError("Cannot read value '" + name + "'");
    return read;
}

bool TRegistry::ValueExists(const std::string& name) const {
    DataInfo info;
    return QueryInfo(name, info);
}

int TRegistry::GetDataSize(const std::string& name) const {
    DataInfo info;
    if (!QueryInfo(name, info)) return -1;
    return static_cast<int>(info.size);
}

int TRegistry::ReadBinaryData(const std::string& name, void* buffer, int bufferSize) const {
    const DataInfo info = RequireInfo(name);
    if (info.type == REG_SZ || info.type == REG_EXPAND_SZ || info.type == REG_DWORD)
        InvalidType(name);
    if (bufferSize < 0 || info.size > static_cast<DWORD>(bufferSize))
        throw RegistryError("Value '" + name + "' is larger than its buffer");
    DWORD type = REG_NONE;
    const DWORD read = ReadData(name, buffer, static_cast<DWORD>(bufferSize), type);
    if (type == REG_SZ || type == REG_EXPAND_SZ || type == REG_DWORD) InvalidType(name);
    return static_cast<int>(read);
}

std::string TRegistry::ReadString(const std::string& name) const {
    const DataInfo info = RequireInfo(name);
    if (info.size == 0) return {};
    std::string text(info.size, '\0');
    DWORD type = REG_NONE;
    const DWORD read = ReadData(name, text.data(), info.size, type);
    if (type != REG_SZ && type != REG_EXPAND_SZ) InvalidType(name);
    text.resize(read);
    const size_t nul = text.find('\0');
    if (nul != std::string::npos) text.resize(nul);
    return text;
}

} // namespace platform
