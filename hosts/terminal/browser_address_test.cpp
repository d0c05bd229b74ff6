// The addresses --open takes that the end-to-end table leaves out: the
// shapes of host names, and a program whose folder is not known.
#include "browser_address.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

TEST(AddressForBrowser, HostNamesAndUnknownProgramFolder) {
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
    const std::optional<std::string> address = AddressForBrowser(c.address, program, &reason);
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
    EXPECT_FALSE(AddressForBrowser("file:///etc/passwd", unknown, &reason));
    EXPECT_FALSE(AddressForBrowser("file:///x.html", unknown, &reason));
    EXPECT_TRUE(AddressForBrowser("https://a.example/", unknown, &reason));
  }
}

}  // namespace
}  // namespace qm
