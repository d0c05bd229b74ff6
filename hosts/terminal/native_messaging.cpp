#include "native_messaging.h"

#include <cstring>

#include "text/json_writer.h"
#include "text/utf8.h"

namespace qm {
namespace {

// A cursor over the request's text. It does not recurse: the grammar it
// accepts is two levels deep at most, so nesting cannot exhaust the stack.
class JsonReader {
 public:
  explicit JsonReader(std::string_view text) : text_(text) {}

  bool ReadObject(std::vector<JsonMember>* members) {
    SkipSpace();
    if (!Take('{')) return Fail("expected an object");
    SkipSpace();
    if (!Take('}')) {
      for (;;) {
        if (members->size() == kMaxJsonMembers) return Fail("too many members");
        JsonMember member;
        SkipSpace();
        if (!ReadString(&member.name)) return false;
        for (const JsonMember& earlier : *members) {
          if (earlier.name == member.name) return Fail("a member name repeats");
        }
        SkipSpace();
        if (!Take(':')) return Fail("expected \":\"");
        SkipSpace();
        if (!ReadValue(&member.value)) return false;
        members->push_back(std::move(member));
        SkipSpace();
        if (Take('}')) break;
        if (!Take(',')) return Fail("expected \",\" or \"}\"");
      }
    }
    SkipSpace();
    if (at_ != text_.size()) return Fail("text after the object");
    return true;
  }

  const std::string& error() const { return error_; }

 private:
  bool ReadValue(JsonValue* value) {
    if (Peek() == '"') {
      std::string text;
      if (!ReadString(&text)) return false;
      *value = std::move(text);
      return true;
    }
    if (!Take('[')) return Fail("expected a string or an array of strings");
    std::vector<std::string> items;
    SkipSpace();
    if (!Take(']')) {
      for (;;) {
        if (items.size() == kMaxJsonArrayItems) return Fail("too many array items");
        SkipSpace();
        if (Peek() != '"') return Fail("expected a string in the array");
        std::string item;
        if (!ReadString(&item)) return false;
        items.push_back(std::move(item));
        SkipSpace();
        if (Take(']')) break;
        if (!Take(',')) return Fail("expected \",\" or \"]\"");
      }
    }
    *value = std::move(items);
    return true;
  }

  bool ReadString(std::string* out) {
    if (!Take('"')) return Fail("expected a string");
    for (;;) {
      if (at_ == text_.size()) return Fail("unterminated string");
      const char c = text_[at_++];
      if (c == '"') return true;
      if (static_cast<unsigned char>(c) < 0x20) return Fail("control character in a string");
      if (c != '\\') {
        out->push_back(c);
        continue;
      }
      if (at_ == text_.size()) return Fail("unterminated string");
      switch (text_[at_++]) {
        case '"': out->push_back('"'); break;
        case '\\': out->push_back('\\'); break;
        case '/': out->push_back('/'); break;
        case 'b': out->push_back('\b'); break;
        case 'f': out->push_back('\f'); break;
        case 'n': out->push_back('\n'); break;
        case 'r': out->push_back('\r'); break;
        case 't': out->push_back('\t'); break;
        case 'u':
          if (!ReadUnicodeEscape(out)) return false;
          break;
        default:
          --at_;
          return Fail("unknown escape");
      }
    }
  }

  // After "\u": four hex digits, and for a high surrogate the "\uXXXX" of
  // its low half; appends the character as UTF-8.
  bool ReadUnicodeEscape(std::string* out) {
    std::uint32_t unit = 0;
    if (!ReadHex4(&unit)) return false;
    std::uint32_t code = unit;
    if (unit >= 0xDC00 && unit <= 0xDFFF) return Fail("lone low surrogate");
    if (unit >= 0xD800 && unit <= 0xDBFF) {
      std::uint32_t low = 0;
      if (text_.substr(at_, 2) != "\\u") return Fail("lone high surrogate");
      at_ += 2;
      if (!ReadHex4(&low)) return false;
      if (low < 0xDC00 || low > 0xDFFF) return Fail("lone high surrogate");
      code = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
    }
    AppendUtf8(code, out);
    return true;
  }

  bool ReadHex4(std::uint32_t* unit) {
    for (int i = 0; i < 4; ++i, ++at_) {
      if (at_ == text_.size()) return Fail("short \\u escape");
      const char c = text_[at_];
      int digit;
      if (c >= '0' && c <= '9') {
        digit = c - '0';
      } else if (c >= 'a' && c <= 'f') {
        digit = c - 'a' + 10;
      } else if (c >= 'A' && c <= 'F') {
        digit = c - 'A' + 10;
      } else {
        return Fail("bad hex digit in a \\u escape");
      }
      *unit = *unit * 16 + static_cast<std::uint32_t>(digit);
    }
    return true;
  }

