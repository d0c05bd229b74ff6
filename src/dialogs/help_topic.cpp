#include "dialogs/help_topic.h"

namespace qm {

std::string HelpTopicAddress(std::string_view module_path,
                             std::string_view topic_page) {
  const std::size_t slash = module_path.find_last_of("\\/");
  std::string address(slash == std::string_view::npos
                          ? std::string_view{}
                          : module_path.substr(0, slash + 1));
  address += "qmkit.chm::/";
  address += topic_page;
  return address;
}

void OpenHelpTopic(const RequestContext& context, Desktop& desktop,
                   std::string_view topic_page) {
  desktop.ShowHelp(
      context.browserWindow(),
      HelpTopicAddress(context.environment().ModulePath(), topic_page));
}

}  // namespace qm
