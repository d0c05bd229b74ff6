// The port through which wide (UTF-16) text and 8-bit text in the system
// code page are converted into each other.
#pragma once

#include <string>
#include <string_view>

namespace qm {

// 8-bit text (catalogue bytes, edit boxes, registry names, command lines)
// is in the system code page: the ANSI code page on Windows, Windows-1252
// elsewhere. Implementations must be usable from any thread.
class CodePage {
 public:
  virtual ~CodePage() = default;

  // Decodes `bytes`. Every byte gives at least one character; nothing fails.
  virtual std::u16string ToWide(std::string_view bytes) const = 0;

  // Encodes `text`. A character the code page cannot represent becomes "?";
  // no look-alike substitution is made (a fullwidth quotation mark must not
  // turn into a real one on its way into a command line).
  virtual std::string ToNarrow(std::u16string_view text) const = 0;
};

}  // namespace qm
