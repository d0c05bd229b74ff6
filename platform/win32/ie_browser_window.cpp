#include "ie_browser_window.h"

#include <windows.h>
#include <exdisp.h>
#include <mshtml.h>
#include <servprov.h>
#include <shlguid.h>

#include <string>
#include <utility>

#include "bstr.h"
#include "com_ptr.h"
#include "ie_document.h"
#include "ie_menu_link.h"
#include "ie_reads.h"

namespace qm {
namespace {

// The frame window of the browser that `object` belongs to: the object's
// browser service (IWebBrowser2) and its HWND. Null when a step fails.
HWND BrowserFrameOf(IUnknown* object) {
  ComPtr<IServiceProvider> services;
  if (object == nullptr ||
      FAILED(object->QueryInterface(__uuidof(IServiceProvider),
                                    services.receive_void()))) {
    return nullptr;
  }
  ComPtr<IWebBrowser2> browser;
  if (FAILED(services->QueryService(SID_SWebBrowserApp, __uuidof(IWebBrowser2),
                                    browser.receive_void())) ||
      !browser) {
    return nullptr;
  }
  SHANDLE_PTR frame = 0;
  if (FAILED(browser->get_HWND(&frame))) return nullptr;
  return reinterpret_cast<HWND>(frame);
}

class IeBrowserWindow final : public BrowserWindow {
 public:
  IeBrowserWindow(ComPtr<IHTMLWindow2> window,
                  std::shared_ptr<const MakeForeground> make_foreground)
      : window_(std::move(window)), make_foreground_(std::move(make_foreground)) {}

  std::shared_ptr<BrowserWindow> Top() override {
    return NoThrow([&]() -> std::shared_ptr<BrowserWindow> {
      ComPtr<IHTMLWindow2> top;
      if (FAILED(window_->get_top(top.receive())) || !top) return nullptr;
      return std::make_shared<IeBrowserWindow>(std::move(top), make_foreground_);
    });
  }

  std::optional<std::u16string> Name() override {
    return ReadBstr(window_.get(), &IHTMLWindow2::get_name);
  }

  std::optional<std::u16string> LocationHref() override {
    return ReadBstr(Location().get(), &IHTMLLocation::get_href);
  }

  std::optional<std::u16string> LocationHostname() override {
    return ReadBstr(Location().get(), &IHTMLLocation::get_hostname);
  }

  std::shared_ptr<BrowserDocument> Document() override {
    return NoThrow([&]() -> std::shared_ptr<BrowserDocument> {
      // A frame of another site refuses its document (access denied).
      ComPtr<IHTMLDocument2> document;
      if (FAILED(window_->get_document(document.receive()))) return nullptr;
      return MakeIeDocument(document.get());
    });
  }

  bool ScreenAvailSize(int* width, int* height) override {
    ComPtr<IHTMLScreen> screen;
    if (FAILED(window_->get_screen(screen.receive())) || !screen) return false;
    LONG w = 0;
    LONG h = 0;
    if (FAILED(screen->get_availWidth(&w)) || FAILED(screen->get_availHeight(&h))) {
      return false;
    }
    *width = static_cast<int>(w);
    *height = static_cast<int>(h);
    return true;
  }

  std::shared_ptr<BrowserWindow> Open(const std::u16string& url,
                                      const std::u16string& name,
                                      const std::u16string& features) override {
    return NoThrow([&]() -> std::shared_ptr<BrowserWindow> {
      const ScopedBstr address(url);
      const ScopedBstr window_name(name);
      const ScopedBstr window_features(features);
      if (!address.valid() || !window_name.valid() || !window_features.valid()) {
        return nullptr;
      }
      ComPtr<IHTMLWindow2> opened;
      if (FAILED(window_->open(address.get(), window_name.get(),
                               window_features.get(), VARIANT_FALSE,
                               opened.receive())) ||
          !opened) {
        return nullptr;
      }
      return std::make_shared<IeBrowserWindow>(std::move(opened), make_foreground_);
    });
  }

  // The browser service answers for the top-level window; a frame's own
  // may be missing.
  void BringToFront() override {
    ComPtr<IHTMLWindow2> top;
    if (FAILED(window_->get_top(top.receive())) || !top) return;
    const HWND frame = BrowserFrameOf(top.get());
    if (frame != nullptr) (*make_foreground_)(reinterpret_cast<WindowHandle>(frame));
  }

  bool Navigate(const std::u16string& url) override {
    const ScopedBstr address(url);
    return address.valid() && SUCCEEDED(window_->navigate(address.get()));
  }

 private:
  ComPtr<IHTMLLocation> Location() {
    ComPtr<IHTMLLocation> location;
    if (FAILED(window_->get_location(location.receive()))) location.Reset();
    return location;
  }

  ComPtr<IHTMLWindow2> window_;
  std::shared_ptr<const MakeForeground> make_foreground_;
};

class IeMenuArguments final : public MenuArguments {
 public:
  IeMenuArguments(ComPtr<IUnknown> object,
                  std::shared_ptr<const MakeForeground> make_foreground)
      : object_(std::move(object)), make_foreground_(std::move(make_foreground)) {}

  std::shared_ptr<BrowserWindow> Window() override {
    return NoThrow([&]() -> std::shared_ptr<BrowserWindow> {
      ComPtr<IHTMLWindow2> window = object_.As<IHTMLWindow2>();
      if (!window) return nullptr;
      return std::make_shared<IeBrowserWindow>(std::move(window), make_foreground_);
    });
  }

  WindowHandle BrowserFrame() override {
    return reinterpret_cast<WindowHandle>(BrowserFrameOf(object_.get()));
  }

  std::optional<MenuLink> LinkUnderMenu() override {
    return LinkUnderMouse(object_.As<IHTMLWindow2>().get());
  }

 private:
  ComPtr<IUnknown> object_;
  std::shared_ptr<const MakeForeground> make_foreground_;
};

}  // namespace

std::unique_ptr<MenuArguments> MakeIeMenuArguments(IUnknown* menu_arguments,
                                                   MakeForeground make_foreground) {
  if (!make_foreground) {
    make_foreground = [](WindowHandle frame) {
      ::SetForegroundWindow(reinterpret_cast<HWND>(frame));
    };
  }
  return std::make_unique<IeMenuArguments>(
      ComPtr<IUnknown>::Share(menu_arguments),
      std::make_shared<const MakeForeground>(std::move(make_foreground)));
}

}  // namespace qm
