#include "dialog_text.h"

#include <algorithm>
#include <initializer_list>
#include <string>

#include "recognisers/currency_table.h"
#include "strings/string_table.h"
#include "terminal_text.h"
#include "text/utf8.h"

namespace qm {
namespace {

std::string Utf8(const CodePage& code_page, const std::string& narrow) {
  return ToUtf8(code_page.ToWide(narrow));
}

std::string Utf8(std::u16string_view wide) { return ToUtf8(wide); }

// Text from the page or the catalogue as the terminal shows it: a control
// character could start an escape sequence that clears or rewrites the
// screen, so each is written visibly, line breaks too.
std::string Shown(std::string_view utf8) { return TerminalSafe(utf8, false); }

// Each line of a multi-line text, indented.
// A text of the string table as the terminal shows it: UTF-8, without the
// "&" that marks a button's access key in the Windows dialogs.
std::string Label(int id) { return Utf8(LoadLabel(id)); }

// A label of the "From:" and "To:" column, padded so the values line up.
std::string Padded(std::string label) {
  label.resize(std::max<std::size_t>(label.size() + 1, 6), ' ');
  return label;
}

// Buttons in a row, each in brackets: "[Help] [OK] [Cancel]".
std::string Buttons(std::initializer_list<int> ids) {
  std::string row;
  for (int id : ids) row += (row.empty() ? "[" : " [") + Label(id) + "]";
  return row;
}

void DrawLines(const std::string& text, std::ostream& out) {
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = text.find('\n', start);
    out << "  " << Shown(std::string_view(text).substr(start, end - start)) << "\n";
    if (end == std::string::npos) break;
    start = end + 1;
  }
}

const char* ResultName(std::optional<int> result) {
  if (!result) return "open";
  switch (*result) {
    case 1: return "OK";
    case 2: return "Cancel";
    case CAboutDlg::kResultHomePage: return "Home Page";
    default: return "closed";
  }
}

void DrawList(const ChoiceDialog& dialog, std::ostream& out) {
  const SiteChoiceList& list = dialog.list();
  // The column title stands over the lines' texts, after " >NN [x] ".
  out << std::string(9, ' ') << Utf8(LoadText(IDS_LIST_COLUMN)) << "\n";
  for (std::size_t line = 0; line < list.size(); ++line) {
    out << (list.highlight() == line ? " >" : "  ") << (line + 1 < 10 ? " " : "")
        << line + 1 << " [" << (list.IsChosen(line) ? 'x' : ' ') << "] "
        << Shown(Utf8(dialog.code_page(), list.entry(line).shortDescription)) << "\n";
  }
  if (list.size() == 0) out << "     (no sites or actions in this category)\n";
  out << "  status: " << Shown(Utf8(dialog.code_page(), list.status_line())) << "\n";
}

void LogChoice(const ChoiceDialog& dialog, LoggedEvent& e) {
  e.fields.push_back({"template", std::to_string(dialog.texts().template_id)});
  if (dialog.has_text()) {
    e.fields.push_back({"caption", Utf8(dialog.texts().group_caption)});
    e.fields.push_back({"text", Utf8(dialog.edit_text())});
  }
  e.fields.push_back({"prompt", Utf8(dialog.texts().prompt)});
  e.fields.push_back({"status", Utf8(dialog.code_page(), dialog.list().status_line())});
  e.fields.push_back({"result", ResultName(dialog.result())});
  const SiteChoiceList& list = dialog.list();
  for (std::size_t line = 0; line < list.size(); ++line) {
    const SiteEntry& entry = list.entry(line);
    e.items.push_back({{"name", Utf8(dialog.code_page(), entry.name)},
                       {"text", Utf8(dialog.code_page(), entry.shortDescription)},
                       {"chosen", list.IsChosen(line) ? "yes" : "no"}});
  }
}

std::string CurrencyText(const CurrencyInfo* currency) {
  return currency == nullptr ? std::string("(none)")
                             : Utf8(CurrencyDisplayText(*currency));
}

}  // namespace

void DrawDialog(const ChoiceDialog& dialog, std::ostream& out) {
  out << "== " << Utf8(LoadText(IDS_PRODUCT_NAME)) << " ==\n";
  if (dialog.has_text()) {
    out << "  " << Shown(Utf8(dialog.texts().group_caption)) << ": ["
        << Shown(Utf8(dialog.edit_text())) << "]\n";
  }
  DrawLines(Utf8(dialog.texts().prompt), out);
  DrawList(dialog, out);
  out << "  " << Buttons({IDS_BUTTON_HELP, IDS_BUTTON_OK, IDS_BUTTON_CANCEL}) << "\n"
      << "  gestures: toggle N, highlight N,"
      << (dialog.has_text() ? " text TEXT," : "") << " ok, cancel, help\n";
}

