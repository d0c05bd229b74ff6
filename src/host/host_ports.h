// The ports one host provides, gathered for the flows: a flow needs all of
// them, a test double of each is a few lines.
#pragma once

#include "host/code_page.h"
#include "host/desktop.h"
#include "host/dialog_host.h"
#include "host/module_environment.h"
#include "host/selection_store.h"
#include "host/shell.h"

namespace qm {

struct HostPorts {
  const ModuleEnvironment& environment;
  SelectionStore& selections;
  Desktop& desktop;
  Shell& shell;
  DialogHost& dialogs;
  const CodePage& code_page;
};

}  // namespace qm
