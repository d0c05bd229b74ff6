#include "actions/windows_command_line.h"

#include <cstddef>
#include <string_view>
#include <utility>

namespace qm {
namespace {

// One character of the flattened pieces. A value piece starts with a mark
// (is_mark, no character) so that an empty value still makes an argument.
struct MarkedChar {
  char16_t c = 0;
  CommandSource source = CommandSource::kTemplate;
  bool is_mark = false;
};

std::vector<MarkedChar> Flatten(const std::vector<CommandPiece>& pieces) {
  std::vector<MarkedChar> chars;
  for (const CommandPiece& piece : pieces) {
    if (piece.source != CommandSource::kTemplate) {
      chars.push_back({0, piece.source, true});
    }
    for (const char16_t c : piece.text) chars.push_back({c, piece.source, false});
  }
  return chars;
}

bool IsTemplate(const MarkedChar& m, char16_t c) {
  return m.source == CommandSource::kTemplate && m.c == c;
}

bool IsSeparator(const MarkedChar& m) {
  return m.source == CommandSource::kTemplate && (m.c == u' ' || m.c == u'\t');
}

class ArgumentBuilder {
 public:
  void Add(const MarkedChar& m) {
    if (m.is_mark) {
      if (m.source == CommandSource::kPage) mark_page_ = true;
      return;
    }
    if (m.source == CommandSource::kPage) {
      if (argument_.text.empty()) argument_.page_first = true;
      argument_.has_page = true;
    }
    argument_.text.push_back(m.c);
  }
  void AddTemplate(char16_t c, std::size_t count = 1) {
    argument_.text.append(count, c);
  }
  CommandArgument Take() {
    // An empty page value alone still came from the page.
    if (mark_page_) argument_.has_page = true;
    return std::move(argument_);
  }

 private:
  CommandArgument argument_;
  bool mark_page_ = false;
};

// Reads the program name from `*i`: quotes group and vanish, backslashes
// are kept as they are.
CommandArgument ReadProgram(const std::vector<MarkedChar>& chars, std::size_t* i) {
  ArgumentBuilder arg;
  bool quoted = false;
  for (; *i < chars.size(); ++*i) {
    const MarkedChar& m = chars[*i];
    if (IsTemplate(m, u'"')) {
      quoted = !quoted;
    } else if (!quoted && IsSeparator(m)) {
      break;
    } else {
      arg.Add(m);
    }
  }
  return arg.Take();
}

// Reads one argument after the program from `*i`.
CommandArgument ReadArgument(const std::vector<MarkedChar>& chars, std::size_t* i) {
  ArgumentBuilder arg;
  bool quoted = false;
  std::size_t backslashes = 0;
  for (; *i < chars.size(); ++*i) {
    const MarkedChar& m = chars[*i];
    if (IsTemplate(m, u'\\')) {
      ++backslashes;
      continue;
    }
    if (IsTemplate(m, u'"')) {
      arg.AddTemplate(u'\\', backslashes / 2);
      if (backslashes % 2 == 1) {
        arg.AddTemplate(u'"');
      } else if (quoted && *i + 1 < chars.size() && IsTemplate(chars[*i + 1], u'"')) {
        arg.AddTemplate(u'"');
        ++*i;
      } else {
        quoted = !quoted;
      }
      backslashes = 0;
      continue;
    }
    arg.AddTemplate(u'\\', backslashes);
    backslashes = 0;
    if (!quoted && IsSeparator(m)) break;
    arg.Add(m);
  }
  arg.AddTemplate(u'\\', backslashes);
  return arg.Take();
}

void SkipSeparators(const std::vector<MarkedChar>& chars, std::size_t* i) {
  while (*i < chars.size() && IsSeparator(chars[*i])) ++*i;
}

std::vector<CommandArgument> Split(const std::vector<MarkedChar>& chars,
                                   std::vector<std::size_t>* starts = nullptr) {
  std::vector<CommandArgument> arguments;
  std::size_t i = 0;
  for (;;) {
    SkipSeparators(chars, &i);
    if (i == chars.size()) return arguments;
    if (starts != nullptr) starts->push_back(i);
    arguments.push_back(arguments.empty() ? ReadProgram(chars, &i)
                                          : ReadArgument(chars, &i));
  }
}

bool EqualFolded(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto fold = [](char16_t c) -> char16_t {
      return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
    };
    if (fold(a[i]) != fold(b[i])) return false;
  }
  return true;
}

bool IsInterpreterName(std::u16string_view program) {
  const std::size_t slash = program.find_last_of(u"\\/");
  if (slash != std::u16string_view::npos) program.remove_prefix(slash + 1);
  for (const std::u16string_view name :
       {u"cmd", u"cmd.exe", u"command.com", u"command", u"%COMSPEC%"}) {
    if (EqualFolded(program, name)) return true;
  }
  return false;
}

bool IsInterpreterSwitch(std::u16string_view word) {
  return EqualFolded(word, u"/c") || EqualFolded(word, u"/k");
}

// What the interpreter reads as its own outside quotes.
bool IsCommandInterpreterSpecial(char16_t c) {
  switch (c) {
    case u'&': case u'|': case u'<': case u'>': case u'(': case u')':
    case u'^': case u'"':
      return true;
    default:
      return false;
  }
}

std::size_t TrailingBackslashes(std::u16string_view text) {
  std::size_t n = 0;
  while (n < text.size() && text[text.size() - 1 - n] == u'\\') ++n;
  return n;
}

// The line JoinForInterpreter writes, piece by piece, with the
// interpreter's own reading of the template's quotes and carets so far.
class InterpreterLine {
 public:
  // `guard_every_value`: the line holds two "%" or more, so any value could
  // take part in a %NAME% pair.
  explicit InterpreterLine(bool guard_every_value) : guard_every_value_(guard_every_value) {}

