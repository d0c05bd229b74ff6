#include "flows/command_dispatch.h"

#include <array>

#include "flows/category_flows.h"
#include "flows/convert_flow.h"
#include "flows/currency_flow.h"

namespace qm {
namespace {

template <const SelectedStringCategory& kCategory>
void RunCategory(RequestContext& context, HostPorts& ports) {
  RunSelectedStringFlow(context, ports, kCategory);
}

constexpr SelectedStringCategory kBook{"BOOK:", 137, 134, "HelpBook.htm"};
constexpr SelectedStringCategory kMovie{"MOVIE:", 139, 134, "HelpMovie.htm"};
constexpr SelectedStringCategory kMusic{"MUSIC:", 138, 134, "HelpMusic.htm"};
constexpr SelectedStringCategory kOther{"OTHER:", 132, 131, "HelpOther.htm"};
constexpr SelectedStringCategory kSearch{"SEARCH:", 133, 134, "HelpSearch.htm"};

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