void DrawDialog(const CAskCurrencyDlg& dialog, std::ostream& out) {
  out << "== " << Utf8(LoadText(IDS_PRODUCT_NAME)) << " ==\n"
      << "  " << Label(IDS_CURRENCY_CONVERT) << " [" << Shown(Utf8(dialog.edit_text()))
      << "] " << Label(IDS_CURRENCY_EXAMPLE) << "\n"
      << "  " << Padded(Label(IDS_FROM)) << CurrencyText(dialog.chosen_source()) << "\n"
      << "  " << Padded(Label(IDS_TO)) << CurrencyText(dialog.chosen_target()) << "\n";
  DrawLines(Utf8(dialog.texts().prompt), out);
  DrawList(dialog, out);
  out << "  " << Buttons({IDS_BUTTON_HELP, IDS_BUTTON_OK, IDS_BUTTON_CANCEL}) << "\n"
      << "  gestures: amount TEXT, from CODE, to CODE, toggle N, ok, cancel, help\n";
}

void DrawDialog(const CAskConvertDlg& dialog, std::ostream& out) {
  const CodePage& cp = dialog.code_page();
  auto chosen_name = [&](const auto& list) {
    return list.chosen == list.kNone
               ? std::string("(none)")
               : Shown(Utf8(cp, list.entries[static_cast<std::size_t>(list.chosen)].name));
  };
  out << "== " << Utf8(LoadText(IDS_PRODUCT_NAME)) << " ==\n"
      << "  " << Label(IDS_UNITS_CONVERT_THE) << chosen_name(dialog.categories()) << " ["
      << Shown(Utf8(cp, dialog.amountText())) << "]\n"
      << "  " << Padded(Label(IDS_FROM)) << chosen_name(dialog.fromUnits()) << "\n"
      << "  " << Padded(Label(IDS_TO)) << chosen_name(dialog.toUnits()) << "\n"
      << "  " << Buttons({IDS_UNITS_CALCULATE}) << "\n"
      << "  " << Shown(Utf8(cp, dialog.resultText())) << "\n";
  DrawLines(Label(IDS_UNITS_WARRANTY), out);
  out << "  " << Buttons({IDS_BUTTON_HELP, IDS_BUTTON_OK_ACCEL}) << "\n  categories:";
  for (const auto& entry : dialog.categories().entries) {
    out << " " << Shown(Utf8(cp, entry.name)) << ";";
  }
  out << "\n  units:";
  for (const auto& entry : dialog.fromUnits().entries) {
    out << " " << Shown(Utf8(cp, entry.name)) << ";";
  }
  out << "\n  gestures: category NAME, amount TEXT, from UNIT, to UNIT, calculate,"
         " ok, cancel, help\n";
}

void DrawDialog(const CAboutDlg&, std::ostream& out) {
  out << "== " << Utf8(LoadText(IDS_PRODUCT_NAME)) << " ==\n"
      << "  " << Label(IDS_ABOUT_PRODUCT) << "\n"
      << "  " << Label(IDS_ABOUT_FEEDBACK) << "\n"
      << "  " << Buttons({IDS_BUTTON_HELP, IDS_ABOUT_CUSTOMIZATION}) << "   "
      << Label(IDS_ABOUT_GO_TO_URL) << ": " << Buttons({IDS_ABOUT_HOME_PAGE}) << "   "
      << Buttons({IDS_BUTTON_OK_ACCEL}) << "\n"
      << "  gestures: help, customize, home, ok, cancel\n";
}

void LogDialog(const ChoiceDialog& dialog, ActionLog& log) {
  LogChoice(dialog, log.Add("dialog"));
}

void LogDialog(const CAskCurrencyDlg& dialog, ActionLog& log) {
  LoggedEvent& e = log.Add("dialog");
  LogChoice(dialog, e);
  e.fields.push_back({"from", CurrencyText(dialog.result() ? dialog.source()
                                                           : dialog.chosen_source())});
  e.fields.push_back({"to", CurrencyText(dialog.result() ? dialog.target()
                                                         : dialog.chosen_target())});
}

void LogDialog(const CAskConvertDlg& dialog, ActionLog& log) {
  const CodePage& cp = dialog.code_page();
  auto chosen_name = [&](const auto& list) {
    return list.chosen == list.kNone
               ? std::string()
               : Utf8(cp, list.entries[static_cast<std::size_t>(list.chosen)].name);
  };
  LoggedEvent& e = log.Add("dialog");
  e.fields = {{"template", "231"},
              {"category", chosen_name(dialog.categories())},
              {"amount", Utf8(cp, dialog.amountText())},
              {"from", chosen_name(dialog.fromUnits())},
              {"to", chosen_name(dialog.toUnits())},
              {"result-text", Utf8(cp, dialog.resultText())},
              {"result", ResultName(dialog.result())}};
}

void LogDialog(const CAboutDlg& dialog, ActionLog& log) {
  log.Add("dialog").fields = {{"template", "105"},
                              {"result", ResultName(dialog.result())}};
}

}  // namespace qm
