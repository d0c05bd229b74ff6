// The command helper's side of native messaging on arbitrary input: the
// bytes are a stream of frames as a browser (or anything that starts the
// helper) might send them. Whatever they hold:
//   - a frame is read only up to its length and the bound, and a length
//     over the bound ends the session with nothing more read;
//   - every reply is one JSON object of a known type;
//   - a program is started only for a well-formed "start" request, with
//     exactly its arguments: none empty-named, none beginning with "-"
//     as the program, none holding a NUL.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "native_messaging.h"

namespace {

void Require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "native messaging invariant broken: %s\n", what);
  std::abort();
}

bool StartsWith(const std::string& text, const char* prefix) {
  return text.rfind(prefix, 0) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  for (int frames = 0; frames < 64; ++frames) {
    const std::streampos before = in.tellg();
    std::string message;
    const qm::FrameRead read = qm::ReadNativeMessage(in, &message);
    if (read != qm::FrameRead::kMessage) {
      if (read == qm::FrameRead::kTooLong) {
        // Only the four bytes of the length were taken.
        Require(in.tellg() == before + std::streamoff(4), "a length over the bound ends the read");
      }
      return 0;
    }
    Require(message.size() <= qm::kMaxNativeMessageBytes, "a message within the bound");

    std::vector<std::vector<std::string>> started;
    const std::string reply = qm::AnswerNativeRequest(
        message, "1.0", [&](const std::vector<std::string>& arguments, std::string* error) {
          started.push_back(arguments);
          *error = "not started by the fuzzer";
          return false;
        });
    Require(StartsWith(reply, "{\"type\":\"hello\"") || StartsWith(reply, "{\"type\":\"start\"") ||
                StartsWith(reply, "{\"type\":\"error\""),
            "the reply is an object of a known type");
    Require(reply.back() == '}', "the reply is one object");
    Require(reply.find('\n') == std::string::npos, "the reply is one line of JSON");

    Require(started.size() <= 1, "one request starts one program at most");
    if (started.empty()) continue;
    const std::vector<std::string>& arguments = started[0];
    Require(!arguments.empty() && !arguments[0].empty() && arguments[0][0] != '-',
            "the program is named and is no option");
    for (const std::string& argument : arguments) {
      Require(argument.find('\0') == std::string::npos, "no argument holds a NUL");
    }
    // The arguments are the request's, exactly.
    std::vector<qm::JsonMember> members;
    std::string error;
    Require(qm::ParseJsonObject(message, &members, &error), "what starts a program parses");
    bool found = false;
    for (const qm::JsonMember& member : members) {
      if (member.name != "arguments") continue;
      const auto* list = std::get_if<std::vector<std::string>>(&member.value);
      Require(list != nullptr && *list == arguments, "the program gets the request's arguments");
      found = true;
    }
    Require(found, "a started program came from an arguments member");
  }
  return 0;
}
