// The dialogs on the full screen: one more view of the dialog models, as
// the Windows dialogs and the extension's window are. Each view shows the
// model and turns keys into the gestures of the answer scripts, played on
// the model; every rule stays in the model. Text from the page and the
// catalogue is made safe and measured before it is drawn.
#pragma once

#include <string>

#include "dialogs/about_dlg.h"
#include "dialogs/ask_convert_dlg.h"
#include "dialogs/ask_currency_dlg.h"
#include "dialogs/choice_dialog.h"
#include "screen_session.h"

namespace qm {

// Each runs the opened dialog until it has a result.
void RunOnScreen(ScreenSession& session, ChoiceDialog& dialog);
void RunOnScreen(ScreenSession& session, CAskCurrencyDlg& dialog);
void RunOnScreen(ScreenSession& session, CAskConvertDlg& dialog);
void RunOnScreen(ScreenSession& session, CAboutDlg& dialog);

}  // namespace qm
