#include "actions/windows_command_line.h"

#include <cstddef>
#include <optional>
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
    // A quote held back after a value meets a quote of the template: neither
    // is written, and the template's quote still opens or closes its quotes.
    // Not so for "" in the template's quotes, which the program reads as a
    // quote: the held one reopens them first.
    const bool opens_with_quote = !text.empty() && text.front() == u'"';
    const bool literal_quote = quoted_ && text.size() > 1 && text[1] == u'"';
    if (held_quote_ && opens_with_quote && !literal_quote) {
      text.remove_prefix(1);
      quoted_ = !quoted_;
      held_quote_ = false;
    } else if (opens_with_quote && !held_quote_ && !quoted_ && !escaped_ && !line_.empty() &&
               line_.back() == u'"') {
      // Quotes closed and opened again around an empty value (or a guard's
      // quotes): together they would read as a quote, so neither is written.
      line_.pop_back();
      if (!program_) line_.erase(line_.size() - TrailingBackslashes(line_) / 2);
      text.remove_prefix(1);
      quoted_ = true;
      value_backslashes_ = 0;
    } else {
      WriteHeldBackQuote();
      // A quote halves the backslashes of the value before it (not in the
      // program's name, which keeps them).
      if (opens_with_quote && !program_) line_.append(value_backslashes_, u'\\');
    }
    value_backslashes_ = 0;
    for (const char16_t c : text) {
      line_.push_back(c);
      if (escaped_) {
        escaped_ = false;
      } else if (c == u'"') {
        quoted_ = !quoted_;
      } else if (c == u'^' && !quoted_) {
        escaped_ = true;
      } else if (!quoted_ && IsBlank(c)) {
        program_ = false;
      }
    }
  }

  void AddValue(const std::u16string& text) {
    WriteHeldBackQuote();
    value_backslashes_ = TrailingBackslashes(text);
    if (text.empty() && !quoted_ && (line_.empty() || IsBlank(line_.back()))) {
      // An empty value still makes its argument: an empty pair of quotes,
      // the second held back in case the template quotes on.
      line_.push_back(u'"');
      held_quote_ = true;
      return;
    }
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
    // Back into the template's quotes after the value, or out of the
    // value's own, with a quote held back.
    held_quote_ = WriteGuarded(text) != quoted_;
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
      // Outside quotes a blank would end the argument.
      if (!quoted_ && IsBlank(c)) return true;
    }
    return false;
  }

  static bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

  void WriteHeldBackQuote() {
    if (!held_quote_) return;
    if (!program_) line_.append(value_backslashes_, u'\\');
    value_backslashes_ = 0;
    line_.push_back(u'"');
    held_quote_ = false;
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
      DoubleBackslashesBeforeQuote();
      line_.push_back(u'"');
    } else if (guard_every_value_ && (line_.empty() || line_.back() != u'"')) {
      // A quote before the value's first character, for %NAME%.
      DoubleBackslashesBeforeQuote();
      line_ += u"\"\"";
    }
  }

  // Backslashes right before a quote the line adds are halved by it, save
  // in the program's name.
  void DoubleBackslashesBeforeQuote() {
    if (!program_) line_.append(TrailingBackslashes(line_), u'\\');
  }

  // Writes the value outside quotes: a caret before each character the
  // interpreter would read, "" after each "%", and its blanks in quotes.
  // True when it ends with those quotes open.
  bool WriteGuarded(const std::u16string& text) {
    for (std::size_t k = 0; k < text.size(); ++k) {
      const char16_t c = text[k];
      if (IsBlank(c)) {
        std::size_t end = k;
        while (end < text.size() && IsBlank(text[end])) ++end;
        // Outside quotes here, so a quote at the end of the line closed
        // some: the blanks join them rather than put two quotes together.
        if (!line_.empty() && line_.back() == u'"') {
          line_.pop_back();
          if (!program_) line_.erase(line_.size() - TrailingBackslashes(line_) / 2);
        } else {
          line_.push_back(u'"');
        }
        line_.append(text, k, end - k);
        if (end == text.size()) return true;
        line_.push_back(u'"');
        k = end - 1;
        continue;
      }
      if (IsCommandInterpreterSpecial(c)) line_.push_back(u'^');
      line_.push_back(c);
      if (c != u'%') continue;
      const bool quote_follows =
          k + 1 == text.size() ? quoted_ : text[k + 1] == u'%' || IsBlank(text[k + 1]);
      if (!quote_follows) line_ += u"\"\"";
    }
    return false;
  }

  bool guard_every_value_;
  std::u16string line_;
  bool program_ = true;  // still in the program's name, which keeps backslashes
  bool quoted_ = false;  // the interpreter's own reading of the template's quotes
  bool escaped_ = false;
  // A quote after a value that makes the line's quotes the template's
  // again, held back: when the template writes a quote right there,
  // neither is written.
  bool held_quote_ = false;
  // The backslashes that end the value just written, which a quote right
  // after it must double.
  std::size_t value_backslashes_ = 0;
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

