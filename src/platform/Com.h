// Owners for COM resources: the apartment of the thread, interface
// pointers, BSTRs and VARIANTs. Each releases what it holds exactly once.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <oleauto.h>

#include <string>
#include <string_view>
#include <utility>

namespace platform {

// Enters a single-threaded apartment for the calling thread and leaves it
// again. A thread already in another apartment keeps it (and the
// destructor then leaves nothing); any other failure throws std::runtime_error.
class ComInit {
public:
    ComInit();
    ComInit(const ComInit&) = delete;
    ComInit& operator=(const ComInit&) = delete;
    ~ComInit();

private:
    bool mustUninitialize_ = false;
};

// An owning interface pointer.
template <typename T> class ComPtr {
public:
    ComPtr() = default;
    // Takes over a reference the caller already holds.
    explicit ComPtr(T* p) : p_(p) {}
    ComPtr(const ComPtr& other) : p_(other.p_) {
        if (p_) p_->AddRef();
    }
    ComPtr& operator=(const ComPtr& other) {
        if (other.p_) other.p_->AddRef();
        reset(other.p_);
        return *this;
    }
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) reset(std::exchange(other.p_, nullptr));
        return *this;
    }
    ~ComPtr() { reset(); }

    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    void reset(T* p = nullptr) {
        T* old = std::exchange(p_, p);
        if (old) old->Release();
    }
    // For out parameters: releases what is held and hands out the slot.
    T** put() {
        reset();
        return &p_;
    }

private:
    T* p_ = nullptr;
};

// An owning BSTR.
class BStr {
public:
    BStr() = default;
    explicit BStr(std::wstring_view text);
    BStr(const BStr&) = delete;
    BStr& operator=(const BStr&) = delete;
    BStr(BStr&& other) noexcept : s_(std::exchange(other.s_, nullptr)) {}
    BStr& operator=(BStr&& other) noexcept {
        if (this != &other) reset(std::exchange(other.s_, nullptr));
        return *this;
    }
    ~BStr() { reset(); }

    BSTR get() const { return s_; }
    BSTR* put() {
        reset();
        return &s_;
    }
    // Hands the string over to a new owner (a VARIANT, an out parameter).
    BSTR release() { return std::exchange(s_, nullptr); }
    void reset(BSTR s = nullptr);
    // The text, embedded NULs included; "" for a null BSTR.
    std::wstring str() const;

private:
    BSTR s_ = nullptr;
};

// An owning VARIANT, cleared on destruction.
class Variant {
public:
    Variant() { VariantInit(&v_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    ~Variant() { VariantClear(&v_); }

    VARIANT& get() { return v_; }
    const VARIANT& get() const { return v_; }
    VARIANT* put() {
        VariantClear(&v_);
        return &v_;
    }

private:
    VARIANT v_;
};

// The text of a value: a string as it is, NULL and EMPTY as "", any other
// type converted by VariantChangeType. Returns false when it cannot be
// converted (text then untouched).
bool VariantToText(const VARIANT& value, std::wstring& text);

} // namespace platform
