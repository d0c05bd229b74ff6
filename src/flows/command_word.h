// One menu command as every host knows it: the word its menu entry passes
// to Click, the texts its menu entries show, the catalogue category its
// flow reads, the dialog it shows and the flow that runs it.
#pragma once

#include <string_view>

#include "context/request_context.h"
#include "dialogs/dialog_resources.h"
#include "host/host_ports.h"

namespace qm {

struct CommandWord;

// A command's procedure; `command` is its own row of the table, for the
// category, dialog template and help topic the row names.
using FlowFunction = void (*)(const CommandWord& command, RequestContext& context,
                              HostPorts& ports);

struct CommandWord {
  std::u16string_view word;  // "ISBN", compared exactly
  int menu_text;             // string id of the menu entry's text ("=>ISBN")
  int status_text;           // string id of its status-bar text
  // The word of the catalogue category whose sections the flow reads ("ISBN";
  // "UNIT" for the converter, "SYSTEM" for the configure command's system
  // entry); see CatalogueCategories.
  std::string_view category;
  DialogResources dialog;    // the template and help topic of its dialog
  // Where the extension's context menu shows the command, counted from 1
  // (the configure entry last).
  int menu_position;
  FlowFunction flow;
};

}  // namespace qm
