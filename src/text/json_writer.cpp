#include "text/json_writer.h"

#include <cstdio>

#include "text/utf8.h"

namespace qm {

void JsonWriter::Separate() {
  if (need_comma_) out_ += ',';
  need_comma_ = true;
}

JsonWriter& JsonWriter::BeginObject() {
  Separate();
  out_ += '{';
  need_comma_ = false;
  return *this;
}

JsonWriter& JsonWriter::EndObject() {
  out_ += '}';
  need_comma_ = true;
  return *this;
}

JsonWriter& JsonWriter::BeginArray() {
  Separate();
  out_ += '[';
  need_comma_ = false;
  return *this;
}

JsonWriter& JsonWriter::EndArray() {
  out_ += ']';
  need_comma_ = true;
  return *this;
}

JsonWriter& JsonWriter::Key(std::string_view key) {
  String(key);
  out_ += ':';
  need_comma_ = false;
  return *this;
}

JsonWriter& JsonWriter::String(std::string_view text) {
  // Through UTF-16 and back, so that malformed UTF-8 cannot reach the
  // extension's JSON.parse.
  return String(FromUtf8(text));
}

JsonWriter& JsonWriter::String(std::u16string_view text) {
  Separate();
  std::u16string escaped = u"\"";
  for (const char16_t c : text) {
    if (c == u'"' || c == u'\\') {
      escaped += u'\\';
      escaped += c;
    } else if (c < 0x20 || c == 0x2028 || c == 0x2029) {
      char code[8];
      std::snprintf(code, sizeof code, "\\u%04x", static_cast<unsigned>(c));
      escaped.append(code, code + 6);
    } else {
      escaped += c;
    }
  }
  escaped += u'"';
  // Whole, so that a surrogate pair stays one character.
  out_ += ToUtf8(escaped);
  return *this;
}

std::string JsonWriter::Take() {
  std::string taken;
  taken.swap(out_);
  return taken;
}

JsonWriter& JsonWriter::Number(long long value) {
  Separate();
  out_ += std::to_string(value);
  return *this;
}

JsonWriter& JsonWriter::Bool(bool value) {
  Separate();
  out_ += value ? "true" : "false";
  return *this;
}

JsonWriter& JsonWriter::Null() {
  Separate();
  out_ += "null";
  return *this;
}

std::string JsonString(std::string_view text) {
  return JsonWriter().String(text).text();
}

}  // namespace qm
