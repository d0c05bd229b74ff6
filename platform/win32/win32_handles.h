// Scoped owners of Win32 handles: each closes what it holds when it goes out
// of scope, so no early return can leak a key or a file.
#pragma once

#include <windows.h>

#include <utility>

namespace qm {

// An open file or other kernel object. Holds INVALID_HANDLE_VALUE when
// empty, the value CreateFile returns on failure.
class ScopedHandle {
 public:
  ScopedHandle() = default;
  explicit ScopedHandle(HANDLE handle) : handle_(handle) {}
  ~ScopedHandle() { Close(); }
  ScopedHandle(ScopedHandle&& other) noexcept
      : handle_(std::exchange(other.handle_, INVALID_HANDLE_VALUE)) {}
  ScopedHandle& operator=(ScopedHandle&& other) noexcept {
    if (this != &other) {
      Close();
      handle_ = std::exchange(other.handle_, INVALID_HANDLE_VALUE);
    }
    return *this;
  }
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;

  bool valid() const {
    return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr;
  }
  HANDLE get() const { return handle_; }

 private:
  void Close() {
    if (valid()) ::CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
  }

  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// An open registry key. Predefined roots such as HKEY_CURRENT_USER are never
// stored here: only keys that RegOpenKeyEx or RegCreateKeyEx returned.
class ScopedRegistryKey {
 public:
  ScopedRegistryKey() = default;
  ~ScopedRegistryKey() { Close(); }
  ScopedRegistryKey(ScopedRegistryKey&& other) noexcept
      : key_(std::exchange(other.key_, nullptr)) {}
  ScopedRegistryKey& operator=(ScopedRegistryKey&& other) noexcept {
    if (this != &other) {
      Close();
      key_ = std::exchange(other.key_, nullptr);
    }
    return *this;
  }
  ScopedRegistryKey(const ScopedRegistryKey&) = delete;
  ScopedRegistryKey& operator=(const ScopedRegistryKey&) = delete;

  bool valid() const { return key_ != nullptr; }
  HKEY get() const { return key_; }

  // For the out-parameter of RegOpenKeyEx and RegCreateKeyEx; closes what
  // was held before.
  HKEY* receive() {
    Close();
    return &key_;
  }

 private:
  void Close() {
    if (key_ != nullptr) ::RegCloseKey(key_);
    key_ = nullptr;
  }

  HKEY key_ = nullptr;
};

}  // namespace qm
