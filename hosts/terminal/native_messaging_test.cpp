#include "native_messaging.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>
#include <vector>

namespace qm {
namespace {

std::string Length(std::uint32_t length) {
  std::string bytes(sizeof length, '\0');
  std::memcpy(bytes.data(), &length, sizeof length);
  return bytes;
}

TEST(NativeMessageFraming, ReadsWholeMessagesAndStopsAtTheFirstBadFrame) {
  struct Case {
    const char* name;
    std::string input;
    std::vector<FrameRead> reads;  // until the first that is not a message
    std::vector<std::string> messages;
    std::streamoff consumed;  // bytes taken from the input in all
  };
  const std::string limit_body(kMaxNativeMessageBytes, 'x');
  const Case cases[] = {
      {"nothing", "", {FrameRead::kEnd}, {}, 0},
      {"two back to back", Length(2) + "{}" + Length(3) + "[1]",
       {FrameRead::kMessage, FrameRead::kMessage, FrameRead::kEnd}, {"{}", "[1]"}, 13},
      {"empty body", Length(0), {FrameRead::kMessage, FrameRead::kEnd}, {""}, 4},
      {"truncated length", Length(2) + "{}" + Length(7).substr(0, 3),
       {FrameRead::kMessage, FrameRead::kTruncatedLength}, {"{}"}, 9},
      {"truncated body", Length(10) + "{\"a\":", {FrameRead::kTruncatedBody}, {}, 9},
      {"at the limit", Length(kMaxNativeMessageBytes) + limit_body,
       {FrameRead::kMessage, FrameRead::kEnd}, {limit_body}, 4 + kMaxNativeMessageBytes},
      // Nothing past the length is read.
      {"over the limit", Length(kMaxNativeMessageBytes + 1) + "{}", {FrameRead::kTooLong}, {}, 4},
      {"huge length", Length(0xFFFFFFFFu) + "{}", {FrameRead::kTooLong}, {}, 4},
  };
  for (const Case& c : cases) {
    std::istringstream in(c.input);
    std::vector<std::string> messages;
    for (const FrameRead expected : c.reads) {
      std::string message;
      const FrameRead read = ReadNativeMessage(in, &message);
      ASSERT_EQ(read, expected) << c.name;
      if (read == FrameRead::kMessage) messages.push_back(message);
    }
    EXPECT_EQ(messages, c.messages) << c.name;
    in.clear();
    EXPECT_EQ(in.tellg(), c.consumed) << c.name;
  }
  EXPECT_EQ(FrameNativeMessage("{}"), Length(2) + "{}");
}

TEST(JsonObjectReader, DecodesEscapesAndAcceptsOnlyStringsAndStringArrays) {
  struct Case {
    std::string text;
    std::vector<JsonMember> members;  // expected on success
    const char* error;                // part of the error, or null for success
  };
  using Items = std::vector<std::string>;
  const Case cases[] = {
      {" {\"a\" : \"x\" ,\"b\":[ \"1\", \"\" ],\"c\":[]}\n",
       {{"a", "x"}, {"b", Items{"1", ""}}, {"c", Items{}}}, nullptr},
      {"{}", {}, nullptr},
      {R"({"e":"\"\\\/\b\f\n\r\t"})", {{"e", "\"\\/\b\f\n\r\t"}}, nullptr},
      {R"({"u":"\u0041\u00e9\u20AC\ud83d\ude00"})",
       {{"u", "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"}}, nullptr},
      {R"({"nul":"a\u0000b"})", {{"nul", std::string("a\0b", 3)}}, nullptr},
      {"{\"raw\":\"\xE2\x82\xAC\"}", {{"raw", "\xE2\x82\xAC"}}, nullptr},
      // Surrogates must come in pairs.
      {R"({"s":"\ud83d"})", {}, "lone high surrogate"},
      {R"({"s":"\ud83d\u0041"})", {}, "lone high surrogate"},
      {R"({"s":"\ude00\ud83d"})", {}, "lone low surrogate"},
      {R"({"s":"\u12"})", {}, "bad hex digit"},
      {R"({"s":"\u12)", {}, "short \\u escape"},
      {R"({"s":"\x41"})", {}, "unknown escape at byte 7"},
      {"{\"s\":\"a\nb\"}", {}, "control character"},
      {R"({"s":"abc)", {}, "unterminated string"},
      // Other kinds of value, and anything nested deeper.
      {R"({"n":1})", {}, "expected a string or an array"},
      {R"({"o":{"a":"b"}})", {}, "expected a string or an array"},
      {R"({"a":["x",2]})", {}, "expected a string in the array"},
      {R"({"a":[["x"]]})", {}, "expected a string in the array"},
      {"{\"a\":" + std::string(100000, '['), {}, "expected a string in the array"},
      {std::string(100000, '{'), {}, "expected a string at byte 1"},
      {R"(["a"])", {}, "expected an object at byte 0"},
      // Strictness.
      {R"({"a":"x",})", {}, "expected a string"},
      {R"({"a":"x"} {})", {}, "text after the object"},
      {R"({"a":"x","a":"y"})", {}, "repeats"},
      {R"({"a":["x" "y"]})", {}, "expected \",\" or \"]\""},
  };
  for (const Case& c : cases) {
    std::vector<JsonMember> members;
    std::string error;
    const bool ok = ParseJsonObject(c.text, &members, &error);
    if (c.error == nullptr) {
      ASSERT_TRUE(ok) << c.text << ": " << error;
      ASSERT_EQ(members.size(), c.members.size()) << c.text;
      for (std::size_t i = 0; i < members.size(); ++i) {
        EXPECT_EQ(members[i].name, c.members[i].name) << c.text;
        EXPECT_EQ(members[i].value, c.members[i].value) << c.text;
      }
    } else {
      EXPECT_FALSE(ok) << c.text.substr(0, 40);
      EXPECT_NE(error.find(c.error), std::string::npos) << c.text.substr(0, 40) << ": " << error;
    }
  }
}

