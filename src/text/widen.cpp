#include "text/widen.h"

namespace qm {

std::u16string WidenByValue(std::string_view bytes) {
  std::u16string wide(bytes.size(), u'\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    wide[i] = static_cast<unsigned char>(bytes[i]);
  }
  return wide;
}

}  // namespace qm
