#include "new_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "support/scratch_folder.h"


namespace qm {
namespace {

using testing_support::ReadWholeFile;

class NewFile : public testing_support::ScratchFolderTest {
 protected:
  // The names in the folder, which must hold no leftover temporary file.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir_)) {
      names.push_back(e.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
};

// The file appears whole, as readable as the umask lets any new file be.
TEST_F(NewFile, WritesTheBytesWithTheUsersMode) {
  const mode_t mask = ::umask(027);
  std::string error;
  const std::string path = dir_ + "/a.ini";
  const std::string bytes("x\r\n\xB0\0y", 6);
  EXPECT_EQ(WriteNewFile(path, bytes, &error), NewFileResult::kWritten) << error;
  ::umask(mask);
  EXPECT_EQ(ReadWholeFile(path), bytes);
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
  EXPECT_EQ(Names(), std::vector<std::string>{"a.ini"});
}

// Whatever has the name stays, a link that leads nowhere too.
TEST_F(NewFile, NeverReplacesAnything) {
  const std::string file = dir_ + "/mine.ini";
  Write(file, "mine");
  const std::string link = dir_ + "/link.ini";
  ASSERT_EQ(::symlink((dir_ + "/nowhere").c_str(), link.c_str()), 0);
  std::string error;
  EXPECT_EQ(WriteNewFile(file, "new", &error), NewFileResult::kExists);
  EXPECT_EQ(WriteNewFile(link, "new", &error), NewFileResult::kExists);
  EXPECT_EQ(ReadWholeFile(file), "mine");
  EXPECT_FALSE(std::filesystem::exists(dir_ + "/nowhere"));
  EXPECT_EQ(Names(), (std::vector<std::string>{"link.ini", "mine.ini"}));
}

TEST_F(NewFile, AFolderThatIsNotThereIsSaid) {
  std::string error;
  EXPECT_EQ(WriteNewFile(dir_ + "/no/a.ini", "x", &error), NewFileResult::kFailed);
  EXPECT_EQ(error, "cannot write in " + dir_ + "/no: No such file or directory");
}

}  // namespace
}  // namespace qm