TEST(JsonObjectReader, BoundsMembersAndArrayItems) {
  auto array_of = [](std::size_t count) {
    std::string text = "{\"a\":[";
    for (std::size_t i = 0; i < count; ++i) text += i == 0 ? "\"\"" : ",\"\"";
    return text + "]}";
  };
  auto object_of = [](std::size_t count) {
    std::string text = "{";
    for (std::size_t i = 0; i < count; ++i) {
      text += (i == 0 ? "\"m" : ",\"m") + std::to_string(i) + "\":\"\"";
    }
    return text + "}";
  };
  std::vector<JsonMember> members;
  std::string error;
  EXPECT_TRUE(ParseJsonObject(array_of(kMaxJsonArrayItems), &members, &error)) << error;
  EXPECT_FALSE(ParseJsonObject(array_of(kMaxJsonArrayItems + 1), &members, &error));
  EXPECT_NE(error.find("too many array items"), std::string::npos) << error;
  EXPECT_TRUE(ParseJsonObject(object_of(kMaxJsonMembers), &members, &error)) << error;
  EXPECT_FALSE(ParseJsonObject(object_of(kMaxJsonMembers + 1), &members, &error));
  EXPECT_NE(error.find("too many members"), std::string::npos) << error;
}

TEST(NativeRequests, AnswersEachRequestAndStartsOnlyWellFormedCommands) {
  struct Case {
    std::string request;
    std::string reply;  // exact, or the start of an error reply
    std::vector<std::string> started;  // what reached the starter; empty: nothing
  };
  const std::string refused = "{\"type\":\"error\",\"error\":\"";
  const Case cases[] = {
      {R"({"type":"hello"})", R"({"type":"hello","version":"9.8.7"})", {}},
      {R"( {"type":"hello","extra":["x"]} )", R"({"type":"hello","version":"9.8.7"})", {}},
      {R"({"arguments":["prog","a b","'\"$(x)\""],"type":"start"})",
       R"({"type":"start","started":true})", {"prog", "a b", "'\"$(x)\""}},
      // The starter's own error text, however odd, comes back as valid JSON.
      {R"({"type":"start","arguments":["missing"]})",
       R"({"type":"start","started":false,"error":"no \"missing\"\u001b[0m\\"})", {"missing"}},
      {R"({"type":"start","arguments":[]})", refused + "the argument list is empty", {}},
      {R"({"type":"start","arguments":["","x"]})", refused + "the program name is empty", {}},
      {R"({"type":"start","arguments":["-rf","x"]})", refused + "a program name that begins", {}},
      {R"({"type":"start","arguments":["prog","a\u0000b"]})", refused + "an argument holds a NUL",
       {}},
      {R"({"type":"start","arguments":"prog a"})", refused + "a start request needs", {}},
      {R"({"type":["hello"]})", refused + "the request has no \\\"type\\\" string", {}},
      {R"({"type":"stop"})", refused + "unknown request type", {}},
      {R"({"type":"hello",})", refused + "the request is not a JSON object", {}},
      {"", refused + "the request is not a JSON object", {}},
      {"{\"type\":\"start\",\"arguments\":[\"prog\",\"\xFF\"]}",
       refused + "the request is not valid UTF-8", {}},
      {"{\"type\":\"start\",\"arguments\":[\"prog\",\"\xED\xA0\x80\"]}",
       refused + "the request is not valid UTF-8", {}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> started;
    const ProgramStarter start = [&](const std::vector<std::string>& arguments,
                                     std::string* error) {
      started = arguments;
      *error = "no \"" + arguments[0] + "\"\x1b[0m\\";
      return arguments[0] != "missing";
    };
    const std::string reply = AnswerNativeRequest(c.request, "9.8.7", start);
    if (c.reply.starts_with(refused)) {
      EXPECT_TRUE(reply.starts_with(c.reply)) << c.request << " -> " << reply;
      EXPECT_TRUE(reply.ends_with("\"}")) << reply;
    } else {
      EXPECT_EQ(reply, c.reply) << c.request;
    }
    EXPECT_EQ(started, c.started) << c.request;
  }
}

}  // namespace
}  // namespace qm
