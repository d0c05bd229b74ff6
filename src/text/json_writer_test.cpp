#include "text/json_writer.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

// Commas go between values and members, never after an opening bracket or
// a key, at any depth.
TEST(JsonWriter, PutsCommasBetweenValuesOnly) {
  JsonWriter json;
  json.BeginObject()
      .Key("events").BeginArray()
      .BeginObject().Key("n").Number(-12).Key("ok").Bool(false).EndObject()
      .BeginObject().EndObject()
      .EndArray()
      .Key("file").Null()
      .Key("list").BeginArray().String("a").Number(3).Bool(true).EndArray()
      .EndObject();
  EXPECT_EQ(json.text(),
            R"({"events":[{"n":-12,"ok":false},{}],"file":null,"list":["a",3,true]})");
}

// No text can end its string early, carry a raw control character or a
// line separator that a script reader takes for a line end, or reach the
// reader as malformed UTF-8.
TEST(JsonWriter, EscapesWhatCouldBreakTheString) {
  struct Case {
    std::string text;
    std::string json;
  };
  const Case cases[] = {
      {"say \"hi\" \\ bye", R"("say \"hi\" \\ bye")"},
      {"a\nb\r\tc\x1b[2J\x7f", R"("a\u000ab\u000d\u0009c\u001b[2J)" "\x7f\""},
      {"\xE2\x80\xA8|\xE2\x80\xA9", R"("\u2028|\u2029")"},
      {"caf\xC3\xA9 \xF0\x9F\x98\x80 \xC2\x9D", "\"caf\xC3\xA9 \xF0\x9F\x98\x80 \xC2\x9D\""},
      {"bad \xFF byte", "\"bad \xEF\xBF\xBD byte\""},
      {"/", R"("/")"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(JsonString(c.text), c.json) << c.text;
    EXPECT_EQ(JsonWriter().Key(c.text).text(), c.json + ":") << c.text;
  }
  EXPECT_EQ(JsonWriter().String(u"\u00e9\"").text(), "\"\xC3\xA9\\\"\"");
}

// Text taken out part way is continued where it stood.
TEST(JsonWriter, TakeKeepsThePlaceInTheStructure) {
  JsonWriter json;
  json.BeginArray().Number(1);
  std::string whole = json.Take();
  EXPECT_EQ(whole, "[1");
  EXPECT_EQ(json.text(), "");
  json.Number(2).EndArray();
  whole += json.Take();
  EXPECT_EQ(whole, "[1,2]");
}

}  // namespace
}  // namespace qm
