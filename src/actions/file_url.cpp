#include "actions/file_url.h"

namespace qm {
namespace {

constexpr std::u16string_view kHexDigits = u"0123456789ABCDEF";

bool NeedsEncoding(char16_t c) {
  if (c < 0x21 || c == 0x7F) return true;
  return std::u16string_view(u"\"#%<>?[]^`{|}").find(c) != std::u16string_view::npos;
}

}  // namespace

std::u16string FileUrlOfPath(std::u16string_view path) {
  std::u16string url = u"file://";
  if (path.substr(0, 2) == u"\\\\") {
    path.remove_prefix(2);  // the server's name follows "//" itself
  } else {
    url += u'/';
  }
  for (const char16_t c : path) {
    if (c == u'\\') {
      url += u'/';
    } else if (NeedsEncoding(c)) {
      url += u'%';
      url += kHexDigits[(c >> 4) & 0xF];
      url += kHexDigits[c & 0xF];
    } else {
      url += c;
    }
  }
  return url;
}

}  // namespace qm
