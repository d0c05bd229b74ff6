// What the IE adapters share: reading a BSTR property, and keeping
// exceptions inside the adapter. The adapters run under Click, called by
// the browser; a text that cannot be allocated is one more failed read.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <utility>

#include "bstr.h"

namespace qm {

// Runs `body`; an exception from it (no memory) gives the value-initialised
// result instead: std::nullopt, nullptr, false or 0.
template <class Body>
auto NoThrow(Body&& body) noexcept -> decltype(body()) {
  try {
    return std::forward<Body>(body)();
  } catch (...) {
    return decltype(body()){};
  }
}

// Reads a text property through `get`, a member such as
// &IHTMLDocument2::get_title: the text, or std::nullopt when `object` is
// null, the call fails or it gives a null BSTR.
template <class Object, class Getter>
std::optional<std::u16string> ReadBstr(Object* object, Getter get) noexcept {
  return NoThrow([&]() -> std::optional<std::u16string> {
    if (object == nullptr) return std::nullopt;
    ScopedBstr text;
    if (FAILED((object->*get)(text.receive()))) return std::nullopt;
    return text.Text();
  });
}

}  // namespace qm
