// Writes the JSON objects the core sends to the extension. Keys are the
// code's own ASCII; values may be any text, which is escaped so that no text
// can end its string early or carry a raw control character.
#pragma once

#include <string>
#include <string_view>

namespace qm {

class JsonWriter {
 public:
  JsonWriter& BeginObject();
  JsonWriter& EndObject();
  JsonWriter& BeginArray();
  JsonWriter& EndArray();
  // A key of the object being written; the value follows.
  JsonWriter& Key(std::string_view key);
  // `text` is UTF-8; bytes that are not UTF-8 become U+FFFD.
  JsonWriter& String(std::string_view text);
  JsonWriter& String(std::u16string_view text);
  JsonWriter& Number(long long value);
  JsonWriter& Bool(bool value);
  JsonWriter& Null();

  const std::string& text() const { return out_; }

 private:
  void Separate();

  std::string out_;
  bool need_comma_ = false;
};

}  // namespace qm
