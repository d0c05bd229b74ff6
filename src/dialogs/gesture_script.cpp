#include "dialogs/gesture_script.h"

#include <charconv>

#include "text/ascii_fold.h"
#include "text/utf8.h"

namespace qm {
namespace {

std::string_view Trim(std::string_view s) {
  const std::size_t first = s.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return {};
  const std::size_t last = s.find_last_not_of(" \t\r\n");
  return s.substr(first, last - first + 1);
}

// A line number counted from 1, as lists are shown to people.
bool ParseLine(const std::string& argument, std::size_t lines,
               std::size_t* line, std::string* error) {
  std::size_t number = 0;
  const char* end = argument.data() + argument.size();
  const auto [ptr, ec] = std::from_chars(argument.data(), end, number);
  if (ec != std::errc() || ptr != end || number == 0 || number > lines) {
    *error = "no line \"" + argument + "\" in a list of " +
             std::to_string(lines);
    return false;
  }
  *line = number - 1;
  return true;
}

// The gestures every choice dialog knows. Returns false with an empty error
// for a word it does not know, so that a dialog with more gestures can try.
bool PlayChoiceGesture(ChoiceDialog& dialog, const Gesture& g,
                       std::string* error) {
  std::size_t line = 0;
  if (g.word == "ok") {
    dialog.Ok();
  } else if (g.word == "cancel") {
    dialog.Cancel();
  } else if (g.word == "help") {
    dialog.Help();
  } else if (g.word == "text" && dialog.has_text()) {
    dialog.SetEditText(FromUtf8(g.argument));
  } else if (g.word == "toggle" || g.word == "highlight") {
    if (!ParseLine(g.argument, dialog.list().size(), &line, error)) return false;
    if (g.word == "toggle") {
      dialog.list().OnDoubleClick(line);
    } else {
      dialog.list().OnItemChanged(line);
    }
  } else {
    error->clear();
    return false;
  }
  return true;
}

// The index of the entry named `name` (as listed, else without regard to
// ASCII case), or of line `name` counted from 1.
template <typename Item>
bool FindListEntry(const ConvertChoiceList<Item>& list, const std::string& name,
                   int* index, std::string* error) {
  for (int pass = 0; pass < 2; ++pass) {
    for (std::size_t i = 0; i < list.entries.size(); ++i) {
      const std::string& entry = list.entries[i].name;
      if (pass == 0 ? entry == name : CompareFolded(entry, name) == 0) {
        *index = static_cast<int>(i);
        return true;
      }
    }
  }
  std::size_t line = 0;
  if (!ParseLine(name, list.entries.size(), &line, error)) {
    *error = "no entry \"" + name + "\" in the list";
    return false;
  }
  *index = static_cast<int>(line);
  return true;
}

template <typename Dialog, typename Play>
bool PlayAll(Dialog& dialog, const std::vector<Gesture>& gestures,
             std::string* error, Play play) {
  for (const Gesture& g : gestures) {
    if (dialog.result()) break;
    std::string fault;
    if (!play(g, &fault)) {
      *error = fault.empty() ? "the dialog has no gesture \"" + g.word + "\""
                             : fault;
      return false;
    }
  }
  return true;
}

}  // namespace

bool ParseGestures(std::string_view script, std::vector<Gesture>* gestures,
                   std::string* error) {
  std::vector<Gesture> parsed;
  std::size_t i = 0;
  while (i <= script.size()) {
    // One gesture: up to the next ";" or line break outside quotes.
    std::string raw;
    bool quoted = false;
    bool had_quotes = false;
    std::string argument_in_quotes;
    for (; i < script.size(); ++i) {
      const char c = script[i];
      if (quoted) {
        if (c == '\\' && i + 1 < script.size()) {
          argument_in_quotes.push_back(script[++i]);
        } else if (c == '"') {
          quoted = false;
        } else {
          argument_in_quotes.push_back(c);
        }
      } else if (c == '"') {
        quoted = true;
        had_quotes = true;
      } else if (c == ';' || c == '\n') {
        break;
      } else {
        raw.push_back(c);
      }
    }
    if (quoted) {
      *error = "a quoted text in the gestures has no closing quote";
      return false;
    }
    ++i;  // past the separator
    const std::string_view body = Trim(raw);
    if (body.empty() && !had_quotes) continue;
    const std::size_t blank = body.find_first_of(" \t");
    Gesture g;
    g.word = std::string(body.substr(0, blank));
    g.argument = had_quotes ? argument_in_quotes
                 : blank == std::string_view::npos
                     ? std::string()
                     : std::string(Trim(body.substr(blank)));
    parsed.push_back(std::move(g));
  }
  *gestures = std::move(parsed);
  return true;
}

bool PlayGestures(ChoiceDialog& dialog, const std::vector<Gesture>& gestures,
                  std::string* error) {
  return PlayAll(dialog, gestures, error, [&](const Gesture& g, std::string* e) {
    return PlayChoiceGesture(dialog, g, e);
  });
}

bool PlayGestures(CAskCurrencyDlg& dialog,
                  const std::vector<Gesture>& gestures, std::string* error) {
  return PlayAll(dialog, gestures, error, [&](const Gesture& g, std::string* e) {
    if (g.word == "from" || g.word == "to") {
      const CurrencyInfo* row = FindCurrencyByCode(g.argument);
      if (row == nullptr) {
        *e = "no currency with the code \"" + g.argument + "\"";
        return false;
      }
      if (g.word == "from") {
        dialog.ChooseSource(row);
      } else {
        dialog.ChooseTarget(row);
      }
      return true;
    }
    const Gesture as_text = g.word == "amount" ? Gesture{"text", g.argument} : g;
    return PlayChoiceGesture(dialog, as_text, e);
  });
}

bool PlayGestures(CAskConvertDlg& dialog,
                  const std::vector<Gesture>& gestures, std::string* error) {
  const CodePage& code_page = dialog.code_page();
  return PlayAll(dialog, gestures, error, [&](const Gesture& g, std::string* e) {
    const std::string name = code_page.ToNarrow(FromUtf8(g.argument));
    int index = 0;
    if (g.word == "category") {
      if (!FindListEntry(dialog.categories(), name, &index, e)) return false;
      dialog.ChooseCategory(index);
    } else if (g.word == "from") {
      if (!FindListEntry(dialog.fromUnits(), name, &index, e)) return false;
      dialog.ChooseFromUnit(index);
    } else if (g.word == "to") {
      if (!FindListEntry(dialog.toUnits(), name, &index, e)) return false;
      dialog.ChooseToUnit(index);
    } else if (g.word == "amount" || g.word == "text") {
      dialog.SetAmountText(name);
    } else if (g.word == "calculate") {
      dialog.Calculate();
    } else if (g.word == "ok") {
      dialog.Ok();
    } else if (g.word == "cancel") {
      dialog.Cancel();
    } else if (g.word == "help") {
      dialog.Help();
    } else {
      return false;
    }
    return true;
  });
}

bool PlayGestures(CAboutDlg& dialog, const std::vector<Gesture>& gestures,
                  std::string* error) {
  return PlayAll(dialog, gestures, error, [&](const Gesture& g, std::string*) {
    if (g.word == "ok") {
      dialog.Ok();
    } else if (g.word == "cancel") {
      dialog.Cancel();
    } else if (g.word == "help") {
      dialog.Help();
    } else if (g.word == "customize") {
      dialog.Customization();
    } else if (g.word == "home") {
      dialog.HomePage();
    } else {
      return false;
    }
    return true;
  });
}

}  // namespace qm
