#include "file_selection_store.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "catalogue/site_entries.h"
#include "support/fake_module_environment.h"
#include "support/scratch_folder.h"

namespace qm {
namespace {

using testing_support::ReadWholeFile;

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
  void WriteFile(const std::string& path, const std::string& bytes) const {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
  }
  // The names in the folder that look like temporary files of a save.
  std::vector<std::string> TemporaryFiles() const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir_)) {
      const std::string name = e.path().filename().string();
      if (name.rfind("selections.tmp", 0) == 0) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
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
  // A default the user left alone goes only where nothing is stored yet.
  ASSERT_TRUE(store.Write({{"BOOK:ShopCa", 1, true}, {"BOOK:Fresh", 1, true}}));
  std::uint32_t value = 99;
  ASSERT_TRUE(store.Read("BOOK:SHOPCOM", &value));
  EXPECT_EQ(value, 0u);
  ASSERT_TRUE(store.Read("BOOK:ShopCa", &value));
  EXPECT_EQ(value, 0u);
  ASSERT_TRUE(store.Read("ISBN:=odd name\twith tab", &value));
  EXPECT_EQ(value, 1u);
  // The first spelling of a name stays; each name has one line.
  EXPECT_EQ(FileText(),
            "0\tBOOK:ShopCom\n0\tBOOK:ShopCa\n1\tISBN:=odd name\twith tab\n"
            "1\tBOOK:Fresh\n");
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

TEST_F(FileSelectionStoreTest, DialogsOfOneCategoryConfirmedAtOnceKeepEveryTick) {
  // Each process plays one user who, again and again, opens the category's
  // dialog, flips the tick of its own entry and confirms. What it reads
  // back must always be what it saved last: no other save may undo it.
  constexpr int kProcesses = 8;
  constexpr int kSaves = 200;
  std::string catalogue;
  for (int p = 0; p < kProcesses; ++p) {
    catalogue += "[OTHER:E" + std::to_string(p) + "]\nurl=https://x.example/\n";
  }
  // All start together when the pipe closes.
  int start[2];
  ASSERT_EQ(::pipe(start), 0);
  for (int p = 0; p < kProcesses; ++p) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      ::close(start[1]);
      char byte;
      (void)::read(start[0], &byte, 1);
      FakeModuleEnvironment env("/opt/qmkit/qmkit.so");
      env.SetFile("/opt/qmkit/qmkit.ini", catalogue);
      FileSelectionStore store(dir_);
      bool expected = false;  // not ticked by default
      int wrong = 0;
      for (int save = 0; save < kSaves; ++save) {
        SiteEntryList list;
        CollectSiteEntries(env, store, "OTHER:", false, list);
        if (list.size() != kProcesses) ::_exit(100);
        SiteEntry& mine = list[static_cast<std::size_t>(p)];
        if (mine.selected != expected) ++wrong;
        mine.selected = !mine.selected;
        expected = mine.selected;
        if (!SaveSelections(list, store)) ::_exit(101);
      }
      ::_exit(std::min(wrong, 99));
    }
  }
  ::close(start[0]);
  ::close(start[1]);
  for (int p = 0; p < kProcesses; ++p) {
    int status = 0;
    ::wait(&status);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "saves that found their tick undone";
  }
  const FileSelectionStore store(dir_);
  for (int p = 0; p < kProcesses; ++p) {
    std::uint32_t value = 99;
    ASSERT_TRUE(store.Read("OTHER:E" + std::to_string(p), &value));
    EXPECT_EQ(value, kSaves % 2u) << p;
  }
  EXPECT_TRUE(TemporaryFiles().empty());
}

TEST_F(FileSelectionStoreTest, CrLfLinesAreUnderstoodAndKept) {
  WriteFile(dir_ + "/selections", "1\tBOOK:a\r\n# note\r\n0\tBOOK:b\r\n");
  FileSelectionStore store(dir_);
  std::uint32_t value = 99;
  ASSERT_TRUE(store.Read("BOOK:a", &value));
  EXPECT_EQ(value, 1u);
  ASSERT_TRUE(store.Write({{"BOOK:b", 1}, {"BOOK:c", 1}}));
  EXPECT_EQ(FileText(), "1\tBOOK:a\r\n# note\r\n1\tBOOK:b\r\n1\tBOOK:c\r\n");
}

