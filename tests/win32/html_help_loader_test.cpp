#include "html_help_loader.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <thread>
#include <vector>

#include "stub_calls.h"
#include "win32_handles.h"

namespace qm {
namespace {

// Copies of one stand-in: the first is named in the registry, the second
// loaded by name, the third slow to load.
constexpr char kStub[] = "qm_help_control_stub.dll";
constexpr char kFallbackStub[] = "qm_help_control_fallback.dll";
constexpr char kSlowStub[] = "qm_help_control_slow.dll";
constexpr char kMissing[] = "qm_no_such_help_control.dll";
const HWND kStubWindow = reinterpret_cast<HWND>(static_cast<UINT_PTR>(0x4242));

// A registry key of the test's own standing in for the control's class key,
// under HKEY_CURRENT_USER, removed at the end.
class HelpLoaderTest : public ::testing::Test {
 protected:
  HelpLoaderTest()
      : parent_("Software\\qmkit-tests\\help-" + std::to_string(::GetCurrentProcessId())),
        key_(parent_ + "\\InprocServer32") {
    TakeStubRecord("QM_HELP_STUB_CALLS");
  }
  ~HelpLoaderTest() override { ::RegDeleteTreeA(HKEY_CURRENT_USER, parent_.c_str()); }

  void SetValue(DWORD type, const std::string& value) {
    ScopedRegistryKey key;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, 0,
                                KEY_WRITE, nullptr, key.receive(), nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(::RegSetValueExA(key.get(), nullptr, 0, type,
                               reinterpret_cast<const BYTE*>(value.c_str()),
                               static_cast<DWORD>(value.size() + 1)),
              ERROR_SUCCESS);
  }
  HtmlHelpLoader::Location Where(const char* fallback, WORD ordinal = 14) const {
    return {HKEY_CURRENT_USER, key_.c_str(), fallback, ordinal};
  }

  std::string parent_;
  std::string key_;
};

// The file named in the registry is loaded, rather than the one by name;
// the four arguments reach its entry point at ordinal 14 and its window
// comes back.
TEST_F(HelpLoaderTest, LoadsTheFileTheRegistryNames) {
  struct Case {
    DWORD type;
    std::string value;
  };
  ::SetEnvironmentVariableA("QM_TEST_FOLDER", TestProgramFolder().c_str());
  const Case cases[] = {
      {REG_SZ, TestProgramFolder() + kStub},
      {REG_EXPAND_SZ, std::string("%QM_TEST_FOLDER%") + kStub},
  };
  for (const Case& c : cases) {
    SetValue(c.type, c.value);
    HtmlHelpLoader loader(Where(kFallbackStub));
    EXPECT_EQ(loader.HtmlHelpA(reinterpret_cast<HWND>(static_cast<UINT_PTR>(0x77)),
                               "C:\\Dir\\qmkit.chm::/HelpISBN.htm", 15, 16),
              kStubWindow)
        << c.value;
    EXPECT_EQ(TakeStubRecord("QM_HELP_STUB_CALLS"),
              std::string(kStub) +
                  " owner=0x77 file=C:\\Dir\\qmkit.chm::/HelpISBN.htm command=15 data=16\n")
        << c.value;
  }
}

// Without a usable registry entry the control is loaded by name.
TEST_F(HelpLoaderTest, FallsBackToTheNameWhenTheRegistryDoesNotHelp) {
  struct Case {
    const char* what;
    DWORD type;  // 0: no key at all
    std::string value;
  };
  const Case cases[] = {
      {"no key", 0, ""},
      {"a file that is not there", REG_SZ, "C:\\nowhere\\hhctrl.ocx"},
      {"a value that is not text", REG_BINARY, TestProgramFolder() + kStub},
  };
  for (const Case& c : cases) {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, parent_.c_str());
    if (c.type != 0) SetValue(c.type, c.value);
    HtmlHelpLoader loader(Where(kFallbackStub));
    EXPECT_EQ(loader.HtmlHelpA(nullptr, "a.chm::/b.htm", kHhDisplayTopic, 0), kStubWindow)
        << c.what;
    EXPECT_EQ(TakeStubRecord("QM_HELP_STUB_CALLS"),
              std::string(kFallbackStub) + " owner=0x0 file=a.chm::/b.htm command=0 data=0\n")
        << c.what;
  }
}

// A control that cannot be found, or that lacks the entry point, is given
// up for good: later calls try nothing, even once it could be found.
TEST_F(HelpLoaderTest, GivesUpForGood) {
  HtmlHelpLoader nowhere(Where(kMissing));
  EXPECT_EQ(nowhere.HtmlHelpA(nullptr, "a.chm::/b.htm", 0, 0), nullptr);
  SetValue(REG_SZ, TestProgramFolder() + kStub);
  EXPECT_EQ(nowhere.HtmlHelpA(nullptr, "a.chm::/b.htm", 0, 0), nullptr);

  HtmlHelpLoader no_entry(Where(kStub, 15));
  EXPECT_EQ(no_entry.HtmlHelpA(nullptr, "a.chm::/b.htm", 0, 0), nullptr);
  EXPECT_EQ(no_entry.HtmlHelpA(nullptr, "a.chm::/b.htm", 0, 0), nullptr);

  EXPECT_EQ(TakeStubRecord("QM_HELP_STUB_CALLS"), "");
  // The same registry value serves a loader that has not given up.
  HtmlHelpLoader fresh(Where(kMissing));
  EXPECT_EQ(fresh.HtmlHelpA(nullptr, "a.chm::/b.htm", 0, 0), kStubWindow);
}

// Threads that ask while the control is still loading wait for it and all
// reach it.
TEST_F(HelpLoaderTest, CallersOnSeveralThreadsAllReachTheControl) {
  HtmlHelpLoader loader(Where(kSlowStub));
  std::vector<HWND> results(6);
  std::vector<std::thread> threads;
  for (HWND& result : results) {
    threads.emplace_back([&loader, &result] {
      result = loader.HtmlHelpA(nullptr, "a.chm::/b.htm", 0, 0);
    });
  }
  for (std::thread& t : threads) t.join();
  for (HWND result : results) EXPECT_EQ(result, kStubWindow);
  EXPECT_EQ(TakeStubRecord("QM_HELP_STUB_CALLS").size(),
            results.size() *
                (std::string(kSlowStub) + " owner=0x0 file=a.chm::/b.htm command=0 data=0\n")
                    .size());
}

// The process's loader finds the system's control.
TEST(HtmlHelpControl, TheProcessLoaderFindsTheSystemsControl) {
  HtmlHelpLoader& loader = HtmlHelpLoader::Process();
  EXPECT_EQ(&loader, &HtmlHelpLoader::Process());
  // A missing help file shows nothing.
  EXPECT_EQ(loader.HtmlHelpA(nullptr, "C:\\nowhere\\qmkit.chm::/HelpIndex.htm",
                             kHhDisplayTopic, 0),
            nullptr);
  EXPECT_NE(::GetModuleHandleA("hhctrl.ocx"), nullptr);
}

}  // namespace
}  // namespace qm
