#include "actions/command_line.h"

#include <optional>

#include "actions/template_expansion.h"
#include "strings/string_table.h"

namespace qm {

std::string BuildCommandLine(const SiteEntry& entry, RequestContext& context,
                             const CodePage& code_page) {
  const ValueEncoding encoding =
      entry.URLEncode ? ValueEncoding::kPercent : ValueEncoding::kCommandLine;
  std::string expansion = code_page.ToNarrow(
      ExpandTemplate(entry.command, context, code_page, encoding, entry.charset));
  if (!entry.useConsole) return expansion;

  const std::optional<std::string> comspec =
      context.environment().EnvironmentVariable("COMSPEC");
  std::string line = comspec && !comspec->empty() ? *comspec : "COMMAND.COM";
  // Without a switch the interpreter would start an interactive console
  // and never run the command.
  line += entry.leaveConsole ? " /K " : " /C ";
  line += '"';
  line += expansion;
  line += '"';
  return line;
}

void RunEntryCommand(const SiteEntry& entry, RequestContext& context,
                     const CodePage& code_page, Desktop& desktop) {
  std::u16string error_text;
  if (desktop.StartProcess(BuildCommandLine(entry, context, code_page),
                           &error_text)) {
    return;
  }
  desktop.ShowMessage(0, error_text, std::u16string(LoadString(kStringProductName)),
                      MessageStyle{MessageIcon::kStop, MessageButtons::kOk});
}

}  // namespace qm
