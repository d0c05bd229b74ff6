#include "extension_dialogs.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "dialogs/gesture_script.h"
#include "extension_bridge.h"
#include "text/json_writer.h"
#include "strings/string_table.h"
#include "text/utf8.h"

namespace qm {
namespace {

// The letter after a single "&" in a button's text, lower case, or none.
std::u16string AccessKey(std::u16string_view text) {
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != u'&') continue;
    if (text[i + 1] == u'&') {
      ++i;  // "&&" is an ampersand
      continue;
    }
    const char16_t key = text[i + 1];
    const bool upper = key >= u'A' && key <= u'Z';
    return std::u16string(1, upper ? static_cast<char16_t>(key - u'A' + u'a') : key);
  }
  return {};
}

// The labels by name, and the access keys of those that have one.
void WriteLabels(JsonWriter& json, std::initializer_list<std::pair<const char*, int>> ids) {
  json.Key(protocol::kFieldLabels).BeginObject();
  for (const auto& [name, id] : ids) json.Key(name).String(LoadLabel(id));
  json.EndObject();
  json.Key("keys").BeginObject();
  for (const auto& [name, id] : ids) {
    const std::u16string key = AccessKey(LoadText(id));
    if (!key.empty()) json.Key(name).String(key);
  }
  json.EndObject();
}

std::u16string Wide(const CodePage& code_page, const std::string& narrow) {
  return code_page.ToWide(narrow);
}

void WriteOptionalLine(JsonWriter& json, const char* key, std::optional<std::size_t> line) {
  json.Key(key);
  if (line) {
    json.Number(static_cast<long long>(*line));
  } else {
    json.Null();
  }
}

const char* FocusName(DialogFocus focus) {
  switch (focus) {
    case DialogFocus::kOkButton: return "ok";
    case DialogFocus::kList: return "list";
    case DialogFocus::kEditBox: return "text";
  }
  return "ok";
}

void WriteChoice(JsonWriter& json, const ChoiceDialog& dialog) {
  const CodePage& cp = dialog.code_page();
  const SiteChoiceList& list = dialog.list();
  json.Key("template").Number(dialog.texts().template_id)
      .Key("hasText").Bool(dialog.has_text())
      .Key("caption").String(dialog.texts().group_caption)
      .Key("text").String(dialog.edit_text())
      .Key("prompt").String(dialog.texts().prompt)
      .Key("column").String(LoadText(IDS_LIST_COLUMN))
      .Key("focus").String(FocusName(dialog.focus()))
      .Key("status").String(Wide(cp, list.status_line()));
  WriteOptionalLine(json, "highlight", list.highlight());
  WriteOptionalLine(json, "scroll", list.scroll_target());
  json.Key("lines").BeginArray();
  for (std::size_t line = 0; line < list.size(); ++line) {
    json.BeginObject()
        .Key("text").String(Wide(cp, list.entry(line).shortDescription))
        .Key("chosen").Bool(list.IsChosen(line))
        .EndObject();
  }
  json.EndArray();
}

void WriteCurrency(JsonWriter& json, const CAskCurrencyDlg& dialog) {
  const auto code = [&](const CurrencyInfo* row) {
    if (row == nullptr) {
      json.Null();
    } else {
      json.String(row->isoCode);
    }
  };
  json.Key("currencies").BeginArray();
  for (const CurrencyInfo* row : dialog.currencies()) {
    json.BeginObject()
        .Key("code").String(row->isoCode)
        .Key("text").String(CurrencyDisplayText(*row))
        .EndObject();
  }
  json.EndArray();
  json.Key("source");
  code(dialog.chosen_source());
  json.Key("target");
  code(dialog.chosen_target());
}

template <typename Item>
void WriteConvertList(JsonWriter& json, const char* key, const ConvertChoiceList<Item>& list,
                      const CodePage& cp) {
  json.Key(key).BeginObject().Key("chosen").Number(list.chosen).Key("names").BeginArray();
  for (const auto& entry : list.entries) json.String(Wide(cp, entry.name));
  json.EndArray().EndObject();
}

const char* ConvertFocusName(int control) {
  switch (control) {
    case CAskConvertDlg::kIdAmount: return "amount";
    case CAskConvertDlg::kIdCategoryList: return "category";
    case CAskConvertDlg::kIdFromList: return "from";
    case CAskConvertDlg::kIdToList: return "to";
    case CAskConvertDlg::kIdCalculate: return "calculate";
    case CAskConvertDlg::kIdOk: return "ok";
    default: return "";
  }
}

// The request that shows `dialog` as it stands, with the fault of the
// gesture before, if any.
template <typename Dialog, typename Write>
std::string DialogRequest(const char* kind, const Dialog& dialog, const std::string& fault,
                          int focus_moves, Write write) {
  using namespace protocol;
  JsonWriter json = BeginRequest(kRequestDialog);
  json.Key(kFieldDialog).String(kind)
      .Key(kFieldTitle).String(LoadText(IDS_PRODUCT_NAME))
      .Key(kFieldFault).String(fault)
      .Key(kFieldState).BeginObject()
      .Key("focusMoves").Number(focus_moves);
  write(json, dialog);
  json.EndObject().EndObject();
  return json.text();
}

