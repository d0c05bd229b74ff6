#include "extension_bridge.h"

#include <emscripten.h>

#include <cstdlib>
#include <memory>

namespace qm {
namespace {

// Strings cross as UTF-8 in memory the module allocates; the caller frees.
// The length goes with them, so a NUL inside a value (a catalogue may hold
// one) does not end it. A string there is no memory for crosses as none.
EM_JS(char*, qm_request_string, (const char* key, int key_length, int* length), {
  const found = Module.qmRequestValue(UTF8ToString(key, key_length));
  if (typeof found !== 'string') return 0;
  return Module.qmHeapText(Module.qmWellFormed(found), length);
});

EM_JS(int, qm_request_number, (const char* key, int key_length, double* out), {
  const value = Module.qmRequestValue(UTF8ToString(key, key_length));
  if (typeof value !== 'number' || !isFinite(value)) return 0;
  HEAPF64[out >> 3] = value;
  return 1;
});

EM_ASYNC_JS(char*, qm_ask_extension, (const char* request), {
  let answer = "";
  try {
    answer = Module.qmWellFormed(String(await Module.qmAsk(JSON.parse(UTF8ToString(request)))));
  } catch (e) {
    // A request that failed in the extension has the empty answer, which
    // every kind of request reads as "not done".
    answer = "";
  }
  return Module.qmHeapText(answer, 0);
});

EM_JS(void, qm_tell_extension, (const char* notice), {
  Module.qmTell(JSON.parse(UTF8ToString(notice)));
});

struct FreeText {
  void operator()(char* text) const { std::free(text); }
};
using OwnedText = std::unique_ptr<char, FreeText>;

}  // namespace

std::optional<std::string> RequestString(std::string_view key) {
  int length = 0;
  const OwnedText text(qm_request_string(key.data(), static_cast<int>(key.size()), &length));
  if (!text) return std::nullopt;
  return std::string(text.get(), static_cast<std::size_t>(length));
}

std::optional<double> RequestNumber(std::string_view key) {
  double value = 0;
  if (!qm_request_number(key.data(), static_cast<int>(key.size()), &value)) {
    return std::nullopt;
  }
  return value;
}

std::string AskExtension(const std::string& request) {
  const OwnedText answer(qm_ask_extension(request.c_str()));
  return answer ? std::string(answer.get()) : std::string();
}

void TellExtension(const std::string& notice) { qm_tell_extension(notice.c_str()); }

JsonWriter BeginRequest(const char* kind) {
  JsonWriter json;
  json.BeginObject().Key(protocol::kFieldKind).String(kind);
  return json;
}

}  // namespace qm
