#include "terminal_text.h"

namespace qm {

std::string TerminalSafe(std::string_view utf8, bool keep_line_breaks) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto byte = static_cast<unsigned char>(utf8[i]);
    const bool line_break = byte == '\n' && keep_line_breaks;
    if ((byte < 0x20 && byte != '\t' && !line_break) || byte == 0x7F) {
      out += "\\x";
      out += kHex[byte >> 4];
      out += kHex[byte & 0xF];
    } else if (byte == 0xC2 && i + 1 < utf8.size() &&
               static_cast<unsigned char>(utf8[i + 1]) <= 0x9F &&
               static_cast<unsigned char>(utf8[i + 1]) >= 0x80) {
      const auto low = static_cast<unsigned char>(utf8[++i]);
      out += "\\u00";
      out += kHex[low >> 4];
      out += kHex[low & 0xF];
    } else {
      out += static_cast<char>(byte);
    }
  }
  return out;
}

}  // namespace qm
