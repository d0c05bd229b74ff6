// The addresses a host may open: the shapes of host names, file: addresses
// inside and outside the program's folder, and a program whose folder is
// not known.
#include "actions/address_policy.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qm {
namespace {

TEST(OpenableAddress, HostNamesAndUnknownProgramFolder) {
  const ProgramFolder program{"file:///opt/qm/bin/", "/opt/qm/bin/"};
  const struct {
    const char* address;
    const char* handed_on;  // null: skipped
  } cases[] = {
      {"www.example.com.", "https://www.example.com."},
      {"b\xC3\xBC" "cher.example/x", "https://b\xC3\xBC" "cher.example/x"},
      {"example.com:65535", "https://example.com:65535"},
      {"example.com:123456", nullptr},
      {"example.com:", nullptr},
      {"-a.example.com", nullptr},
      {"a-.example.com", nullptr},
      {"a..example.com", nullptr},
      {"example.123", nullptr},
      {"192.0.2.256", nullptr},
      {"1.2.3", nullptr},
      {"user@example.com", nullptr},
      {"see www.example.com", nullptr},
      {"file:///opt/qm/bin/doc/a.html#top", "file:///opt/qm/bin/doc/a.html#top"},
      {"file:///opt/qm/bin/..", nullptr},
      {"file:///opt/qm/bin/%2E%2E\\x", nullptr},
      {"file:///opt/qm/binary/x", nullptr},
  };
  for (const auto& c : cases) {
    std::string reason;
    const std::optional<std::string> address = OpenableAddress(c.address, program, &reason);
    if (c.handed_on == nullptr) {
      EXPECT_FALSE(address) << c.address << " -> " << *address;
      EXPECT_FALSE(reason.empty()) << c.address;
    } else {
      EXPECT_EQ(address.value_or("(skipped: " + reason + ")"), c.handed_on);
    }
  }

  // Without the program's path, !I inserts "file:///", which would admit
  // every file.
  for (const ProgramFolder& unknown :
       {ProgramFolder{"file:///", ""}, ProgramFolder{"file:///", "/"}}) {
    std::string reason;
    EXPECT_FALSE(OpenableAddress("file:///etc/passwd", unknown, &reason));
    EXPECT_FALSE(OpenableAddress("file:///x.html", unknown, &reason));
    EXPECT_TRUE(OpenableAddress("https://a.example/", unknown, &reason));
  }
}

TEST(OpenableAddress, SchemesBlanksAndControls) {
  const struct {
    const char* address;
    const char* opened;  // null: refused
  } cases[] = {
      {"HTTPS://a.example/", "HTTPS://a.example/"},
      {"mailto:someone@example.com", "mailto:someone@example.com"},
      {"ftp://files.example/a", "ftp://files.example/a"},
      {" https://a.example/\n", "https://a.example/"},
      {"javascript:alert(1)", nullptr},
      {"data:text/html,x", nullptr},
      {"chrome://settings", nullptr},
      {"file:///etc/passwd", nullptr},
      {"https://a.example/\x01", nullptr},
      {"https://a.example/\xC2\x85", nullptr},
      {"--gpu-launcher=x", nullptr},
      {"localhost", nullptr},
      {" \t", nullptr},
  };
  for (const auto& c : cases) {
    std::string reason;
    const std::optional<std::string> address = OpenableAddress(c.address, {}, &reason);
    if (c.opened == nullptr) {
      EXPECT_FALSE(address) << c.address << " -> " << *address;
      EXPECT_FALSE(reason.empty()) << c.address;
    } else {
      EXPECT_EQ(address.value_or("(refused: " + reason + ")"), c.opened);
    }
  }
}

// The host says which files are programs; it is asked with the folder's
// path and the decoded rest of the address, query and fragment left out.
TEST(OpenableAddress, FileNamingAProgramIsRefused) {
  std::vector<std::string> asked;
  const ProgramFolder program{"file:///opt/qm/bin/", "/opt/qm/bin/",
                              [&](const std::string& path) {
                                asked.push_back(path);
                                return path == "/opt/qm/bin/qm tool";
                              }};
  std::string reason;
  EXPECT_FALSE(OpenableAddress("file:///opt/qm/bin/qm%20tool?x#y", program, &reason));
  EXPECT_FALSE(reason.empty());
  EXPECT_EQ(OpenableAddress("file:///opt/qm/bin/doc.html", program, &reason).value_or(""),
            "file:///opt/qm/bin/doc.html");
  EXPECT_EQ(asked, (std::vector<std::string>{"/opt/qm/bin/qm tool", "/opt/qm/bin/doc.html"}));
  // What a file manager would resolve to the program is the program.
  for (const char* address :
       {"file:///opt/qm/bin/qm%20tool/", "file:///opt/qm/bin/qm%20tool/.",
        "file:///opt/qm/bin/.//qm%20tool", "file:///opt/qm/bin/.%2Fqm%20tool%2F",
        "file:///opt/qm/bin/qm%20tool\\"}) {
    SCOPED_TRACE(address);
    EXPECT_FALSE(OpenableAddress(address, program, &reason));
    EXPECT_EQ(asked.back(), "/opt/qm/bin/qm tool");
  }
}

}  // namespace
}  // namespace qm
