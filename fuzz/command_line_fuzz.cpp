// Command entries on arbitrary templates and pages. The input is a two-byte
// little-endian template length, the template bytes, then UTF-16LE code
// units for the page, split at U+FFFF into the selection, its HTML, the
// frame's address, name, host and title and the top window's address, name,
// host and title. Each input is built with and without URLEncode (in both
// charsets) and with and without the console. Whatever the page holds:
//   - the argument vector has as many arguments, and the same program, as
//     with a harmless page whose every value is "x" (or the command is
//     refused);
//   - no argument begins with a "-" that the page put there (or the command
//     is refused);
//   - on a Windows line that the command interpreter reads, no %NAME% pair
//     that a value takes part in can name a variable.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "actions/command_line.h"
#include "actions/template_expansion.h"
#include "catalogue/site_entry.h"
#include "context/request_context.h"
#include "host/module_environment.h"
#include "fuzz_page.h"
#include "text/windows_1252.h"

namespace {

using Texts = qm::fuzzing::PageTexts;

void Require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "command line invariant broken: %s\n", what);
  std::abort();
}

class FixedEnvironment final : public qm::ModuleEnvironment {
 public:
  // A folder with characters the interpreter reads, "%" among them.
  std::string ModulePath() const override { return "C:\\R&D 100%\\qmkit.dll"; }
  bool ReadFile(const std::string&, std::string*) const override { return false; }
  std::string_view BuiltInFile(int) const override { return {}; }
  std::string UserCurrencyCode() const override { return "EUR"; }
  std::optional<std::string> EnvironmentVariable(const std::string& name) const override {
    if (name == "COMSPEC") return std::string("C:\\Windows\\system32\\cmd.exe");
    return std::nullopt;
  }
};

// A page whose windows and context live as long as it does.
class Page {
 public:
  explicit Page(const Texts& texts) : page_(env_, texts) {
    Require(page_.built(), "context builds");
  }
  qm::RequestContext& context() { return page_.context(); }

 private:
  FixedEnvironment env_;
  qm::fuzzing::FuzzPage page_;
};

bool IsPlaceholderLetter(char c) {
  return std::string_view("SsOo-uUwWhHdDtTFfLlCcIi").find(c) != std::string_view::npos;
}

// The template as the catalogue syntax reads it: literal bytes, "\x"
// escapes and "!x" tokens, each with whether it inserts a value.
struct Token {
  std::string text;
  bool value = false;
};

std::vector<Token> Tokenise(std::string_view tmpl) {
  std::vector<Token> tokens;
  for (std::size_t i = 0; i < tmpl.size();) {
    const char c = tmpl[i];
    if ((c == '!' || c == '\\') && i + 1 < tmpl.size()) {
      tokens.push_back({std::string(tmpl.substr(i, 2)), c == '!' && IsPlaceholderLetter(tmpl[i + 1])});
      i += 2;
    } else {
      tokens.push_back({std::string(1, c), false});
      ++i;
    }
  }
  return tokens;
}

// Whether the interpreter reads `line`: its first word (as the C runtime
// reads a program name) names cmd, command.com or %COMSPEC%, or a batch
// file, which Windows starts through cmd.
bool InterpreterReads(std::string_view line) {
  std::string program;
  bool quoted = false;
  std::size_t i = line.find_first_not_of(" \t");
  for (; i != std::string_view::npos && i < line.size(); ++i) {
    if (line[i] == '"') {
      quoted = !quoted;
    } else if (!quoted && (line[i] == ' ' || line[i] == '\t')) {
      break;
    } else {
      program += static_cast<char>(line[i] >= 'A' && line[i] <= 'Z' ? line[i] - 'A' + 'a' : line[i]);
    }
  }
  const std::size_t slash = program.find_last_of("\\/");
  const std::string name = slash == std::string::npos ? program : program.substr(slash + 1);
  const auto ends_with = [&](std::string_view tail) {
    return name.size() >= tail.size() && name.compare(name.size() - tail.size(), tail.size(), tail) == 0;
  };
  return name == "cmd" || name == "cmd.exe" || name == "command.com" || name == "command" ||
         name == "%comspec%" || ends_with(".bat") || ends_with(".cmd");
}

