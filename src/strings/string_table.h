// The product's texts by string id. The texts themselves live in
// resources/strings.txt, from which the build generates this table and the
// Windows module's STRINGTABLE; the ids are named in resources/resource_ids.h.
#pragma once

#include <string>
#include <string_view>

#include "host/desktop.h"
#include "resource_ids.h"

namespace qm {

// The text of string `id`, or an empty text when there is none. A "\n" in a
// text is a line feed.
std::u16string_view LoadText(int id);

// The text of string `id` as a label outside the Windows dialogs: without
// the "&" that marks a button's access key there.
//   LoadLabel(IDS_BUTTON_OK_ACCEL) == u"OK" (the text is "&OK")
std::u16string LoadLabel(int id);

// One entry of the table, for generating resource scripts.
struct StringTableEntry {
  int id;
  std::u16string_view text;
};
// Every entry in ascending id order.
const StringTableEntry* StringTableBegin();
const StringTableEntry* StringTableEnd();

// Shows text `text_id` under caption `caption_id` in a message box owned by
// `owner` (the desktop when 0) and returns the button pressed.
MessageResult ShowStringMessage(Desktop& desktop, WindowHandle owner,
                                int text_id, int caption_id,
                                MessageStyle style);

}  // namespace qm