  void AddTemplate(std::u16string_view text) {
    // A quote held back after a value meets the template's own closing
    // quote: neither is written.
    if (reopen_ && !text.empty() && text.front() == u'"') {
      text.remove_prefix(1);
      quoted_ = false;
      reopen_ = false;
    } else {
      WriteHeldBackQuote();
    }
    for (const char16_t c : text) {
      line_.push_back(c);
      if (escaped_) {
        escaped_ = false;
      } else if (c == u'"') {
        quoted_ = !quoted_;
      } else if (c == u'^' && !quoted_) {
        escaped_ = true;
      }
    }
  }

  void AddValue(const std::u16string& text) {
    WriteHeldBackQuote();
    if (text.empty() || !NeedsGuard(text)) {
      line_ += text;
      return;
    }
    if (escaped_) {
      // A caret of the template's own would escape the quote added below.
      line_.pop_back();
      escaped_ = false;
    }
    OpenGuard();
    const bool quotes_reopened = WriteGuarded(text);
    if (quoted_ && !quotes_reopened) {
      // Back into the template's quotes after the value, with the quote
      // held back; it halves the backslashes before it.
      line_.append(TrailingBackslashes(text), u'\\');
      reopen_ = true;
    }
  }

  std::u16string Finish() {
    WriteHeldBackQuote();
    return std::move(line_);
  }

 private:
  bool NeedsGuard(std::u16string_view value) const {
    if (guard_every_value_) return true;
    // Brackets mean nothing to it in a plain command; they are escaped only
    // along with the rest.
    for (const char16_t c : value) {
      if (IsCommandInterpreterSpecial(c) && c != u'(' && c != u')') return true;
    }
    return false;
  }

  void WriteHeldBackQuote() {
    if (reopen_) line_.push_back(u'"');
    reopen_ = false;
  }

  // The quotes added around a value come in pairs and, as the program reads
  // them, group nothing but what was quoted already. It reads "" inside its
  // quotes, and """ anywhere, as a quote: no added quote is put next to
  // another. Backslashes before an added quote are doubled, as a quote
  // halves them.
  void OpenGuard() {
    if (quoted_ && !line_.empty() && line_.back() == u'"') {
      // The template's quote right before the value, and the one that
      // would close it, would read as a quote: it goes, and the blanks of
      // the value are quoted as it quoted them.
      line_.pop_back();
      line_ += u"\"\"";
    } else if (quoted_) {
      line_.append(TrailingBackslashes(line_), u'\\');
      line_.push_back(u'"');
    } else if (line_.empty() || line_.back() != u'"') {
      line_.append(TrailingBackslashes(line_), u'\\');
      line_ += u"\"\"";
    }
  }

