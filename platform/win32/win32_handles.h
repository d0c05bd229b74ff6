// Scoped owners of Win32 handles: each closes what it holds when it goes out
// of scope, so no early return can leak a key or a file.
#pragma once

#include <windows.h>
#include <commctrl.h>

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

// A GDI object (a font, a brush) that this code created.
class ScopedGdiObject {
 public:
  ScopedGdiObject() = default;
  ~ScopedGdiObject() { Close(); }
  ScopedGdiObject(const ScopedGdiObject&) = delete;
  ScopedGdiObject& operator=(const ScopedGdiObject&) = delete;

  HGDIOBJ get() const { return object_; }
  void reset(HGDIOBJ object) {
    Close();
    object_ = object;
  }

 private:
  void Close() {
    if (object_ != nullptr) ::DeleteObject(object_);
    object_ = nullptr;
  }

  HGDIOBJ object_ = nullptr;
};

// An image list. A list control given one with LVS_SHAREIMAGELISTS leaves
// it to its owner, who must keep it until the control is gone.
class ScopedImageList {
 public:
  ScopedImageList() = default;
  explicit ScopedImageList(HIMAGELIST list) : list_(list) {}
  ~ScopedImageList() { Close(); }
  ScopedImageList(const ScopedImageList&) = delete;
  ScopedImageList& operator=(const ScopedImageList&) = delete;

  HIMAGELIST get() const { return list_; }
  void reset(HIMAGELIST list) {
    Close();
    list_ = list;
  }

 private:
  void Close() {
    if (list_ != nullptr) ::ImageList_Destroy(list_);
    list_ = nullptr;
  }

  HIMAGELIST list_ = nullptr;
};

}  // namespace qm
