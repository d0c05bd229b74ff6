// The tool subcommands of qmkit end to end, run as a script runs them: exit
// statuses, what goes to standard output and error, and the files written.
#include <sys/resource.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "compiled_in_files.h"
#include "exit_status.h"
#include "resource_ids.h"
#include "support/qmkit_run.h"

namespace qm {
namespace {

using Outcome = testing_support::ProgramOutcome;
using testing_support::Has;
using testing_support::ReadWholeFile;

constexpr char kCatalogue[] =
    "[ISBN:Shop]\nshortDescription=Shop\nurl=https://shop.example/isbn/!s\n"
    "[SEARCH:One]\nshortDescription=One\nurl=https://one.example/?q=!s\n";

class ToolSubcommands : public testing_support::ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    catalogue_ = dir_ + "/sites.ini";
    Write(catalogue_, kCatalogue);
  }

  // Runs qmkit with `args`, its files no larger than `file_size_limit`
  // bytes.
  Outcome Qmkit(const std::vector<std::string>& args,
                rlim_t file_size_limit = RLIM_INFINITY) const {
    return ProgramTest::Qmkit(args, {{}, file_size_limit});
  }

  std::string catalogue_;
};

TEST_F(ToolSubcommands, VersionIsTheProjectVersion) {
  for (const char* option : {"--version", "-V"}) {
    const Outcome run = Qmkit({option});
    EXPECT_EQ(run.status, kExitDone) << option;
    EXPECT_EQ(run.out, "qmkit " QMKIT_VERSION "\n") << option;
    EXPECT_EQ(run.err, "");
  }
}

TEST_F(ToolSubcommands, CommandWordsAndToolNamesInAnyLetterCase) {
  const std::string clean = dir_ + "/clean.ini";
  Write(clean, "[BOOK:A]\nshortDescription=A\nurl=https://a.example/?q=!s\n");
  const std::string isbn_url = "\"url\":\"https://shop.example/isbn/0306406152\"";
  const std::string converted = "12.5 kilometres = 7.76714 miles";
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string out_part;
  };
  const Case cases[] = {
      {{"isbn", "--selection", "0306406152", "--answers", "ok", "--catalogue", catalogue_,
        "--no-remember", "--json"},
       kExitDone, isbn_url},
      {{"Isbn", "--selection", "0306406152", "--answers", "ok", "--catalogue", catalogue_,
        "--no-remember", "--json"},
       kExitDone, isbn_url},
      {{"find", "ISBN", "0306406152"}, kExitDone, "0306406152\n"},
      {{"FIND", "Upc", "036000291452"}, kExitDone, "036000291452\n"},
      {{"CHECK", clean}, kExitDone, ""},
      {{"Catalogue", "search", "--catalogue", catalogue_}, kExitDone,
       "SEARCH: 1 entries from the user's catalogue"},
      // "convert" in small letters is the tool; any other spelling the menu
      // command, whose options the tool would refuse.
      {{"convert", "12.5 km"}, kExitDone, "12.5 kilometres (distance)\n"},
      {{"Convert", "--selection", "12.5 km", "--answers", "to miles; calculate",
        "--no-remember", "--json"},
       kExitDone, converted},
      {{"CONVERT", "--selection", "12.5 km", "--answers", "to miles; calculate",
        "--no-remember", "--json"},
       kExitDone, converted},
      {{"Help"}, kExitDone, "usage: qmkit COMMAND"},
      {{"Frob"}, kExitUsage, ""},
  };
  for (const Case& c : cases) {
    const Outcome run = Qmkit(c.args);
    EXPECT_EQ(run.status, c.status) << c.args[0] << " " << run.err;
    EXPECT_TRUE(Has(run.out, c.out_part)) << c.args[0] << ": " << run.out;
    if (c.status == kExitUsage) {
      EXPECT_TRUE(Has(run.err, "unknown command \"Frob\"")) << run.err;
    }
  }
}