  static void AppendUtf8(std::uint32_t code, std::string* out) {
    if (code < 0x80) {
      out->push_back(static_cast<char>(code));
    } else if (code < 0x800) {
      out->push_back(static_cast<char>(0xC0 | (code >> 6)));
      out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
      out->push_back(static_cast<char>(0xE0 | (code >> 12)));
      out->push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
      out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
      out->push_back(static_cast<char>(0xF0 | (code >> 18)));
      out->push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
      out->push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
      out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
  }

  char Peek() const { return at_ < text_.size() ? text_[at_] : '\0'; }

  bool Take(char c) {
    if (at_ < text_.size() && text_[at_] == c) {
      ++at_;
      return true;
    }
    return false;
  }

  void SkipSpace() {
    while (at_ < text_.size() &&
           (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\n' || text_[at_] == '\r')) {
      ++at_;
    }
  }

  bool Fail(const char* reason) {
    error_ = std::string(reason) + " at byte " + std::to_string(at_);
    return false;
  }

  std::string_view text_;
  std::size_t at_ = 0;
  std::string error_;
};

bool IsUtf8(std::string_view bytes) {
  // The decoder turns every malformed sequence into U+FFFD, so only valid
  // text survives the round trip unchanged.
  return ToUtf8(FromUtf8(bytes)) == bytes;
}

const JsonValue* FindMember(const std::vector<JsonMember>& members, std::string_view name) {
  for (const JsonMember& member : members) {
    if (member.name == name) return &member.value;
  }
  return nullptr;
}

std::string AnswerStart(const std::vector<JsonMember>& members, const ProgramStarter& start) {
  const JsonValue* value = FindMember(members, "arguments");
  const auto* arguments = value ? std::get_if<std::vector<std::string>>(value) : nullptr;
  if (arguments == nullptr) {
    return NativeErrorReply("a start request needs \"arguments\", an array of strings");
  }
  if (arguments->empty()) return NativeErrorReply("the argument list is empty");
  const std::string& program = arguments->front();
  if (program.empty()) return NativeErrorReply("the program name is empty");
  if (program[0] == '-') {
    return NativeErrorReply("a program name that begins with \"-\" is refused");
  }
  for (const std::string& argument : *arguments) {
    if (argument.find('\0') != std::string::npos) {
      return NativeErrorReply("an argument holds a NUL character");
    }
  }
  std::string error;
  const bool started = start(*arguments, &error);
  JsonWriter reply;
  reply.BeginObject().Key("type").String("start").Key("started").Bool(started);
  if (!started) reply.Key("error").String(error);
  return reply.EndObject().text();
}

}  // namespace

FrameRead ReadNativeMessage(std::istream& in, std::string* message) {
  char prefix[sizeof(std::uint32_t)];
  in.read(prefix, sizeof prefix);
  if (in.gcount() == 0) return FrameRead::kEnd;
  if (in.gcount() != sizeof prefix) return FrameRead::kTruncatedLength;
  std::uint32_t length = 0;
  std::memcpy(&length, prefix, sizeof length);
  if (length > kMaxNativeMessageBytes) return FrameRead::kTooLong;
  message->resize(length);
  in.read(message->data(), length);
  if (static_cast<std::uint32_t>(in.gcount()) != length) return FrameRead::kTruncatedBody;
  return FrameRead::kMessage;
}

std::string FrameNativeMessage(std::string_view json) {
  const auto length = static_cast<std::uint32_t>(json.size());
  std::string framed(sizeof length, '\0');
  std::memcpy(framed.data(), &length, sizeof length);
  framed.append(json);
  return framed;
}

bool ParseJsonObject(std::string_view text, std::vector<JsonMember>* members,
                     std::string* error) {
  JsonReader reader(text);
  std::vector<JsonMember> parsed;
  if (!reader.ReadObject(&parsed)) {
    *error = reader.error();
    return false;
  }
  *members = std::move(parsed);
  return true;
}

std::string NativeErrorReply(std::string_view text) {
  return JsonWriter()
      .BeginObject().Key("type").String("error").Key("error").String(text).EndObject()
      .text();
}

std::string AnswerNativeRequest(std::string_view message, std::string_view version,
                                const ProgramStarter& start) {
  if (!IsUtf8(message)) return NativeErrorReply("the request is not valid UTF-8");
  std::vector<JsonMember> members;
  std::string error;
  if (!ParseJsonObject(message, &members, &error)) {
    return NativeErrorReply("the request is not a JSON object of strings and arrays of "
                            "strings: " + error);
  }
  const JsonValue* type_value = FindMember(members, "type");
  const auto* type = type_value ? std::get_if<std::string>(type_value) : nullptr;
  if (type == nullptr) return NativeErrorReply("the request has no \"type\" string");
  if (*type == "hello") {
    return JsonWriter()
        .BeginObject().Key("type").String("hello").Key("version").String(version).EndObject()
        .text();
  }
  if (*type == "start") return AnswerStart(members, start);
  return NativeErrorReply("unknown request type; known: hello, start");
}

}  // namespace qm
