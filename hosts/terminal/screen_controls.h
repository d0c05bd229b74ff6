// The controls of the full-screen dialogs, each a ScreenControl for a
// ScreenForm: buttons, an edit field and drop-down lists, and the parts
// every dialog draws (the title bar, centred text).
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "screen_form.h"
#include "screen_session.h"

namespace qm {

// Where a control goes, as the screen's size decides it.
using ScreenPlace = std::function<std::pair<int, int>(ScreenSession&)>;  // row, column
using ScreenMeasure = std::function<int(ScreenSession&)>;

// The title bar and the line of keys at the bottom.
void DrawFrame(ScreenSession& s, const std::string& hint);

// Lines of `utf8` wrapped to the screen and centred, from row `y`; returns
// the row after them.
int DrawCentred(ScreenSession& s, int y, const std::string& utf8, ScreenStyle style);

// A push button "[ label ]"; the default button stands out while another
// control has the focus.
ScreenControl Button(int id, std::string label, bool is_default, ScreenMeasure x,
                     ScreenMeasure y, std::function<void()> press);

// The x of each button in a row of `labels` centred in `screen_width`.
std::vector<int> ButtonColumns(int screen_width, const std::vector<std::string>& labels);

// A row of buttons (id, string id of the label, press) at the bottom of the
// screen, above the keys line.
void AddButtonRow(std::vector<ScreenControl>& controls,
                  std::vector<std::tuple<int, int, std::function<void()>>> buttons,
                  int default_id);

// An edit field `width` columns wide (brackets included) at a place the
// dialog's layout gives; it shows the model's text and hands every change
// back to the model at once.
ScreenControl Field(int id, ScreenPlace place, ScreenMeasure width,
                    std::function<std::wstring()> model_text,
                    std::function<void(const std::string&)> typed);

// What a drop-down list shows and does.
struct ComboModel {
  std::function<std::size_t()> count;
  std::function<std::optional<std::size_t>()> chosen;
  std::function<std::string(std::size_t)> text;  // UTF-8
  std::function<void(std::size_t)> choose;
};

// A drop-down list shown closed, as its chosen row; the arrows, the page
// keys and type-ahead choose another row, as in a closed Windows combo box,
// and F4 opens the list under it. `session` must outlive the control.
ScreenControl Combo(ScreenSession& session, int id, ScreenPlace place, ScreenMeasure width,
                    ComboModel model);

}  // namespace qm