TEST_F(ToolSubcommands, ExportWritesTheBuiltInBytesAndNeverReplacesAFile) {
  const std::string_view built_in = CompiledInFile(IDR_DEFAULT_CATALOGUE);
  // What makes the bytes worth comparing: CR LF and a Windows-1252 degree
  // sign, either of which a careless copy would change.
  ASSERT_TRUE(Has(std::string(built_in), "\r\n"));
  ASSERT_TRUE(Has(std::string(built_in), "\xB0"));
  const std::string folder = dir_ + "/exports";
  std::filesystem::create_directory(folder);
  const std::string file = folder + "/qmkit.ini";

  Outcome run = Qmkit({"catalogue", "--export", file});
  EXPECT_EQ(run.status, kExitDone) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_TRUE(ReadWholeFile(file) == built_in);
  for (std::vector<std::string> args : {std::vector<std::string>{"catalogue", "--export"},
                                        {"catalogue", "--export", "-"}}) {
    run = Qmkit(args);
    EXPECT_EQ(run.status, kExitDone) << run.err;
    EXPECT_TRUE(run.out == built_in) << args.size();
  }

  // An existing file stays as it is.
  const std::string mine = folder + "/mine.ini";
  Write(mine, "[BOOK:Mine]\n");
  run = Qmkit({"catalogue", "--export", mine});
  EXPECT_EQ(run.status, kExitUsage);
  EXPECT_TRUE(Has(run.err, mine + " exists already")) << run.err;
  EXPECT_EQ(ReadWholeFile(mine), "[BOOK:Mine]\n");

  // A write that fails part way leaves neither the file nor a temporary one.
  const std::string partial = folder + "/partial.ini";
  run = Qmkit({"catalogue", "--export", partial}, 4096);
  EXPECT_EQ(run.status, kExitActionFailed);
  EXPECT_TRUE(Has(run.err, "cannot write " + partial)) << run.err;
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"mine.ini", "qmkit.ini"}));

  EXPECT_EQ(Qmkit({"catalogue", "--export", folder + "/x.ini", "--json"}).status,
            kExitUsage);
}

