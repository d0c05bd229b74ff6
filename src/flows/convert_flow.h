// The Convert command: propose the quantity found in the selection and let
// the user convert it in the converter dialog. Nothing is opened or stored.
#pragma once

#include "context/request_context.h"
#include "dialogs/dialog_resources.h"
#include "host/code_page.h"
#include "host/desktop.h"
#include "host/dialog_host.h"
#include "host/selection_store.h"

namespace qm {

// Loads the "UNIT:" sections (the user's file, else the built-in default),
// builds the unit table with the regional names of the page's top-level
// domain (a gallon is imperial on a .uk page), parses the selection as captured (not tidied) and
// runs the converter dialog, shown with `resources`, owned by the browser
// window. The "To" unit last used in each category comes from `selections`
// and the ones the person picked go back there when the dialog ends, by
// either button: the converter opens nothing, so Cancel only closes it.
// The dialog, the proposed amount, the table and the catalogue are released
// in that order before it returns. Reports nothing to the caller.
void RunConvertFlow(RequestContext& context, Desktop& desktop,
                    DialogHost& dialogs, SelectionStore& selections,
                    const CodePage& code_page, const DialogResources& resources);

}  // namespace qm
