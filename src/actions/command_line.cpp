#include "actions/command_line.h"

#include <optional>
#include <string_view>
#include <vector>

#include "actions/template_expansion.h"
#include "actions/windows_command_line.h"
#include "strings/string_table.h"

namespace qm {
namespace {

// Placeholders whose values are the system's own, not the page's: the
// module's folder, the credit line and the user's currency code. Every
// other placeholder counts as the page's, the source currency too: it is
// always a code of the built-in table, but the page chooses which, and so
// must not choose the program.
bool IsOwnPlaceholder(char letter) {
  return std::string_view("IiCcLl").find(letter) != std::string_view::npos;
}

void Append(std::vector<CommandPiece>* pieces, CommandSource source,
            std::u16string text) {
  if (source == CommandSource::kTemplate && !pieces->empty() &&
      pieces->back().source == CommandSource::kTemplate) {
    pieces->back().text += text;
  } else {
    pieces->push_back({source, std::move(text)});
  }
}

struct Expanded {
  std::vector<CommandPiece> exact;  // values as they are (or percent-encoded)
  std::vector<CommandPiece> line;   // values as the command line takes them
  bool too_long = false;            // some piece would pass the limit
};

// The command template in pieces, each placeholder and escape expanded on
// its own (the expansion is one pass over two-character tokens, so a piece
// expands as it would within the whole). Stops with too_long set as soon as
// either form would pass `limit` characters, without building the rest.
Expanded ExpandPieces(const SiteEntry& entry, RequestContext& context,
                      const CodePage& code_page, std::size_t limit) {
  const std::string_view tmpl = entry.command;
  const ValueEncoding exact =
      entry.URLEncode ? ValueEncoding::kPercent : ValueEncoding::kNone;
  const ValueEncoding line =
      entry.URLEncode ? ValueEncoding::kPercent : ValueEncoding::kCommandLine;
  Expanded out;
  std::size_t exact_size = 0;
  std::size_t line_size = 0;
  const auto expand_within = [&](std::string_view piece, ValueEncoding encoding,
                                 std::size_t used, std::u16string* text) {
    if (!ExpandTemplateWithin(piece, context, code_page, encoding, entry.charset,
                              limit - used, text)) {
      out.too_long = true;
      return false;
    }
    return true;
  };
  for (std::size_t i = 0; i < tmpl.size(); ) {
    if (exact_size > limit || line_size > limit) {
      out.too_long = true;
      return out;
    }
    const char c = tmpl[i];
    if ((c != '!' && c != '\\') || i + 1 == tmpl.size()) {
      const std::u16string byte(1, static_cast<unsigned char>(c));
      Append(&out.exact, CommandSource::kTemplate, byte);
      Append(&out.line, CommandSource::kTemplate, byte);
      ++exact_size;
      ++line_size;
      ++i;
      continue;
    }
    const std::string_view piece = tmpl.substr(i, 2);
    const char letter = piece[1];
    i += 2;
    std::u16string exact_text;
    if (!expand_within(piece, exact, exact_size, &exact_text)) return out;
    CommandSource source = CommandSource::kPage;
    if (c == '\\' || letter == '!') {
      source = CommandSource::kTemplate;
    } else if (IsOwnPlaceholder(letter)) {
      source = CommandSource::kOwn;
    } else if (std::string_view("SsOo-uUwWhHdDtTFf").find(letter) == std::string_view::npos &&
               exact_text == u"!" + std::u16string(1, static_cast<unsigned char>(letter))) {
      source = CommandSource::kTemplate;  // not a placeholder: its own two characters
    }
    // The module's folder is nobody's input: it goes in exactly, "|" of
    // "file:///C|/" and all.
    const bool folder = c == '!' && (letter == 'I' || letter == 'i');
    std::u16string line_text;
    if (!expand_within(piece, folder ? ValueEncoding::kNone : line, line_size, &line_text)) {
      return out;
    }
    if (folder) exact_text = line_text;
    exact_size += exact_text.size();
    line_size += line_text.size();
    Append(&out.exact, source, std::move(exact_text));
    Append(&out.line, source, std::move(line_text));
  }
  out.too_long = exact_size > limit || line_size > limit;
  return out;
}

std::u16string Refusal(std::u16string_view reason) {
  return u"The command was not started: " + std::u16string(reason);
}

}  // namespace

EntryCommand BuildEntryCommand(const SiteEntry& entry, RequestContext& context,
                               const CodePage& code_page) {
  const TextLimits limits = context.environment().ExpansionLimits();
  const std::size_t limit = entry.useConsole ? limits.console_line : limits.command_line;
  const Expanded pieces = ExpandPieces(entry, context, code_page, limit);
  EntryCommand command;
  if (pieces.too_long) {
    command.too_long = limit;
    return command;
  }

  if (entry.useConsole) {
    const std::optional<std::string> comspec =
        context.environment().EnvironmentVariable("COMSPEC");
    std::string line = comspec && !comspec->empty() ? *comspec : "COMMAND.COM";
    // Without a switch the interpreter would start an interactive console
    // and never run the command.
    line += entry.leaveConsole ? " /K " : " /C ";
    line += '"';
    line += code_page.ToNarrow(JoinForInterpreter(pieces.line));
    line += '"';
    command.process.command_line = std::move(line);
  } else if (IsReadByInterpreter(SplitCommandLine(pieces.line))) {
    // Started as it is, the line still reaches the interpreter, which
    // expands %NAME% in it as it would in the console.
    command.process.command_line = code_page.ToNarrow(JoinForInterpreter(pieces.line));
  } else {
    // The program splits the line itself; a value with blanks must not
    // become several arguments (one of them an option) there.
    command.process.command_line = code_page.ToNarrow(JoinForProgram(pieces.line));
  }

  // The interpreter's wrapper and the guards against %NAME% lengthen the line.
  if (command.process.command_line.size() > limit) {
    command.process.command_line.clear();
    command.too_long = limit;
    return command;
  }

  const std::vector<CommandArgument> arguments = SplitUnwrappedCommand(pieces.exact);
  if (arguments.empty()) {
    command.refusal = Refusal(u"it names no program.");
    return command;
  }
  if (arguments[0].has_page) {
    command.refusal = Refusal(u"the program to start would come from the page.");
    return command;
  }
  for (const CommandArgument& argument : arguments) {
    if (argument.page_first && argument.text.front() == u'-') {
      command.refusal = Refusal(
          u"a value from the page begins an argument with \"-\", which the "
          u"program would take for an option.");
      return command;
    }
    if (argument.text.find(u'\0') != std::u16string::npos) {
      command.refusal = Refusal(u"an argument holds a NUL character.");
      return command;
    }
  }
  for (const CommandArgument& argument : arguments) {
    command.process.arguments.push_back(code_page.ToNarrow(argument.text));
  }
  return command;
}

std::string BuildCommandLine(const SiteEntry& entry, RequestContext& context,
                             const CodePage& code_page) {
  return BuildEntryCommand(entry, context, code_page).process.command_line;
}

void RunEntryCommand(const SiteEntry& entry, RequestContext& context,
                     const CodePage& code_page, Desktop& desktop, Shell& shell) {
  const EntryCommand command = BuildEntryCommand(entry, context, code_page);
  if (command.too_long != 0) {
    ReportTooLong(entry, ExpandedText::kCommandLine, command.too_long, code_page, desktop);
    return;
  }
  std::u16string error_text = command.refusal;
  if (error_text.empty() && shell.StartProcess(command.process, &error_text)) {
    return;
  }
  desktop.ShowMessage(0, error_text, std::u16string(LoadText(IDS_PRODUCT_NAME)),
                      MessageStyle{MessageIcon::kStop, MessageButtons::kOk});
}

}  // namespace qm
