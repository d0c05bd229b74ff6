#include "file_selection_store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace qm {
namespace {

// "W<writer>:<suffix>", a name owned by one writer.
std::string WriterName(int writer, const std::string& suffix) {
  std::string name = "W";
  name += std::to_string(writer);
  name += ':';
  name += suffix;
  return name;
}

class FileSelectionStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/qmkit-store-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    root_ = pattern;
    dir_ = root_ + "/config/qmkit";
  }
  void TearDown() override {
    std::system(("rm -rf '" + root_ + "'").c_str());
  }
  std::string FileText() const {
    std::ifstream in(dir_ + "/selections", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  std::string root_;
  std::string dir_;
};

TEST_F(FileSelectionStoreTest, ReadingNeverCreatesAnything) {
  const FileSelectionStore store(dir_);
  std::uint32_t value = 99;
  EXPECT_FALSE(store.Read("BOOK:x", &value));
  EXPECT_EQ(value, 99u);
  struct stat info {};
  EXPECT_NE(::stat((root_ + "/config").c_str(), &info), 0);
}

TEST_F(FileSelectionStoreTest, WritesMergeAndReadBack) {
  FileSelectionStore store(dir_);
  ASSERT_TRUE(store.Write({{"BOOK:ShopCom", 1}, {"BOOK:ShopCa", 0}}));
  ASSERT_TRUE(store.Write({{"book:shopcom", 0}, {"ISBN:=odd name\twith tab", 1}}));
  std::uint32_t value = 99;
  ASSERT_TRUE(store.Read("BOOK:SHOPCOM", &value));
  EXPECT_EQ(value, 0u);
  ASSERT_TRUE(store.Read("BOOK:ShopCa", &value));
  EXPECT_EQ(value, 0u);
  ASSERT_TRUE(store.Read("ISBN:=odd name\twith tab", &value));
  EXPECT_EQ(value, 1u);
  // The first spelling of a name stays; each name has one line.
  EXPECT_EQ(FileText(),
            "0\tBOOK:ShopCom\n0\tBOOK:ShopCa\n1\tISBN:=odd name\twith tab\n");
  // The folder is private to the user.
  struct stat info {};
  ASSERT_EQ(::stat(dir_.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
}

TEST_F(FileSelectionStoreTest, ForeignLinesAreKeptAndBadNamesRefused) {
  ASSERT_EQ(std::system(("mkdir -p '" + dir_ + "'").c_str()), 0);
  {
    std::ofstream out(dir_ + "/selections", std::ios::binary);
    out << "# my notes\n1\tBOOK:a\nnot a value line\n99999999999\tBOOK:big\n";
  }
  FileSelectionStore store(dir_);
  std::uint32_t value = 0;
  EXPECT_FALSE(store.Read("BOOK:big", &value));  // does not fit 32 bits
  EXPECT_FALSE(store.Write({{"BOOK:b", 1}, {"BOOK:two\nlines", 1}, {"", 1}}));
  EXPECT_EQ(FileText(),
            "# my notes\n1\tBOOK:a\nnot a value line\n99999999999\tBOOK:big\n"
            "1\tBOOK:b\n");
}

TEST_F(FileSelectionStoreTest, ConcurrentWritersLoseNothing) {
  // Several processes each save their own names many times at once; every
  // name must survive.
  constexpr int kWriters = 4;
  constexpr int kRounds = 40;
  for (int w = 0; w < kWriters; ++w) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      FileSelectionStore store(dir_);
      bool ok = true;
      for (int r = 0; r < kRounds; ++r) {
        ok &= store.Write({{WriterName(w, std::to_string(r)), 1},
                           {WriterName(w, "last"), static_cast<std::uint32_t>(r)}});
      }
      ::_exit(ok ? 0 : 1);
    }
  }
  for (int w = 0; w < kWriters; ++w) {
    int status = 0;
    ::wait(&status);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  const FileSelectionStore store(dir_);
  for (int w = 0; w < kWriters; ++w) {
    for (int r = 0; r < kRounds; ++r) {
      std::uint32_t value = 0;
      EXPECT_TRUE(store.Read(WriterName(w, std::to_string(r)), &value))
          << w << " " << r;
    }
    std::uint32_t last = 0;
    ASSERT_TRUE(store.Read(WriterName(w, "last"), &last));
    EXPECT_EQ(last, static_cast<std::uint32_t>(kRounds - 1));
  }
  // No temporary file is left behind.
  EXPECT_EQ(std::system(("ls '" + dir_ + "' | grep -q tmp").c_str()) == 0, false);
}

}  // namespace
}  // namespace qm