// Shows `dialog` until it ends. `focus_moves` counts the times the dialog's
// rules have moved the focus: the window moves its own focus when the count
// changes, and a redraw alone leaves the focus where the person put it.
template <typename Dialog, typename Write>
void Run(const char* kind, Dialog& dialog, const int& focus_moves, Write write) {
  std::string fault;
  while (!dialog.result()) {
    const std::string answer =
        AskExtension(DialogRequest(kind, dialog, fault, focus_moves, write));
    if (answer.empty()) {
      dialog.Cancel();  // the window was closed
      break;
    }
    std::vector<Gesture> gestures;
    fault.clear();
    if (ParseGestures(answer, &gestures, &fault)) PlayGestures(dialog, gestures, &fault);
  }
  AskExtension(BeginRequest(protocol::kRequestDialogEnd).EndObject().text());
}

// The dialog's focus moves counted while it is shown. The dialog keeps no
// owner window of its own here: the extension's messages need none.
template <typename Dialog>
class FocusCount {
 public:
  explicit FocusCount(Dialog& dialog) : dialog_(dialog) {
    dialog_.AttachWindow(0, [this](auto) { ++moves_; });
  }
  ~FocusCount() { dialog_.AttachWindow(0); }
  FocusCount(const FocusCount&) = delete;
  FocusCount& operator=(const FocusCount&) = delete;
  const int& moves() const { return moves_; }

 private:
  Dialog& dialog_;
  int moves_ = 0;
};

}  // namespace

void ExtensionDialogs::RunChoiceDialog(WindowHandle, ChoiceDialog& dialog) {
  const FocusCount<ChoiceDialog> focus(dialog);
  dialog.Open();
  Run(protocol::kDialogChoice, dialog, focus.moves(),
      [](JsonWriter& json, const ChoiceDialog& d) {
    WriteChoice(json, d);
    WriteLabels(json, {{"ok", IDS_BUTTON_OK}, {"cancel", IDS_BUTTON_CANCEL},
                       {"help", IDS_BUTTON_HELP}});
  });
}

void ExtensionDialogs::RunCurrencyDialog(WindowHandle, CAskCurrencyDlg& dialog) {
  const FocusCount<ChoiceDialog> focus(dialog);
  dialog.Open();
  Run(protocol::kDialogCurrency, dialog, focus.moves(),
      [](JsonWriter& json, const CAskCurrencyDlg& d) {
    WriteChoice(json, d);
    WriteCurrency(json, d);
    WriteLabels(json, {{"ok", IDS_BUTTON_OK}, {"cancel", IDS_BUTTON_CANCEL},
                       {"help", IDS_BUTTON_HELP}, {"convert", IDS_CURRENCY_CONVERT},
                       {"example", IDS_CURRENCY_EXAMPLE}, {"from", IDS_FROM},
                       {"to", IDS_TO}});
  });
}

void ExtensionDialogs::RunConvertDialog(WindowHandle, CAskConvertDlg& dialog) {
  const FocusCount<CAskConvertDlg> focus(dialog);
  dialog.Open();
  Run(protocol::kDialogConvert, dialog, focus.moves(),
      [](JsonWriter& json, const CAskConvertDlg& d) {
    const CodePage& cp = d.code_page();
    WriteConvertList(json, "categories", d.categories(), cp);
    WriteConvertList(json, "fromUnits", d.fromUnits(), cp);
    WriteConvertList(json, "toUnits", d.toUnits(), cp);
    json.Key("amount").String(Wide(cp, d.amountText()))
        .Key("result").String(Wide(cp, d.resultText()))
        .Key("focus").String(ConvertFocusName(d.focus()));
    WriteLabels(json, {{"ok", IDS_BUTTON_OK_ACCEL}, {"help", IDS_BUTTON_HELP},
                       {"convertThe", IDS_UNITS_CONVERT_THE},
                       {"calculate", IDS_UNITS_CALCULATE}, {"warranty", IDS_UNITS_WARRANTY},
                       {"from", IDS_FROM}, {"to", IDS_TO}});
  });
}

void ExtensionDialogs::RunAboutDialog(WindowHandle, CAboutDlg& dialog) {
  constexpr int kNoFocusRules = 0;
  Run(protocol::kDialogAbout, dialog, kNoFocusRules,
      [](JsonWriter& json, const CAboutDlg&) {
    WriteLabels(json, {{"ok", IDS_BUTTON_OK_ACCEL}, {"help", IDS_BUTTON_HELP},
                       {"product", IDS_ABOUT_PRODUCT}, {"feedback", IDS_ABOUT_FEEDBACK},
                       {"goToUrl", IDS_ABOUT_GO_TO_URL}, {"homePage", IDS_ABOUT_HOME_PAGE},
                       {"customization", IDS_ABOUT_CUSTOMIZATION}});
  });
}

}  // namespace qm
