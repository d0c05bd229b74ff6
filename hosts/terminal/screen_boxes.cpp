#include "screen_boxes.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "screen_controls.h"
#include "screen_list.h"
#include "strings/string_table.h"
#include "text/utf8.h"

namespace qm {
namespace {

std::string Label(int id) { return ToUtf8(LoadLabel(id)); }

}  // namespace

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
