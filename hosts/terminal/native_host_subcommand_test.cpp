// qmkit native-host end to end: framed requests on its standard input, as a
// browser sends them, and the framed replies it writes.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "exit_status.h"
#include "native_messaging.h"
#include "support/qmkit_run.h"
#include "text/json_writer.h"

namespace qm {
namespace {

using Outcome = testing_support::ProgramOutcome;
using testing_support::ReadWholeFile;

// The replies in `out`, which must be nothing but whole frames.
std::vector<std::string> Replies(const std::string& out) {
  std::vector<std::string> replies;
  std::size_t at = 0;
  while (at + 4 <= out.size()) {
    std::uint32_t length = 0;
    std::memcpy(&length, out.data() + at, sizeof length);
    if (at + 4 + length > out.size()) break;
    replies.push_back(out.substr(at + 4, length));
    at += 4 + length;
  }
  if (at != out.size()) replies.push_back("<stray bytes: " + out.substr(at) + ">");
  return replies;
}

class NativeHost : public testing_support::ProgramTest {
 protected:
  Outcome Serve(const std::string& input, const std::vector<std::string>& origin) const {
    const std::string path = dir_ + "/input";
    Write(path, input);
    std::vector<std::string> args{"native-host"};
    args.insert(args.end(), origin.begin(), origin.end());
    testing_support::RunOptions options;
    options.input_file = path;
    return Qmkit(args, options);
  }

