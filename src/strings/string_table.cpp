#include "strings/string_table.h"

#include <algorithm>
#include <array>

namespace qm {
namespace {

constexpr std::array<StringTableEntry, 51> kStrings = {{
    {100, u"Pellmor Quillmark"},
    {101, u"=> Pellmor Quillmark"},
    {102, u"Configure Pellmor Quillmark"},
    {103, u"=>ISBN"},
    {104, u"Find a book by its ISBN code"},
    {105, u"=>Book"},
    {106, u"Find a book by its title or author"},
    {107, u"=>UPC"},
    {108, u"Find an item by its UPC code"},
    {109, u"=>Movie"},
    {110, u"Find a movie by its title"},
    {111, u"=>Translate"},
    {112, u"Translate the current web page"},
    {113, u"=>Currency"},
    {114, u"Convert a value to a different currency"},
    {115, u"=>Other"},
    {116, u"Other links"},
    {117, u"=>Email"},
    {118, u"Email a URL or quotation"},
    {119, u"=>URL"},
    {120, u"Find information about a URL"},
    {121, u"=>Music"},
    {122, u"Find a piece of music by its title or artist"},
    {125, u"Site or Action"},
    {126, u"=>Stock Symbol"},
    {127, u"Find information about a stock symbol"},
    {128, u"No site or action chosen.\nYou must choose at least one site or "
          u"action for something to happen."},
    {129, u"The ISBN number is not valid."},
    {130, u"The UPC number is not valid."},
    {131, u"Do one of the following\n(Double-click on sites or actions to "
          u"select them)"},
    {132, u"Using the following selection"},
    {133, u"Search for"},
    {134, u"At one or more of the following\n(Double-click on sites or "
          u"actions to select them)"},
    {135, u"Translation is only available if the URL you are browsing is on "
          u"the Internet.\nContinue anyway?"},
    {136, u"Unable to find your mail program.\n\nNeither MAPI nor Internet "
          u"Explorer appear to be configured to support email."},
    {137, u"Search for a book"},
    {138, u"Search for music"},
    {139, u"Search for a movie"},
    {140, u"=>Convert"},
    {141, u"Convert the selected amount to different units."},
    {142, u"The currency amount must be a decimal number, such as 1.00"},
    {143, u"A stock symbol, such as MSFT, is required."},
    {144, u"The amount should be a decimal number, such as 1.00"},
    {145, u"(Division by zero)"},
    {146, u"Cannot calculate answer %1"},
    {147, u"The address of \"%1\" would be longer than %2 characters, the most "
          u"that can be opened.\nNothing was opened for it."},
    {148, u"The command line of \"%1\" would be longer than %2 characters, the "
          u"most that can be started.\nNothing was started for it."},
    {149, u"A mail field of \"%1\" would be longer than %2 characters, the most "
          u"that can be sent.\nNo mail was sent for it."},
    {150, u"Your choice of sites could not be remembered."},
    {165, u"=>Search"},
    {166, u"Search for the selected text"},
}};

static_assert(std::is_sorted(kStrings.begin(), kStrings.end(),
                             [](const StringTableEntry& a,
                                const StringTableEntry& b) { return a.id < b.id; }),
              "lookups search the table by id");

}  // namespace

std::u16string_view LoadText(int id) {
  const auto it = std::lower_bound(
      kStrings.begin(), kStrings.end(), id,
      [](const StringTableEntry& e, int wanted) { return e.id < wanted; });
  if (it != kStrings.end() && it->id == id) return it->text;
  return {};
}

const StringTableEntry* StringTableBegin() { return kStrings.data(); }
const StringTableEntry* StringTableEnd() { return kStrings.data() + kStrings.size(); }

MessageResult ShowStringMessage(Desktop& desktop, WindowHandle owner,
                                int text_id, int caption_id,
                                MessageStyle style) {
  return desktop.ShowMessage(owner, std::u16string(LoadText(text_id)),
                             std::u16string(LoadText(caption_id)), style);
}

}  // namespace qm
