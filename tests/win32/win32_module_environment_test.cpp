#include "win32_module_environment.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <filesystem>
#include <string>

#include "catalogue/catalogue_loader.h"
#include "catalogue/catalogue_parser.h"
#include "compiled_in_files.h"
#include "resource_ids.h"
#include "recognisers/currency_table.h"
#include "win32_code_page.h"

namespace qm {
namespace {

// A fresh folder under the user's temporary folder, removed with its files.
class TempFolder {
 public:
  TempFolder() {
    static std::atomic<int> counter{0};
    char temp[MAX_PATH + 1] = {};
    const DWORD n = ::GetTempPathA(sizeof temp, temp);
    path_ = std::string(temp, n) + "qm_win32_tests-" +
            std::to_string(::GetCurrentProcessId()) + "-" +
            std::to_string(counter++);
    created_ = ::CreateDirectoryA(path_.c_str(), nullptr) != 0;
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  bool created() const { return created_; }
  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "\\" + name; }

 private:
  std::string path_;
  bool created_ = false;
};

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
  const HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()),
                              &written, nullptr) &&
                  written == bytes.size();
  ::CloseHandle(file);
  return ok;
}

bool EndsWithIgnoringCase(const std::string& text, const std::string& tail) {
  if (text.size() < tail.size()) return false;
  return ::CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE,
                          text.data() + text.size() - tail.size(),
                          static_cast<int>(tail.size()), tail.data(),
                          static_cast<int>(tail.size())) == CSTR_EQUAL;
}

TEST(Win32ModuleEnvironmentTest, BuiltInFilesAreTheCompiledInBytes) {
  const Win32ModuleEnvironment env;
  for (int id : {IDR_DEFAULT_CATALOGUE, IDR_SYSTEM_CATALOGUE}) {
    const std::string_view resource = env.BuiltInFile(id);
    const std::string_view compiled = CompiledInFile(id);
    ASSERT_FALSE(compiled.empty()) << id;
    // Compared as strings so that a difference shows where it is.
    EXPECT_EQ(std::string(resource), std::string(compiled)) << id;
    // The same memory on every call: it lives as long as the module.
    EXPECT_EQ(env.BuiltInFile(id).data(), resource.data()) << id;
  }
  for (int id : {0, -1, 1, 207, 9999, 70000}) {
    EXPECT_TRUE(env.BuiltInFile(id).empty()) << id;
  }
}

TEST(Win32ModuleEnvironmentTest, ModulePathIsThisProgramUnlessGiven) {
  const std::string path = Win32ModuleEnvironment().ModulePath();
  EXPECT_TRUE(EndsWithIgnoringCase(path, "\\qm_win32_tests.exe")) << path;
  // A full path to the file itself, not one relative to the current folder.
  char full[MAX_PATH * 4] = {};
  const DWORD n = ::GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
  EXPECT_EQ(std::string(full, n), path);
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES) << path;
  EXPECT_EQ(attributes & FILE_ATTRIBUTE_DIRECTORY, 0u) << path;
  EXPECT_EQ(Win32ModuleEnvironment::OwnModule(), ::GetModuleHandleA(nullptr));

  EXPECT_EQ(Win32ModuleEnvironment("D:\\Apps\\qmkit.dll").ModulePath(),
            "D:\\Apps\\qmkit.dll");
}

