// The key of a remembered tick as the options page asks for it, so that
// ticks imported from a file are keyed as the core keys them.
#include <emscripten.h>

#include <string>

#include "extension_environment.h"

extern "C" {

// The key under which the tick of the entry `name` (UTF-8) is kept
// ("ISBN:WorldCat" gives "isbn:worldcat"). The text lives until the next
// call.
EMSCRIPTEN_KEEPALIVE const char* qm_tick_key(const char* name) {
  static std::string key;
  key = qm::TickKey(name);
  return key.c_str();
}

}  // extern "C"
