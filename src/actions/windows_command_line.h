// Command lines as Windows reads them: split into arguments by the rules of
// the C runtime (and CommandLineToArgvW), and guarded for the console's
// command interpreter. The catalogue's command templates are written for
// Windows, so every platform reads their text by these rules; what the
// placeholders insert is never read by them.
#pragma once

#include <string>
#include <vector>

namespace qm {

// Where a piece of an expanded command came from.
enum class CommandSource : unsigned char {
  kTemplate,  // the catalogue's own text and escapes: it quotes and separates
  kPage,      // a value taken from the page (selection, addresses, titles...)
  kOwn,       // a value of the system's own (!I, !C, the user's currency !L)
};

struct CommandPiece {
  CommandSource source = CommandSource::kTemplate;
  std::u16string text;
};

struct CommandArgument {
  std::u16string text;
  // Its first character was inserted from the page.
  bool page_first = false;
  // Some of its text was inserted from the page.
  bool has_page = false;
};

// Splits `pieces` into a program and its arguments. Template text is read
// as the C runtime reads a command line: space and tab separate, quotes
// group and vanish, 2n backslashes before a quote give n and the quote
// groups, 2n+1 give n and a literal quote, "" inside quotes is a literal
// quote; the program (the first argument) ends at the first space or tab
// outside quotes and keeps its backslashes. A value piece is never read: it
// stays inside the argument it stands in whatever it holds, and a value
// that inserts nothing still leaves that argument (empty when nothing else
// is there).
//   ping.exe "!S x" with !S = a" & b  ->  {ping.exe} {a" & b x}
std::vector<CommandArgument> SplitCommandLine(const std::vector<CommandPiece>& pieces);

// SplitCommandLine, then, while the program is the command interpreter
// (cmd, cmd.exe, command.com or %COMSPEC%, in any case and folder) given
// /C or /K as template text, what follows the switch is taken as the
// command instead: its first quote and its last quote are dropped, as the
// interpreter drops them, and it is split again.
//   cmd /c "ping.exe !H"  ->  {ping.exe} {the host}
std::vector<CommandArgument> SplitUnwrappedCommand(const std::vector<CommandPiece>& pieces);

// Whether the split command's program is the command interpreter with /C
// or /K (what SplitUnwrappedCommand unwraps).
bool IsInterpreterCall(const std::vector<CommandArgument>& arguments);

// Whether the command interpreter reads the line of the split command
// when it is started as it is: its program is the interpreter, or a batch
// file (.bat or .cmd, which Windows runs through the interpreter).
bool IsReadByInterpreter(const std::vector<CommandArgument>& arguments);

// The text of `pieces` as one line for a program that splits it as the C
// runtime does (SplitCommandLine's rules), so that the program receives
// each value inside the argument it stands in: blanks of a value outside
// the template's quotes are put in quotes of their own (joining quotes
// right before or after them rather than adding a quote next to another),
// and the backslashes that end a value are doubled before a quote of the
// template, which would otherwise halve them. Nothing else changes.
//   x.exe !S, selection "a -x"  ->  x.exe a" "-x   (one argument, "a -x")
std::u16string JoinForProgram(const std::vector<CommandPiece>& pieces);

// The text of `pieces` as one line for the command interpreter, which reads
// it after the quote that opens /K "…" (or /C "…"), outside quotes. Before
// anything else, quoted or not, the interpreter replaces %NAME% with the
// variable NAME, and it has no escape for "%" on a command line. So a value
// that could take part in such a pair is written outside quotes (a quote of
// the template around it is closed before it and opened again after it),
// with an empty pair of quotes ("") before its first character and after
// each of its "%": every NAME that holds a character of a value then holds
// a quote, which no variable's name does, and stays as written. Quotes so
// added come in pairs outside the program's quotes, where they group
// nothing; backslashes before them are doubled, as a quote halves them.
// Outside quotes, a "^" goes before each & | < > ( ) ^ " of the value. The
// program thus reads the value as it is. Values are guarded when the line
// holds two "%" or more, or when they hold one of & | < > ^ "; otherwise
// the text is joined as it is.
//   ping.exe !H, host "%CD%x"  ->  ping.exe ""%""CD%""x
std::u16string JoinForInterpreter(const std::vector<CommandPiece>& pieces);

}  // namespace qm
