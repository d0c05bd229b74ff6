// Windows-1252, the code page of the built-in catalogue and the system code
// page of every platform that has none of its own.
#pragma once

#include "host/code_page.h"

namespace qm {

// The five bytes the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90,
// 0x9D) decode to the control characters of the same number, as Windows
// decodes them, and encode back to themselves, so no byte is ever lost on a
// round trip. A UTF-16 surrogate pair encodes as a single "?".
class Windows1252CodePage final : public CodePage {
 public:
  std::u16string ToWide(std::string_view bytes) const override;
  std::string ToNarrow(std::u16string_view text) const override;
};

}  // namespace qm
