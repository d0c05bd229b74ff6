// The browsers' native messaging protocol, as the extension's host speaks
// it: each message is a 32-bit length in the machine's byte order followed
// by that many bytes of UTF-8 JSON. Requests come from an extension whose
// templates were filled in from web page text, so every byte is untrusted:
// the reader is strict, reads only what this host needs (an object whose
// values are strings or arrays of strings), and is bounded everywhere.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <istream>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace qm {

// The longest request the host reads; a longer one ends the session.
inline constexpr std::uint32_t kMaxNativeMessageBytes = 1024 * 1024;

// Bounds of a request's JSON besides its length.
inline constexpr std::size_t kMaxJsonMembers = 32;      // members of the object
inline constexpr std::size_t kMaxJsonArrayItems = 4096;  // strings of one array

enum class FrameRead {
  kMessage,          // *message holds the body
  kEnd,              // the input ended cleanly between messages
  kTruncatedLength,  // it ended inside the length
  kTruncatedBody,    // it ended inside the body
  kTooLong,          // the length is over kMaxNativeMessageBytes; nothing more was read
};

// Reads one message from `in`. Never reads more than the length and at most
// kMaxNativeMessageBytes of body.
FrameRead ReadNativeMessage(std::istream& in, std::string* message);

// `json` with its length in front, ready to write.
std::string FrameNativeMessage(std::string_view json);

// A value of a request's member: a string or an array of strings.
using JsonValue = std::variant<std::string, std::vector<std::string>>;

struct JsonMember {
  std::string name;
  JsonValue value;
};

// Parses `text` as one JSON object whose member values are strings or
// arrays of strings, with nothing but white space around it. Escapes are
// decoded, \uXXXX to UTF-8 (a surrogate pair to one character); a lone
// surrogate, a repeated member name, any other kind of value, unescaped
// control characters and more than the bounds above are errors. `text`
// must already be valid UTF-8. On failure returns false with the reason and
// its byte offset in *error.
bool ParseJsonObject(std::string_view text, std::vector<JsonMember>* members,
                     std::string* error);

// Starts a program with its arguments, or says why not (the system's text).
using ProgramStarter = std::function<bool(const std::vector<std::string>&, std::string*)>;

// The reply (unframed JSON) to one request:
//   {"type":"hello"} -> {"type":"hello","version":VERSION}
//   {"type":"start","arguments":[PROGRAM,ARG...]} -> {"type":"start","started":true}
//     or {"type":"start","started":false,"error":TEXT} when `start` fails
//   anything else -> {"type":"error","error":TEXT}, and nothing is started;
//     that includes an empty argument list, a program name that is empty or
//     begins with "-" (a program could take it for an option), and an
//     argument holding a NUL (it would be cut short)
std::string AnswerNativeRequest(std::string_view message, std::string_view version,
                                const ProgramStarter& start);

// {"type":"error","error":TEXT}
std::string NativeErrorReply(std::string_view text);

}  // namespace qm
