// The WebAssembly module's entry points, called by the extension's
// background script.
#include <emscripten.h>

#include <string>

#include "extension_desktop.h"
#include "extension_dialogs.h"
#include "extension_environment.h"
#include "extension_page.h"
#include "flows/command_dispatch.h"
#include "text/json_writer.h"
#include "strings/string_table.h"
#include "text/utf8.h"
#include "text/windows_1252.h"

namespace {

struct MenuEntry {
  const char* word;
  int menu_text;
  int status_text;
};

// The context menu's entries, in the order the browser shows them.
constexpr MenuEntry kMenuEntries[] = {
    {"BOOK", IDS_MENU_BOOK, IDS_STATUS_BOOK},
    {"ISBN", IDS_MENU_ISBN, IDS_STATUS_ISBN},
    {"UPC", IDS_MENU_UPC, IDS_STATUS_UPC},
    {"MOVIE", IDS_MENU_MOVIE, IDS_STATUS_MOVIE},
    {"MUSIC", IDS_MENU_MUSIC, IDS_STATUS_MUSIC},
    {"SEARCH", IDS_MENU_SEARCH, IDS_STATUS_SEARCH},
    {"STOCK", IDS_MENU_STOCK, IDS_STATUS_STOCK},
    {"TRANSLATE", IDS_MENU_TRANSLATE, IDS_STATUS_TRANSLATE},
    {"URL", IDS_MENU_URL, IDS_STATUS_URL},
    {"EMAIL", IDS_MENU_EMAIL, IDS_STATUS_EMAIL},
    {"CURRENCY", IDS_MENU_CURRENCY, IDS_STATUS_CURRENCY},
    {"CONVERT", IDS_MENU_CONVERT, IDS_STATUS_CONVERT},
    {"OTHER", IDS_MENU_OTHER, IDS_STATUS_OTHER},
    {"CONFIG", IDS_MENU_CONFIG, IDS_STATUS_CONFIG},
};

}  // namespace

extern "C" {

// The menu as JSON: the product's name and the entries, each with its
// command word, its text and its status text. The text lives as long as
// the module.
EMSCRIPTEN_KEEPALIVE const char* qm_menu() {
  static const std::string menu = [] {
    qm::JsonWriter json;
    json.BeginObject()
        .Key("product").String(qm::LoadText(IDS_PRODUCT_NAME))
        .Key("entries").BeginArray();
    for (const MenuEntry& entry : kMenuEntries) {
      json.BeginObject()
          .Key("word").String(entry.word)
          .Key("title").String(qm::LoadText(entry.menu_text))
          .Key("status").String(qm::LoadText(entry.status_text))
          .EndObject();
    }
    json.EndArray().EndObject();
    return json.text();
  }();
  return menu.c_str();
}

// Runs the menu command `word` (UTF-8, such as "ISBN") on the page the
// click's request describes. Returns when the command's flow has ended;
// called through the asynchronous ccall, as the flow waits for dialogs.
EMSCRIPTEN_KEEPALIVE void qm_click(const char* word) {
  using namespace qm;
  const ExtensionEnvironment environment;
  ExtensionSelectionStore selections;
  ExtensionDesktop desktop;
  ExtensionDialogs dialogs;
  const Windows1252CodePage code_page;
  ExtensionPage page;
  HostPorts ports{environment, selections, desktop, desktop, dialogs, code_page};
  Click(FromUtf8(word), &page, ports);
}

}  // extern "C"