// cmd replaces %NAME% wherever it stands, quoted or not, and has no escape
// for "%". Which pairs it reads depends on which names are set, so every
// two "%" in a row are taken for a pair. A pair that holds a character of
// an inserted value (its "%" signs included) must hold a quote between
// them, which no variable's name holds; an empty NAME names nothing.
//
// The "%" signs of the line are those of the template's text and of the
// values, in order: nothing added to the line is a "%". So the k-th "%" of
// the line is the k-th "%" of the tokens' expansions.
void CheckNoVariableFormed(std::string_view tmpl, const std::string& line,
                           const qm::SiteEntry& entry, qm::RequestContext& context,
                           const qm::CodePage& code_page) {
  struct Percent {
    bool value = false;            // this "%" is a value's
    bool value_before = false;     // value characters lie between it and the last "%"
  };
  std::vector<Percent> percents;
  bool value_since_last = false;
  for (const Token& token : Tokenise(tmpl)) {
    qm::ValueEncoding encoding =
        entry.URLEncode ? qm::ValueEncoding::kPercent : qm::ValueEncoding::kCommandLine;
    if (token.text == "!I" || token.text == "!i") encoding = qm::ValueEncoding::kNone;
    const std::u16string text =
        qm::ExpandTemplate(token.text, context, code_page, encoding, entry.charset);
    for (const char16_t c : text) {
      if (c == u'%') {
        percents.push_back({token.value, value_since_last || token.value});
        value_since_last = token.value;
      } else if (token.value) {
        value_since_last = true;
      }
    }
  }
  std::vector<std::size_t> at;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '%') at.push_back(i);
  }
  Require(at.size() == percents.size(), "the line keeps the template's and values' % signs");
  for (std::size_t k = 1; k < at.size(); ++k) {
    const bool value_part = percents[k - 1].value || percents[k].value_before;
    if (!value_part || at[k] == at[k - 1] + 1) continue;
    const std::string_view name(line.data() + at[k - 1] + 1, at[k] - at[k - 1] - 1);
    Require(name.find('"') != std::string_view::npos,
            "no value takes part in a %NAME% the interpreter could expand");
  }
}

bool DashFirst(const std::string& text) { return !text.empty() && text[0] == '-'; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  qm::fuzzing::TemplateAndPage input;
  if (!qm::fuzzing::ReadTemplateAndPage(data, size, &input)) return 0;
  const std::string& tmpl = input.tmpl;
  const Texts& texts = input.texts;
  Texts harmless;
  harmless.fill(u"x");
  // The page with every "-" made "x": an argument that begins with "-"
  // here too took its "-" from the template.
  Texts dashless = texts;
  for (std::u16string& text : dashless) {
    for (char16_t& c : text) {
      if (c == u'-') c = u'x';
    }
  }

  Page page(texts);
  Page plain(harmless);
  Page undashed(dashless);
  const qm::Windows1252CodePage code_page;

  for (int variant = 0; variant < 6; ++variant) {
    qm::SiteEntry entry;
    entry.command = tmpl;
    entry.URLEncode = variant % 3 != 0;
    entry.charset = variant % 3 == 2 ? qm::UrlCharset::kUtf8 : qm::UrlCharset::kWindows1252;
    entry.useConsole = variant >= 3;
    entry.leaveConsole = (tmpl.size() & 1) != 0;

    const qm::EntryCommand command = qm::BuildEntryCommand(entry, page.context(), code_page);
    const qm::EntryCommand reference = qm::BuildEntryCommand(entry, plain.context(), code_page);

    // A line over the host's limit is built no further and starts nothing.
    if (command.too_long != 0 || reference.too_long != 0) {
      Require(command.too_long == 0 ||
                  (command.process.command_line.empty() && command.process.arguments.empty()),
              "a command over its limit has no line and no arguments");
      continue;
    }
    // A refused command starts nothing, so its line is never read.
    if (command.refusal.empty() &&
        (entry.useConsole || InterpreterReads(command.process.command_line))) {
      CheckNoVariableFormed(tmpl, command.process.command_line, entry, page.context(),
                            code_page);
    }
    if (!command.refusal.empty()) {
      Require(command.process.arguments.empty(), "a refused command has no arguments");
      continue;
    }
    Require(reference.refusal.empty(), "what a harmless page may not run, no page runs");
    const std::vector<std::string>& arguments = command.process.arguments;
    Require(arguments.size() == reference.process.arguments.size(),
            "values add or remove no argument");
    Require(arguments[0] == reference.process.arguments[0], "values do not change the program");

    const qm::EntryCommand undashed_command =
        qm::BuildEntryCommand(entry, undashed.context(), code_page);
    if (!undashed_command.refusal.empty() || undashed_command.too_long != 0) continue;
    Require(undashed_command.process.arguments.size() == arguments.size(),
            "values add or remove no argument");
    for (std::size_t i = 0; i < arguments.size(); ++i) {
      if (DashFirst(arguments[i])) {
        Require(DashFirst(undashed_command.process.arguments[i]),
                "no argument begins with a \"-\" from the page");
      }
    }
  }
  return 0;
}
