// The calls from the WebAssembly core into the extension's JavaScript. The
// page as the content script read it is answered synchronously from the
// request the click brought; everything the extension must do or ask the
// person (a dialog, a message, a tab, a tick stored) is a request whose
// answer the core waits for while the browser goes on: the module's stack
// is set aside until the promise settles.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "extension_protocol.h"
#include "text/json_writer.h"

namespace qm {

// The string at `key` of the click's request ("selection.text",
// "top.title", ...), as UTF-8; nullopt when the page gave none.
std::optional<std::string> RequestString(std::string_view key);

// The number at `key` of the click's request; nullopt when there is none.
std::optional<double> RequestNumber(std::string_view key);

// Sends `request` (a JSON object) to the extension and waits for its answer,
// a UTF-8 text whose form each kind of request defines.
std::string AskExtension(const std::string& request);

// Tells the extension something that needs no answer (a beep).
void TellExtension(const std::string& notice);

// A request or notice of `kind` (a protocol::kRequest... or kNotice...),
// begun: the caller adds its fields and ends the object.
JsonWriter BeginRequest(const char* kind);

// Whether the extension answered that the request was carried out.
inline bool AnswerDone(const std::string& answer) { return answer == protocol::kAnswerDone; }

}  // namespace qm
