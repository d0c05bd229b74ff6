#include "option_table.h"

#include <iostream>
#include <utility>

#include "exit_status.h"

namespace qm {
namespace {

// Where an option's help begins on its line, and the help of a long option
// on a line of its own.
constexpr std::size_t kHelpColumn = 25;

}  // namespace

OptionAction StoreIn(std::string* target) {
  return [target](const std::string& value, std::string*) {
    *target = value;
    return true;
  };
}

bool IsHelpOption(std::string_view arg) { return arg == "--help" || arg == "-h"; }

OptionTable::OptionTable(std::string command, std::string more)
    : command_(std::move(command)), more_(std::move(more)) {}

OptionTable OptionTable::ForTool(std::string_view name) {
  const std::string command = "qmkit " + std::string(name);
  return OptionTable(command, "'" + command + " --help' tells more");
}

OptionTable& OptionTable::Text(std::string_view text) {
  entries_.push_back({Kind::kText, std::string(text), {}, {}, {}});
  return *this;
}

OptionTable& OptionTable::Flag(std::string_view name, std::string_view help, bool* set) {
  return Flag(name, help, [set](const std::string&, std::string*) {
    *set = true;
    return true;
  });
}

OptionTable& OptionTable::Flag(std::string_view name, std::string_view help,
                               OptionAction action) {
  entries_.push_back({Kind::kFlag, std::string(name), {}, std::string(help),
                      [action = std::move(action)](const std::optional<std::string>&,
                                                   std::string* error) {
                        return action(std::string(), error);
                      }});
  return *this;
}

OptionTable& OptionTable::Value(std::string_view name, std::string_view argument,
                                std::string_view help, std::string* set) {
  return Value(name, argument, help, StoreIn(set));
}

OptionTable& OptionTable::Value(std::string_view name, std::string_view argument,
                                std::string_view help, OptionAction action) {
  entries_.push_back({Kind::kValue, std::string(name), std::string(argument), std::string(help),
                      [action = std::move(action)](const std::optional<std::string>& value,
                                                   std::string* error) {
                        return action(*value, error);
                      }});
  return *this;
}

OptionTable& OptionTable::OptionalValue(
    std::string_view name, std::string_view argument, std::string_view help,
    std::function<bool(const std::optional<std::string>&, std::string*)> action) {
  entries_.push_back({Kind::kOptionalValue, std::string(name), std::string(argument),
                      std::string(help), std::move(action)});
  return *this;
}

OptionTable& OptionTable::Positional(Positionals which, std::vector<OptionAction> slots,
                                     std::string too_many) {
  positionals_ = which;
  slots_ = std::move(slots);
  too_many_ = std::move(too_many);
  return *this;
}

OptionTable& OptionTable::DoubleDashEndsOptions() {
  double_dash_ends_options_ = true;
  return *this;
}

OptionTable& OptionTable::ReadPastErrors() {
  read_past_errors_ = true;
  return *this;
}

OptionTable& OptionTable::TellUsageErrorsWith(std::function<int(const std::string&)> tell) {
  tell_ = std::move(tell);
  return *this;
}

const OptionTable::Entry* OptionTable::Find(std::string_view name) const {
  for (const Entry& entry : entries_) {
    if (entry.kind != Kind::kText && entry.name == name) return &entry;
  }
  return nullptr;
}

bool OptionTable::IsPositional(std::string_view arg, bool options_ended) const {
  if (options_ended) return true;
  const bool no_dash = arg.empty() || arg[0] != '-';
  switch (positionals_) {
    case Positionals::kNone: return false;
    case Positionals::kNoDash: return no_dash;
    case Positionals::kNoDashNotEmpty: return !arg.empty() && arg[0] != '-';
    case Positionals::kNumbersToo:
      return arg.size() < 2 || no_dash || (arg[1] >= '0' && arg[1] <= '9') || arg[1] == '.';
  }
  return false;
}

OptionTable::Step OptionTable::TakeOption(const Entry& entry, int argc, char** argv, int* i,
                                          std::string* error) const {
  std::optional<std::string> value;
  const bool has_next = *i + 1 < argc;
  if (entry.kind == Kind::kValue) {
    if (!has_next) {
      *error = entry.name + " needs a value";
      return Step::kStop;
    }
    value = argv[++*i];
  } else if (entry.kind == Kind::kOptionalValue && has_next &&
             (argv[*i + 1][0] != '-' || std::string_view(argv[*i + 1]) == "-")) {
    value = argv[++*i];
  }
  ++*i;
  return entry.action(value, error) ? Step::kNext : Step::kRefused;
}

std::optional<int> OptionTable::Read(int argc, char** argv, int first,
                                     std::vector<std::string>* met) const {
  std::string first_error;
  std::size_t positionals = 0;
  bool options_ended = false;
  for (int i = first; i < argc;) {
    const std::string arg = argv[i];
    std::string error;
    if (IsPositional(arg, options_ended)) {
      if (met != nullptr) met->emplace_back();
      ++i;
      const bool spare = positionals >= slots_.size();
      if (spare && (!too_many_.empty() || slots_.empty())) {
        error = too_many_.empty() ? "unexpected " + arg : too_many_;
      } else if (!slots_[spare ? slots_.size() - 1 : positionals](arg, &error)) {
        if (error.empty()) error = "unexpected " + arg;
      }
      ++positionals;
    } else if (double_dash_ends_options_ && arg == "--") {
      options_ended = true;
      ++i;
    } else if (IsHelpOption(arg)) {
      WriteHelp(std::cout);
      return kExitDone;
    } else if (const Entry* entry = Find(arg)) {
      if (met != nullptr) met->push_back(entry->name);
      const Step step = TakeOption(*entry, argc, argv, &i, &error);
      if (step == Step::kStop) {
        if (first_error.empty()) first_error = error;
        break;
      }
      if (step == Step::kRefused && error.empty()) error = entry->name + ": refused";
    } else {
      error = "unknown option " + arg;
      ++i;
    }
    if (first_error.empty()) first_error = error;
    if (!first_error.empty() && !read_past_errors_) break;
  }
  if (!first_error.empty()) return UsageError(first_error);
  return std::nullopt;
}

void OptionTable::WriteHelp(std::ostream& out) const {
  for (const Entry& entry : entries_) {
    if (entry.kind == Kind::kText) {
      out << entry.name;
      continue;
    }
    std::string label = "  " + entry.name;
    if (entry.kind == Kind::kValue) label += " " + entry.argument;
    if (entry.kind == Kind::kOptionalValue) label += " [" + entry.argument + "]";
    out << label;
    if (label.size() + 2 > kHelpColumn) {
      out << "\n" << std::string(kHelpColumn, ' ');
    } else {
      out << std::string(kHelpColumn - label.size(), ' ');
    }
    for (const char c : entry.help) {
      out << c;
      if (c == '\n') out << std::string(kHelpColumn, ' ');
    }
    out << "\n";
  }
}

int OptionTable::UsageError(const std::string& error) const {
  if (tell_) return tell_(error);
  std::cerr << command_ << ": " << error << "\n(" << more_ << ")\n";
  return kExitUsage;
}

}  // namespace qm
