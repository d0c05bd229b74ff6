// The outcome of checking what the user typed into a category dialog before
// it may close.
#pragma once

#include <string>

namespace qm {

struct InputCheck {
  // True: the dialog may close and hands on `text`. False: the dialog shows
  // string `message` (exclamation icon, OK button) and stays open with the
  // focus in its edit box.
  bool accepted = false;
  std::u16string text;  // the normal form of the input, when accepted
  int message = 0;      // string id of the refusal, when refused

  static InputCheck Accept(std::u16string text) {
    return InputCheck{true, std::move(text), 0};
  }
  static InputCheck Refuse(int message) { return InputCheck{false, {}, message}; }
};

}  // namespace qm
