#include "screen_dialogs.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

#include "dialogs/gesture_script.h"
#include "screen_field.h"
#include "screen_form.h"
#include "screen_list.h"
#include "strings/string_table.h"
#include "text/utf8.h"

namespace qm {
namespace {

// Control ids of the views' own, for the controls the models do not name.
enum ViewControl {
  kViewEdit = 1000, kViewList, kViewHelp, kViewOk, kViewCancel, kViewFrom, kViewTo,
  kViewCustomization, kViewHomePage,
};

std::string Utf8(const CodePage& code_page, const std::string& narrow) {
  return ToUtf8(code_page.ToWide(narrow));
}
std::string Label(int id) { return ToUtf8(LoadLabel(id)); }
std::string Text(int id) { return ToUtf8(LoadText(id)); }

// Plays one gesture on the model, as an answer script would. The views make
// only gestures the dialog takes (lines and rows it shows, codes of its
// currencies), so none is refused.
template <typename Dialog>
void Play(Dialog& dialog, const char* word, std::string argument = {}) {
  std::string error;
  PlayGestures(dialog, {Gesture{word, std::move(argument)}}, &error);
}

std::string LineNumber(std::size_t index) { return std::to_string(index + 1); }

// The title bar and the line of keys at the bottom.
void DrawFrame(ScreenSession& s, const std::string& hint) {
  s.Fill(0, 0, s.columns(), ScreenStyle::kTitle);
  s.Draw(0, 1, Text(IDS_PRODUCT_NAME), ScreenStyle::kTitle);
  s.Draw(s.rows() - 1, 1, hint, ScreenStyle::kDim);
}

// Lines of `utf8` wrapped to the screen and centred, from row `y`; returns
// the row after them.
int DrawCentred(ScreenSession& s, int y, const std::string& utf8, ScreenStyle style) {
  const int width = std::max(1, s.columns() - 4);
  for (const ScreenLine& line : WrapToWidth(utf8, width)) {
    s.Draw(y++, 2 + (width - line.columns) / 2, line, style);
  }
  return y;
}

// ---------------------------------------------------------------- controls

ScreenControl Button(int id, std::string label, bool is_default, std::function<int(ScreenSession&)> x,
                     std::function<int(ScreenSession&)> y, std::function<void()> press) {
  ScreenControl c;
  c.id = id;
  c.draw = [=](ScreenSession& s, bool focused) -> std::optional<std::pair<int, int>> {
    const ScreenStyle style = focused      ? ScreenStyle::kFocused
                              : is_default ? ScreenStyle::kChosen
                                           : ScreenStyle::kNormal;
    s.Draw(y(s), x(s), "[ " + label + " ]", style);
    return std::nullopt;
  };
  c.press = std::move(press);
  return c;
}

// The x of each button in a row of `labels` centred on the screen.
std::vector<int> ButtonColumns(int screen_width, const std::vector<std::string>& labels) {
  std::vector<int> widths;
  int total = 0;
  for (const std::string& label : labels) {
    widths.push_back(ColumnsOf(WideFromUtf8(label)) + 4);
    total += widths.back() + 2;
  }
  int x = std::max(0, (screen_width - total + 2) / 2);
  std::vector<int> columns;
  for (const int w : widths) {
    columns.push_back(x);
    x += w + 2;
  }
  return columns;
}

// A row of buttons at the bottom of the screen, above the keys line.
void AddButtonRow(std::vector<ScreenControl>& controls,
                  std::vector<std::tuple<int, int, std::function<void()>>> buttons,
                  int default_id) {
  auto labels = std::make_shared<std::vector<std::string>>();
  for (const auto& [id, label, press] : buttons) labels->push_back(Label(label));
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    auto& [id, label, press] = buttons[i];
    controls.push_back(Button(
        id, (*labels)[i], id == default_id,
        [labels, i](ScreenSession& s) { return ButtonColumns(s.columns(), *labels)[i]; },
        [](ScreenSession& s) { return s.rows() - 2; }, std::move(press)));
  }
}

// An edit field `width` columns wide (brackets included) at a place the
// dialog's layout gives; it shows the model's text and hands every change
// back to the model at once.
ScreenControl Field(int id, std::function<std::pair<int, int>(ScreenSession&)> place,
                    std::function<int(ScreenSession&)> width,
                    std::function<std::wstring()> model_text,
                    std::function<void(const std::string&)> typed) {
  auto field = std::make_shared<ScreenField>();
  field->SetText(model_text());
  ScreenControl c;
  c.id = id;
  c.draw = [=](ScreenSession& s, bool focused) -> std::optional<std::pair<int, int>> {
    // The model may have rewritten the text (Calculate tidies the amount).
    const std::wstring shown = model_text();
    if (shown != field->text()) field->SetText(shown);
    const auto [y, x] = place(s);
    const int inner = std::max(1, width(s) - 2);
    const std::size_t first = field->FirstShown(static_cast<std::size_t>(inner));
    const std::wstring visible = field->text().substr(first);
    s.Draw(y, x, "[", ScreenStyle::kNormal);
    s.Fill(y, x + 1, inner, focused ? ScreenStyle::kFocused : ScreenStyle::kChosen);
    s.Draw(y, x + 1, Utf8FromWide(visible), focused ? ScreenStyle::kFocused : ScreenStyle::kChosen,
           inner);
    s.Draw(y, x + 1 + inner, "]", ScreenStyle::kNormal);
    const int caret = SafeColumnsOf(std::wstring_view(field->text()).substr(first, field->caret() - first));
    return std::make_pair(y, x + 1 + std::min(caret, inner - 1));
  };
  c.key = [=](ScreenKey key) {
    bool changed = false;
    if (!field->Edit(key, &changed)) return false;
    if (changed) typed(Utf8FromWide(field->text()));
    return true;
  };
  return c;
}

// A drop-down list shown closed, as its chosen row; the arrows, the page
// keys and type-ahead choose another row, as in a closed Windows combo box,
// and F4 opens the list.
struct ComboModel {
  std::function<std::size_t()> count;
  std::function<std::optional<std::size_t>()> chosen;
  std::function<std::string(std::size_t)> text;  // UTF-8
  std::function<void(std::size_t)> choose;
};

// The drop-down list of a combo box opened under it (F4): the keys move
// the highlight, Enter takes the highlighted row, Escape, Tab or F4 closes
// the list without a choice.
std::optional<std::size_t> PickFromList(ScreenSession& s, std::pair<int, int> at, int width,
                                        const ComboModel& model) {
  const std::size_t count = model.count();
  if (count == 0) return std::nullopt;
  std::size_t cursor = model.chosen().value_or(0);
  std::size_t top = 0;
  TypeAhead type_ahead;
  while (true) {
    const int first_row = at.first + 1;
    const int x = at.second;
    const int height = std::max(
        1, std::min(static_cast<int>(count), s.rows() - 3 - first_row));
    top = ScrollTop(cursor, top, static_cast<std::size_t>(height));
    for (int r = 0; r < height + 2; ++r) s.Fill(first_row + r, x, width, ScreenStyle::kNormal);
    s.Frame(first_row, x, first_row + height + 1, x + width - 1);
    for (int r = 0; r < height && top + r < count; ++r) {
      const std::size_t line = top + static_cast<std::size_t>(r);
      const ScreenStyle style = line == cursor ? ScreenStyle::kFocused : ScreenStyle::kNormal;
      s.Fill(first_row + 1 + r, x + 1, width - 2, style);
      s.Draw(first_row + 1 + r, x + 1, model.text(line), style, width - 2);
    }
    s.PlaceCaret(0, 0, false);
    s.Show();
    const ScreenKey key = s.ReadKey();
    switch (key.code) {
      case ScreenKey::kEnter:
        return cursor;
      case ScreenKey::kEscape: case ScreenKey::kTab: case ScreenKey::kBackTab:
      case ScreenKey::kF4:
        return std::nullopt;
      case ScreenKey::kResize:
        s.Clear();
        continue;
      case ScreenKey::kCharacter:
        if (const auto to = type_ahead.Type(key.character, TypeAhead::Clock::now(), cursor, count,
                                            [&](std::size_t line) {
                                              return WideFromUtf8(model.text(line));
                                            })) {
          cursor = *to;
        }
        continue;
      default:
        type_ahead.Reset();
        if (const auto to = HighlightAfter(key, cursor, count, static_cast<std::size_t>(height))) {
          cursor = *to;
        }
    }
  }
}

ScreenControl Combo(ScreenSession& session, int id,
                    std::function<std::pair<int, int>(ScreenSession&)> place,
                    std::function<int(ScreenSession&)> width, ComboModel model) {
  auto type_ahead = std::make_shared<TypeAhead>();
  ScreenControl c;
  c.id = id;
  c.draw = [=](ScreenSession& s, bool focused) -> std::optional<std::pair<int, int>> {
    const auto [y, x] = place(s);
    const int inner = std::max(3, width(s) - 4);
    const std::optional<std::size_t> chosen = model.chosen();
    const ScreenStyle style = focused ? ScreenStyle::kFocused : ScreenStyle::kChosen;
    s.Draw(y, x, "[", ScreenStyle::kNormal);
    s.Fill(y, x + 1, inner, style);
    s.Draw(y, x + 1, chosen ? model.text(*chosen) : std::string(), style, inner);
    s.Draw(y, x + 1 + inner, " v]", ScreenStyle::kNormal);
    return std::nullopt;
  };
  c.key = [=, &session](ScreenKey key) {
    const std::size_t count = model.count();
    std::optional<std::size_t> to;
    if (key.code == ScreenKey::kF4) {
      to = PickFromList(session, place(session), width(session), model);
      if (to && *to != model.chosen()) model.choose(*to);
      return true;
    }
    if (key.code == ScreenKey::kCharacter) {
      to = type_ahead->Type(key.character, TypeAhead::Clock::now(), model.chosen(), count,
                            [&](std::size_t line) { return WideFromUtf8(model.text(line)); });
      if (!to) return true;
    } else {
      type_ahead->Reset();
      to = HighlightAfter(key, model.chosen(), count, 10);
      if (!to) return false;
    }
    if (*to != model.chosen()) model.choose(*to);
    return true;
  };
  return c;
}

// The site list with its check marks; the rows between `top` and
// `bottom` (exclusive) of the layout.
ScreenControl SiteList(ChoiceDialog& dialog, std::function<std::pair<int, int>(ScreenSession&)> rows) {
  struct State {
    std::size_t top = 0;
    std::size_t height = 1;  // rows shown when last drawn: a page
    TypeAhead type_ahead;
  };
  auto state = std::make_shared<State>();
  const SiteChoiceList& list = dialog.list();
  // The line the keys act on: the highlight, else the first chosen line.
  auto cursor = [&list]() -> std::size_t {
    return list.highlight().value_or(list.scroll_target().value_or(0));
  };
  auto text_of = [&dialog](std::size_t line) {
    return Utf8(dialog.code_page(), dialog.list().entry(line).shortDescription);
  };
  ScreenControl c;
  c.id = kViewList;
  c.draw = [=, &list](ScreenSession& s, bool focused) -> std::optional<std::pair<int, int>> {
    const auto [top_row, bottom_row] = rows(s);
    const int height = std::max(1, bottom_row - top_row);
    const int width = s.columns() - 4;
    if (list.size() == 0) {
      s.Draw(top_row, 3, "(no sites or actions in this category)", ScreenStyle::kDim);
      return std::nullopt;
    }
    state->height = static_cast<std::size_t>(height);
    state->top = ScrollTop(cursor(), state->top, state->height);
    for (int r = 0; r < height; ++r) {
      const std::size_t line = state->top + static_cast<std::size_t>(r);
      if (line >= list.size()) break;
      const bool at_cursor = line == cursor() && (focused || list.highlight() == line);
      const ScreenStyle style = !at_cursor ? ScreenStyle::kNormal
                                : focused  ? ScreenStyle::kFocused
                                           : ScreenStyle::kChosen;
      s.Fill(top_row + r, 2, width, style);
      s.Draw(top_row + r, 3, std::string(list.IsChosen(line) ? "[x] " : "[ ] ") + text_of(line),
             style, width - 2);
    }
    // More lines than fit: say where the window is.
    if (list.size() > static_cast<std::size_t>(height)) {
      const std::string where = std::to_string(state->top + 1) + "-" +
                                std::to_string(std::min(list.size(), state->top + height)) +
                                "/" + std::to_string(list.size());
      s.Draw(top_row - 1, s.columns() - 2 - static_cast<int>(where.size()), where,
             ScreenStyle::kDim);
    }
    return std::nullopt;
  };
  c.key = [=, &dialog, &list](ScreenKey key) {
    const std::size_t count = list.size();
    if (count == 0) return false;
    if (key.code != ScreenKey::kCharacter || key.character == U' ') state->type_ahead.Reset();
    if (key.code == ScreenKey::kCharacter && key.character == U' ') {
      const std::size_t line = cursor();
      if (list.highlight() != line) Play(dialog, "highlight", LineNumber(line));
      Play(dialog, "toggle", LineNumber(line));
      return true;
    }
    std::optional<std::size_t> to;
    if (key.code == ScreenKey::kCharacter) {
      to = state->type_ahead.Type(key.character, TypeAhead::Clock::now(), cursor(), count,
                                  [&](std::size_t line) { return WideFromUtf8(text_of(line)); });
      if (!to) return true;
    } else {
      to = HighlightAfter(key, cursor(), count, state->height);
      if (!to) return false;
    }
    Play(dialog, "highlight", LineNumber(*to));
    return true;
  };
  return c;
}

// The status line under the list: the explanation of the line that
// changed last.
void DrawStatus(ScreenSession& s, const ChoiceDialog& dialog) {
  const int y = s.rows() - 4;
  s.Rule(y - 1, 2, s.columns() - 4);
  s.Draw(y, 3, Utf8(dialog.code_page(), dialog.list().status_line()), ScreenStyle::kChosen,
         s.columns() - 6);
}

// Runs the form of a choice dialog (plain or currency): the rules move the
// focus through the model's listener.
void RunChoiceForm(ScreenSession& session, ChoiceDialog& dialog, std::vector<ScreenControl> controls,
                   std::string hint, std::function<void(ScreenSession&)> background) {
  AddButtonRow(controls,
               {{kViewHelp, IDS_BUTTON_HELP, [&dialog] { Play(dialog, "help"); }},
                {kViewOk, IDS_BUTTON_OK, [&dialog] { Play(dialog, "ok"); }},
                {kViewCancel, IDS_BUTTON_CANCEL, [&dialog] { Play(dialog, "cancel"); }}},
               kViewOk);
  ScreenForm form(std::move(controls),
                  {[&dialog] { Play(dialog, "ok"); }, [&dialog] { Play(dialog, "cancel"); },
                   [&dialog] { Play(dialog, "help"); }, [&dialog] { return dialog.result().has_value(); },
                   [&dialog, background, hint](ScreenSession& s) {
                     DrawFrame(s, hint);
                     background(s);
                     DrawStatus(s, dialog);
                   }});
  static constexpr struct {
    DialogFocus focus;
    int control;
  } kFocusControls[] = {{DialogFocus::kOkButton, kViewOk},
                        {DialogFocus::kList, kViewList},
                        {DialogFocus::kEditBox, kViewEdit}};
  auto focus_on = [&form](DialogFocus focus) {
    for (const auto& f : kFocusControls) {
      if (f.focus == focus) form.Focus(f.control);
    }
  };
  focus_on(dialog.focus());
  // A rule moves the focus before its message shows: the box is drawn over
  // the dialog as it will be with the focus moved.
  dialog.AttachWindow(0, [&](DialogFocus focus) {
    focus_on(focus);
    form.Draw(session);
  });
  try {
    form.Run(session);
  } catch (...) {
    dialog.AttachWindow(0);
    throw;
  }
  dialog.AttachWindow(0);
}

// Where the list goes: from below the prompt to above the status line.
std::pair<int, int> ListRows(ScreenSession& s, int prompt_end) {
  return {prompt_end, std::max(prompt_end + 1, s.rows() - 5)};
}

}  // namespace

