// An owning reference to a COM interface: AddRef on copy, Release on destruction, in the
// manner of Chromium's ScopedComPtr / WRL's ComPtr.
#pragma once

#include "windows/com/Win32.h"

#include <utility>

namespace sendnote::com {

template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  // Takes a new reference to `p` (AddRef).
  explicit ComPtr(T* p) : p_(p) {
    if (p_) p_->AddRef();
  }
  ComPtr(const ComPtr& other) : ComPtr(other.p_) {}
  ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ComPtr& operator=(ComPtr other) noexcept {
    std::swap(p_, other.p_);
    return *this;
  }
  ~ComPtr() { Reset(); }

  // Adopts a reference the caller already owns (no AddRef), as out-parameters hand them.
  static ComPtr Adopt(T* p) {
    ComPtr result;
    result.p_ = p;
    return result;
  }

  void Reset() {
    if (T* p = std::exchange(p_, nullptr)) p->Release();
  }
  // For out-parameters: releases the current reference first.
  T** Receive() {
    Reset();
    return &p_;
  }
  // Hands the reference over to the caller (for out-parameters of our own servers).
  T* Detach() { return std::exchange(p_, nullptr); }

  T* Get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }

  // QueryInterface for U; an empty pointer when the object does not support it.
  template <class U>
  ComPtr<U> As() const {
    ComPtr<U> result;
    if (p_) p_->QueryInterface(__uuidof(U), reinterpret_cast<void**>(result.Receive()));
    return result;
  }

 private:
  T* p_ = nullptr;
};

}  // namespace sendnote::com
