// UTF-8, the encoding of terminals, files and command lines outside Windows.
#pragma once

#include <string>
#include <string_view>

namespace qm {

// Encodes UTF-16 as UTF-8. A lone surrogate becomes U+FFFD.
std::string ToUtf8(std::u16string_view text);

// Decodes UTF-8 into UTF-16. Each malformed or truncated sequence, overlong
// form or encoded surrogate becomes one U+FFFD; nothing else is dropped.
std::u16string FromUtf8(std::string_view bytes);

}  // namespace qm
