// Stock (ticker) symbols: picking one out of the selection to pre-fill the
// stock dialog, and checking what the user leaves in that dialog's box.
#pragma once

#include <string>
#include <string_view>

#include "recognisers/input_check.h"
#include "resource_ids.h"

namespace qm {

// String id of "A stock symbol, such as MSFT, is required."
inline constexpr int kMessageStockSymbolRequired = IDS_STOCK_SYMBOL_REQUIRED;

// Returns the first plausible symbol in `text`: a run of A-Z and full stops
// that begins with a letter, less one trailing full stop, with its share
// class when a hyphen and one or two letters follow ("BRK-B"), not preceded
// by a lower-case letter (IsWideLower) and not followed by a-z. A number is
// a symbol when the suffix of its exchange follows it (a full stop and one
// to four letters A-Z: "0700.HK", "7203.T"), or when it stands alone right
// after an exchange's colon ("TYO: 7203"); a number that is part of a word
// or of another number is not.
//
// Only the part inside the parentheses counts when there are any: the text
// after the first "(" and before the last ")" that follows it. A run
// followed by a colon (the exchange in "NASDAQ:MSFT") defers to a new search
// of the text from that colon on, parentheses and all; when that search
// finds nothing, the run before the colon stands. Two odd answers are kept
// on purpose, as the search has always given them: the whole text being
// searched (from the colon on, in a deferred search) when nothing is left
// inside its parentheses, or when a run that was turned down reaches its
// end; and an empty text when no upper-case letter remains to try.
//   FindStockSymbol(u"Widget Corporation (NASDAQ:MSFT)") == u"MSFT"
//   FindStockSymbol(u"Shares of XYZ rose")               == u"XYZ"
//   FindStockSymbol(u"Buy MSFT. Now")                    == u"MSFT"
//   FindStockSymbol(u"NYSE: BRK-B")                      == u"BRK-B"
//   FindStockSymbol(u"Toyota Motor Corp (TYO: 7203)")    == u"7203"
//   FindStockSymbol(u"Tencent Holdings (0700.HK)")       == u"0700.HK"
//   FindStockSymbol(u"NYSE:")                            == u"NYSE"
//   FindStockSymbol(u"mixedCASE")                        == u"mixedCASE"
//   FindStockSymbol(u"NYSE:mixedCASE")                   == u":mixedCASE"
//   FindStockSymbol(u"McKay")                            == u""
//   FindStockSymbol(u"()")                               == u"()"
// Linear in the length of `text`, whatever its nesting of colons and
// parentheses.
std::u16string FindStockSymbol(std::u16string_view text);

// The stock dialog's check on OK: removes carriage returns, line feeds,
// spaces and tabs from both ends, then accepts the rest, or refuses an empty
// result with kMessageStockSymbolRequired.
//   CheckStockInput(u"  MSFT \r\n") -> Accept(u"MSFT")
//   CheckStockInput(u"   ")         -> Refuse(143)
InputCheck CheckStockInput(std::u16string_view text);

}  // namespace qm
