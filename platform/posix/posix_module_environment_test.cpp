#include "posix_module_environment.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "posix_file.h"
#include "support/scratch_folder.h"

namespace qm {
namespace {

class PosixFiles : public testing_support::ScratchFolderTest {
 protected:
  void SetUp() override {
    ScratchFolderTest::SetUp();
    Write(dir_ + "/text.ini", "[BOOK:A]\n");
    Write(dir_ + "/binary.ini", std::string("[BOOK:A]\0", 9));
    ::mkfifo((dir_ + "/fifo").c_str(), 0600);
    Write(dir_ + "/big.ini", std::string((std::size_t{2} << 20) + 1, '\n'));
  }
};

// Each way a named file can fail to serve has its own words: the user's
// catalogue and files of answers in qmkit's, a file to check in the
// system's.
TEST_F(PosixFiles, EachReaderSaysWhyAFileCannotServe) {
  struct Case {
    std::string name;
    // The reason each reader gives; "" when it reads, nullptr when it
    // would wait for a FIFO's writer as it waits for a pipe's.
    const char* as_user_file;  // ReadUserFile
    const char* as_catalogue;  // CheckCatalogueFile
    const char* as_regular;    // ReadRegularFile
  };
  const Case cases[] = {
      {"text.ini", "", "", ""},
      {"binary.ini", "", "holds a NUL byte, not a text catalogue", ""},
      {"missing.ini", "no such file", "no such file", "No such file or directory"},
      {"", "is a folder", "is a folder", "Is a directory"},
      {"fifo", nullptr, nullptr, "not a regular file"},
      // A file the user names is bounded (here by 2 MiB); a device is refused
      // before a byte is read, as it may never end.
      {"big.ini", "larger than 2 MiB", "", ""},
      {"/dev/zero", "is a device, not a file", "is not a plain file", "not a regular file"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = c.name[0] == '/' ? c.name : dir_ + "/" + c.name;
    std::string bytes;
    std::string reason;
    if (c.as_user_file != nullptr) {
      EXPECT_EQ(ReadUserFile(path, std::size_t{2} << 20, &bytes, &reason),
                *c.as_user_file == '\0');
      if (*c.as_user_file != '\0') {
        EXPECT_EQ(reason, c.as_user_file);
      }
    }
    if (c.as_catalogue != nullptr) {
      reason.clear();
      EXPECT_EQ(CheckCatalogueFile(path, &reason), *c.as_catalogue == '\0');
      EXPECT_EQ(reason, c.as_catalogue);
    }
    reason.clear();
    EXPECT_EQ(ReadRegularFile(path, &bytes, &reason), *c.as_regular == '\0');
    EXPECT_EQ(reason, c.as_regular);
  }
}

// A pipe has no size to check first: its reading stops at the bound.
TEST(ReadToEnd, APipeIsReadNoFurtherThanItsBound) {
  for (const std::size_t bound : {std::size_t{99}, std::size_t{100}}) {
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    ASSERT_EQ(::write(ends[1], std::string(100, 'x').data(), 100), 100);
    ::close(ends[1]);
    std::string bytes = "before";
    bool too_long = false;
    EXPECT_EQ(ReadToEnd(ends[0], bound, &bytes, &too_long), bound == 100);
    EXPECT_EQ(too_long, bound == 99);
    EXPECT_EQ(bytes.size(), bound == 100 ? 100u : 6u);
    ::close(ends[0]);
  }
}

// The configuration folder follows XDG_CONFIG_HOME only when it is
// absolute, else HOME; the catalogue named on the command line wins.
TEST(PosixModuleEnvironment, ConfigurationFolderAndCatalogue) {
  struct Case {
    const char* xdg;   // nullptr: unset
    const char* home;  // nullptr: unset
    std::string folder;
  };
  const Case cases[] = {
      {"/x/config", "/home/u", "/x/config/qmkit"},
      {"relative", "/home/u", "/home/u/.config/qmkit"},
      {nullptr, "/home/u", "/home/u/.config/qmkit"},
      {"", "", ""},
      {nullptr, nullptr, ""},
  };
  const char* saved_xdg = std::getenv("XDG_CONFIG_HOME");
  const char* saved_home = std::getenv("HOME");
  const std::string xdg_before = saved_xdg ? saved_xdg : "";
  const std::string home_before = saved_home ? saved_home : "";
  auto set = [](const char* name, const char* value) {
    if (value == nullptr) {
      ::unsetenv(name);
    } else {
      ::setenv(name, value, 1);
    }
  };
  for (const Case& c : cases) {
    set("XDG_CONFIG_HOME", c.xdg);
    set("HOME", c.home);
    EXPECT_EQ(UserConfigFolder(), c.folder) << (c.xdg ? c.xdg : "(unset)");
    EXPECT_EQ(PosixModuleEnvironment().UserCataloguePath(),
              c.folder.empty() ? "" : c.folder + "/qmkit.ini");
    EXPECT_EQ(PosixModuleEnvironment("/tmp/mine.ini").UserCataloguePath(), "/tmp/mine.ini");
  }
  set("XDG_CONFIG_HOME", saved_xdg ? xdg_before.c_str() : nullptr);
  set("HOME", saved_home ? home_before.c_str() : nullptr);
}

}  // namespace
}  // namespace qm