void RunOnScreen(ScreenSession& session, ChoiceDialog& dialog) {
  auto prompt_end = std::make_shared<int>(0);
  const int prompt_top = dialog.has_text() ? 5 : 2;
  std::vector<ScreenControl> controls;
  if (dialog.has_text()) {
    controls.push_back(Field(
        kViewEdit, [](ScreenSession&) { return std::make_pair(3, 2); },
        [](ScreenSession& s) { return s.columns() - 4; },
        [&dialog] { return WideFromUtf8(ToUtf8(dialog.edit_text())); },
        [&dialog](const std::string& typed) { Play(dialog, "text", typed); }));
  }
  controls.push_back(SiteList(dialog, [prompt_end](ScreenSession& s) {
    return ListRows(s, *prompt_end);
  }));
  RunChoiceForm(session, dialog, std::move(controls),
                "Tab: next control  Space: tick  arrows/letters: move  Enter: OK  Esc: Cancel  "
                "F1: Help",
                [&dialog, prompt_end, prompt_top](ScreenSession& s) {
    if (dialog.has_text()) s.Draw(2, 2, ToUtf8(dialog.texts().group_caption), ScreenStyle::kNormal);
    const int end = DrawCentred(s, prompt_top, ToUtf8(dialog.texts().prompt), ScreenStyle::kNormal);
    *prompt_end = end + 1;
    s.Draw(end, 3, "    " + Text(IDS_LIST_COLUMN), ScreenStyle::kDim);
  });
}

