#include "flows/command_dispatch.h"


#include "flows/category_flows.h"
#include "flows/convert_flow.h"
#include "flows/currency_flow.h"
#include "resource_ids.h"

namespace qm {
namespace {

// The caption and prompt of the commands that share the book dialog.
template <int kCaption, int kPrompt>
void RunSelectedString(const CommandWord& command, RequestContext& context,
                       HostPorts& ports) {
  RunSelectedStringFlow(command, context, ports, kCaption, kPrompt);
}

void RunConvert(const CommandWord& command, RequestContext& context, HostPorts& ports) {
  RunConvertFlow(context, ports.desktop, ports.dialogs, ports.selections, ports.code_page,
                 command.dialog);
}

constexpr std::array<CommandWord, 14> kCommandWords = {{
    {u"CONFIG", IDS_MENU_CONFIG, IDS_STATUS_CONFIG, "SYSTEM", {0, HELP_TOPIC_INDEX}, 14,
     &RunConfigFlow},
    {u"BOOK", IDS_MENU_BOOK, IDS_STATUS_BOOK, "BOOK", {IDD_ASK_OTHER, HELP_TOPIC_BOOK}, 1,
     &RunSelectedString<IDS_BOOK_CAPTION, IDS_SITES_OR_ACTIONS_PROMPT>},
    {u"CONVERT", IDS_MENU_CONVERT, IDS_STATUS_CONVERT, "UNIT", {0, HELP_TOPIC_UNITS}, 12,
     &RunConvert},
    {u"CURRENCY", IDS_MENU_CURRENCY, IDS_STATUS_CURRENCY, "CURRENCY",
     {IDD_ASK_CURRENCY, HELP_TOPIC_CURRENCY}, 11, &RunCurrencyFlow},
    {u"EMAIL", IDS_MENU_EMAIL, IDS_STATUS_EMAIL, "EMAIL", {IDD_ASK_EMAIL, HELP_TOPIC_EMAIL},
     10, &RunEmailFlow},
    {u"ISBN", IDS_MENU_ISBN, IDS_STATUS_ISBN, "ISBN", {IDD_ASK_ISBN, HELP_TOPIC_ISBN}, 2,
     &RunIsbnFlow},
    {u"MOVIE", IDS_MENU_MOVIE, IDS_STATUS_MOVIE, "MOVIE", {IDD_ASK_OTHER, HELP_TOPIC_MOVIE}, 4,
     &RunSelectedString<IDS_MOVIE_CAPTION, IDS_SITES_OR_ACTIONS_PROMPT>},
    {u"MUSIC", IDS_MENU_MUSIC, IDS_STATUS_MUSIC, "MUSIC", {IDD_ASK_OTHER, HELP_TOPIC_MUSIC}, 5,
     &RunSelectedString<IDS_MUSIC_CAPTION, IDS_SITES_OR_ACTIONS_PROMPT>},
    {u"OTHER", IDS_MENU_OTHER, IDS_STATUS_OTHER, "OTHER", {IDD_ASK_OTHER, HELP_TOPIC_OTHER}, 13,
     &RunSelectedString<IDS_OTHER_CAPTION, IDS_OTHER_PROMPT>},
    {u"SEARCH", IDS_MENU_SEARCH, IDS_STATUS_SEARCH, "SEARCH",
     {IDD_ASK_OTHER, HELP_TOPIC_SEARCH}, 6,
     &RunSelectedString<IDS_SEARCH_CAPTION, IDS_SITES_OR_ACTIONS_PROMPT>},
    {u"STOCK", IDS_MENU_STOCK, IDS_STATUS_STOCK, "STOCK", {IDD_ASK_STOCK, HELP_TOPIC_STOCK}, 7,
     &RunStockFlow},
    {u"TRANSLATE", IDS_MENU_TRANSLATE, IDS_STATUS_TRANSLATE, "TRANSLATE",
     {IDD_ASK_TRANSLATE, HELP_TOPIC_TRANSLATE}, 8, &RunTranslateFlow},
    {u"UPC", IDS_MENU_UPC, IDS_STATUS_UPC, "UPC", {IDD_ASK_UPC, HELP_TOPIC_UPC}, 3,
     &RunUpcFlow},
    {u"URL", IDS_MENU_URL, IDS_STATUS_URL, "URL", {IDD_ASK_URL, HELP_TOPIC_URL}, 9,
     &RunUrlFlow},
}};

constexpr bool MenuPositionsAreOneToFourteen() {
  std::array<bool, kCommandWords.size() + 1> taken{};
  for (const CommandWord& command : kCommandWords) {
    const int p = command.menu_position;
    if (p < 1 || p > static_cast<int>(kCommandWords.size()) || taken[p]) return false;
    taken[p] = true;
  }
  return true;
}
static_assert(MenuPositionsAreOneToFourteen(), "each menu position once");

}  // namespace

std::span<const CommandWord> CommandWordTable() { return kCommandWords; }

std::array<const CommandWord*, 14> CommandsInMenuOrder() {
  std::array<const CommandWord*, 14> ordered{};
  for (const CommandWord& command : kCommandWords) {
    ordered[command.menu_position - 1] = &command;
  }
  return ordered;
}

const CommandWord* FindCommand(std::u16string_view word) {
  for (const CommandWord& command : kCommandWords) {
    if (!word.empty() && command.word == word) return &command;
  }
  return nullptr;
}

void Click(std::u16string_view word, MenuArguments* arguments, HostPorts& ports) {
  RequestContext context(ports.environment);
  if (!BuildRequestContext(context, arguments)) {
    ports.desktop.Beep(BeepKind::kError);
    return;
  }
  const CommandWord* command = FindCommand(word);
  if (command == nullptr) {
    ports.desktop.Beep(BeepKind::kError);
    return;
  }
  command->flow(*command, context, ports);
}

}  // namespace qm
