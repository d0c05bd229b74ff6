// Runs a menu entry's script as the browser does: in the system's JScript
// engine, with the safety options a browser sets for a page's script, and
// a security manager that lets a script create an object only when the
// object declares itself safe for untrusted callers and data.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>

#include "page_objects.h"

namespace qm::standin {

struct ScriptRun {
  std::wstring script;
  // The page's window object, which the script reaches as
  // external.menuArguments.
  IDispatch* menu_arguments = nullptr;
  // The security manager refuses every object, whatever it declares.
  bool refuse_objects = false;
  HWND window = nullptr;  // owner of anything the engine shows
  EventLog* log = nullptr;
};

// The engine's failure to start, or S_OK. An error inside the script is no
// failure here: it goes to the log, as a browser would report it.
HRESULT RunPageScript(const ScriptRun& run);

}  // namespace qm::standin