TEST_F(FileSelectionStoreTest, OnlyARegularFileOfBoundedSizeIsRead) {
  // Each case puts something at "selections"; none of them may be read,
  // waited on or replaced. A hang ends the test program.
  const std::string path = dir_ + "/selections";
  const std::string victim = root_ + "/victim";
  const std::string lines = "1\tBOOK:a\n";
  struct Case {
    const char* what;
    const char* why;  // as the damage report tells it
    std::function<void()> plant;
  };
  const Case cases[] = {
      {"a FIFO", "not a regular file",
       [&] { ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0); }},
      {"a link to a file", "a symbolic link",
       [&] { ASSERT_EQ(::symlink(victim.c_str(), path.c_str()), 0); }},
      {"a link to /dev/zero", "a symbolic link",
       [&] { ASSERT_EQ(::symlink("/dev/zero", path.c_str()), 0); }},
      {"a folder", "not a regular file",
       [&] { ASSERT_EQ(::mkdir(path.c_str(), 0700), 0); }},
      {"a file one byte too large", "larger than 1 MiB",
       [&] {
         WriteFile(path, lines + std::string(FileSelectionStore::kMaxFileBytes -
                                             lines.size() + 1, '\n'));
       }},
  };
  ::alarm(30);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    WriteFile(victim, lines);
    c.plant();
    struct stat before {};
    ASSERT_EQ(::lstat(path.c_str(), &before), 0);
    std::vector<std::string> reports;
    FileSelectionStore store(dir_, [&](const std::string& why) { reports.push_back(why); });
    std::uint32_t value = 99;
    EXPECT_FALSE(store.Read("BOOK:a", &value));
    EXPECT_FALSE(store.Write({{"BOOK:a", 0}}));
    EXPECT_FALSE(store.Read("BOOK:b", &value));
    // Damage is told, once: it is not the same as nothing remembered.
    EXPECT_EQ(reports, std::vector<std::string>{c.why});
    struct stat after {};
    ASSERT_EQ(::lstat(path.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(ReadWholeFile(victim), lines);
    EXPECT_TRUE(TemporaryFiles().empty());
  }
  ::alarm(0);

  // At the bound itself the file serves.
  std::filesystem::remove_all(dir_);
  WriteFile(path, lines + std::string(FileSelectionStore::kMaxFileBytes -
                                      lines.size(), '\n'));
  FileSelectionStore store(dir_);
  std::uint32_t value = 99;
  EXPECT_TRUE(store.Read("BOOK:a", &value));
  EXPECT_TRUE(store.Write({{"BOOK:a", 0}}));
}

// The store never writes a file it would refuse to read: a save past the
// bound fails and keeps the file as it was.
TEST_F(FileSelectionStoreTest, ASaveThatWouldOutgrowTheReaderIsRefused) {
  const std::string before = "1\tBOOK:a\n";
  WriteFile(dir_ + "/selections", before);
  FileSelectionStore store(dir_);
  const std::string half(FileSelectionStore::kMaxFileBytes / 2, 'n');
  const std::vector<std::vector<RememberedValue>> saves = {
      {{"BOOK:" + std::string(FileSelectionStore::kMaxFileBytes, 'n'), 1}},
      {{"BOOK:1" + half, 1}, {"BOOK:2" + half, 1}},
  };
  for (const auto& save : saves) {
    EXPECT_FALSE(store.Write(save));
    EXPECT_EQ(FileText(), before);
    std::uint32_t value = 99;
    EXPECT_TRUE(FileSelectionStore(dir_).Read("BOOK:a", &value));
    EXPECT_EQ(value, 1u);
  }
  EXPECT_TRUE(TemporaryFiles().empty());
}

// One command reads the file once, however many entries it asks about,
// and sees its own saves.
TEST_F(FileSelectionStoreTest, TheFileIsReadOnceAndOwnSavesAreSeen) {
  WriteFile(dir_ + "/selections", "1\tBOOK:a\n0\tBOOK:b\n");
  FileSelectionStore store(dir_);
  std::uint32_t value = 99;
  ASSERT_TRUE(store.Read("BOOK:a", &value));
  EXPECT_EQ(value, 1u);
  WriteFile(dir_ + "/selections", "0\tBOOK:a\n");  // changed behind its back
  ASSERT_TRUE(store.Read("book:B", &value));
  EXPECT_EQ(value, 0u);
  ASSERT_TRUE(store.Read("BOOK:a", &value));
  EXPECT_EQ(value, 1u);
  // A save re-reads under its lock and keeps what it wrote.
  ASSERT_TRUE(store.Write({{"BOOK:c", 1}}));
  EXPECT_TRUE(store.Read("BOOK:c", &value));
  EXPECT_EQ(value, 1u);
  ASSERT_TRUE(store.Read("BOOK:a", &value));
  EXPECT_EQ(value, 0u);
  EXPECT_FALSE(store.Read("BOOK:b", &value));
}