TEST_F(ToolSubcommands, CatalogueJsonInEveryForm) {
  struct Case {
    std::vector<std::string> args;
    std::vector<std::string_view> keys;
  };
  // The content of each form is pinned by the listing's own tests; here,
  // that every form of the command answers in JSON.
  const Case cases[] = {
      {{"catalogue"}, {"\"categories\":[{\"category\":\"BOOK\","}},
      {{"catalogue", "SEARCH", "--catalogue", catalogue_},
       {"\"source\":\"user\"", "\"entries\":[{\"name\":\"SEARCH:One\","}},
      {{"catalogue", "unit"}, {"\"sections\":[{\"name\":\"UNIT:"}},
      {{"catalogue", "--prefix", "SEARCH:", "--catalogue", catalogue_},
       {"{\"sections\":[{\"name\":\"SEARCH:One\",\"keys\":{"}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = c.args;
    args.push_back("--json");
    const Outcome run = Qmkit(args);
    EXPECT_EQ(run.status, kExitDone) << run.err;
    EXPECT_TRUE(run.out.starts_with("{") && run.out.ends_with("}\n")) << run.out;
    for (std::string_view key : c.keys) EXPECT_TRUE(Has(run.out, key)) << key << ": " << run.out;
  }
}

TEST_F(ToolSubcommands, ConvertFailuresAsJson) {
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string error;
  };
  const Case cases[] = {
      {{"abc"}, kExitNothingFound, "{\"error\":\"no number in \\\"abc\\\"\"}\n"},
      {{"42"}, kExitNothingFound, "{\"error\":\"no unit recognised in \\\"42\\\""},
      {{"12.5 km", "--to", "furlongs"}, kExitUsage, "{\"error\":\"unknown unit"},
      {{"12.5 km", "--to", "kg"}, kExitUsage,
       "{\"error\":\"kilograms is a unit of mass, not of distance\"}\n"},
      // --json after the mistake still decides how it is told.
      {{"--colour", "12.5 km"}, kExitUsage, "{\"error\":\"unknown option --colour\"}\n"},
      {{"1 m", "--catalogue", dir_ + "/missing.ini"}, kExitUsage, "{\"error\":\"cannot read"},
      {{"0 mpg", "--to", "l/100km"}, kExitNothingFound,
       "\"calculated\":false,\"result\":\"Cannot calculate answer (Division by zero)\","
       "\"error\":\"Cannot calculate answer (Division by zero)\"}\n"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"convert"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    args.push_back("--json");
    const Outcome run = Qmkit(args);
    EXPECT_EQ(run.status, c.status) << c.args[0];
    EXPECT_TRUE(run.out.starts_with("{") && Has(run.out, c.error)) << run.out;
    EXPECT_EQ(run.err, "") << c.args[0];
  }
  // Without --json the same failure is told on standard error alone.
  const Outcome run = Qmkit({"convert", "12.5 km", "--to", "kg"});
  EXPECT_EQ(run.status, kExitUsage);
  EXPECT_EQ(run.out, "");
  EXPECT_TRUE(Has(run.err, "kilograms is a unit of mass")) << run.err;
}

TEST_F(ToolSubcommands, CheckSeveritiesDecideTheExitStatus) {
  const std::string file = dir_ + "/mine.ini";
  struct Case {
    std::string text;
    int status;
    std::string out;  // with FILE for "F"
  };
  const Case cases[] = {
      {"[BOOK:A]\nshortDescription=A\nurl=x\n", kExitDone, ""},
      {"[BOOK:A]\nshortDescription=A\nurl=x\nurl=y\n", kExitDone,
       "F:4: note: key \"url\" repeats line 3; the later value wins\n"},
      {"[BOOK:A]\r\nshortDescription=A\r\n", kExitNothingFound,
       "F:1: warning: entry \"BOOK:A\" does nothing when chosen"},
      {"[BOOK:A]\nshortDescription=A\nurl=x\nno equals\n", kExitNothingFound,
       "F:4: error: line without \"=\" is ignored\n"},
      // Shown as the catalogue reads it, in Windows-1252.
      {"[BOOK:B\xC3\xBC" "cher]\nshortDescription=x\nurl=y\n", kExitNothingFound,
       "F:1: warning: \"\xC3\x83\xC2\xBC\" looks like one character written in UTF-8"},
  };
  for (const Case& c : cases) {
    Write(file, c.text);
    const Outcome run = Qmkit({"check", file});
    EXPECT_EQ(run.status, c.status) << c.text;
    std::string expected = c.out;
    if (expected.starts_with("F:")) expected.replace(0, 1, file);
    EXPECT_TRUE(expected.empty() ? run.out.empty() : run.out.starts_with(expected))
        << run.out;
  }
  Write(file, "[BOOK:A]\nurl=x\n");
  Outcome run = Qmkit({"check", "--json", file});
  EXPECT_EQ(run.status, kExitNothingFound);
  EXPECT_TRUE(Has(run.out, "\"findings\":[{\"line\":1,\"severity\":\"warning\",\"message\":"
                           "\"entry \\\"BOOK:A\\\" has no shortDescription"))
      << run.out;

  // A file that repeats one mistake on every line shows the first few and
  // counts the rest; one saved as UTF-8 with the mark gets a note.
  std::string broken;
  for (int k = 0; k < 5000; ++k) broken += "[\n";
  Write(file, broken);
  run = Qmkit({"check", file});
  EXPECT_EQ(run.status, kExitNothingFound);
  EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 3 * 20 + 3) << run.out;
  EXPECT_TRUE(Has(run.out, file + ":21: warning: 4980 more of the kind \"header without "
                                  "\"]\"\" from here on are not shown\n"))
      << run.out;
  run = Qmkit({"check", "--json", file});
  EXPECT_TRUE(Has(run.out, "\"omitted\":[{\"line\":21,\"severity\":\"warning\",\"kind\":"
                           "\"header without \\\"]\\\"\",\"count\":4980},"))
      << run.out;
  Write(file, "\xEF\xBB\xBF[BOOK:B\xC3\xBC]\nshortDescription=A\nurl=x\n");
  run = Qmkit({"check", file});
  EXPECT_EQ(run.status, kExitDone);
  EXPECT_TRUE(run.out.starts_with(file + ":1: note: the file begins with the UTF-8 "
                                         "byte-order mark"))
      << run.out;

  // Without FILE, the user's catalogue; missing, it is named with the reason.
  run = Qmkit({"check"});
  EXPECT_EQ(run.status, kExitUsage);
  const std::string users = dir_ + "/xdg/qmkit/qmkit.ini";
  EXPECT_TRUE(Has(run.err, users + ": No such file or directory")) << run.err;
  EXPECT_EQ(run.out, "");
  run = Qmkit({"check", dir_});
  EXPECT_EQ(run.status, kExitUsage);
  EXPECT_TRUE(Has(run.err, dir_ + ": Is a directory")) << run.err;

  // The built-in catalogue, exported as a starting point, checks clean but
  // for the note on its repeat.
  std::filesystem::create_directories(dir_ + "/xdg/qmkit");
  ASSERT_EQ(Qmkit({"catalogue", "--export", users}).status, kExitDone);
  run = Qmkit({"check"});
  EXPECT_EQ(run.status, kExitDone) << run.out;
  EXPECT_TRUE(run.out.starts_with(users + ":")) << run.out;
  EXPECT_TRUE(Has(run.out, ": note: key \"shortDescription\" repeats line")) << run.out;
}

