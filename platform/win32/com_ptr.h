// A scoped owner of one COM interface pointer: it releases what it holds
// when it goes out of scope, so no early return leaks a reference.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <utility>

namespace qm {

template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() { Reset(); }

  // Takes over a reference the caller already owns (an out-parameter of a
  // COM call or a new object).
  static ComPtr Adopt(T* pointer) {
    ComPtr owner;
    owner.pointer_ = pointer;
    return owner;
  }
  // Adds a reference of its own; the caller keeps its reference.
  static ComPtr Share(T* pointer) {
    if (pointer != nullptr) pointer->AddRef();
    return Adopt(pointer);
  }

  ComPtr(const ComPtr& other) : pointer_(other.pointer_) {
    if (pointer_ != nullptr) pointer_->AddRef();
  }
  ComPtr& operator=(const ComPtr& other) {
    ComPtr copy(other);
    std::swap(pointer_, copy.pointer_);
    return *this;
  }
  // From an owner of a derived class, such as a concrete object or a
  // derived interface; adds a reference.
  template <class U>
  ComPtr(const ComPtr<U>& other) : ComPtr(Share(other.get())) {}

  ComPtr(ComPtr&& other) noexcept
      : pointer_(std::exchange(other.pointer_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) {
      Reset();
      pointer_ = std::exchange(other.pointer_, nullptr);
    }
    return *this;
  }

  T* get() const { return pointer_; }
  T* operator->() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }

  // For an out-parameter (T**): releases what was held first, so the
  // callee always starts from null.
  T** receive() {
    Reset();
    return &pointer_;
  }
  // The same as void**, for QueryInterface and QueryService.
  void** receive_void() { return reinterpret_cast<void**>(receive()); }

  // QueryInterface for another interface of the same object; empty when
  // the object does not answer it or this owner is empty.
  template <class U>
  ComPtr<U> As() const {
    ComPtr<U> other;
    if (pointer_ != nullptr &&
        FAILED(pointer_->QueryInterface(__uuidof(U), other.receive_void()))) {
      return ComPtr<U>();
    }
    return other;
  }

  void Reset() {
    if (pointer_ != nullptr) std::exchange(pointer_, nullptr)->Release();
  }

 private:
  T* pointer_ = nullptr;
};

}  // namespace qm
