// A command's command line as one table. Each option is declared once, with
// its name, the word that stands for its value, its help text and what it
// does with the value; the parser reads argv by the table and --help is
// written from it, so the two cannot drift apart.
//
//   CheckOptions options;
//   OptionTable table("qmkit check", "'qmkit check --help' tells more");
//   table.Text("usage: qmkit check [FILE] [--json]\n\noptions:\n")
//       .Value("--catalogue", "FILE", "the same as giving FILE", &options.file)
//       .Flag("--json", "print the findings as JSON", &options.json);
//   if (const std::optional<int> status = table.Read(argc, argv)) return *status;
#pragma once

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

// What an option or a positional argument does with its value (a flag's is
// empty). Returns false with a description in *error to refuse it.
using OptionAction = std::function<bool(const std::string& value, std::string* error)>;

// Which of the arguments that name no option are positional; any other is
// an unknown option.
enum class Positionals {
  kNone,            // none: every argument is an option
  kNoDash,          // those that do not begin with "-", the empty one too
  kNoDashNotEmpty,  // those that do not begin with "-", not the empty one
  kNumbersToo,      // those, and "-" alone and negative amounts ("-40 F", "-.5 m")
};

// The action that stores the value in *target.
OptionAction StoreIn(std::string* target);

// Whether `arg` asks for the help page: "--help" or "-h".
bool IsHelpOption(std::string_view arg);

class OptionTable {
 public:
  // `command` begins each message ("qmkit check"); `more` says where to
  // read more, on the line after a usage error.
  OptionTable(std::string command, std::string more);
  // The table of the tool `name`: "qmkit NAME" begins its messages, and
  // a usage error points at "'qmkit NAME --help'".
  static OptionTable ForTool(std::string_view name);

  // Text of the --help page, written as it stands between the options.
  OptionTable& Text(std::string_view text);
  // An option without a value, such as "--json"; `set` becomes true.
  OptionTable& Flag(std::string_view name, std::string_view help, bool* set);
  OptionTable& Flag(std::string_view name, std::string_view help, OptionAction action);
  // An option followed by its value, such as "--to UNIT". The value is the
  // next argument whatever it holds, "-x" too; without one the option
  // "needs a value".
  OptionTable& Value(std::string_view name, std::string_view argument, std::string_view help,
                     std::string* set);
  OptionTable& Value(std::string_view name, std::string_view argument, std::string_view help,
                     OptionAction action);
  // An option whose value may be left out: the next argument is its value
  // unless it begins with "-" ("-" alone is a value). Without a value the
  // action gets nothing: std::nullopt.
  OptionTable& OptionalValue(std::string_view name, std::string_view argument,
                             std::string_view help,
                             std::function<bool(const std::optional<std::string>& value,
                                                std::string* error)> action);
  // Positional arguments: the first goes to slots[0], the next to slots[1]
  // and so on; one more than there are slots is refused with `too_many`,
  // or, when that is empty, goes to the last slot again.
  OptionTable& Positional(Positionals which, std::vector<OptionAction> slots,
                          std::string too_many);
  // "--" ends the options: every argument after it is positional.
  OptionTable& DoubleDashEndsOptions();
  // Reads on after a usage error, so that options after it still take
  // effect (a later --json still decides how the error is told); the first
  // error is the one told, and a missing value still ends the reading.
  // Otherwise the first error ends the reading.
  OptionTable& ReadPastErrors();
  // How a usage error is told, instead of UsageError; returns the status.
  OptionTable& TellUsageErrorsWith(std::function<int(const std::string& error)> tell);

  // Reads argv[first] onwards. Returns std::nullopt when the command is to
  // run; otherwise the exit status after --help or -h wrote the help page
  // to standard output (done) or a usage error was told (bad usage). When
  // `met` is not null it gets the name of every option met, in order, and
  // "" for each positional argument.
  std::optional<int> Read(int argc, char** argv, int first = 2,
                          std::vector<std::string>* met = nullptr) const;

  // The help page: the text and the options in the order declared, each
  // option as "  --name ARGUMENT" with its help beside it from column 25.
  void WriteHelp(std::ostream& out) const;

  // Tells `error` as a usage error and returns the exit status for it:
  // "COMMAND: ERROR" and "(MORE)" on standard error, unless
  // TellUsageErrorsWith said otherwise.
  int UsageError(const std::string& error) const;

 private:
  enum class Kind { kText, kFlag, kValue, kOptionalValue };
  struct Entry {
    Kind kind;
    std::string name;      // the text for kText
    std::string argument;  // "FILE"
    std::string help;
    std::function<bool(const std::optional<std::string>&, std::string*)> action;
  };
  enum class Step {
    kNext,     // the option is taken
    kRefused,  // its action refused the value; read on as the table says
    kStop,     // its value is missing: no argument is left to read
  };

  const Entry* Find(std::string_view name) const;
  bool IsPositional(std::string_view arg, bool options_ended) const;
  Step TakeOption(const Entry& entry, int argc, char** argv, int* i, std::string* error) const;

  std::string command_;
  std::string more_;
  std::vector<Entry> entries_;
  Positionals positionals_ = Positionals::kNone;
  std::vector<OptionAction> slots_;
  std::string too_many_;
  bool double_dash_ends_options_ = false;
  bool read_past_errors_ = false;
  std::function<int(const std::string&)> tell_;
};

}  // namespace qm