namespace {

// The line JoinForProgram writes, with the C runtime's reading of the
// template so far.
class ProgramLine {
 public:
  void AddTemplate(std::u16string_view text) {
    for (std::size_t k = 0; k < text.size(); ++k) {
      const char16_t c = text[k];
      if (k == 0 && held_quote_ && c == u'"') {
        // The quote held back after a value's blanks and this one, which
        // opens quotes, would read as a quote: neither is written, and the
        // value's quotes go on as the template's.
        held_quote_ = false;
        quoted_ = true;
        last_closed_quote_ = false;
        backslashes_ = 0;
        continue;
      }
      if (k == 0 && last_closed_quote_ && c == u'"' && !held_quote_) {
        // Quotes closed and opened again around an empty value: together
        // they would read as a quote, so neither is written.
        UndoClosingQuote();
        quoted_ = true;
        backslashes_ = 0;
        continue;
      }
      WriteHeldBackQuote();
      if (c == u'"') {
        // A quote halves the backslashes before it, the value's among them
        // (not in the program's name, which keeps them).
        if (!program_) line_.append(value_backslashes_, u'\\');
        line_.push_back(c);
        last_closed_quote_ = false;
        if (program_) {
          quoted_ = !quoted_;
        } else if (backslashes_ % 2 == 0) {
          if (quoted_ && k + 1 < text.size() && text[k + 1] == u'"') {
            line_.push_back(u'"');  // "" in quotes: a quote, quotes stay
            ++k;
          } else {
            last_closed_quote_ = quoted_;
            quoted_ = !quoted_;
          }
        }
        backslashes_ = 0;
        value_backslashes_ = 0;
        continue;
      }
      line_.push_back(c);
      last_closed_quote_ = false;
      if (c == u'\\') {
        ++backslashes_;
        continue;
      }
      backslashes_ = 0;
      value_backslashes_ = 0;
      if (!quoted_ && (c == u' ' || c == u'\t')) program_ = false;
    }
  }

  void AddValue(std::u16string_view text) {
    WriteHeldBackQuote();
    if (text.empty()) {
      if (!quoted_ && !program_ && IsBlankOrNothing(line_)) {
        // An empty value still makes its argument: an empty pair of quotes,
        // the second held back in case the template quotes on.
        line_.push_back(u'"');
        held_quote_ = true;
        last_closed_quote_ = false;
        return;
      }
      // Nothing is written, but the value still parts the template's
      // backslashes from what follows: they are the argument's own, and a
      // quote after them doubles them.
      value_backslashes_ = TrailingBackslashes(line_);
      backslashes_ = 0;
      return;
    }
    const auto blank = [](char16_t c) { return c == u' ' || c == u'\t'; };
    for (std::size_t k = 0; k < text.size(); ++k) {
      if (quoted_ || !blank(text[k])) {
        line_.push_back(text[k]);
        last_closed_quote_ = false;
        continue;
      }
      std::size_t end = k;
      while (end < text.size() && blank(text[end])) ++end;
      if (last_closed_quote_) {
        // The blanks join the quotes just closed.
        UndoClosingQuote();
      } else {
        if (!program_) line_.append(TrailingBackslashes(line_), u'\\');
        line_.push_back(u'"');
      }
      line_.append(text, k, end - k);
      last_closed_quote_ = false;
      if (end == text.size()) {
        held_quote_ = true;
      } else {
        line_.push_back(u'"');
      }
      k = end - 1;
    }
    backslashes_ = 0;
    value_backslashes_ = held_quote_ ? 0 : TrailingBackslashes(text);
  }

  std::u16string Finish() {
    WriteHeldBackQuote();
    return std::move(line_);
  }

 private:
  void WriteHeldBackQuote() {
    if (!held_quote_) return;
    line_.push_back(u'"');
    held_quote_ = false;
    last_closed_quote_ = !program_;
  }

  // Takes back the quote that ends the line; the backslashes it halved are
  // halved without it.
  void UndoClosingQuote() {
    line_.pop_back();
    line_.erase(line_.size() - TrailingBackslashes(line_) / 2);
    last_closed_quote_ = false;
  }