  // Started programs are not waited for: their files appear in a while.
  static bool AppearsSoon(const std::string& path) {
    for (int i = 0; i < 500 && !std::filesystem::exists(path); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return std::filesystem::exists(path);
  }
};

TEST_F(NativeHost, StartsProgramsWithTheirArgumentsWholeAndKeepsServing) {
  // A shell given this path would run the $(...) and the backquotes. The
  // slashes inside them make folders of the path, which are made first.
  const std::string ran = dir_ + "/ran";
  const std::string marker =
      dir_ + "/a b 'single' \"double\" $(touch " + ran + ")/`touch " + ran + "`";
  std::filesystem::create_directories(std::filesystem::path(marker).parent_path());
  // The script reports where the program's own standard input and output
  // lead, after trying to write into the reply stream.
  const std::string streams = dir_ + "/streams";
  const std::string script =
      "echo LEAK; in=$(readlink /proc/$$/fd/0); out=$(readlink /proc/$$/fd/1);"
      " echo \"$in $out\" >\"$0.part\" && mv \"$0.part\" \"$0\"";
  const std::string requests[] = {
      R"({"type":"hello"})",
      R"({"type":"start","arguments":["touch",)" + JsonString(marker) + "]}",
      R"({"type":"start","arguments":["sh","-c",)" + JsonString(script) + "," +
          JsonString(streams) + "]}",
      R"({"type":"start","arguments":["qmkit-no-such-program"]})",
      R"({"type":"start","arguments":["-c","x"]})",
      "{\"type\":",
      R"({"type":"hello"})",
  };
  std::string input;
  for (const std::string& request : requests) input += FrameNativeMessage(request);
  const std::vector<std::vector<std::string>> origins = {
      {"chrome-extension://abcdefghijklmnopabcdefghijklmnop/", "--parent-window=0"},
      {"/home/u/.mozilla/native-messaging-hosts/com.pellmor.qmkit.json", "qmkit@pellmor.example"},
  };
  for (const std::vector<std::string>& origin : origins) {
    std::filesystem::remove(marker);
    std::filesystem::remove(streams);
    const Outcome run = Serve(input, origin);
    EXPECT_EQ(run.status, kExitDone) << origin[0] << run.err;
    const std::string hello = R"({"type":"hello","version":")" QMKIT_VERSION "\"}";
    ASSERT_TRUE(AppearsSoon(streams));
    const std::vector<std::string> replies = Replies(ReadWholeFile(dir_ + "/stdout"));
    ASSERT_EQ(replies.size(), 7u) << run.out;
    EXPECT_EQ(replies[0], hello);
    EXPECT_EQ(replies[1], R"({"type":"start","started":true})");
    EXPECT_EQ(replies[2], R"({"type":"start","started":true})");
    EXPECT_EQ(replies[3],
              R"({"type":"start","started":false,"error":"no such file or directory"})");
    EXPECT_TRUE(replies[4].starts_with(R"({"type":"error","error":"a program name)"))
        << replies[4];
    EXPECT_TRUE(replies[5].starts_with(R"({"type":"error","error":"the request is not)"))
        << replies[5];
    EXPECT_EQ(replies[6], hello);
    EXPECT_TRUE(AppearsSoon(marker)) << marker;
    EXPECT_FALSE(std::filesystem::exists(ran));
    // The child wrote before it reported, so a leak would be in the replies.
    EXPECT_EQ(ReadWholeFile(streams), "/dev/null /dev/null\n");
    EXPECT_EQ(ReadWholeFile(dir_ + "/stdout").find("LEAK"), std::string::npos);
  }
}

TEST_F(NativeHost, BadFramingEndsTheSessionAfterAnErrorReply) {
  std::string too_long = FrameNativeMessage("") + "{}";
  const std::uint32_t over = (1u << 20) + 1;
  std::memcpy(too_long.data(), &over, sizeof over);
  struct Case {
    std::string input;
    int status;
    std::string last_reply;
  };
  const std::string hello = FrameNativeMessage(R"({"type":"hello"})");
  const Case cases[] = {
      {"", kExitDone, ""},
      {hello, kExitDone, R"({"type":"hello","version":")" QMKIT_VERSION "\"}"},
      {hello + too_long + hello, kExitUsage,
       R"({"type":"error","error":"a message is longer than 1 MiB"})"},
      {hello + hello.substr(0, 9), kExitUsage,
       R"({"type":"error","error":"the input ended inside a message"})"},
      {hello + hello.substr(0, 2), kExitUsage,
       R"({"type":"error","error":"the input ended inside a message length"})"},
  };
  for (const Case& c : cases) {
    const Outcome run = Serve(c.input, {"chrome-extension://x/"});
    EXPECT_EQ(run.status, c.status) << c.last_reply;
    const std::vector<std::string> replies = Replies(run.out);
    EXPECT_EQ(replies.empty() ? "" : replies.back(), c.last_reply);
    EXPECT_LE(replies.size(), 2u);
  }
}

// The installer's manifests name a launcher that a browser can start with
// its own arguments alone, however odd the folders' names.
TEST_F(NativeHost, InstalledManifestsLeadToTheHost) {
  const std::string odd = dir_ + "/it's \"odd\" \\ $(x)";
  std::filesystem::create_directories(odd);
  std::filesystem::create_symlink(QMKIT_PROGRAM, odd + "/qmkit");
  const std::string id = "abcdefghijklmnopabcdefghijklmnop";
  testing_support::RunOptions options;
  options.environment = {"HOME=" + dir_};
  const Outcome install = testing_support::RunProgram(
      QMKIT_INSTALL_NATIVE_HOST,
      {"--chromium-dir", dir_ + "/chromium", "--firefox-dir", dir_ + "/firefox",
       "--extension-id", id, "--launcher-dir", odd, odd + "/qmkit"},
      dir_, options);
  ASSERT_EQ(install.status, 0) << install.err;
  using Items = std::vector<std::string>;
  const std::string launcher = odd + "/qmkit-native-host";
  const struct {
    std::string file;
    std::string allowed_key;
    Items allowed;
  } manifests[] = {
      {dir_ + "/chromium/com.pellmor.qmkit.json", "allowed_origins",
       {"chrome-extension://" + id + "/"}},
      {dir_ + "/firefox/com.pellmor.qmkit.json", "allowed_extensions", {"qmkit@pellmor.example"}},
  };
  for (const auto& m : manifests) {
    std::vector<JsonMember> members;
    std::string error;
    ASSERT_TRUE(ParseJsonObject(ReadWholeFile(m.file), &members, &error)) << m.file << error;
    std::vector<std::pair<std::string, JsonValue>> fields;
    for (const JsonMember& member : members) {
      if (member.name != "description") fields.emplace_back(member.name, member.value);
    }
    const std::vector<std::pair<std::string, JsonValue>> expected = {
        {"name", "com.pellmor.qmkit"}, {"path", launcher}, {"type", "stdio"},
        {m.allowed_key, m.allowed}};
    EXPECT_EQ(fields, expected) << m.file;
  }
  Write(dir_ + "/input", FrameNativeMessage(R"({"type":"hello"})"));
  options.input_file = dir_ + "/input";
  const Outcome run = testing_support::RunProgram(launcher, {"chrome-extension://" + id + "/"},
                                                  dir_, options);
  EXPECT_EQ(run.status, kExitDone) << run.err;
  EXPECT_EQ(Replies(run.out), Items{R"({"type":"hello","version":")" QMKIT_VERSION "\"}"});
}

}  // namespace
}  // namespace qm
