#include "context/address_host.h"

namespace qm {

std::u16string HostOfAddress(std::u16string_view address) {
  const std::size_t slashes = address.find(u"//");
  if (slashes == std::u16string_view::npos) return {};
  std::u16string_view rest = address.substr(slashes + 2);
  rest = rest.substr(0, rest.find_first_of(u"/?#"));
  const std::size_t at = rest.rfind(u'@');
  if (at != std::u16string_view::npos) rest.remove_prefix(at + 1);
  if (!rest.empty() && rest.front() == u'[') {  // an IPv6 address
    const std::size_t close = rest.find(u']');
    return std::u16string(rest.substr(0, close == rest.npos ? rest.npos : close + 1));
  }
  return std::u16string(rest.substr(0, rest.find(u':')));
}

}  // namespace qm