void RunOnScreen(ScreenSession& session, CAskCurrencyDlg& dialog) {
  auto prompt_end = std::make_shared<int>(0);
  const auto& rows = dialog.currencies();
  auto currency_combo = [&](int id, bool source, int y) {
    ComboModel model{
        [&rows] { return rows.size(); },
        [&dialog, &rows, source]() -> std::optional<std::size_t> {
          const CurrencyInfo* chosen = source ? dialog.chosen_source() : dialog.chosen_target();
          const auto at = std::find(rows.begin(), rows.end(), chosen);
          if (chosen == nullptr || at == rows.end()) return std::nullopt;
          return static_cast<std::size_t>(at - rows.begin());
        },
        [&rows](std::size_t i) { return ToUtf8(CurrencyDisplayText(*rows[i])); },
        [&dialog, &rows, source](std::size_t i) {
          Play(dialog, source ? "from" : "to", std::string(rows[i]->isoCode));
        }};
    return Combo(session, id, [y](ScreenSession&) { return std::make_pair(y, 12); },
                 [](ScreenSession& s) { return std::min(60, s.columns() - 14); }, model);
  };
  std::vector<ScreenControl> controls;
  controls.push_back(Field(
      kViewEdit, [](ScreenSession&) { return std::make_pair(2, 12); },
      [](ScreenSession&) { return 16; },
      [&dialog] { return WideFromUtf8(ToUtf8(dialog.edit_text())); },
      [&dialog](const std::string& typed) { Play(dialog, "amount", typed); }));
  controls.push_back(currency_combo(kViewFrom, true, 4));
  controls.push_back(currency_combo(kViewTo, false, 5));
  controls.push_back(SiteList(dialog, [prompt_end](ScreenSession& s) {
    return ListRows(s, *prompt_end);
  }));
  RunChoiceForm(session, dialog, std::move(controls),
                "Tab: next  Space: tick  arrows/letters: move, choose  F4: open a list  "
                "Enter: OK  Esc: Cancel  F1: Help",
                [&dialog, prompt_end](ScreenSession& s) {
    s.Draw(2, 2, Label(IDS_CURRENCY_CONVERT), ScreenStyle::kNormal, 9);
    s.Draw(2, 30, Label(IDS_CURRENCY_EXAMPLE), ScreenStyle::kDim);
    s.Draw(4, 2, Label(IDS_FROM), ScreenStyle::kNormal, 9);
    s.Draw(5, 2, Label(IDS_TO), ScreenStyle::kNormal, 9);
    const int end = DrawCentred(s, 7, ToUtf8(dialog.texts().prompt), ScreenStyle::kNormal);
    *prompt_end = end + 1;
    s.Draw(end, 3, "    " + Text(IDS_LIST_COLUMN), ScreenStyle::kDim);
  });
}