  static bool IsBlankOrNothing(std::u16string_view line) {
    return line.empty() || line.back() == u' ' || line.back() == u'\t';
  }

  std::u16string line_;
  bool program_ = true;  // still in the program's name, which keeps backslashes
  bool quoted_ = false;
  // The line ends with a quote that closed quotes.
  bool last_closed_quote_ = false;
  // The template's backslashes that end the line, and the value's.
  std::size_t backslashes_ = 0;
  std::size_t value_backslashes_ = 0;
  // The quote that closes a value's last blanks, held back.
  bool held_quote_ = false;
};

// An interpreter call split where the interpreter takes over: the program
// and its switch, and the command after them with the first quote and the
// last quote the interpreter drops already dropped.
struct UnwrappedCall {
  std::vector<MarkedChar> head;
  std::vector<MarkedChar> command;
  bool quotes_dropped = false;
};

// The call of `chars`, or nothing when they are no interpreter call.
std::optional<UnwrappedCall> Unwrap(const std::vector<MarkedChar>& chars) {
  std::vector<std::size_t> starts;
  if (!IsInterpreterCall(Split(chars, &starts))) return std::nullopt;
  // The command starts after the switch and the separators that follow.
  std::size_t i = starts[1];
  while (i < chars.size() && !IsSeparator(chars[i])) ++i;
  SkipSeparators(chars, &i);
  UnwrappedCall call;
  call.head.assign(chars.begin(), chars.begin() + static_cast<std::ptrdiff_t>(i));
  call.command.assign(chars.begin() + static_cast<std::ptrdiff_t>(i), chars.end());
  std::vector<MarkedChar>& rest = call.command;
  if (!rest.empty() && IsTemplate(rest.front(), u'"')) {
    rest.erase(rest.begin());
    for (std::size_t j = rest.size(); j-- > 0;) {
      if (IsTemplate(rest[j], u'"')) {
        rest.erase(rest.begin() + static_cast<std::ptrdiff_t>(j));
        break;
      }
    }
    call.quotes_dropped = true;
  }
  return call;
}

// Writes `chars` for the interpreter, as JoinForInterpreter does.
std::u16string JoinChars(const std::vector<MarkedChar>& chars, bool guard_every_value) {
  InterpreterLine line(guard_every_value);
  std::u16string text;
  bool value = false;
  const auto flush = [&] {
    if (value) {
      line.AddValue(text);
    } else if (!text.empty()) {
      line.AddTemplate(text);
    }
    text.clear();
  };
  for (const MarkedChar& m : chars) {
    if (m.is_mark) {
      flush();
      value = true;
    } else if (value && m.source == CommandSource::kTemplate) {
      flush();
      value = false;
    }
    if (!m.is_mark) text.push_back(m.c);
  }
  flush();
  return line.Finish();
}

}  // namespace

std::u16string JoinForProgram(const std::vector<CommandPiece>& pieces) {
  ProgramLine line;
  for (const CommandPiece& piece : pieces) {
    if (piece.source == CommandSource::kTemplate) {
      line.AddTemplate(piece.text);
    } else {
      line.AddValue(piece.text);
    }
  }
  return line.Finish();
}

std::vector<CommandArgument> SplitUnwrappedCommand(const std::vector<CommandPiece>& pieces) {
  std::vector<MarkedChar> chars = Flatten(pieces);
  // Each round drops one interpreter; the text shrinks every time.
  while (std::optional<UnwrappedCall> call = Unwrap(chars)) {
    chars = std::move(call->command);
  }
  return Split(chars);
}

std::u16string JoinForInterpreter(const std::vector<CommandPiece>& pieces) {
  std::size_t percents = 0;
  for (const CommandPiece& piece : pieces) {
    for (const char16_t c : piece.text) percents += c == u'%';
  }
  const std::vector<MarkedChar> chars = Flatten(pieces);
  const std::optional<UnwrappedCall> call = Unwrap(chars);
  if (!call || Unwrap(call->command)) return JoinChars(chars, percents >= 2);
  // The interpreter reads the command after the switch with the first
  // quote and the last quote of the line dropped, and only then quotes,
  // carets and blanks: the command is written as it will read it, and
  // wrapped in a pair of quotes that it drops again whenever the template
  // had them or the command now begins with a quote of its own.
  std::u16string command = JoinChars(call->command, percents >= 2);
  if (call->quotes_dropped || (!command.empty() && command.front() == u'"')) {
    command = u'"' + command + u'"';
  }
  return JoinChars(call->head, percents >= 2) + command;
}

}  // namespace qm
