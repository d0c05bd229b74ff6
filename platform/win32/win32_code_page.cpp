#include "win32_code_page.h"

#include <windows.h>

#include <algorithm>

namespace qm {
namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t),
              "UTF-16 text is handed to the wide Windows API as it is");

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
bool IsUtf8Continuation(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

}  // namespace

Win32CodePage::Win32CodePage(std::size_t max_piece)
    : max_piece_(std::max<std::size_t>(max_piece, 4)),
      code_page_(::GetACP()),
      max_char_size_(2) {
  CPINFO info{};
  if (::GetCPInfo(CP_ACP, &info)) max_char_size_ = info.MaxCharSize;
}

std::size_t Win32CodePage::BytePiece(std::string_view bytes) const {
  if (bytes.size() <= max_piece_ || max_char_size_ <= 1) {
    return std::min(bytes.size(), max_piece_);
  }
  if (code_page_ == CP_UTF8) {
    std::size_t end = max_piece_;
    while (end > max_piece_ - 3 && IsUtf8Continuation(bytes[end])) --end;
    return end;
  }
  // A trail byte of a double-byte code page can have the value of a lead
  // byte, so character starts are only known by walking forward.
  std::size_t end = 0;
  for (;;) {
    const std::size_t step =
        ::IsDBCSLeadByteEx(code_page_, static_cast<BYTE>(bytes[end])) ? 2 : 1;
    if (end + step > max_piece_) return end;
    end += step;
  }
}

std::u16string Win32CodePage::ToWide(std::string_view bytes) const {
  std::u16string wide;
  while (!bytes.empty()) {
    const std::size_t n = BytePiece(bytes);
    const int length = static_cast<int>(n);
    const std::size_t at = wide.size();
    const int needed =
        ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
    if (needed > 0) {
      wide.resize(at + static_cast<std::size_t>(needed));
      const int written = ::MultiByteToWideChar(
          CP_ACP, 0, bytes.data(), length,
          reinterpret_cast<wchar_t*>(wide.data() + at), needed);
      wide.resize(at + static_cast<std::size_t>(std::max(written, 0)));
    }
    // The conversion has no failure of its own for valid arguments; should
    // it fail all the same, every byte still gives a character.
    if (wide.size() == at) wide.append(n, u'?');
    bytes.remove_prefix(n);
  }
  return wide;
}

void Win32CodePage::AppendNarrow(std::u16string_view text,
                                 std::string* narrow) const {
  // UTF-8 represents everything, and the API refuses both the flag and a
  // default character for it.
  const bool utf8 = code_page_ == CP_UTF8;
  const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
  const char* default_char = utf8 ? nullptr : "?";
  while (!text.empty()) {
    std::size_t n = std::min(text.size(), max_piece_);
    if (n < text.size() && IsHighSurrogate(text[n - 1]) &&
        IsLowSurrogate(text[n])) {
      --n;
    }
    const auto* units = reinterpret_cast<const wchar_t*>(text.data());
    const int length = static_cast<int>(n);
    const std::size_t at = narrow->size();
    const int needed = ::WideCharToMultiByte(CP_ACP, flags, units, length,
                                             nullptr, 0, default_char, nullptr);
    if (needed > 0) {
      narrow->resize(at + static_cast<std::size_t>(needed));
      const int written =
          ::WideCharToMultiByte(CP_ACP, flags, units, length, narrow->data() + at,
                                needed, default_char, nullptr);
      narrow->resize(at + static_cast<std::size_t>(std::max(written, 0)));
    }
    if (narrow->size() == at) narrow->append(n, '?');
    text.remove_prefix(n);
  }
}

std::string Win32CodePage::ToNarrow(std::u16string_view text) const {
  std::string narrow;
  if (code_page_ == CP_UTF8) {
    AppendNarrow(text, &narrow);
    return narrow;
  }
  // No other ANSI code page has a character beyond U+FFFF, so each surrogate
  // pair is one unrepresentable character and one "?". The system is not
  // asked: some implementations give a "?" for each half.
  std::size_t run = 0;
  std::size_t i = 0;
  while (i + 1 < text.size()) {
    if (IsHighSurrogate(text[i]) && IsLowSurrogate(text[i + 1])) {
      AppendNarrow(text.substr(run, i - run), &narrow);
      narrow.push_back('?');
      i += 2;
      run = i;
    } else {
      ++i;
    }
  }
  AppendNarrow(text.substr(run), &narrow);
  return narrow;
}

}  // namespace qm
