// The system code page of Windows: the process's ANSI code page, through
// MultiByteToWideChar and WideCharToMultiByte.
#pragma once

#include <cstddef>

#include "host/code_page.h"

namespace qm {

// Converts with CP_ACP. Encoding asks for no best-fit mapping and "?" as the
// default character, so a character the code page lacks becomes "?" rather
// than a look-alike (U+0100 stays "?", not "A"); a surrogate pair, one
// character, becomes one "?". When the ANSI code page is UTF-8 nothing is
// unrepresentable and the plain conversion is used.
//
// The conversion functions count in int, so longer texts are converted
// piece by piece; a piece never ends inside a surrogate pair or inside a
// multi-byte character of the code page. Usable from any thread.
class Win32CodePage final : public CodePage {
 public:
  // The longest piece handed to one conversion call, small enough that even
  // three bytes per UTF-16 unit stay below INT_MAX.
  static constexpr std::size_t kMaxPiece = std::size_t{1} << 28;

  // A piece holds at least 4 units or bytes (the longest character); a
  // smaller `max_piece` is taken as 4. Tests pass small values to exercise
  // the piecewise path.
  explicit Win32CodePage(std::size_t max_piece = kMaxPiece);

  std::u16string ToWide(std::string_view bytes) const override;
  std::string ToNarrow(std::u16string_view text) const override;

 private:
  // How many bytes of `bytes` (at most max_piece_) make whole characters.
  std::size_t BytePiece(std::string_view bytes) const;
  // Appends the encoding of `text`, converted piece by piece.
  void AppendNarrow(std::u16string_view text, std::string* narrow) const;

  std::size_t max_piece_;
  unsigned code_page_;
  unsigned max_char_size_;
};

}  // namespace qm
