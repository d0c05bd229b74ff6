#include "dialogs/about_dlg.h"

#include "dialogs/help_topic.h"
#include "resource_ids.h"

namespace qm {

void CAboutDlg::Help() { OpenHelpTopic(context_, desktop_, help_topic_); }

void CAboutDlg::Customization() {
  OpenHelpTopic(context_, desktop_, HELP_TOPIC_CUSTOMIZE);
}

}  // namespace qm
