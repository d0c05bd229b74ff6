// Arbitrary bytes as a script of answers: parsed into gestures, which must
// survive being written out again and read back unchanged, then played on
// each kind of dialog (a choice list with an edit box, the currency dialog
// over the whole table, the converter over the built-in units, the about
// dialog). Any crash, hang or broken invariant is a finding.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/catalogue_parser.h"
#include "catalogue/site_entry.h"
#include "compiled_in_files.h"
#include "context/request_context.h"
#include "dialogs/about_dlg.h"
#include "dialogs/ask_convert_dlg.h"
#include "dialogs/ask_currency_dlg.h"
#include "dialogs/category_dialogs.h"
#include "dialogs/gesture_script.h"
#include "resource_ids.h"
#include "recognisers/currency_table.h"
#include "support/fake_desktop.h"
#include "text/windows_1252.h"
#include "units/unit_table.h"

namespace {

void Require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "gesture script invariant broken: %s\n", what);
  std::abort();
}

class FixedEnvironment final : public qm::ModuleEnvironment {
 public:
  std::string ModulePath() const override { return "C:\\Apps\\qmkit.dll"; }
  bool ReadFile(const std::string&, std::string*) const override { return false; }
  std::string_view BuiltInFile(int id) const override { return qm::CompiledInFile(id); }
};

const qm::UnitTable& BuiltInUnits() {
  static const qm::UnitTable table = [] {
    qm::SiteCatalogue catalogue;
    qm::ParseCatalogue(std::string(qm::CompiledInFile(IDR_DEFAULT_CATALOGUE)),
                       "UNIT:", catalogue);
    qm::UnitTable t;
    qm::BuildUnitTable(catalogue, t);
    return t;
  }();
  return table;
}

// The script that spells `gestures` out with every argument in quotes.
std::string Written(const std::vector<qm::Gesture>& gestures) {
  std::string script;
  for (const qm::Gesture& g : gestures) {
    script += g.word;
    script += " \"";
    for (const char c : g.argument) {
      if (c == '"' || c == '\\') script += '\\';
      script += c;
    }
    script += "\";";
  }
  return script;
}

template <typename Dialog>
void Play(Dialog& dialog, const std::vector<qm::Gesture>& gestures) {
  std::string error;
  if (!qm::PlayGestures(dialog, gestures, &error)) {
    Require(!error.empty(), "a refused gesture is explained");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view script(reinterpret_cast<const char*>(data), size);
  std::vector<qm::Gesture> gestures;
  std::string error;
  if (!qm::ParseGestures(script, &gestures, &error)) {
    Require(!error.empty(), "a malformed script is explained");
    return 0;
  }
  for (const qm::Gesture& g : gestures) {
    Require(g.word.find_first_of(" \t;\n\"") == std::string::npos,
            "a word holds no blank, separator or quote");
  }
  // A word may end in a CR that the blank after it then trims away with the
  // blank; such a script is not written back.
  bool writable = true;
  for (const qm::Gesture& g : gestures) writable &= g.word.empty() || g.word.back() != '\r';
  std::vector<qm::Gesture> again = gestures;
  if (writable) {
    Require(qm::ParseGestures(Written(gestures), &again, &error), "written back, it parses");
  }
  Require(again.size() == gestures.size(), "written back, as many gestures");
  for (std::size_t k = 0; k < again.size(); ++k) {
    Require(again[k].word == gestures[k].word && again[k].argument == gestures[k].argument,
            "written back, the same gestures");
  }

  const FixedEnvironment env;
  const qm::Windows1252CodePage code_page;
  qm::RequestContext context(env);
  qm::FakeDesktop desktop;
  qm::SiteEntryList entries(3);
  entries[0].name = "OTHER:a";
  entries[1].name = "OTHER:b";
  entries[1].exclusive = true;
  entries[2].name = "OTHER:c";
  {
    qm::CAskOtherDlg dialog(context, desktop, code_page, entries, u"offered",
                            qm::DialogResources{IDD_ASK_OTHER, "HelpOther.htm"}, 116, 133);
    dialog.Open();
    Play(dialog, gestures);
  }
  {
    qm::CAskCurrencyDlg dialog(context, desktop, code_page, entries, u"1.00", nullptr,
                               nullptr, qm::DialogResources{});
    dialog.Open();
    Play(dialog, gestures);
  }
  {
    qm::CAskConvertDlg dialog(context, desktop, code_page, u"1", nullptr, BuiltInUnits(),
                              qm::DialogResources{});
    dialog.Open();
    Play(dialog, gestures);
  }
  {
    qm::CAboutDlg dialog(context, desktop, qm::DialogResources{});
    Play(dialog, gestures);
  }
  return 0;
}