TEST_F(FileSelectionStoreTest, PlantedLinksAreNotFollowed) {
  const std::string victim = root_ + "/victim";
  const std::string temp = dir_ + "/selections.tmp-" + std::to_string(::getpid());
  std::filesystem::create_directories(dir_);
  WriteFile(victim, "precious\n");
  FileSelectionStore store(dir_);

  // A link as the lock file, to a file or to nothing yet: the save fails
  // rather than open or create its target.
  const std::string nothing_yet = root_ + "/created-through-a-link";
  for (const std::string& target : {victim, nothing_yet}) {
    ASSERT_EQ(::symlink(target.c_str(), (dir_ + "/selections.lock").c_str()), 0);
    EXPECT_FALSE(store.Write({{"BOOK:a", 1}}));
    ASSERT_EQ(::unlink((dir_ + "/selections.lock").c_str()), 0);
  }
  EXPECT_EQ(ReadWholeFile(victim), "precious\n");
  EXPECT_FALSE(std::filesystem::exists(nothing_yet));

  // A link under this process's temporary name is removed, not written
  // through, and the save goes ahead.
  ASSERT_EQ(::symlink(victim.c_str(), temp.c_str()), 0);
  EXPECT_TRUE(store.Write({{"BOOK:a", 1}}));
  EXPECT_EQ(ReadWholeFile(victim), "precious\n");
  EXPECT_EQ(FileText(), "1\tBOOK:a\n");
  EXPECT_TRUE(TemporaryFiles().empty());
}

TEST_F(FileSelectionStoreTest, TemporaryFilesOfKilledSavesAreRemoved) {
  const pid_t gone = ::fork();
  ASSERT_GE(gone, 0);
  if (gone == 0) ::_exit(0);
  ASSERT_EQ(::waitpid(gone, nullptr, 0), gone);
  const pid_t living = ::fork();
  ASSERT_GE(living, 0);
  if (living == 0) {
    ::pause();
    ::_exit(0);
  }
  const std::string alive = std::to_string(living);
  const std::string own = std::to_string(::getpid());
  const std::string prefix = dir_ + "/selections.tmp-";
  for (const std::string& suffix :
       {std::to_string(gone), alive, std::string("1"), std::string("abc"),
        std::string("")}) {
    WriteFile(prefix + suffix, "half a fi");
  }
  // Hours old: a pid that lives may be a later process's.
  const timespec times[2] = {{std::time(nullptr) - 7200, 0},
                             {std::time(nullptr) - 7200, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, (prefix + "1").c_str(), times, 0), 0);
  WriteFile(prefix + own, "");  // this very process: not writing yet

  FileSelectionStore store(dir_);
  const bool saved = store.Write({{"BOOK:a", 1}});
  ::kill(living, SIGKILL);
  ::waitpid(living, nullptr, 0);
  ASSERT_TRUE(saved);
  EXPECT_EQ(TemporaryFiles(), (std::vector<std::string>{
                                  "selections.tmp-", "selections.tmp-" + alive,
                                  "selections.tmp-abc"}));
}

TEST_F(FileSelectionStoreTest, AFailedSaveLeavesTheFileAndASavedOneItsMode) {
  // Foreign lines make the file larger than a write may grow.
  const std::string before = "# " + std::string(3000, 'x') + "\n1\tBOOK:a\n";
  WriteFile(dir_ + "/selections", before);
  ASSERT_EQ(::chmod((dir_ + "/selections").c_str(), 0640), 0);
  const auto mode = [&] {
    struct stat info {};
    EXPECT_EQ(::stat((dir_ + "/selections").c_str(), &info), 0);
    return info.st_mode & 07777;
  };

  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{1024, 1024};  // as on a full disk
    ::setrlimit(RLIMIT_FSIZE, &limit);
    FileSelectionStore store(dir_);
    ::_exit(store.Write({{"BOOK:a", 0}}) ? 1 : 0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the save reported success";
  EXPECT_EQ(FileText(), before);
  EXPECT_EQ(mode(), 0640u);
  EXPECT_TRUE(TemporaryFiles().empty());

  FileSelectionStore store(dir_);
  ASSERT_TRUE(store.Write({{"BOOK:a", 0}}));
  EXPECT_EQ(mode(), 0640u);
  std::uint32_t value = 99;
  ASSERT_TRUE(store.Read("BOOK:a", &value));
  EXPECT_EQ(value, 0u);
}

}  // namespace
}  // namespace qm
