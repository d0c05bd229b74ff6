// Automation strings (BSTR) and the core's wide text. On Windows wchar_t
// and char16_t are both UTF-16 code units, so the text crosses unchanged.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace qm {

// A scoped owner of one BSTR: frees it with SysFreeString when it goes out
// of scope.
class ScopedBstr {
 public:
  ScopedBstr() = default;
  ~ScopedBstr() { Reset(); }
  ScopedBstr(ScopedBstr&& other) noexcept
      : bstr_(std::exchange(other.bstr_, nullptr)) {}
  ScopedBstr& operator=(ScopedBstr&& other) noexcept {
    if (this != &other) {
      Reset();
      bstr_ = std::exchange(other.bstr_, nullptr);
    }
    return *this;
  }
  ScopedBstr(const ScopedBstr&) = delete;
  ScopedBstr& operator=(const ScopedBstr&) = delete;

  // A copy of `text`, embedded nulls included. Empty (get() null) when the
  // system has no memory for it; see valid().
  explicit ScopedBstr(std::u16string_view text)
      : bstr_(::SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()),
                                  static_cast<UINT>(text.size()))) {}

  BSTR get() const { return bstr_; }
  bool valid() const { return bstr_ != nullptr; }

  // For an out-parameter (BSTR*): frees what was held first, so the callee
  // always starts from null.
  BSTR* receive() {
    Reset();
    return &bstr_;
  }

  // The text held, or std::nullopt when none is held: a null BSTR counts as
  // no answer rather than an empty text.
  std::optional<std::u16string> Text() const {
    if (bstr_ == nullptr) return std::nullopt;
    return std::u16string(reinterpret_cast<const char16_t*>(bstr_),
                          ::SysStringLen(bstr_));
  }

 private:
  void Reset() {
    if (bstr_ != nullptr) ::SysFreeString(std::exchange(bstr_, nullptr));
  }

  BSTR bstr_ = nullptr;
};

}  // namespace qm
