#include "screen_dialogs.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

#include "dialogs/gesture_script.h"
#include "screen_controls.h"
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

// Runs `form` while the dialog's rules move its focus: `follow` moves the
// form's, and the form is drawn again. The dialog lets go of the form
// however the run ends.
template <typename Dialog, typename Follow>
void RunFollowingFocus(ScreenSession& session, ScreenForm& form, Dialog& dialog, Follow follow) {
  dialog.AttachWindow(0, [&](auto focus) {
    follow(focus);
    form.Draw(session);
  });
  struct LetGo {
    Dialog& dialog;
    ~LetGo() { dialog.AttachWindow(0); }
  } let_go{dialog};
  form.Run(session);
}

std::string LineNumber(std::size_t index) { return std::to_string(index + 1); }

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
  // Enter is OK wherever the focus is, so a dialog that opens on its OK
  // button opens here on the list instead, where the arrows and Space do
  // what a person expects of them first.
  focus_on(dialog.focus() == DialogFocus::kOkButton ? DialogFocus::kList : dialog.focus());
  // A rule moves the focus before its message shows: the box is drawn over
  // the dialog as it will be with the focus moved.
  RunFollowingFocus(session, form, dialog, focus_on);
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
  RunFollowingFocus(session, form, dialog, [&](int control) { form.Focus(control); });
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

}  // namespace qm
