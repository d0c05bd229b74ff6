#include "menu_command.h"

namespace qm {

void RunMenuCommand(IUnknown*, const wchar_t*) {
  // The commands themselves are wired to the browser and the core apart
  // from the component; until then a pick only sounds the error beep.
  ::MessageBeep(MB_ICONHAND);
}

}  // namespace qm
