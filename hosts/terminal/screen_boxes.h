// Boxes of the full screen that are not dialogs of the core: a message box
// or question over what the screen shows, and a page of text to read.
#pragma once

#include <string>

#include "host/desktop.h"
#include "screen_session.h"

namespace qm {

// A message box over what the screen shows: the caption, the text and its
// buttons. Enter takes the focused button (at first the default one),
// Escape answers OK, or No to a question; Y and N answer a question.
MessageResult ShowMessageOnScreen(ScreenSession& session, const std::u16string& text,
                                  const std::u16string& caption, MessageStyle style);

// A page of text to read (a help topic): the arrows and the page keys
// scroll, Enter or Escape closes it.
void ShowTextOnScreen(ScreenSession& session, const std::string& title,
                      const std::string& utf8);

}  // namespace qm
