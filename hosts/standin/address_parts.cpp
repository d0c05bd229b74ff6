#include "address_parts.h"

#include "folded_search.h"

namespace qm::standin {

std::optional<std::wstring> FileOfAddress(std::wstring_view address) {
  constexpr std::wstring_view kScheme = L"file:///";
  if (address.size() <= kScheme.size() || FindFolded(address, kScheme) != 0) {
    return std::nullopt;
  }
  return std::wstring(address.substr(kScheme.size()));
}

std::wstring HostOf(std::wstring_view address) {
  const std::size_t scheme = address.find(L"://");
  if (scheme == std::wstring_view::npos) return {};
  std::size_t begin = scheme + 3;
  std::size_t end = address.find_first_of(L"/?#", begin);
  if (end == std::wstring_view::npos) end = address.size();
  std::wstring_view authority = address.substr(begin, end - begin);
  const std::size_t at = authority.rfind(L'@');
  if (at != std::wstring_view::npos) authority.remove_prefix(at + 1);
  const std::size_t colon = authority.find(L':');
  return std::wstring(authority.substr(0, colon));
}

}  // namespace qm::standin
