#include "log_text.h"

#include <cstdio>

#include "text/utf8.h"

namespace qm::standin {

std::string LogText(std::wstring_view text) {
  // Controls and backslashes become "\xNN" first, so that page text cannot
  // start a log line of its own; the rest goes out as UTF-8.
  std::u16string kept;
  kept.reserve(text.size());
  for (const wchar_t w : text) {
    const char16_t c = static_cast<char16_t>(w);
    if (c < 0x20 || c == 0x7F || c == u'\\') {
      char buffer[8];
      std::snprintf(buffer, sizeof buffer, "\\x%02x", static_cast<unsigned>(c));
      for (const char* p = buffer; *p != '\0'; ++p) kept.push_back(static_cast<char16_t>(*p));
    } else {
      kept.push_back(c);
    }
  }
  return ToUtf8(kept);
}

}  // namespace qm::standin
