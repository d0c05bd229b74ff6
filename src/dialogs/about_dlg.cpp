#include "dialogs/about_dlg.h"

#include "dialogs/help_topic.h"

namespace qm {

void CAboutDlg::Help() { OpenHelpTopic(context_, desktop_, "HelpIndex.htm"); }

void CAboutDlg::Customization() {
  OpenHelpTopic(context_, desktop_, "HelpCustomize.htm");
}

}  // namespace qm
