// Small helpers shared by the dialog views: wide text in and out of
// controls, combo-box rows found by their attached data, and focus moves.
#pragma once

#include <windows.h>

#include <string>

namespace qm {

// The core's wide text and Win32's wide text are the same UTF-16 units.
inline const wchar_t* WideChars(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

// The whole text of a window or control, however long.
std::u16string WindowText(HWND window);
void SetControlText(HWND dialog, int control, const std::u16string& text);

// Moves the focus to `control` the way the dialog manager does for the Tab
// key, so the default button and an edit box's selection follow.
void MoveFocus(HWND dialog, int control);

// Adds a row to a combo box and attaches `data` at the index the box gives
// (a sorted box puts the row in its place). Returns that index, or -1.
int AddComboRow(HWND combo, const std::u16string& text, LPARAM data);
// The data attached to the chosen row, or false when no row is chosen.
bool ChosenComboData(HWND combo, LPARAM* data);
// Chooses the row that carries `data`; with none such, no row is chosen.
void ChooseComboRow(HWND combo, LPARAM data);

}  // namespace qm
