#include "screen_controls.h"

#include <algorithm>
#include <memory>

#include "screen_field.h"
#include "screen_list.h"
#include "strings/string_table.h"
#include "text/utf8.h"

namespace qm {
namespace {

std::string Label(int id) { return ToUtf8(LoadLabel(id)); }
std::string Text(int id) { return ToUtf8(LoadText(id)); }

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

}  // namespace

void DrawFrame(ScreenSession& s, const std::string& hint) {
  s.Fill(0, 0, s.columns(), ScreenStyle::kTitle);
  s.Draw(0, 1, Text(IDS_PRODUCT_NAME), ScreenStyle::kTitle);
  s.Draw(s.rows() - 1, 1, hint, ScreenStyle::kDim);
}

int DrawCentred(ScreenSession& s, int y, const std::string& utf8, ScreenStyle style) {
  const int width = std::max(1, s.columns() - 4);
  for (const ScreenLine& line : WrapToWidth(utf8, width)) {
    s.Draw(y++, 2 + (width - line.columns) / 2, line, style);
  }
  return y;
}

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

}  // namespace qm
