// Writes JSON text: the objects the core sends to the extension and the
// answers the terminal host prints for scripts. Keys are the code's own
// ASCII; values may be any text, which is escaped so that no text can end
// its string early or carry a raw control character. The writer puts the
// commas; the caller keeps the nesting balanced.
//
//   JsonWriter json;
//   json.BeginObject().Key("found").Bool(true).Key("isbn").String("0306406152")
//       .EndObject();
//   json.text() == R"({"found":true,"isbn":"0306406152"})"
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
  // `text` is UTF-8; bytes that are not UTF-8 become U+FFFD. '"' and '\'
  // are escaped with a backslash; C0 controls, U+2028 and U+2029 as
  // "\u00XX" ("\n" is written "\u000a"); every other character as it is.
  JsonWriter& String(std::string_view text);
  JsonWriter& String(std::u16string_view text);
  JsonWriter& Number(long long value);
  JsonWriter& Bool(bool value);
  JsonWriter& Null();

  const std::string& text() const { return out_; }

  // Returns the text written so far and forgets it, keeping the place in
  // the structure: a long array can go out while it is written.
  std::string Take();

 private:
  void Separate();

  std::string out_;
  bool need_comma_ = false;
};

// `text` (UTF-8) as one JSON string, quotes included, escaped as
// JsonWriter::String escapes it: JsonString("a\"b") == R"("a\"b")".
std::string JsonString(std::string_view text);

}  // namespace qm