void RunOnScreen(ScreenSession& session, CAskConvertDlg& dialog) {
  const CodePage& cp = dialog.code_page();
  auto unit_combo = [&](int id, bool from, int y) {
    auto list = [&dialog, from]() -> const ConvertChoiceList<Unit>& {
      return from ? dialog.fromUnits() : dialog.toUnits();
    };
    ComboModel model{
        [list] { return list().entries.size(); },
        [list]() -> std::optional<std::size_t> {
          if (list().chosen == ConvertChoiceList<Unit>::kNone) return std::nullopt;
          return static_cast<std::size_t>(list().chosen);
        },
        [list, &cp](std::size_t i) { return Utf8(cp, list().entries[i].name); },
        [&dialog, from](std::size_t i) { Play(dialog, from ? "from" : "to", LineNumber(i)); }};
    return Combo(session, id, [y](ScreenSession&) { return std::make_pair(y, 10); },
                 [](ScreenSession& s) { return std::min(40, s.columns() - 12); }, model);
  };
  ComboModel categories{
      [&dialog] { return dialog.categories().entries.size(); },
      [&dialog]() -> std::optional<std::size_t> {
        const int chosen = dialog.categories().chosen;
        if (chosen == ConvertChoiceList<UnitCategory>::kNone) return std::nullopt;
        return static_cast<std::size_t>(chosen);
      },
      [&dialog, &cp](std::size_t i) { return Utf8(cp, dialog.categories().entries[i].name); },
      [&dialog](std::size_t i) { Play(dialog, "category", LineNumber(i)); }};
  const int label_end = 3 + ColumnsOf(WideFromUtf8(Label(IDS_UNITS_CONVERT_THE)));
  std::vector<ScreenControl> controls;
  controls.push_back(Combo(session, CAskConvertDlg::kIdCategoryList,
                           [label_end](ScreenSession&) { return std::make_pair(2, label_end); },
                           [](ScreenSession&) { return 24; }, categories));
  controls.push_back(Field(
      CAskConvertDlg::kIdAmount,
      [label_end](ScreenSession&) { return std::make_pair(2, label_end + 25); },
      [](ScreenSession&) { return 18; },
      [&dialog, &cp] { return WideFromUtf8(Utf8(cp, dialog.amountText())); },
      [&dialog](const std::string& typed) { Play(dialog, "amount", typed); }));
  controls.push_back(unit_combo(CAskConvertDlg::kIdFromList, true, 4));
  controls.push_back(unit_combo(CAskConvertDlg::kIdToList, false, 5));
  const std::string calculate = Label(IDS_UNITS_CALCULATE);
  controls.push_back(Button(
      CAskConvertDlg::kIdCalculate, calculate, true,
      [calculate](ScreenSession& s) { return ButtonColumns(s.columns(), {calculate})[0]; },
      [](ScreenSession&) { return 7; }, [&dialog] { Play(dialog, "calculate"); }));
  AddButtonRow(controls,
               {{CAskConvertDlg::kIdHelp, IDS_BUTTON_HELP, [&dialog] { Play(dialog, "help"); }},
                {CAskConvertDlg::kIdOk, IDS_BUTTON_OK_ACCEL, [&dialog] { Play(dialog, "ok"); }}},
               0);
  // The Windows dialog's tab order: OK comes before Help.
  std::swap(controls[controls.size() - 1], controls[controls.size() - 2]);
  ScreenForm form(
      std::move(controls),
      {[&dialog] { Play(dialog, "calculate"); }, [&dialog] { Play(dialog, "cancel"); },
       [&dialog] { Play(dialog, "help"); }, [&dialog] { return dialog.result().has_value(); },
       [&dialog, &cp](ScreenSession& s) {
         DrawFrame(s, "Tab: next control  arrows/letters: choose  F4: open a list  "
                      "Enter: Calculate  Esc: Cancel  F1: Help");
         s.Draw(2, 2, Label(IDS_UNITS_CONVERT_THE), ScreenStyle::kNormal);
         s.Draw(4, 2, Label(IDS_FROM), ScreenStyle::kNormal, 7);
         s.Draw(5, 2, Label(IDS_TO), ScreenStyle::kNormal, 7);
         DrawCentred(s, 9, Utf8(cp, dialog.resultText()), ScreenStyle::kChosen);
         DrawCentred(s, 11, Label(IDS_UNITS_WARRANTY), ScreenStyle::kDim);
       }});
  // The view's own first focus is the first control, as in the Windows
  // dialog; after that the model's rules move it.
  if (dialog.focus() != 0) form.Focus(dialog.focus());
  dialog.AttachWindow(0, [&](int control) {
    form.Focus(control);
    form.Draw(session);
  });
  try {
    form.Run(session);
  } catch (...) {
    dialog.AttachWindow(0);
    throw;
  }
  dialog.AttachWindow(0);
}

