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

extern "C" {

// The menu as JSON: the product's name and the entries in the order the
// context menu shows them, each with its command word, its text and its
// status text. The text lives as long as
// the module.
EMSCRIPTEN_KEEPALIVE const char* qm_menu() {
  static const std::string menu = [] {
    qm::JsonWriter json;
    json.BeginObject()
        .Key("product").String(qm::LoadText(IDS_PRODUCT_NAME))
        .Key("entries").BeginArray();
    for (const qm::CommandWord* command : qm::CommandsInMenuOrder()) {
      json.BeginObject()
          .Key("word").String(command->word)
          .Key("title").String(qm::LoadText(command->menu_text))
          .Key("status").String(qm::LoadText(command->status_text))
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
