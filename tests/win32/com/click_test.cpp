// Click from end to end: the component's IDispatch, the core's flows over the
// IE page (doubles of the browser's interfaces), the Win32 shell and the
// simple MAPI seam, with the dialogs answered by a script.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "aquillmark.h"
#include "bstr.h"
#include "com_ptr.h"
#include "com_test_support.h"
#include "flows/command_dispatch.h"
#include "host/memory_selection_store.h"
#include "ie_page_doubles.h"
#include "menu_command.h"
#include "support/fake_browser.h"
#include "support/fake_desktop.h"
#include "support/fake_dialog_host.h"
#include "support/fake_shell.h"
#include "win32_module_environment.h"
#include "win32_shell.h"

namespace qm {
namespace {

// One page, described once and built both as IE doubles and as the
// portable fake, so a run through the component can be compared with the
// same command run by the core alone.
struct Page {
  std::u16string href, hostname, title, selection, selection_html;
};

struct IePage {
  ComPtr<HtmlWindowDouble> window;
  ComPtr<HtmlDocumentDouble> document;
};

IePage BuildIePage(const Page& page) {
  IePage ie{MakeDouble<HtmlWindowDouble>(), MakeDouble<HtmlDocumentDouble>()};
  ComPtr<HtmlLocationDouble> location = MakeDouble<HtmlLocationDouble>();
  location->href = page.href;
  location->hostname = page.hostname;
  ComPtr<HtmlScreenDouble> screen = MakeDouble<HtmlScreenDouble>();
  screen->avail_width = 1024;
  screen->avail_height = 738;
  ie.document->title = page.title;
  ie.document->SetBody(MakeDouble<HtmlElementDouble>());
  if (!page.selection.empty()) {
    ComPtr<HtmlTextRangeDouble> range = MakeDouble<HtmlTextRangeDouble>();
    range->text = page.selection;
    range->html_text = page.selection_html;
    ComPtr<HtmlSelectionDouble> selection = MakeDouble<HtmlSelectionDouble>();
    selection->range = range;
    ie.document->selection = selection;
  }
  ie.window->location = location;
  ie.window->screen = screen;
  ie.window->document = ie.document;
  ie.window->name = u"";
  return ie;
}

FakeMenuArguments BuildFakePage(const Page& page) {
  FakeMenuArguments arguments;
  arguments.window = std::make_shared<FakeWindow>();
  arguments.window->href = page.href;
  arguments.window->hostname = page.hostname;
  arguments.window->name = u"";
  arguments.window->screen = {{1024, 738}};
  arguments.window->document = std::make_shared<FakeDocument>();
  arguments.window->document->title = page.title;
  if (!page.selection.empty()) {
    arguments.window->document->selection = FakeTextRange(page.selection, page.selection_html);
  }
  return arguments;
}

std::string Narrow(const std::wstring& text) {
  return std::string(text.begin(), text.end());  // scratch paths are ASCII
}

// A path of the build as Windows sees it under Wine.
std::string WindowsPath(const char* unix_path) {
  std::string path = unix_path;
  for (char& c : path) c = c == '/' ? '\\' : c;
  return path[0] == '\\' ? "Z:" + path : path;
}

class ClickEndToEnd : public ::testing::Test {
 protected:
  ClickEndToEnd()
      : environment_(Narrow(folder_.File(L"qmkit.dll"))),
        shell_({WindowsPath(QM_MAIL_STUB_DLL), "MAPISendMail"}) {}

  void SetUp() override {
    SetMenuCommandPorts({&environment_, &desktop_, &shell_, &dialogs_, &selections_});
  }
  void TearDown() override {
    SetMenuCommandPorts({});
    ::SetEnvironmentVariableA("QM_MAPI_STUB_CALL", nullptr);
  }