void RunOnScreen(ScreenSession& session, CAboutDlg& dialog) {
  std::vector<ScreenControl> controls;
  AddButtonRow(controls,
               {{kViewHelp, IDS_BUTTON_HELP, [&dialog] { Play(dialog, "help"); }},
                {kViewCustomization, IDS_ABOUT_CUSTOMIZATION,
                 [&dialog] { Play(dialog, "customize"); }},
                {kViewHomePage, IDS_ABOUT_HOME_PAGE, [&dialog] { Play(dialog, "home"); }},
                {kViewOk, IDS_BUTTON_OK_ACCEL, [&dialog] { Play(dialog, "ok"); }}},
               kViewOk);
  ScreenForm form(std::move(controls),
                  {[&dialog] { Play(dialog, "ok"); }, [&dialog] { Play(dialog, "cancel"); },
                   [&dialog] { Play(dialog, "help"); },
                   [&dialog] { return dialog.result().has_value(); },
                   [](ScreenSession& s) {
                     DrawFrame(s, "Tab: next button  Enter: press  Esc: close  F1: Help");
                     int y = DrawCentred(s, 3, Label(IDS_ABOUT_PRODUCT), ScreenStyle::kChosen);
                     y = DrawCentred(s, y + 1, Label(IDS_ABOUT_FEEDBACK), ScreenStyle::kNormal);
                     DrawCentred(s, y + 1, Label(IDS_ABOUT_GO_TO_URL) + ": " +
                                               Label(IDS_ABOUT_HOME_PAGE),
                                 ScreenStyle::kDim);
                   }});
  form.Focus(kViewOk);
  form.Run(session);
}

