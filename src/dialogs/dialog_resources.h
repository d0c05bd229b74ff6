// What a dialog model is shown with: the template of its window and the help
// topic behind its Help button. Each command names its own (see
// CommandWordTable), so a model shared by several commands shows each one's.
#pragma once

namespace qm {

struct DialogResources {
  // The dialog template a window view is built from (IDD_ASK_ISBN); 0 for
  // a dialog whose view brings its own.
  int template_id = 0;
  // The page the Help button opens ("HelpISBN.htm").
  const char* help_topic = "";
};

}  // namespace qm