  // The user's catalogue beside the stand-in module path.
  void WriteCatalogue(const std::string& text) {
    HANDLE file = ::CreateFileW(folder_.File(L"qmkit.ini").c_str(), GENERIC_WRITE, 0,
                                nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    ::CloseHandle(file);
  }

  // Calls Click as the menu page's script does: through IDispatch::Invoke
  // with the window object, the word and two empty texts.
  HRESULT InvokeClick(IUnknown* window, const wchar_t* word) {
    ComPtr<IDispatch> object;
    HRESULT hr = CAQuillmark::Create(nullptr, IID_IDispatch, object.receive_void());
    if (FAILED(hr)) return hr;
    VARIANT args[4];
    for (VARIANT& v : args) ::VariantInit(&v);
    // Arguments go in reverse order.
    args[3].vt = VT_UNKNOWN;
    args[3].punkVal = window;
    args[2].vt = VT_BSTR;
    args[2].bstrVal = ::SysAllocString(word);
    args[1].vt = VT_BSTR;
    args[1].bstrVal = ::SysAllocString(L"");
    args[0].vt = VT_BSTR;
    args[0].bstrVal = ::SysAllocString(L"");
    DISPPARAMS params{args, nullptr, 4, 0};
    VARIANT result;
    ::VariantInit(&result);
    hr = object->Invoke(1, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params,
                        &result, nullptr, nullptr);
    for (int i = 0; i < 3; ++i) ::VariantClear(&args[i]);
    return hr;
  }

  test::ScratchFolder folder_;
  Win32ModuleEnvironment environment_;
  FakeDesktop desktop_;
  FakeDialogHost dialogs_;
  MemorySelectionStore selections_;
  Win32Shell shell_;
};

// Whatever the window object or the word, the script sees S_OK; what cannot
// run gives one error beep and no dialog.
TEST_F(ClickEndToEnd, AnUnusableWindowOrWordBeepsOnceAndReturnsOk) {
  const IePage page = BuildIePage({u"http://www.example.com/", u"www.example.com", u"A page", u"", u""});
  ComPtr<HtmlLocationDouble> not_a_window = MakeDouble<HtmlLocationDouble>();
  struct Case {
    IUnknown* window;
    const wchar_t* word;
  } cases[] = {
      {not_a_window.get(), L"CONFIG"},
      {nullptr, L"ISBN"},
      {page.window->Window(), L"Book"},
      {page.window->Window(), L"BOOK "},
      {page.window->Window(), L""},
  };
  for (const Case& c : cases) {
    desktop_.beeps.clear();
    EXPECT_EQ(InvokeClick(c.window, c.word), S_OK);
    EXPECT_EQ(desktop_.beeps, std::vector<BeepKind>{BeepKind::kError});
  }
  EXPECT_EQ(dialogs_.dialogs_run, 0);
  EXPECT_TRUE(page.window->opened.empty());
}

// The ISBN command on a page whose address holds an ISBN: the component
// offers the same text and opens the same windows as the core does with the
// portable page, and the IE page's open receives them whole.
TEST_F(ClickEndToEnd, IsbnOpensTheChosenSitesThroughTheWindowsOpen) {
  const Page data{u"http://www.example.com/dp/0306406152/ref=x", u"www.example.com",
                  u"A book", u"", u""};
  const IePage page = BuildIePage(data);
  page.window->open_gives = MakeDouble<HtmlWindowDouble>();
  dialogs_.scripts = {"ok"};
  ASSERT_EQ(InvokeClick(page.window->Window(), L"ISBN"), S_OK);
  ASSERT_TRUE(dialogs_.script_errors.empty()) << dialogs_.script_errors[0];
  ASSERT_EQ(dialogs_.dialog_texts, std::vector<std::u16string>{u"0306406152"});

  // The same command, the same page, the core alone.
  FakeDesktop desktop;
  FakeShell shell;
  FakeDialogHost dialogs;
  MemorySelectionStore selections;
  dialogs.scripts = {"ok"};
  FakeMenuArguments portable = BuildFakePage(data);
  HostPorts ports{environment_, selections, desktop, shell, dialogs,
                  environment_.SystemCodePage()};
  Click(u"ISBN", &portable, ports);

  ASSERT_FALSE(portable.window->opened.empty());
  ASSERT_EQ(page.window->opened.size(), portable.window->opened.size());
  for (std::size_t i = 0; i < page.window->opened.size(); ++i) {
    const auto& ie = page.window->opened[i];
    const auto& core = portable.window->opened[i];
    EXPECT_EQ(ie.url, core.url);
    EXPECT_EQ(ie.name, core.name);
    EXPECT_EQ(ie.features, core.features);
    EXPECT_EQ(ie.replace, VARIANT_FALSE);
    EXPECT_NE(ie.url.find(u"0306406152"), std::u16string::npos) << i;
  }
  EXPECT_EQ(selections_.values(), selections.values());
  EXPECT_TRUE(desktop_.beeps.empty());
}

// Links are followed by inserting an anchor into the page and clicking it;
// the page's address is escaped in the markup, and a second link of the same
// run follows its own address, not the first one's.
TEST_F(ClickEndToEnd, LinksAreFollowedThroughTheirOwnInsertedAnchors) {
  WriteCatalogue(
      "[TRANSLATE:One]\nshortDescription=One\nhref=http://one.example/?u=!u\nURLEncode=0\n"
      "[TRANSLATE:Two]\nshortDescription=Two\nhref=http://two.example/?u=!u\nURLEncode=0\n");
  const IePage page = BuildIePage({u"http://www.example.com/a?q=\"><b>x</b>", u"www.example.com",
                                   u"A page", u"", u""});
  dialogs_.scripts = {"toggle 2; ok"};
  ASSERT_EQ(InvokeClick(page.window->Window(), L"TRANSLATE"), S_OK);
  ASSERT_TRUE(dialogs_.script_errors.empty()) << dialogs_.script_errors[0];

  const auto& inserted = page.document->body->inserted;
  ASSERT_EQ(inserted.size(), 2u);
  for (const auto& insertion : inserted) {
    EXPECT_EQ(insertion.where, u"beforeEnd");
    EXPECT_EQ(insertion.html.find(u"<b>"), std::u16string::npos) << "page text became markup";
    EXPECT_NE(insertion.html.find(u"&quot;&gt;&lt;b&gt;"), std::u16string::npos);
  }
  EXPECT_NE(inserted[0].html.find(u"http://one.example/"), std::u16string::npos);
  EXPECT_NE(inserted[1].html.find(u"http://two.example/"), std::u16string::npos);
  // The first anchor is gone before the second is inserted, so the click
  // finds the second one, which is left in the page, clicked once.
  ASSERT_EQ(page.document->elements.size(), 1u);
  EXPECT_EQ(page.document->elements[0]->outer_html, inserted[1].html);
  EXPECT_EQ(page.document->elements[0]->clicks, 1);
  EXPECT_TRUE(desktop_.beeps.empty());
}

// A command entry starts a real process: the file it writes appears.
TEST_F(ClickEndToEnd, ACommandEntryStartsItsProgram) {
  const std::string marker = Narrow(folder_.File(L"started.txt"));
  // Templates take "\\" for one backslash.
  std::string escaped;
  for (char c : marker) escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
  WriteCatalogue("[OTHER:Mark]\nshortDescription=Mark\nURLEncode=0\ncommand=cmd.exe /c echo started> " +
                 escaped + "\n");
  const IePage page = BuildIePage({u"http://www.example.com/", u"www.example.com", u"A page",
                                   u"text", u"text"});
  dialogs_.scripts = {"ok"};
  ASSERT_EQ(InvokeClick(page.window->Window(), L"OTHER"), S_OK);
  ASSERT_TRUE(dialogs_.script_errors.empty()) << dialogs_.script_errors[0];
  EXPECT_TRUE(desktop_.messages.empty());
  bool found = false;
  for (int i = 0; i < 100 && !found; ++i) {
    found = ::GetFileAttributesA(marker.c_str()) != INVALID_FILE_ATTRIBUTES;
    if (!found) ::Sleep(50);
  }
  EXPECT_TRUE(found) << marker;
}

// When the browser refuses the mailto: address the mail goes to simple
// MAPI: here the stand-in library, which records the message it was given.
TEST_F(ClickEndToEnd, MailGoesThroughMapiWhenTheBrowserRefusesMailto) {
  const IePage page = BuildIePage({u"http://www.example.com/news", u"www.example.com",
                                   u"Daily news", u"friend@example.org", u"friend@example.org"});
  page.window->navigate_status = E_FAIL;
  dialogs_.scripts = {"ok"};  // "Email the selected address" is chosen
  ASSERT_EQ(InvokeClick(page.window->Window(), L"EMAIL"), S_OK);
  ASSERT_TRUE(dialogs_.script_errors.empty()) << dialogs_.script_errors[0];

  ASSERT_EQ(page.window->navigated.size(), 1u);
  EXPECT_EQ(page.window->navigated[0].rfind(u"mailto:", 0), 0u);
  char call[4096] = {};
  ASSERT_GT(::GetEnvironmentVariableA("QM_MAPI_STUB_CALL", call, sizeof call), 0u)
      << "the mail program was not called";
  const std::string recorded = call;
  EXPECT_NE(recorded.find("subject=Daily news\n"), std::string::npos) << recorded;
  EXPECT_NE(recorded.find("class=1 name=(null) address=friend@example.org"), std::string::npos)
      << recorded;
  EXPECT_TRUE(desktop_.messages.empty());
}

}  // namespace
}  // namespace qm
