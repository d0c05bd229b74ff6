// How long a menu pick takes inside the component, from IDispatch::Invoke of
// Click to the browser's window.open for the first chosen site: the ISBN
// command on a page whose address holds an ISBN, its dialog answered at
// once. Runs under Wine: wine qm_click_bench.exe [picks]
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "aquillmark.h"
#include "catalogue/catalogue_cache.h"
#include "host/memory_selection_store.h"
#include "ie_page_doubles.h"
#include "menu_command.h"
#include "support/fake_desktop.h"
#include "support/fake_dialog_host.h"
#include "support/fake_shell.h"
#include "win32_module_environment.h"

namespace qm {
namespace {

using Clock = std::chrono::steady_clock;

// A window whose open notes when it was first called.
struct TimedWindowDouble : HtmlWindowDouble {
  Clock::time_point first_open{};
  HRESULT STDMETHODCALLTYPE open(BSTR url, BSTR name, BSTR features, VARIANT_BOOL replace,
                                 IHTMLWindow2** out) override {
    if (opened.empty()) first_open = Clock::now();
    return HtmlWindowDouble::open(url, name, features, replace, out);
  }
};

ComPtr<TimedWindowDouble> IsbnPage() {
  ComPtr<TimedWindowDouble> window = MakeDouble<TimedWindowDouble>();
  ComPtr<HtmlLocationDouble> location = MakeDouble<HtmlLocationDouble>();
  location->href = u"http://www.example.com/dp/0306406152/ref=x";
  location->hostname = u"www.example.com";
  ComPtr<HtmlScreenDouble> screen = MakeDouble<HtmlScreenDouble>();
  screen->avail_width = 1024;
  screen->avail_height = 738;
  ComPtr<HtmlDocumentDouble> document = MakeDouble<HtmlDocumentDouble>();
  document->title = u"A book";
  window->location = location;
  window->screen = screen;
  window->document = document;
  window->open_gives = MakeDouble<HtmlWindowDouble>();
  return window;
}

double Microseconds(Clock::duration d) {
  return std::chrono::duration<double, std::micro>(d).count();
}

int Run(int picks) {
  ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  // No user catalogue: the module path stands in a folder without one. The
  // parsed catalogues are kept from pick to pick, as the module keeps them.
  CatalogueCache kept;
  Win32ModuleEnvironment environment("C:\\qmkit-bench-none\\qmkit.dll", &kept);
  FakeDesktop desktop;
  FakeShell shell;
  FakeDialogHost dialogs;
  MemorySelectionStore selections;
  SetMenuCommandPorts({&environment, &desktop, &shell, &dialogs, &selections});

  ComPtr<IDispatch> object;
  if (FAILED(CAQuillmark::Create(nullptr, IID_IDispatch, object.receive_void()))) {
    std::fprintf(stderr, "cannot create the component\n");
    return 1;
  }
  std::vector<double> to_open, whole;
  for (int i = 0; i < picks; ++i) {
    ComPtr<TimedWindowDouble> page = IsbnPage();
    dialogs.scripts = {"ok"};
    VARIANT args[4];
    for (VARIANT& v : args) ::VariantInit(&v);
    args[3].vt = VT_UNKNOWN;
    args[3].punkVal = page->Window();
    args[2].vt = VT_BSTR;
    args[2].bstrVal = ::SysAllocString(L"ISBN");
    args[1].vt = VT_BSTR;
    args[1].bstrVal = ::SysAllocString(L"");
    args[0].vt = VT_BSTR;
    args[0].bstrVal = ::SysAllocString(L"");
    DISPPARAMS params{args, nullptr, 4, 0};
    const Clock::time_point start = Clock::now();
    object->Invoke(1, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr,
                   nullptr, nullptr);
    const Clock::time_point end = Clock::now();
    for (int a = 0; a < 3; ++a) ::VariantClear(&args[a]);
    if (page->opened.empty()) {
      std::fprintf(stderr, "pick %d opened no window\n", i);
      return 1;
    }
    to_open.push_back(Microseconds(page->first_open - start));
    whole.push_back(Microseconds(end - start));
  }
  auto report = [](const char* what, std::vector<double> v) {
    std::sort(v.begin(), v.end());
    std::printf("%-28s median %8.1f us  p90 %8.1f us  min %8.1f us\n", what, v[v.size() / 2],
                v[v.size() * 9 / 10], v.front());
  };
  std::printf("%d ISBN picks, dialog answered at once\n", picks);
  report("Invoke to first open", to_open);
  report("whole Click", whole);
  SetMenuCommandPorts({});
  object = {};
  ::CoUninitialize();
  return 0;
}

}  // namespace
}  // namespace qm

int main(int argc, char** argv) {
  const int picks = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
  return qm::Run(picks);
}
