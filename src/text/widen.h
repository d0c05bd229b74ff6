// Byte-for-byte widening, the one conversion that ignores the code page.
#pragma once

#include <string>
#include <string_view>

namespace qm {

// Each byte becomes the character with the same number (0x00..0xFF), with no
// code-page translation. Template text is copied this way.
//   WidenByValue("caf\xE9") == u"caf\u00E9"
std::u16string WidenByValue(std::string_view bytes);

}  // namespace qm