MessageResult ShowMessageOnScreen(ScreenSession& session, const std::u16string& text,
                                  const std::u16string& caption, MessageStyle style) {
  const bool yes_no = style.buttons == MessageButtons::kYesNo;
  const std::vector<std::pair<std::string, MessageResult>> buttons =
      yes_no ? std::vector<std::pair<std::string, MessageResult>>{{"Yes", MessageResult::kYes},
                                                                  {"No", MessageResult::kNo}}
             : std::vector<std::pair<std::string, MessageResult>>{
                   {Label(IDS_BUTTON_OK), MessageResult::kOk}};
  std::size_t focus = yes_no && style.second_button_default ? 1 : 0;
  while (true) {
    const int width = std::min(std::max(20, session.columns() - 8), 64);
    const std::vector<ScreenLine> lines = WrapToWidth(ToUtf8(text), width - 4);
    const int height = static_cast<int>(lines.size()) + 5;
    const int top = std::max(1, (session.rows() - height) / 2);
    const int left = std::max(0, (session.columns() - width) / 2);
    for (int y = top; y < top + height; ++y) session.Fill(y, left, width, ScreenStyle::kNormal);
    session.Frame(top, left, top + height - 1, left + width - 1);
    std::string title = " ";
    title += ToUtf8(caption);
    title += ' ';
    session.Draw(top, left + 2, title, ScreenStyle::kChosen, width - 4);
    for (std::size_t i = 0; i < lines.size(); ++i) {
      session.Draw(top + 2 + static_cast<int>(i), left + 2, lines[i], ScreenStyle::kNormal,
                   width - 4);
    }
    std::vector<std::string> labels;
    for (const auto& b : buttons) labels.push_back(b.first);
    const std::vector<int> columns = ButtonColumns(width, labels);
    for (std::size_t i = 0; i < buttons.size(); ++i) {
      session.Draw(top + height - 2, left + columns[i], "[ " + buttons[i].first + " ]",
                   i == focus ? ScreenStyle::kFocused : ScreenStyle::kNormal);
    }
    session.PlaceCaret(0, 0, false);
    session.Show();
    const ScreenKey key = session.ReadKey();
    switch (key.code) {
      case ScreenKey::kEnter:
        return buttons[focus].second;
      case ScreenKey::kEscape:
        return yes_no ? MessageResult::kNo : MessageResult::kOk;
      case ScreenKey::kTab: case ScreenKey::kRight: case ScreenKey::kBackTab:
      case ScreenKey::kLeft:
        focus = (focus + 1) % buttons.size();
        break;
      case ScreenKey::kResize:
        session.Clear();
        break;
      case ScreenKey::kCharacter:
        if (key.character == U' ') return buttons[focus].second;
        if (yes_no && (key.character == U'y' || key.character == U'Y')) return MessageResult::kYes;
        if (yes_no && (key.character == U'n' || key.character == U'N')) return MessageResult::kNo;
        break;
      default:
        break;
    }
  }
}

