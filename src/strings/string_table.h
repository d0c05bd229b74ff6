// The product's texts by string id: the one source of the Windows module's
// STRINGTABLE and of every text the core shows.
#pragma once

#include <string>
#include <string_view>

#include "host/desktop.h"

namespace qm {

// Ids of the texts the core refers to by name.
inline constexpr int kStringProductName = 100;       // "Pellmor Quillmark"
inline constexpr int kStringNoSiteChosen = 128;
inline constexpr int kStringInvalidISBN = 129;
inline constexpr int kStringInvalidUPC = 130;
inline constexpr int kStringTranslateNotInternet = 135;
inline constexpr int kStringNoMailProgram = 136;
inline constexpr int kStringCurrencyAmountNotNumber = 142;
inline constexpr int kStringStockSymbolRequired = 143;
inline constexpr int kStringAmountNotNumber = 144;
inline constexpr int kStringDivisionByZero = 145;
inline constexpr int kStringCannotCalculate = 146;
// An expanded template longer than where it goes takes; %1 is the entry's
// shortDescription, %2 the limit in characters.
inline constexpr int kStringAddressTooLong = 147;
inline constexpr int kStringCommandLineTooLong = 148;
inline constexpr int kStringMailFieldTooLong = 149;
// Shown when the ticks of a confirmed dialog could not be stored.
inline constexpr int kStringSelectionsNotRemembered = 150;

// The text of string `id`, or an empty text when there is none. A "\n" in a
// text is a line feed.
std::u16string_view LoadText(int id);

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
