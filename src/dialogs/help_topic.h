// Help topics: pages of the compiled help file beside the module.
#pragma once

#include <string>
#include <string_view>

#include "context/request_context.h"
#include "host/desktop.h"

namespace qm {

// The address of a topic page: the module's folder, "qmkit.chm", "::/" and
// the page. "C:\\Dir\\qmkit.dll" and "HelpISBN.htm" give
// "C:\\Dir\\qmkit.chm::/HelpISBN.htm". Both "\\" and "/" end a folder; a
// path without either gives just the file name.
std::string HelpTopicAddress(std::string_view module_path,
                             std::string_view topic_page);

// Shows `topic_page` owned by the browser's main window. Failures are
// silent: help that cannot be shown simply does not appear.
void OpenHelpTopic(const RequestContext& context, Desktop& desktop,
                   std::string_view topic_page);

}  // namespace qm