void ShowTextOnScreen(ScreenSession& session, const std::string& title, const std::string& utf8) {
  std::size_t top = 0;
  while (true) {
    const std::vector<ScreenLine> lines = WrapToWidth(utf8, std::max(1, session.columns() - 2));
    const std::size_t height = static_cast<std::size_t>(std::max(1, session.rows() - 2));
    const std::size_t last_top = lines.size() > height ? lines.size() - height : 0;
    top = std::min(top, last_top);
    session.Clear();
    session.Fill(0, 0, session.columns(), ScreenStyle::kTitle);
    session.Draw(0, 1, title, ScreenStyle::kTitle);
    for (std::size_t i = 0; i < height && top + i < lines.size(); ++i) {
      session.Draw(1 + static_cast<int>(i), 1, lines[top + i], ScreenStyle::kNormal);
    }
    session.Draw(session.rows() - 1, 1,
                 "arrows/PageUp/PageDown: scroll  Enter or Esc: back to the dialog  (" +
                     std::to_string(std::min(lines.size(), top + height)) + "/" +
                     std::to_string(lines.size()) + ")",
                 ScreenStyle::kDim);
    session.PlaceCaret(0, 0, false);
    session.Show();
    const ScreenKey key = session.ReadKey();
    if (key.code == ScreenKey::kEnter || key.code == ScreenKey::kEscape ||
        (key.code == ScreenKey::kCharacter && (key.character == U'q' || key.character == U'Q'))) {
      return;
    }
    if (const auto to = HighlightAfter(key, top, last_top + 1, height)) top = *to;
  }
}

}  // namespace qm
