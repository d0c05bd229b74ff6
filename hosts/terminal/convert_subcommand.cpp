#include <iostream>
#include <optional>
#include <string>
#include <string_view>

#include "catalogue/catalogue_categories.h"
#include "catalogue/catalogue_loader.h"
#include "exit_status.h"
#include "option_table.h"
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

// What the command line asks for.
struct ConvertOptions {
  std::string catalogue_file;
  bool json = false;
  std::optional<std::string> quantity;
  std::optional<std::string> to;
};

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

OptionTable ConvertTable(ConvertOptions* options) {
  OptionTable table = OptionTable::ForTool("convert");
  table
      .Text("usage: qmkit convert QUANTITY [--to UNIT] [--catalogue FILE] [--json]\n"
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
            "options:\n")
      .Value("--to", "UNIT",
             "a unit of the same category: a name as the\n"
             "catalogue lists it (\"miles\", \"mi\"), or a text\n"
             "that begins with one",
             [options](const std::string& unit, std::string*) {
               options->to = unit;
               return true;
             })
      .Value("--catalogue", "FILE",
             "the user's catalogue (default: qmkit.ini in\n"
             "$XDG_CONFIG_HOME/qmkit or ~/.config/qmkit); its\n"
             "UNIT: sections replace the built-in units",
             &options->catalogue_file)
      .Flag("--json", "{\"amount\":...,\"unit\":...,\"category\":...}", &options->json)
      .Text("\n")
      // A negative amount ("-40 F", "-.5 m") is an argument, not an option.
      .Positional(Positionals::kNumbersToo,
                  {[options](const std::string& quantity, std::string*) {
                    options->quantity = quantity;
                    return true;
                  }},
                  "one QUANTITY only; quote it, such as \"12.5 km\"")
      .DoubleDashEndsOptions()
      // Read to the end, so that a --json after a mistake still decides
      // how it is told.
      .ReadPastErrors()
      .TellUsageErrorsWith([options](const std::string& error) {
        return Usage(options->json, error);
      });
  return table;
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

// The quantity as the converter reads it: its unit and amount.
struct Reading {
  const Unit* unit = nullptr;
  std::u16string amount;
};

// Reads `quantity` with the units of `table`. On failure tells why and
// returns the exit status.
std::optional<int> ReadQuantity(const std::string& quantity, const UnitTable& table,
                                const CodePage& code_page, bool json, Reading* reading) {
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
  *reading = {parsed.unit, parsed.amount};
  return std::nullopt;
}

// Prints the amount and unit the converter would propose.
int PrintProposal(const Reading& reading, const CodePage& code_page, bool json) {
  const auto utf8 = [&](std::string_view narrow) { return ToUtf8(code_page.ToWide(narrow)); };
  const std::string amount = ToUtf8(reading.amount);
  const std::string category = utf8(reading.unit->category->name);
  if (json) {
    JsonWriter proposal;
    proposal.BeginObject()
        .Key("amount").String(amount)
        .Key("unit").String(utf8(reading.unit->name))
        .Key("category").String(category)
        .EndObject();
    std::cout << proposal.text() << "\n";
  } else {
    std::cout << amount << " " << utf8(reading.unit->name) << " (" << category << ")\n";
  }
  return kExitDone;
}

// A conversion as the converter's Calculate button shows it, in UTF-8.
struct ConversionAnswer {
  std::string amount;
  std::string unit;
  std::string to;
  std::string category;
  std::string result;  // says why when not calculated
  bool calculated = false;
};

// Converts the reading to the unit `to_name`. When it cannot, tells why
// and returns the exit status.
std::optional<int> Convert(const Reading& reading, const std::string& to_name,
                           const UnitTable& table, const CodePage& code_page, bool json,
                           ConversionAnswer* answer) {
  const auto utf8 = [&](std::string_view narrow) { return ToUtf8(code_page.ToWide(narrow)); };
  const Unit& from = *reading.unit;
  const std::string category = utf8(from.category->name);
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
      ConvertQuantity(code_page.ToNarrow(reading.amount), from, *to, code_page);
  if (!conversion.is_number) {
    return Fail(json, kExitNothingFound,
                "the amount " + ToUtf8(reading.amount) + " is not a number");
  }
  // ConvertQuantity words a failure as a result text too; the exit status
  // needs to know which it was, so the arithmetic is asked again.
  double value = 0;
  double reference = 0;
  double result = 0;
  std::size_t consumed = 0;
  std::u16string detail;
  answer->calculated = ScanDouble(conversion.amount, &value, &consumed) &&
                       ToReference(from, value, &reference, &detail) &&
                       FromReference(*to, reference, &result, &detail);
  answer->amount = utf8(conversion.amount);
  answer->unit = utf8(from.name);
  answer->to = utf8(to->name);
  answer->category = category;
  answer->result = utf8(conversion.result);
  return std::nullopt;
}

// Prints the conversion; returns the exit status.
int PrintConversion(const ConversionAnswer& answer, bool json) {
  if (json) {
    JsonWriter out;
    out.BeginObject()
        .Key("amount").String(answer.amount)
        .Key("unit").String(answer.unit)
        .Key("to").String(answer.to)
        .Key("category").String(answer.category)
        .Key("calculated").Bool(answer.calculated)
        .Key("result").String(answer.result);
    // The result text says why, as the converter's dialog shows it.
    if (!answer.calculated) out.Key("error").String(answer.result);
    std::cout << out.EndObject().text() << "\n";
  } else {
    std::cout << answer.result << "\n";
  }
  return answer.calculated ? kExitDone : kExitNothingFound;
}

}  // namespace

int RunConvertSubcommand(int argc, char** argv) {
  ConvertOptions options;
  const OptionTable table = ConvertTable(&options);
  if (const std::optional<int> status = table.Read(argc, argv)) return *status;
  if (!options.quantity) return table.UsageError("which QUANTITY?");
  const bool json = options.json;

  const PosixModuleEnvironment env(options.catalogue_file);
  std::string reason;
  if (!options.catalogue_file.empty() && !CheckCatalogueFile(options.catalogue_file, &reason)) {
    return Fail(json, kExitUsage, "cannot read " + options.catalogue_file + ": " + reason);
  }
  SiteCatalogue catalogue;
  LoadCatalogue(env, kUnitSectionPrefix, false, catalogue);
  UnitTable units;
  BuildUnitTable(catalogue, units);

  const Windows1252CodePage code_page;
  Reading reading;
  if (const std::optional<int> status =
          ReadQuantity(*options.quantity, units, code_page, json, &reading)) {
    return *status;
  }
  if (!options.to) return PrintProposal(reading, code_page, json);
  ConversionAnswer answer;
  if (const std::optional<int> status =
          Convert(reading, *options.to, units, code_page, json, &answer)) {
    return *status;
  }
  return PrintConversion(answer, json);
}

}  // namespace qm
