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
//     that a value takes part in can name a variable;
//   - what the program receives, once the program has split its line as
//     the C runtime does (after, on a line that runs a command through the
//     interpreter's /C or /K, the interpreter has dropped the quotes of
//     /C "…" and its carets), is the argument vector. Without URLEncode the line
//     has "_" where a value has a character the interpreter reads, so the
//     two are compared with those characters made "_" on both sides. Not
//     compared, on lines the interpreter reads: templates with carets of their own (the argument vector
//     does not read them) or with a backslash before a quote (the runtime
//     reads a literal quote there, the interpreter a quote that opens or
//     closes: the two disagree on what is quoted after it), lines that chain
//     or redirect commands, an interpreter started by another one, and batch
//     files.
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

// The program of `line` as the C runtime reads its name, less its folder, in
// small letters; and whether the interpreter reads the line: the program is
// cmd, command.com or %COMSPEC%, or a batch file, which Windows starts
// through cmd.
bool InterpreterReads(std::string_view line, bool* interpreter_itself = nullptr) {
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
  const bool itself = name == "cmd" || name == "cmd.exe" || name == "command.com" ||
                      name == "command" || name == "%comspec%";
  if (interpreter_itself != nullptr) *interpreter_itself = itself;
  return itself || ends_with(".bat") || ends_with(".cmd");
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

bool Blank(char c) { return c == ' ' || c == '\t'; }

// The arguments of a command line as the C runtime splits it: the program
// ends at the first blank outside quotes, its quotes vanish and its
// backslashes stay; after it, 2n backslashes before a quote give n and the
// quote toggles quoting, 2n+1 give n and a quote, "" inside quotes gives a
// quote, and blanks outside quotes separate.
std::vector<std::string> RuntimeSplit(std::string_view line) {
  std::vector<std::string> arguments;
  std::size_t i = 0;
  const auto skip_blanks = [&] {
    while (i < line.size() && Blank(line[i])) ++i;
  };
  skip_blanks();
  if (i == line.size()) return arguments;
  std::string program;
  for (bool quoted = false; i < line.size() && (quoted || !Blank(line[i])); ++i) {
    if (line[i] == '"') {
      quoted = !quoted;
    } else {
      program += line[i];
    }
  }
  arguments.push_back(program);
  for (;;) {
    skip_blanks();
    if (i == line.size()) return arguments;
    std::string argument;
    bool quoted = false;
    while (i < line.size() && (quoted || !Blank(line[i]))) {
      std::size_t backslashes = 0;
      while (i < line.size() && line[i] == '\\') {
        ++backslashes;
        ++i;
      }
      if (i < line.size() && line[i] == '"') {
        argument.append(backslashes / 2, '\\');
        if (backslashes % 2 == 1) {
          argument += '"';
        } else if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
          argument += '"';
          ++i;
        } else {
          quoted = !quoted;
        }
        ++i;
      } else {
        argument.append(backslashes, '\\');
        if (i < line.size() && (quoted || !Blank(line[i]))) argument += line[i++];
      }
    }
    arguments.push_back(argument);
  }
}

// What follows "<interpreter> /C " or "/K " on `line`, or nothing when the
// line does not call the interpreter so.
std::optional<std::string> AfterInterpreterSwitch(std::string_view line) {
  bool itself = false;
  if (!InterpreterReads(line, &itself) || !itself) return std::nullopt;
  std::size_t i = line.find_first_not_of(" \t");
  for (bool quoted = false; i < line.size() && (quoted || !Blank(line[i])); ++i) {
    if (line[i] == '"') quoted = !quoted;
  }
  while (i < line.size() && Blank(line[i])) ++i;
  if (i + 2 > line.size() || line[i] != '/' ||
      (line[i + 1] != 'c' && line[i + 1] != 'C' && line[i + 1] != 'k' && line[i + 1] != 'K') ||
      (i + 2 < line.size() && !Blank(line[i + 2]))) {
    return std::nullopt;
  }
  i += 2;
  while (i < line.size() && Blank(line[i])) ++i;
  return std::string(line.substr(i));
}

// The command the interpreter runs for the text after its switch: a first
// quote and the last quote dropped (no file of the name exists here, so it
// never keeps them), then carets outside quotes taken as escapes. Nothing
// when the command chains or redirects: it is more than one program then.
std::optional<std::string> InterpreterRuns(std::string text) {
  if (!text.empty() && text.front() == '"') {
    text.erase(0, 1);
    const std::size_t last = text.rfind('"');
    if (last != std::string::npos) text.erase(last, 1);
  }
  std::string command;
  bool quoted = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '"') {
      quoted = !quoted;
    } else if (!quoted && c == '^') {
      if (++i < text.size()) command += text[i];
      continue;
    } else if (!quoted && std::string_view("&|<>").find(c) != std::string_view::npos) {
      return std::nullopt;
    }
    command += c;
  }
  return command;
}

// The characters a value without URLEncode has as "_" on the line.
std::string Unread(std::string text) {
  for (char& c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F || std::string_view("\"&|<>^%!").find(c) != std::string_view::npos) {
      c = '_';
    }
  }
  return text;
}

// The template's own text, escapes read, values left out.
std::string TemplateText(std::string_view tmpl) {
  std::string text;
  for (const Token& token : Tokenise(tmpl)) {
    if (token.value) continue;
    if (token.text.size() == 2 && token.text[0] == '\\') {
      const char c = token.text[1];
      text += c == 'n' ? std::string("\r\n") : c == 's' ? " " : c == 't' ? "\t" : std::string(1, c);
    } else {
      text += token.text;
    }
  }
  return text;
}

// The program receives its argument vector.
void CheckProgramReceivesArguments(std::string_view tmpl, const qm::SiteEntry& entry,
                                   const qm::EntryCommand& command) {
  const std::string& line = command.process.command_line;
  std::optional<std::string> runs = line;
  if (InterpreterReads(line)) {
    std::string own = TemplateText(tmpl);
    if (own.find('^') != std::string::npos || own.find("\\\"") != std::string::npos) return;
    // An interpreter started by another: two switches in the template.
    for (char& c : own) c = c == 'K' || c == 'k' || c == 'C' ? 'c' : c;
    const std::size_t first = own.find("/c");
    if (first != std::string::npos && own.find("/c", first + 2) != std::string::npos) return;
    const std::optional<std::string> after = AfterInterpreterSwitch(line);
    if (!after) return;
    runs = InterpreterRuns(*after);
    if (!runs || InterpreterReads(*runs)) return;
  }
  std::vector<std::string> received = RuntimeSplit(*runs);
  std::vector<std::string> expected = command.process.arguments;
  if (!entry.URLEncode) {
    for (std::string& text : received) text = Unread(text);
    for (std::string& text : expected) text = Unread(text);
  }
  if (received != expected) {
    // What a reproducer needs to be read.
    std::fprintf(stderr, "line: %s\n", command.process.command_line.c_str());
    for (const std::string& text : received) std::fprintf(stderr, "received: [%s]\n", text.c_str());
    for (const std::string& text : expected) std::fprintf(stderr, "expected: [%s]\n", text.c_str());
  }
  Require(received == expected, "the program receives the argument vector");
}

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
    CheckProgramReceivesArguments(tmpl, entry, command);
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
