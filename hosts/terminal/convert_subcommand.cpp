#include <iostream>
#include <string>
#include <string_view>

#include "catalogue/catalogue_loader.h"
#include "exit_status.h"
#include "posix_module_environment.h"
#include "subcommands.h"
#include "text/json_writer.h"
#include "text/number_scan.h"
#include "text/utf8.h"
#include "text/windows_1252.h"
#include "units/quantity.h"
#include "units/unit_table.h"

namespace qm {
namespace {

constexpr char kUsage[] =
    "usage: qmkit convert QUANTITY [--to UNIT] [--catalogue FILE] [--json]\n"
    "\n"
    "Reads a quantity as the converter reads a selection, such as \"12.5 km\"\n"
    "or \"-40 \xC2\xB0"
    "C\", with the units of the catalogue in force. Without --to it\n"
    "prints the amount and unit it proposes and the unit's category; with\n"
    "--to it converts, as the converter's Calculate button does:\n"
    "  qmkit convert \"12.5 km\" --to miles   ->   12.5 kilometres = 7.76714 miles\n"
    "Exit status: 0 done, 1 no number or no unit in QUANTITY, or the\n"
    "calculation failed; 2 an unknown --to unit or bad usage. With --json a\n"
    "failure prints {\"error\":...} too, with the same exit status.\n"
    "\n"
    "options:\n"
    "  --to UNIT              a unit of the same category: a name as the\n"
    "                         catalogue lists it (\"miles\", \"mi\"), or a text\n"
    "                         that begins with one\n"
    "  --catalogue FILE       the user's catalogue (default: qmkit.ini in\n"
    "                         $XDG_CONFIG_HOME/qmkit or ~/.config/qmkit); its\n"
    "                         UNIT: sections replace the built-in units\n"
    "  --json                 {\"amount\":...,\"unit\":...,\"category\":...}\n"
    "\n";

// A negative amount ("-40 F", "-.5 m") is an argument, not an option.
bool IsPositional(std::string_view arg) {
  return arg.size() < 2 || arg[0] != '-' || (arg[1] >= '0' && arg[1] <= '9') ||
         arg[1] == '.';
}

// Says what went wrong, on standard error or, for --json, as the JSON
// object on standard output that a script reads either way. Returns
// `status`.
int Fail(bool json, int status, const std::string& error) {
  if (json) {
    std::cout << JsonWriter().BeginObject().Key("error").String(error).EndObject().text()
              << "\n";
  } else {
    std::cerr << "qmkit convert: " << error << "\n";
  }
  return status;
}

int Usage(bool json, const std::string& error) {
  Fail(json, kExitUsage, error);
  if (!json) std::cerr << "('qmkit convert --help' tells more)\n";
  return kExitUsage;
}

// The unit `name` (8-bit) stands for: an exact name, in `category` when
// several units bear it, else the unit the longest leading part names.
const Unit* FindToUnit(const UnitTable& table, std::string_view name,
                       const UnitCategory& category) {
  const auto [first, last] = table.names().equal_range(name);
  for (auto it = first; it != last; ++it) {
    if (it->second->category == &category) return it->second;
  }
  if (first != last) return first->second;
  return FindUnitByText(table, name);
}

}  // namespace

int RunConvertSubcommand(int argc, char** argv) {
  std::string catalogue_file;
  bool json = false;
  bool has_quantity = false;
  std::string quantity;
  bool has_to = false;
  std::string to_name;
  bool options_end = false;
  // Kept until every argument is read, so that a --json after the mistake
  // still decides how it is told.
  std::string usage_error;
  for (int i = 2; i < argc;) {
    const std::string_view arg = argv[i];
    if (options_end || IsPositional(arg)) {
      if (has_quantity && usage_error.empty()) {
        usage_error = "one QUANTITY only; quote it, such as \"12.5 km\"";
      }
      has_quantity = true;
      quantity = std::string(arg);
      ++i;
    } else if (arg == "--") {
      options_end = true;
      ++i;
    } else if (arg == "--to" || arg == "--catalogue") {
      if (i + 1 >= argc) {
        if (usage_error.empty()) usage_error = std::string(arg) + " needs a value";
        break;
      }
      if (arg == "--to") {
        has_to = true;
        to_name = argv[i + 1];
      } else {
        catalogue_file = argv[i + 1];
      }
      i += 2;
    } else if (arg == "--json") {
      json = true;
      ++i;
    } else if (arg == "--help" || arg == "-h") {
      std::cout << kUsage;
      return kExitDone;
    } else {
      if (usage_error.empty()) usage_error = "unknown option " + std::string(arg);
      ++i;
    }
  }
  if (!usage_error.empty()) return Usage(json, usage_error);
  if (!has_quantity) return Usage(json, "which QUANTITY?");

  const PosixModuleEnvironment env(catalogue_file);
  std::string reason;
  if (!catalogue_file.empty() && !CheckCatalogueFile(catalogue_file, &reason)) {
    return Fail(json, kExitUsage, "cannot read " + catalogue_file + ": " + reason);
  }
  SiteCatalogue catalogue;
  LoadCatalogue(env, "UNIT:", false, catalogue);
  UnitTable table;
  BuildUnitTable(catalogue, table);

  const Windows1252CodePage code_page;
  auto utf8 = [&](std::string_view narrow) { return ToUtf8(code_page.ToWide(narrow)); };
  const std::u16string selection = FromUtf8(quantity);
  bool has_digit = false;
  for (const char16_t c : selection) has_digit |= c >= u'0' && c <= u'9';
  if (!has_digit) return Fail(json, kExitNothingFound, "no number in \"" + quantity + "\"");
  const ParsedQuantity parsed = ParseQuantity(selection, table, code_page);
  if (parsed.unit == nullptr) {
    return Fail(json, kExitNothingFound,
                "no unit recognised in \"" + quantity +
                    "\" (qmkit catalogue UNIT lists the units)");
  }
  const Unit& from = *parsed.unit;
  const std::string amount = ToUtf8(parsed.amount);
  const std::string category = utf8(from.category->name);

  if (!has_to) {
    if (json) {
      JsonWriter proposal;
      proposal.BeginObject()
          .Key("amount").String(amount)
          .Key("unit").String(utf8(from.name))
          .Key("category").String(category)
          .EndObject();
      std::cout << proposal.text() << "\n";
    } else {
      std::cout << amount << " " << utf8(from.name) << " (" << category << ")\n";
    }
    return kExitDone;
  }

  const std::string narrow_to = code_page.ToNarrow(FromUtf8(to_name));
  const Unit* to = FindToUnit(table, narrow_to, *from.category);
  if (to == nullptr) {
    return Fail(json, kExitUsage,
                "unknown unit \"" + to_name + "\" (qmkit catalogue UNIT lists the units)");
  }
  if (to->category != from.category) {
    return Fail(json, kExitUsage,
                utf8(to->name) + " is a unit of " + utf8(to->category->name) +
                    ", not of " + category);
  }
  const Conversion conversion =
      ConvertQuantity(code_page.ToNarrow(parsed.amount), from, *to, code_page);
  if (!conversion.is_number) {
    return Fail(json, kExitNothingFound, "the amount " + amount + " is not a number");
  }
  // ConvertQuantity words a failure as a result text too; the exit status
  // needs to know which it was, so the arithmetic is asked again.
  double value = 0;
  double reference = 0;
  double result = 0;
  std::size_t consumed = 0;
  std::u16string detail;
  const bool calculated = ScanDouble(conversion.amount, &value, &consumed) &&
                          ToReference(from, value, &reference, &detail) &&
                          FromReference(*to, reference, &result, &detail);
  if (json) {
    JsonWriter answer;
    answer.BeginObject()
        .Key("amount").String(utf8(conversion.amount))
        .Key("unit").String(utf8(from.name))
        .Key("to").String(utf8(to->name))
        .Key("category").String(category)
        .Key("calculated").Bool(calculated)
        .Key("result").String(utf8(conversion.result));
    // The result text says why, as the converter's dialog shows it.
    if (!calculated) answer.Key("error").String(utf8(conversion.result));
    std::cout << answer.EndObject().text() << "\n";
  } else {
    std::cout << utf8(conversion.result) << "\n";
  }
  return calculated ? kExitDone : kExitNothingFound;
}

}  // namespace qm
