// The parts of an address the stand-in needs: the file behind a menu
// entry's address, and a page's host name.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qm::standin {

// The file that a menu entry's address names: the address without its
// "file:///" (any case); none for any other kind of address.
std::optional<std::wstring> FileOfAddress(std::wstring_view address);

// The host part of an absolute address ("https://h.example:8080/x" gives
// "h.example"); empty when there is none.
std::wstring HostOf(std::wstring_view address);

}  // namespace qm::standin