// The manual page and the bash completion name every option that some
// --help lists, and every command word and tool: a new option that is not
// documented fails here.
TEST_F(ToolSubcommands, ManualPageAndCompletionCoverEveryOption) {
  const std::string manual = ReadWholeFile(QMKIT_MANUAL_PAGE);
  const std::string completion = ReadWholeFile(QMKIT_BASH_COMPLETION);
  ASSERT_FALSE(manual.empty());
  ASSERT_FALSE(completion.empty());
  // roff writes a hyphen of an option as "\-".
  auto in_manual = [&](std::string word) {
    std::string roff;
    for (const char c : word) roff += c == '-' ? std::string("\\-") : std::string(1, c);
    return Has(manual, roff);
  };
  std::vector<std::string> options;
  for (const char* help :
       {"ISBN", "catalogue", "check", "convert", "expand", "find", "native-host"}) {
    const Outcome run = Qmkit({help, "--help"});
    ASSERT_EQ(run.status, kExitDone) << help;
    for (std::size_t at = run.out.find("--"); at != std::string::npos;
         at = run.out.find("--", at + 2)) {
      std::size_t end = at + 2;
      while (end < run.out.size() &&
             (std::isalnum(static_cast<unsigned char>(run.out[end])) || run.out[end] == '-')) {
        ++end;
      }
      if (end > at + 2) options.push_back(run.out.substr(at, end - at));
    }
  }
  ASSERT_GT(options.size(), 20u);
  for (const std::string& option : options) {
    EXPECT_TRUE(in_manual(option)) << option << " is not in the manual page";
    if (option != "--help") {
      EXPECT_TRUE(Has(completion, option + " ") || Has(completion, option + "\""))
          << option << " is not in the bash completion";
    }
  }
  const Outcome usage = Qmkit({"--help"});
  for (const char* word : {"BOOK", "ISBN", "UPC", "MOVIE", "MUSIC", "SEARCH", "STOCK",
                           "TRANSLATE", "URL", "EMAIL", "CURRENCY", "CONVERT", "OTHER",
                           "CONFIG", "catalogue", "check", "convert", "expand", "find",
                           "native-host"}) {
    EXPECT_TRUE(Has(usage.out, word)) << word;
    EXPECT_TRUE(in_manual(word)) << word << " is not in the manual page";
    EXPECT_TRUE(Has(completion, word)) << word << " is not in the bash completion";
  }
}

// A book numbered from 979 has no ISBN-10: it is found and offered as its
// thirteen digits, where a 978 one still becomes its ISBN-10.
TEST_F(ToolSubcommands, BooksNumberedFrom979KeepTheirThirteenDigits) {
  const std::string url = "\"url\":\"https://shop.example/isbn/";
  struct Case {
    std::vector<std::string> args;
    int status;
    std::vector<std::string> out_parts;
  };
  const Case cases[] = {
      {{"find", "isbn", "ISBN 979-10-90636-07-1"}, kExitDone, {"9791090636071\n"}},
      {{"find", "isbn", "--url", "https://shop.example/dp/9791090636071"}, kExitDone,
       {"9791090636071\n"}},
      {{"find", "isbn", "ISBN 978-0-306-40615-7"}, kExitDone, {"0306406152\n"}},
      {{"find", "isbn", "ISMN 979-0-2306-7118-7"}, kExitNothingFound, {}},
      // Offered in the dialog, then handed to the site as it stands.
      {{"ISBN", "--selection", "ISBN 979-10-90636-07-1", "--answers", "ok", "--catalogue",
        catalogue_, "--no-remember", "--json"},
       kExitDone,
       {"\"text\":\"9791090636071\"", url + "9791090636071\""}},
      {{"ISBN", "--selection", "Sonatas", "--answers", "text 979-10-90636-07-1; ok",
        "--catalogue", catalogue_, "--no-remember", "--json"},
       kExitDone, {url + "9791090636071\""}},
      // A wrong check digit is refused and nothing is opened.
      {{"ISBN", "--selection", "Sonatas", "--answers", "text 979-10-90636-07-2; ok; cancel",
        "--catalogue", catalogue_, "--no-remember", "--json"},
       kExitCancelled, {"The ISBN number is not valid."}},
  };
  for (const Case& c : cases) {
    const Outcome run = Qmkit(c.args);
    const std::string what = c.args[0] + " " + c.args[2];
    EXPECT_EQ(run.status, c.status) << what << ": " << run.err;
    for (const std::string& part : c.out_parts) {
      EXPECT_TRUE(Has(run.out, part)) << what << ": " << run.out;
    }
    if (c.status != kExitDone) {
      EXPECT_FALSE(Has(run.out, "9791090636071")) << what << ": " << run.out;
      EXPECT_FALSE(Has(run.out, url)) << what << ": " << run.out;
    }
  }
}

}  // namespace
}  // namespace qm
