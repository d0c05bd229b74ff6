// The host name inside an address, found the way a browser's location
// reports hostname, for addresses the core has as text only (the link the
// menu was opened on, a page given on a command line).
#pragma once

#include <string>
#include <string_view>

namespace qm {

// What stands between "//" (after any "user@") and the next "/", ":", "?"
// or "#"; an IPv6 address keeps its brackets. Empty for a file address or
// an address without "//". Letter case is kept.
//   HostOfAddress(u"https://www.example.com:8080/x") == u"www.example.com"
//   HostOfAddress(u"mailto:a@example.com") == u""
std::u16string HostOfAddress(std::u16string_view address);

}  // namespace qm