  // Writes the value outside quotes: a caret before each character the
  // interpreter would read, "" after each "%", and blanks the template had
  // in quotes in quotes again. True when it ends with those quotes open.
  bool WriteGuarded(const std::u16string& text) {
    const auto blank = [](char16_t c) { return c == u' ' || c == u'\t'; };
    bool reopened = false;
    for (std::size_t k = 0; k < text.size(); ++k) {
      const char16_t c = text[k];
      if (quoted_ && blank(c)) {
        std::size_t end = k;
        while (end < text.size() && blank(text[end])) ++end;
        line_.push_back(u'"');
        line_.append(text, k, end - k);
        if (end == text.size()) {
          reopened = true;
        } else {
          line_.push_back(u'"');
        }
        k = end - 1;
        continue;
      }
      if (IsCommandInterpreterSpecial(c)) line_.push_back(u'^');
      line_.push_back(c);
      if (c != u'%') continue;
      const bool quote_follows =
          k + 1 == text.size() ? quoted_ : text[k + 1] == u'%' || (quoted_ && blank(text[k + 1]));
      if (!quote_follows) line_ += u"\"\"";
    }
    return reopened;
  }

  bool guard_every_value_;
  std::u16string line_;
  bool quoted_ = false;  // the interpreter's own reading of the template's quotes
  bool escaped_ = false;
  // A quote that reopens the template's quotes after a value, held back:
  // when the template closes them right there, neither is written.
  bool reopen_ = false;
};

}  // namespace

std::vector<CommandArgument> SplitCommandLine(const std::vector<CommandPiece>& pieces) {
  return Split(Flatten(pieces));
}

bool IsInterpreterCall(const std::vector<CommandArgument>& arguments) {
  return arguments.size() >= 2 && !arguments[0].has_page && !arguments[1].has_page &&
         IsInterpreterName(arguments[0].text) && IsInterpreterSwitch(arguments[1].text);
}

bool IsReadByInterpreter(const std::vector<CommandArgument>& arguments) {
  if (arguments.empty()) return false;
  const std::u16string_view program = arguments[0].text;
  const auto ends_with = [&](std::u16string_view tail) {
    return program.size() >= tail.size() &&
           EqualFolded(program.substr(program.size() - tail.size()), tail);
  };
  return IsInterpreterName(program) || ends_with(u".bat") || ends_with(u".cmd");
}

std::vector<CommandArgument> SplitUnwrappedCommand(const std::vector<CommandPiece>& pieces) {
  std::vector<MarkedChar> chars = Flatten(pieces);
  // Each round drops one interpreter; the text shrinks every time.
  for (;;) {
    std::vector<std::size_t> starts;
    std::vector<CommandArgument> arguments = Split(chars, &starts);
    if (!IsInterpreterCall(arguments)) return arguments;
    // The command starts after the switch and the separators that follow.
    std::size_t i = starts[1];
    while (i < chars.size() && !IsSeparator(chars[i])) ++i;
    SkipSeparators(chars, &i);
    std::vector<MarkedChar> rest(chars.begin() + static_cast<std::ptrdiff_t>(i), chars.end());
    if (!rest.empty() && IsTemplate(rest.front(), u'"')) {
      rest.erase(rest.begin());
      for (std::size_t j = rest.size(); j-- > 0;) {
        if (IsTemplate(rest[j], u'"')) {
          rest.erase(rest.begin() + static_cast<std::ptrdiff_t>(j));
          break;
        }
      }
    }
    chars = std::move(rest);
  }
}

std::u16string JoinForInterpreter(const std::vector<CommandPiece>& pieces) {
  std::size_t percents = 0;
  for (const CommandPiece& piece : pieces) {
    for (const char16_t c : piece.text) percents += c == u'%';
  }
  InterpreterLine line(percents >= 2);
  for (const CommandPiece& piece : pieces) {
    if (piece.source == CommandSource::kTemplate) {
      line.AddTemplate(piece.text);
    } else {
      line.AddValue(piece.text);
    }
  }
  return line.Finish();
}

}  // namespace qm
