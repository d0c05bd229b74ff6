// The address policy as the extension's JavaScript asks for it: every
// address the extension opens, navigates to, hands on or puts in a link
// goes through the same rule as the terminal host's.
#include <emscripten.h>

#include <optional>
#include <string>

#include "actions/address_policy.h"

extern "C" {

// The address to open for `address` (UTF-8), or "" when it must not be
// opened. The extension has no folder of its own on disk, so no file:
// address passes. The text lives until the next call.
EMSCRIPTEN_KEEPALIVE const char* qm_openable_address(const char* address) {
  static std::string opened;
  std::string reason;
  opened = qm::OpenableAddress(address, qm::ProgramFolder{}, &reason).value_or("");
  return opened.c_str();
}

}  // extern "C"
