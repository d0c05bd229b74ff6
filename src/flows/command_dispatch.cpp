#include "flows/command_dispatch.h"

#include <array>

#include "flows/category_flows.h"
#include "resource_ids.h"
#include "flows/convert_flow.h"
#include "flows/currency_flow.h"

namespace qm {
namespace {

template <const SelectedStringCategory& kCategory>
void RunCategory(RequestContext& context, HostPorts& ports) {
  RunSelectedStringFlow(context, ports, kCategory);
}

constexpr SelectedStringCategory kBook{"BOOK:", IDS_BOOK_CAPTION,
                                        IDS_SITES_OR_ACTIONS_PROMPT, HELP_TOPIC_BOOK};
constexpr SelectedStringCategory kMovie{"MOVIE:", IDS_MOVIE_CAPTION,
                                         IDS_SITES_OR_ACTIONS_PROMPT, HELP_TOPIC_MOVIE};
constexpr SelectedStringCategory kMusic{"MUSIC:", IDS_MUSIC_CAPTION,
                                         IDS_SITES_OR_ACTIONS_PROMPT, HELP_TOPIC_MUSIC};
constexpr SelectedStringCategory kOther{"OTHER:", IDS_OTHER_CAPTION,
                                         IDS_OTHER_PROMPT, HELP_TOPIC_OTHER};
constexpr SelectedStringCategory kSearch{"SEARCH:", IDS_SEARCH_CAPTION,
                                          IDS_SITES_OR_ACTIONS_PROMPT, HELP_TOPIC_SEARCH};

void RunConvert(RequestContext& context, HostPorts& ports) {
  RunConvertFlow(context, ports.desktop, ports.dialogs, ports.code_page);
}

constexpr std::array<CommandWord, 14> kCommandWords = {{
    {u"CONFIG", &RunConfigFlow},
    {u"BOOK", &RunCategory<kBook>},
    {u"CONVERT", &RunConvert},
    {u"CURRENCY", &RunCurrencyFlow},
    {u"EMAIL", &RunEmailFlow},
    {u"ISBN", &RunIsbnFlow},
    {u"MOVIE", &RunCategory<kMovie>},
    {u"MUSIC", &RunCategory<kMusic>},
    {u"OTHER", &RunCategory<kOther>},
    {u"SEARCH", &RunCategory<kSearch>},
    {u"STOCK", &RunStockFlow},
    {u"TRANSLATE", &RunTranslateFlow},
    {u"UPC", &RunUpcFlow},
    {u"URL", &RunUrlFlow},
}};

}  // namespace

std::span<const CommandWord> CommandWordTable() { return kCommandWords; }

FlowFunction FindCommandFlow(std::u16string_view word) {
  for (const CommandWord& command : kCommandWords) {
    if (!word.empty() && command.word == word) return command.flow;
  }
  return nullptr;
}

void Click(std::u16string_view word, MenuArguments* arguments, HostPorts& ports) {
  RequestContext context(ports.environment);
  if (!BuildRequestContext(context, arguments)) {
    ports.desktop.Beep(BeepKind::kError);
    return;
  }
  const FlowFunction flow = FindCommandFlow(word);
  if (flow == nullptr) {
    ports.desktop.Beep(BeepKind::kError);
    return;
  }
  flow(context, ports);
}

}  // namespace qm