TEST(Win32ModuleEnvironmentTest, ReadsWholeFilesAndFailsForOthers) {
  TempFolder folder;
  ASSERT_TRUE(folder.created()) << folder.path();
  const Win32ModuleEnvironment env;

  // NUL bytes and more than 64 KiB, all of it.
  std::string content;
  for (int i = 0; i < 200000; ++i) content.push_back(static_cast<char>(i * 7));
  const std::string big = folder.File("big.bin");
  ASSERT_TRUE(WriteWholeFile(big, content));
  std::string bytes = "previous";
  ASSERT_TRUE(env.ReadFile(big, &bytes));
  EXPECT_EQ(bytes.size(), content.size());
  EXPECT_TRUE(bytes == content);

  // An empty file reads as empty text, replacing what was there.
  const std::string empty = folder.File("empty.ini");
  ASSERT_TRUE(WriteWholeFile(empty, ""));
  bytes = "previous";
  EXPECT_TRUE(env.ReadFile(empty, &bytes));
  EXPECT_EQ(bytes, "");

  // Missing files and folders fail and leave the bytes alone.
  bytes = "previous";
  EXPECT_FALSE(env.ReadFile(folder.File("missing.ini"), &bytes));
  EXPECT_FALSE(env.ReadFile(folder.File("missing\\qmkit.ini"), &bytes));
  EXPECT_FALSE(env.ReadFile(folder.path(), &bytes));
  EXPECT_FALSE(env.ReadFile("", &bytes));
  EXPECT_EQ(bytes, "previous");

  // Another reader holding the file open does not get in the way.
  const HANDLE other = ::CreateFileA(big.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                     nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(other, INVALID_HANDLE_VALUE);
  bytes.clear();
  EXPECT_TRUE(env.ReadFile(big, &bytes));
  EXPECT_TRUE(bytes == content);
  ::CloseHandle(other);
}

TEST(Win32ModuleEnvironmentTest, StampIsTheSizeAndWriteTimeOfAFile) {
  TempFolder folder;
  ASSERT_TRUE(folder.created()) << folder.path();
  const Win32ModuleEnvironment env;
  const std::string path = folder.File("qmkit.ini");
  ASSERT_TRUE(WriteWholeFile(path, std::string(5000, 'a')));
  FILETIME when{};
  when.dwHighDateTime = 0x01D00000;  // a day in 2014: a high word set
  when.dwLowDateTime = 0x80000001;   // and the low word's top bit
  const HANDLE file = ::CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  ASSERT_TRUE(::SetFileTime(file, nullptr, nullptr, &when));
  ::CloseHandle(file);

  FileStamp stamp;
  ASSERT_TRUE(env.StampOf(path, &stamp));
  EXPECT_EQ(stamp.size, 5000u);
  EXPECT_EQ(stamp.written, 0x01D0000080000001LL);
  // Written again: another size and another time.
  ASSERT_TRUE(WriteWholeFile(path, "b"));
  FileStamp again;
  ASSERT_TRUE(env.StampOf(path, &again));
  EXPECT_EQ(again.size, 1u);
  EXPECT_NE(again.written, stamp.written);
  // No stamp for what is not a file.
  EXPECT_FALSE(env.StampOf(folder.File("missing.ini"), &stamp));
  EXPECT_FALSE(env.StampOf(folder.path(), &stamp));
}

TEST(Win32ModuleEnvironmentTest, UserCatalogueBesideTheModuleOverridesPerCategory) {
  TempFolder folder;
  ASSERT_TRUE(folder.created()) << folder.path();
  const Win32ModuleEnvironment env(folder.File("qmkit.dll"));
  ASSERT_TRUE(WriteWholeFile(folder.File("qmkit.ini"),
                             "[BOOK:MyShop]\r\nurl=http://books.example/?q=!s\r\n"));

  // A category the user's file defines comes from it alone.
  SiteCatalogue books;
  EXPECT_EQ(LoadCatalogue(env, "BOOK:", false, books),
            CatalogueSource::kUserFile);
  ASSERT_EQ(books.size(), 1u);
  CatalogueSection section("", nullptr, 0);
  ASSERT_TRUE(books.Find("book:myshop", &section));
  EXPECT_EQ(section.GetString("url", ""), "http://books.example/?q=!s");

  // One it lacks comes from the built-in default, whole.
  SiteCatalogue upc;
  EXPECT_EQ(LoadCatalogue(env, "UPC:", false, upc),
            CatalogueSource::kBuiltInDefault);
  SiteCatalogue expected;
  ParseCatalogue(std::string(CompiledInFile(IDR_DEFAULT_CATALOGUE)), "UPC:",
                 expected);
  EXPECT_FALSE(upc.empty());
  EXPECT_EQ(upc.size(), expected.size());

  // The system entries never come from the user's file.
  ASSERT_TRUE(WriteWholeFile(folder.File("qmkit.ini"),
                             "[SYSTEM:Home]\r\nurl=http://elsewhere.example/\r\n"));
  SiteCatalogue system;
  EXPECT_EQ(LoadCatalogue(env, "SYSTEM:", true, system),
            CatalogueSource::kBuiltInSystem);
  ASSERT_TRUE(system.Find("SYSTEM:Home", &section));
  EXPECT_NE(section.GetString("url", ""), "http://elsewhere.example/");
}

}  // namespace
}  // namespace qm

namespace qm {
namespace {

TEST(Win32ModuleEnvironmentTest, SystemValues) {
  const Win32ModuleEnvironment env;
  // Environment variables: set, empty and missing differ.
  ASSERT_TRUE(::SetEnvironmentVariableA("QMKIT_TEST_VALUE", std::string(300, 'v').c_str()));
  EXPECT_EQ(env.EnvironmentVariable("QMKIT_TEST_VALUE"), std::string(300, 'v'));
  ASSERT_TRUE(::SetEnvironmentVariableA("QMKIT_TEST_VALUE", nullptr));
  EXPECT_EQ(env.EnvironmentVariable("QMKIT_TEST_VALUE"), std::nullopt);
  // The desktop has a work area and window parts of some size.
  int width = 0;
  int height = 0;
  ASSERT_TRUE(env.PrimaryWorkArea(&width, &height));
  EXPECT_GT(width, 0);
  EXPECT_GT(height, 0);
  const ModuleEnvironment::WindowMetrics metrics = env.DesktopWindowMetrics();
  EXPECT_GT(metrics.scroll_bar_width, 0);
  EXPECT_GT(metrics.menu_height, 0);
  // The locale's currency is a three-letter code of the currency table.
  const std::string code = env.UserCurrencyCode();
  ASSERT_EQ(code.size(), 3u) << code;
  EXPECT_NE(FindCurrencyByCode(code), nullptr) << code;
  // 8-bit text is in the ANSI code page, whatever it is on this system.
  EXPECT_NE(dynamic_cast<const Win32CodePage*>(&env.SystemCodePage()), nullptr);
}

}  // namespace
}  // namespace qm
