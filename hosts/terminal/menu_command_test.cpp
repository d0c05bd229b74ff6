// The qmkit program end to end, run as a script runs it: menu commands played
// from --answers against a catalogue and a configuration folder of the
// test's own, and the tool subcommands.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "catalogue/catalogue_parser.h"
#include "compiled_in_files.h"
#include "exit_status.h"
#include "resource_ids.h"
#include "support/qmkit_run.h"

namespace qm {
namespace {

using Outcome = testing_support::ProgramOutcome;
using testing_support::Has;

// `text` as one word of a shell script.
std::string ShellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) {
    quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  }
  return quoted + "'";
}

constexpr char kCatalogue[] =
    "[ISBN:Shop]\nshortDescription=Shop\nurl=https://shop.example/isbn/!s\n"
    "[BOOK:Shop]\nshortDescription=Book shop\nurl=https://books.example/?q=!s\n"
    "[SEARCH:One]\nshortDescription=One\nurl=https://one.example/?q=!s\n"
    "defaultSelected=y\n"
    "[SEARCH:Three]\nshortDescription=Three\nurl=https://three.example/?q=!s\n"
    "[SEARCH:Two]\nshortDescription=Two\nurl=https://two.example/search/!s\n"
    "defaultSelected=y\n"
    "[TRANSLATE:Tr]\nshortDescription=Translate\nhref=https://tr.example/?u=!U\n"
    "[CURRENCY:Rates]\nshortDescription=Rates\n"
    "url=https://rates.example/?from=!F&to=!L&amount=!S\n"
    "[OTHER:Frame]\nshortDescription=Frame\n"
    "url=https://frame.example/?frame=!u&top=!U\nURLEncode=n\n"
    "[MUSIC:Raw]\nshortDescription=Raw\nurl=https://raw.example/?q=!s\nURLEncode=n\n"
    "[MOVIE:Bare]\nshortDescription=Bare\nurl=!s\n"
    "[URL:Who]\nshortDescription=Who\nurl=https://who.example/!D?u=!U\nURLEncode=n\n";

class QmkitProgram : public testing_support::ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    catalogue_ = dir_ + "/sites.ini";
    config_ = dir_ + "/config";
    Write(catalogue_, kCatalogue);
  }

  // Runs qmkit with `args`; `environment` holds more NAME=value settings.
  Outcome Qmkit(const std::vector<std::string>& args,
                const std::vector<std::string>& environment = {}) const {
    return ProgramTest::Qmkit(args, {environment});
  }

  // A menu command (args[0]) with the test's catalogue and configuration
  // folder, which come before the other arguments.
  Outcome Command(std::vector<std::string> args,
                  const std::vector<std::string>& environment = {}) const {
    args.insert(args.begin() + 1, {"--catalogue", catalogue_, "--config-dir", config_});
    return Qmkit(args, environment);
  }

  std::string catalogue_;
  std::string config_;
};

int Count(const std::string& text, const std::string& part) {
  int count = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

TEST_F(QmkitProgram, IsbnFromThePageAddressWithNothingSelected) {
  const Outcome run =
      Command({"ISBN", "--url", "https://x.example/dp/0306406152", "--answers", "ok"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(Has(run.out, "  text: 0306406152\n")) << run.out;
  EXPECT_TRUE(Has(run.out, "open\n  url: https://shop.example/isbn/0306406152\n"))
      << run.out;
}

TEST_F(QmkitProgram, BookOffersTheUpcFoundInTheSelection) {
  const Outcome run = Command(
      {"BOOK", "--selection", "Widget 036000291452 blue", "--answers", "ok", "--json"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(Has(run.out, "\"text\":\"036000291452\"")) << run.out;
  EXPECT_TRUE(Has(run.out, "\"url\":\"https://books.example/?q=036000291452\""))
      << run.out;
}

TEST_F(QmkitProgram, EditedTextReachesEveryChosenSite) {
  const Outcome run = Command({"SEARCH", "--selection", "old words", "--answers",
                               "text new words & more; ok", "--json"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(Has(run.out, "\"url\":\"https://one.example/?q=new%20words%20%26%20more\""))
      << run.out;
  EXPECT_TRUE(
      Has(run.out, "\"url\":\"https://two.example/search/new%20words%20%26%20more\""))
      << run.out;
  EXPECT_EQ(Count(run.out, "\"type\":\"open\""), 2) << run.out;
  EXPECT_FALSE(Has(run.out, "old")) << run.out;
}

TEST_F(QmkitProgram, TranslateOnAnIntranetHostAnsweredNo) {
  const Outcome run = Command(
      {"TRANSLATE", "--url", "http://intranet/page", "--answers", "no", "--json"});
  ASSERT_EQ(run.status, kExitCancelled) << run.err;
  EXPECT_TRUE(Has(run.out, "\"type\":\"message\"")) << run.out;
  EXPECT_TRUE(Has(run.out, "\"answer\":\"No\"")) << run.out;
  EXPECT_FALSE(Has(run.out, "\"type\":\"dialog\"")) << run.out;
  EXPECT_FALSE(Has(run.out, "\"type\":\"link\"")) << run.out;
}

TEST_F(QmkitProgram, CancelStoresNothingAndOkStoresTheTicks) {
  const std::string selections = config_ + "/selections";
  const Outcome cancelled =
      Command({"SEARCH", "--selection", "x", "--answers", "toggle 2; cancel", "--json"});
  ASSERT_EQ(cancelled.status, kExitCancelled) << cancelled.err;
  EXPECT_FALSE(Has(cancelled.out, "\"type\":\"open\"")) << cancelled.out;
  EXPECT_FALSE(std::filesystem::exists(selections));

  // The same gestures confirmed: the ticks are remembered, Three among them.
  const Outcome confirmed =
      Command({"SEARCH", "--selection", "x", "--answers", "toggle 2; ok", "--json"});
  ASSERT_EQ(confirmed.status, 0) << confirmed.err;
  std::ifstream file(selections);
  std::stringstream stored;
  stored << file.rdbuf();
  EXPECT_TRUE(Has(stored.str(), "1\tSEARCH:Three\n")) << stored.str();
}

TEST_F(QmkitProgram, CurrencyTargetAndTypedAmountReachTheTemplate) {
  const Outcome run = Command({"CURRENCY", "--selection", "EUR 12,50", "--answers",
                               "amount 99.95; to GBP; ok", "--json"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(
      Has(run.out, "\"url\":\"https://rates.example/?from=EUR&to=GBP&amount=99.95\""))
      << run.out;
}

TEST_F(QmkitProgram, ConvertCalculatesInTheDialog) {
  const Outcome run = Command({"CONVERT", "--selection", "12.5 km", "--answers",
                               "to miles; calculate", "--json"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(Has(run.out, "\"result-text\":\"12.5 kilometres = 7.76714 miles\""))
      << run.out;
}

TEST_F(QmkitProgram, ConfigHomeOpensTheSystemHomeAddress) {
  SiteCatalogue system;
  ParseCatalogue(std::string(CompiledInFile(IDR_SYSTEM_CATALOGUE)),
                 "SYSTEM:", system);
  CatalogueSection home("", nullptr, 0);
  ASSERT_TRUE(system.Find("SYSTEM:Home", &home));
  const std::string url = home.GetString("url", "");
  ASSERT_FALSE(url.empty());

  const Outcome run = Command({"CONFIG", "--answers", "home", "--json"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(Has(run.out, "\"url\":\"" + url + "\"")) << run.out;
}

TEST_F(QmkitProgram, FramePageGivesFrameAndTopAddresses) {
  const Outcome run =
      Command({"OTHER", "--url", "https://frame.example.org/inner.html", "--top-url",
               "https://top.example.com/", "--answers", "ok"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(Has(run.out,
                  "url: https://frame.example/?frame=https://frame.example.org/"
                  "inner.html&top=https://top.example.com/\n"))
      << run.out;
}

// --link and --link-href: the menu opened on a link.
TEST_F(QmkitProgram, OnALinkUrlLooksUpItsAddressAndSearchTakesItsText) {
  const std::vector<std::string> link = {"--url", "https://page.example.com/a",
                                         "--link", "Blue  Train", "--link-href",
                                         "https://music.shop.co.uk/x", "--answers", "ok"};
  std::vector<std::string> url = {"URL"};
  url.insert(url.end(), link.begin(), link.end());
  const Outcome on_link = Command(url);
  ASSERT_EQ(on_link.status, 0) << on_link.err;
  EXPECT_TRUE(Has(on_link.out, "url: https://who.example/shop.co.uk?u=https://music.shop.co.uk/x\n"))
      << on_link.out;

  std::vector<std::string> search = {"SEARCH"};
  search.insert(search.end(), link.begin(), link.end());
  const Outcome text = Command(search);
  ASSERT_EQ(text.status, 0) << text.err;
  EXPECT_TRUE(Has(text.out, "  text: Blue Train\n")) << text.out;

  const Outcome on_page =
      Command({"URL", "--url", "https://page.example.com/a", "--answers", "ok"});
  ASSERT_EQ(on_page.status, 0) << on_page.err;
  EXPECT_TRUE(Has(on_page.out, "url: https://who.example/example.com?u=https://page.example.com/a\n"))
      << on_page.out;
}

TEST_F(QmkitProgram, BadUsageExitsTwoWithAMessage) {
  // An unknown command word, and one that is a command word only nearly.
  for (const char* word : {"FOO", "books"}) {
    const Outcome run = Qmkit({word});
    EXPECT_EQ(run.status, 2) << word;
    EXPECT_TRUE(Has(run.err, "unknown command")) << run.err;
    EXPECT_TRUE(run.out.empty()) << run.out;
  }
  // An unknown option of a command, and an option without its value.
  EXPECT_EQ(Command({"ISBN", "--colour"}).status, 2);
  EXPECT_EQ(Qmkit({"ISBN", "--url"}).status, 2);
}

TEST_F(QmkitProgram, FindTellsWhatTheRecognisersFind) {
  // Found: the value on one line, exit 0.
  Outcome run = Qmkit({"find", "isbn", "--url", "https://x.example/9780306406157"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "0306406152\n");
  run = Qmkit({"find", "stock", "Widget Corporation (NASDAQ:MSFT)"});
  EXPECT_EQ(run.out, "MSFT\n");
  run = Qmkit({"find", "amount", "It costs 1.234,56 EUR."});
  EXPECT_EQ(run.out, "1234.56\n");
  run =
      Qmkit({"find", "currency", "5 kr", "--url", "https://shop.example.se/", "--json"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out,
            "{\"what\":\"currency\",\"found\":true,\"code\":\"SEK\",\"name\":"
            "\"Sweden, Kronor\",\"text\":\"SEK Sweden, Kronor\",\"source\":\"selection\"}\n");

  // Nothing found: exit 1; currency and amount still show what the command
  // proposes.
  run = Qmkit({"find", "upc", "no code here"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_TRUE(Has(run.err, "no UPC")) << run.err;
  run = Qmkit({"find", "currency", "12", "--host", "intranet"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "USD United States of America, Dollars\n");

  // Bad usage.
  EXPECT_EQ(Qmkit({"find", "colour", "red"}).status, 2);
  EXPECT_EQ(Qmkit({"find"}).status, 2);
  EXPECT_EQ(Qmkit({"find", "isbn", "two", "texts"}).status, 2);
}

TEST_F(QmkitProgram, ExpandFillsATemplateFromThePage) {
  Outcome run =
      Qmkit({"expand", "q=!S&h=!h&d=!D&t=!t&z=!Z&e=\\!S", "--selection", "a b&c", "--url",
             "https://www.shop.example.co.uk/p", "--title", "Hi"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "q=a b&c&h=www.shop.example.co.uk&d=example.co.uk&t=Hi&z=!Z&e=!S\n");

  // Encoded in either charset; on a command line, values lose their
  // special characters.
  run = Qmkit({"expand", "q=!S", "--selection", "a b&\xC3\xA9", "--encode"});
  EXPECT_EQ(run.out, "q=a%20b%26%E9\n");
  run = Qmkit({"expand", "q=!S", "--selection", "a b&\xC3\xA9", "--encode", "--charset",
               "UTF-8", "--json"});
  EXPECT_EQ(run.out, "{\"template\":\"q=!S\",\"expansion\":\"q=a%20b%26%C3%A9\"}\n");
  // A command: the Windows line, then the arguments --run starts, each
  // value whole (its blank quoted on the line); shown to a terminal with its
  // control characters visible.
  run = Qmkit({"expand", "ping !S", "--selection", "a&calc \"x\"\x1b[2J", "--command-line"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "command line: ping a_calc\" \"_x__[2J\n"
            "argument 0: ping\n"
            "argument 1: a&calc \"x\"\\x1b[2J\n");
  // Encoded, in the console: the interpreter is unwrapped from the
  // arguments, and no value forms a %NAME% on the line.
  run = Qmkit({"expand", "cmd /c \"lookup !S\"", "--command-line", "--encode",
               "--leave-console", "--selection", "\xC3\x8D\xC3\x8D" "DATE\xC3\x9A", "--json"},
              {"COMSPEC=cmd.exe"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "{\"template\":\"cmd /c \\\"lookup !S\\\"\","
            "\"command_line\":\"cmd.exe /K \\\"cmd /c \\\"lookup "
            "\\\"\\\"%\\\"\\\"CD%\\\"\\\"CDDATE%\\\"\\\"DA\\\"\\\"\","
            "\"arguments\":[\"lookup\",\"%CD%CDDATE%DA\"]}\n");
  // Refused: the answer is "no".
  run = Qmkit({"expand", "ping !S", "--command-line", "--selection", "-f", "--json"});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(Has(run.out, "\"refused\":\"The command was not started: a value from the "
                           "page begins an argument with"))
      << run.out;
  EXPECT_FALSE(Has(run.out, "arguments")) << run.out;

  EXPECT_EQ(Qmkit({"expand"}).status, 2);
  EXPECT_EQ(Qmkit({"expand", "q=!S", "--charset", "latin1"}).status, 2);
  EXPECT_EQ(Qmkit({"expand", "q=!S", "--console"}).status, 2);
  EXPECT_EQ(Qmkit({"expand", "q=!S", "--command-line", "--console", "--leave-console"}).status,
            2);
}

TEST_F(QmkitProgram, ConvertReadsAndConvertsQuantities) {
  Outcome run = Qmkit({"convert", "12.5 km"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "12.5 kilometres (distance)\n");
  run = Qmkit({"convert", "12.5 km", "--to", "miles"});
  EXPECT_EQ(run.out, "12.5 kilometres = 7.76714 miles\n");
  // A negative amount is no option; the degree sign crosses into the
  // catalogue's code page and back.
  run = Qmkit({"convert",
               "-40 \xC2\xB0"
               "C",
               "--to",
               "\xC2\xB0"
               "F",
               "--json"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "{\"amount\":\"-40\",\"unit\":\"Celsius\",\"to\":\"Fahrenheit\","
            "\"category\":\"temperature\",\"calculated\":true,"
            "\"result\":\"-40 Celsius = -40 Fahrenheit\"}\n");

  // A failed calculation, no unit, no number: exit 1.
  run = Qmkit({"convert", "0 mpg", "--to", "l/100km"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "Cannot calculate answer (Division by zero)\n");
  EXPECT_EQ(Qmkit({"convert", "42"}).status, 1);
  EXPECT_EQ(Qmkit({"convert", "about a mile"}).status, 1);

  // The user's units replace the built-in ones.
  Write(catalogue_, "[UNIT:Thing]\ncategory=stuff\nten+0=things\nten+3=kilothings,kt\n");
  run = Qmkit({"convert", "3 kt", "--to", "things", "--catalogue", catalogue_});
  EXPECT_EQ(run.out, "3 kilothings = 3000 things\n");
  EXPECT_EQ(Qmkit({"convert", "3 km", "--catalogue", catalogue_}).status, 1);

  // An unknown --to unit, one of another category, an unreadable catalogue.
  EXPECT_EQ(Qmkit({"convert", "12.5 km", "--to", "furlongs"}).status, 2);
  run = Qmkit({"convert", "12.5 km", "--to", "kg"});
  EXPECT_EQ(run.status, 2);
  EXPECT_TRUE(Has(run.err, "kilograms is a unit of mass, not of distance")) << run.err;
  EXPECT_EQ(Qmkit({"convert", "1 m", "--catalogue", dir_ + "/missing.ini"}).status, 2);
  EXPECT_EQ(Qmkit({"convert", "12.5 km", "--to"}).status, 2);
}

TEST_F(QmkitProgram, CheckReportsFindingsWithFileAndLine) {
  const std::string file = dir_ + "/mine.ini";
  Write(file, "[BOOK:A]\r\nurl=https://a.example/?q=!q\r\nexclusive=on\r\n[Bok:B]\r\n");
  Outcome run = Qmkit({"check", file});
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_EQ(Count(run.out, "\n"), 4) << run.out;
  EXPECT_TRUE(Has(run.out, file + ":2: warning: key \"url\": \"!q\" is no placeholder"))
      << run.out;
  EXPECT_TRUE(Has(run.out, file + ":3: warning: flag \"exclusive\" value \"on\""))
      << run.out;
  EXPECT_TRUE(Has(run.out, file + ":4: error: section \"Bok:B\" is loaded by no command"))
      << run.out;
  run = Qmkit({"check", "--json", file});
  EXPECT_TRUE(Has(run.out,
                  "{\"line\":3,\"severity\":\"warning\",\"message\":\"flag \\\"exclusive\\\""))
      << run.out;

  // Clean: nothing printed, exit 0; the test's catalogue is clean too.
  run = Qmkit({"check", catalogue_});
  EXPECT_EQ(run.status, 0) << run.out;
  EXPECT_EQ(run.out, "");

  // Without FILE, the user's catalogue is checked: --catalogue, else the
  // configuration folder's qmkit.ini, which the test's folder lacks.
  EXPECT_EQ(Qmkit({"check", "--catalogue", catalogue_}).status, 0);
  EXPECT_EQ(Qmkit({"check"}).status, 2);
  EXPECT_EQ(Qmkit({"check", dir_ + "/missing.ini"}).status, 2);
  EXPECT_EQ(Qmkit({"check", dir_}).status, 2);  // a folder
  EXPECT_EQ(Qmkit({"check", file, file}).status, 2);
}

TEST_F(QmkitProgram, ExitStatusTellsDoneFromCancelled) {
  struct Case {
    std::vector<std::string> args;
    int status;
    bool opens;  // whether a site is opened
  };
  const Case cases[] = {
      {{"SEARCH", "--selection", "x", "--answers", "ok"}, kExitDone, true},
      {{"SEARCH", "--selection", "x", "--answers", "cancel"}, kExitCancelled, false},
      {{"CONVERT", "--selection", "1 km", "--answers", "cancel"}, kExitCancelled, false},
      {{"CONFIG", "--answers", "ok"}, kExitDone, false},
      {{"CONFIG", "--answers", "cancel"}, kExitCancelled, false},
      // Translate's question: No ends the command, Yes leads to its dialog.
      {{"TRANSLATE", "--url", "http://intranet/", "--answers", "no"}, kExitCancelled, false},
      {{"TRANSLATE", "--url", "http://intranet/", "--answers", "yes; ok"}, kExitDone, true},
      // A refused OK shows its message and the script goes on; when the
      // answers run out on a dialog that refuses OK, it is cancelled.
      {{"ISBN", "--answers", "text 123; ok; text 0306406152; ok"}, kExitDone, true},
      {{"ISBN", "--answers", "text 123; ok"}, kExitCancelled, false},
  };
  for (const Case& c : cases) {
    const Outcome run = Command(c.args);
    const std::string name = c.args[0] + " " + c.args.back();
    EXPECT_EQ(run.status, c.status) << name << "\n" << run.err;
    EXPECT_EQ(Has(run.out, "open\n") || Has(run.out, "link\n"), c.opens)
        << name << "\n" << run.out;
  }
}

TEST_F(QmkitProgram, AnswersThatDoNotFitStopWithStatusTwoAndRunNothing) {
  struct Case {
    std::vector<std::string> args;
    std::string message;
  };
  const Case cases[] = {
      {{"SEARCH", "--answers", "frobnicate"},
       "answer 1 (\"frobnicate\"): the dialog has no gesture \"frobnicate\""},
      {{"SEARCH", "--answers", "toggle 1; toggle 99; ok"},
       "answer 2 (\"toggle 99\"): no line \"99\" in a list of 3"},
      {{"TRANSLATE", "--url", "http://intranet/", "--answers", "toggle 1; ok"},
       "answer 1 (\"toggle 1\"): the open question takes \"yes\" or \"no\""},
      {{"SEARCH", "--answers"}, "--answers needs a value"},
      {{"SEARCH", "--answers-file"}, "--answers-file needs a value"},
  };
  for (const Case& c : cases) {
    const Outcome run = Command(c.args);
    EXPECT_EQ(run.status, kExitUsage) << c.message;
    EXPECT_TRUE(Has(run.err, "qmkit: " + c.message + "\n")) << run.err;
    EXPECT_EQ(run.out, "") << c.message;
    // Ticks are stored only after OK, just before the actions run.
    EXPECT_FALSE(std::filesystem::exists(config_ + "/selections")) << c.message;
  }
}

TEST_F(QmkitProgram, AnswersFileTakesOneGesturePerLine) {
  const std::string answers = dir_ + "/answers";
  Write(answers, "toggle 2\r\ntext new words; highlight 1\n\nok\n");
  Outcome run = Command({"SEARCH", "--selection", "old", "--answers-file", answers});
  ASSERT_EQ(run.status, kExitDone) << run.err;
  EXPECT_EQ(Count(run.out, "open\n"), 3) << run.out;
  EXPECT_TRUE(Has(run.out, "url: https://three.example/?q=new%20words\n")) << run.out;
  EXPECT_EQ(run.err, "");

  run = Command({"SEARCH", "--answers-file", dir_ + "/none"});
  EXPECT_EQ(run.status, kExitUsage);
  EXPECT_TRUE(Has(run.err, "--answers-file " + dir_ + "/none: no such file")) << run.err;
}

TEST_F(QmkitProgram, NamedCatalogueThatCannotServeIsAnError) {
  const std::string missing = dir_ + "/missing.ini";
  const std::string folder = dir_ + "/folder.ini";
  const std::string locked = dir_ + "/locked.ini";
  const std::string binary = dir_ + "/binary.ini";
  std::filesystem::create_directory(folder);
  Write(locked, kCatalogue);
  ::chmod(locked.c_str(), 0);
  Write(binary, std::string(kCatalogue) + std::string(1, '\0') + "x\n");
  struct Case {
    std::string path;
    std::string reason;
  };
  const Case cases[] = {
      {missing, "no such file"},
      {folder, "is a folder"},
      {locked, "permission denied"},
      {binary, "holds a NUL byte, not a text catalogue"},
  };
  for (const Case& c : cases) {
    // Whoever runs as root reads the file whatever its mode.
    if (c.path == locked && ::geteuid() == 0) continue;
    const std::string message = "--catalogue " + c.path + ": " + c.reason + "\n";
    Outcome run = Qmkit({"ISBN", "--catalogue", c.path, "--answers", "ok"});
    EXPECT_EQ(run.status, kExitUsage) << c.reason;
    EXPECT_TRUE(Has(run.err, message)) << run.err;
    EXPECT_EQ(run.out, "") << c.reason;
    // The tools take the option the same way.
    run = Qmkit({"catalogue", "ISBN", "--catalogue", c.path});
    EXPECT_EQ(run.status, kExitUsage) << c.reason;
    EXPECT_TRUE(Has(run.err, message)) << run.err;
  }

  // Nothing at the default location: the built-in catalogue serves.
  const Outcome run = Qmkit({"ISBN", "--selection", "0306406152", "--answers", "ok",
                             "--config-dir", config_});
  EXPECT_EQ(run.status, kExitDone) << run.err;
  EXPECT_TRUE(Has(run.out, "open\n")) << run.out;
}

class OpenInBrowser : public QmkitProgram {
 protected:
  void SetUp() override {
    QmkitProgram::SetUp();
    bin_ = dir_ + "/bin";
    std::filesystem::create_directory(bin_);
  }

  // A program in the test's bin folder that writes its arguments, one a
  // line, to the file of the same name beside the folder, all at once.
  std::string Recorder(const std::string& name) const {
    const std::string program = bin_ + "/" + name;
    const std::string record = dir_ + "/" + name;
    Write(program, "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done >" +
                       ShellQuoted(record + ".part") + " && /bin/mv " +
                       ShellQuoted(record + ".part") + " " + ShellQuoted(record) + "\n");
    ::chmod(program.c_str(), 0755);
    return program;
  }

  // The record of `name`, waiting for the program that nobody waits for.
  std::string Record(const std::string& name) const {
    const std::string record = dir_ + "/" + name;
    for (int tries = 0; tries < 500 && !std::filesystem::exists(record); ++tries) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    std::ifstream in(record, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  std::string bin_;
};

TEST_F(OpenInBrowser, BrowserListIsTriedInTurnThenXdgOpen) {
  const std::string url = "https://raw.example/?q=a b %s 100%";
  const std::string recorder = Recorder("first");
  Recorder("xdg-open");
  // The first command cannot start; the second takes the address inside
  // one argument, and its %% stays a %.
  Outcome run = Command({"MUSIC", "--selection", "a b %s 100%", "--answers", "ok", "--open"},
                        {"BROWSER=" + dir_ + "/nowhere/browser:" + recorder +
                             " --new-tab=%s  --label 100%% ",
                         "PATH=" + bin_});
  EXPECT_EQ(run.status, kExitDone) << run.err;
  EXPECT_EQ(Record("first"), "--new-tab=" + url + "\n--label\n100%\n");

  // Without %s the address comes last; with no $BROWSER, xdg-open takes it.
  run = Command({"MUSIC", "--selection", "a b %s 100%", "--answers", "ok", "--open"},
                {"BROWSER=" + Recorder("second") + " -x", "PATH=" + bin_});
  EXPECT_EQ(run.status, kExitDone) << run.err;
  EXPECT_EQ(Record("second"), "-x\n" + url + "\n");
  run = Command({"MUSIC", "--selection", "a b %s 100%", "--answers", "ok", "--open"},
                {"BROWSER=", "PATH=" + bin_});
  EXPECT_EQ(run.status, kExitDone) << run.err;
  EXPECT_EQ(Record("xdg-open"), url + "\n");
}

TEST_F(OpenInBrowser, AddressNoBrowserTakesIsAFailedAction) {
  // Nothing can be started.
  const Outcome run = Command({"MUSIC", "--selection", "x", "--answers", "ok", "--open"},
                              {"BROWSER=" + dir_ + "/nowhere/browser", "PATH=" + bin_});
  EXPECT_EQ(run.status, kExitActionFailed) << run.err;
  EXPECT_TRUE(Has(run.err, "qmkit: could not open https://raw.example/?q=x: cannot start " +
                               dir_ + "/nowhere/browser: no such file or directory; "
                               "xdg-open: no such file or directory\n"))
      << run.err;
  EXPECT_TRUE(Has(run.out, "url: https://raw.example/?q=x\n")) << run.out;
}

TEST_F(QmkitProgram, PageTextReachesTheTerminalWithoutItsControlCharacters) {
  // ESC and BEL from the page; byte 0x9D of the catalogue's code page is
  // the C1 control U+009D.
  Write(catalogue_, "[SEARCH:C1]\nshortDescription=x\x9Dy\nurl=https://c.example/\n"
                    "defaultSelected=y\n");
  const Outcome run =
      Command({"SEARCH", "--selection", "a\x1b]0;owned\x07 b", "--answers", "ok"});
  ASSERT_EQ(run.status, kExitDone) << run.err;
  EXPECT_EQ(run.out.find_first_of("\x1b\x07"), std::string::npos) << run.out;
  EXPECT_TRUE(Has(run.out, "text: a\\x1b]0;owned\\x07 b\n")) << run.out;
  EXPECT_TRUE(Has(run.out, "text=x\\u009dy")) << run.out;
}

// What --open hands to the browser for each address a template makes. The
// recording browser writes one line per start, its arguments joined by "|",
// and the sentinel entry, opened after the row's, tells when every start
// the command made has been recorded.
TEST_F(OpenInBrowser, OnlyAddressesABrowserShowsAreHandedOn) {
  const std::string folder = std::filesystem::canonical(QMKIT_PROGRAM).parent_path();
  const std::string record = dir_ + "/starts";
  const std::string browser = bin_ + "/browser";
  Write(browser, "#!/bin/sh\nIFS='|'\nprintf '%s\\n' \"$*\" >>" + ShellQuoted(record) + "\n");
  ::chmod(browser.c_str(), 0755);
  const std::string sentinel = "https://sentinel.example/";
  const std::string kScheme = "only http, https, ftp and mailto";
  const std::string kFolder = "only inside the program's own folder";
  const std::string kClimb = "may not leave the program's own folder";
  const struct {
    const char* url_template;
    std::string selection;
    std::string handed_on;  // empty: skipped, with a message that says...
    std::string skipped_because;
  } cases[] = {
      {"!S", "http://a.example/x?q=1", "http://a.example/x?q=1", ""},
      {"!S", "HTTPS://a.example/", "HTTPS://a.example/", ""},
      {"!S", "ftp://files.example/pub/", "ftp://files.example/pub/", ""},
      {"!S", "mailto:someone@example.com?subject=Hi", "mailto:someone@example.com?subject=Hi",
       ""},
      // Text without a scheme that names a host, as the GoTo entry's
      // example does; spaces and line breaks around it are dropped.
      {"!S", "www.example.com", "https://www.example.com", ""},
      {"\\s!S\\n", "example.org:8080/a b", "https://example.org:8080/a b", ""},
      {"!S", "192.0.2.1/", "https://192.0.2.1/", ""},
      {"!S", "localhost:8080", "", kScheme},
      {"!S", "javascript:alert(1)", "", kScheme},
      {"!S", "data:text/html,<script>alert(1)</script>", "", kScheme},
      {"!S", "-x", "", "begins with \"-\""},
      {"!S", "--gpu-launcher=touch pwned", "", "begins with \"-\""},
      {"!S", "http://a.example/\x1b[2J", "", "control characters"},
      {"!S", "", "", "skipped an empty address"},
      // file: only inside the program's own folder, which !I inserts: not
      // out of it, not up from it, and not to a program in it.
      {"!Imanual.html", "", "file://" + folder + "/manual.html", ""},
      {"!I!S", "..%2F..%2Fetc/passwd", "", kClimb},
      {"!I!S", "doc/../../secret", "", kClimb},
      {"!S", "file:///etc/passwd", "", kFolder},
      {"!S", "file://" + folder + "/qmkit", "", "names a program"},
      {"!S", "file://" + folder + "/qmkit/", "", "names a program"},
      {"!S", "file://" + folder + "/qmkit/.", "", "names a program"},
      // Below a file: the file system cannot tell what that is.
      {"!S", "file://" + folder + "/qmkit/x", "", "names a program"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.url_template) + " with " + c.selection);
    std::filesystem::remove(record);
    Write(catalogue_, std::string("[OTHER:Row]\nshortDescription=Row\nurl=") + c.url_template +
                          "\nURLEncode=n\ndefaultSelected=y\n"
                          "[OTHER:Sentinel]\nshortDescription=End\nurl=" + sentinel +
                          "\ndefaultSelected=y\n");
    const Outcome run = Command({"OTHER", "--selection", c.selection, "--answers", "ok", "--open"},
                                {"BROWSER=" + browser, "PATH=" + bin_});
    const std::size_t starts = c.handed_on.empty() ? 1 : 2;
    std::string recorded;
    for (int tries = 0; tries < 500; ++tries) {
      recorded = testing_support::ReadWholeFile(record);
      if (Count(recorded, "\n") >= static_cast<int>(starts)) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_TRUE(Has(recorded, sentinel + "\n")) << recorded;
    if (c.handed_on.empty()) {
      EXPECT_EQ(run.status, kExitActionFailed) << run.err;
      EXPECT_TRUE(Has(run.err, "qmkit: skipped ")) << run.err;
      EXPECT_TRUE(Has(run.err, c.skipped_because)) << run.err;
      EXPECT_EQ(recorded, sentinel + "\n");
    } else {
      EXPECT_EQ(run.status, kExitDone) << run.err;
      EXPECT_TRUE(Has(recorded, c.handed_on + "\n")) << recorded;
      EXPECT_EQ(Count(recorded, "\n"), 2) << recorded;
    }
  }
}

TEST_F(QmkitProgram, CheckShowsControlCharactersVisiblyButJsonExactly) {
  Write(catalogue_, "[SEARCH:X]\nshortDescription=x\nurl=https://x.example/\n"
                    "ur\x1b[2Jl=1\n");
  Outcome run = Qmkit({"check", catalogue_});
  EXPECT_EQ(run.status, kExitNothingFound) << run.err;
  EXPECT_EQ(run.out.find('\x1b'), std::string::npos) << run.out;
  EXPECT_TRUE(Has(run.out, ":4: error: key \"ur\\x1b[2Jl\" is read by no entry\n")) << run.out;
  run = Qmkit({"check", catalogue_, "--json"});
  EXPECT_TRUE(Has(run.out, "key \\\"ur\\u001b[2Jl\\\"")) << run.out;
}

// Command entries start their program with the page's text as whole
// arguments: no shell reads it, and a program that is not there is said.
TEST_F(QmkitProgram, PageTextInACommandRunsNothingAndAddsNoArgument) {
  const std::string pwned = dir_ + "/pwned";
  const std::string touch = "touch " + pwned;
  // The built-in Ping entry; ping.exe is a Windows program.
  Outcome run = Qmkit({"OTHER", "--host", "a$(" + touch + ")", "--answers",
                       "toggle 1; toggle 2; ok", "--run"});
  EXPECT_EQ(run.status, kExitActionFailed) << run.out << run.err;
  EXPECT_TRUE(Has(run.out, "started: no: ")) << run.out;
  EXPECT_FALSE(Has(run.out, "started: yes")) << run.out;

  Write(catalogue_,
        "[OTHER:Echo]\nshortDescription=Echo\ncommand=echo !s \"[!S]\"\nURLEncode=no\n"
        "defaultSelected=y\n");
  const std::string hostile =
      "hello; " + touch + " && $(" + touch + ") `" + touch + "` | " + touch +
      " $HOME * 'q' \"dq\"";
  run = Command({"OTHER", "--selection", hostile, "--answers", "ok", "--run"});
  EXPECT_EQ(run.status, kExitDone) << run.err;
  EXPECT_TRUE(Has(run.out, "  started: yes\n  1. argument=echo\n  2. argument=" + hostile +
                               "\n  3. argument=[" + hostile + "]\n"))
      << run.out;

  run = Command({"OTHER", "--selection", "-e", "--answers", "ok", "--run"});
  EXPECT_EQ(run.status, kExitActionFailed) << run.out;
  EXPECT_TRUE(Has(run.out, "begins an argument with \"-\"")) << run.out;
  EXPECT_TRUE(Has(run.err, "begins an argument with \"-\"")) << run.err;
  EXPECT_FALSE(Has(run.out, "\n  started:")) << run.out;

  Write(catalogue_,
        "[OTHER:Gone]\nshortDescription=Gone\ncommand=qmkit-test-no-such-program !s\n"
        "defaultSelected=y\n");
  run = Command({"OTHER", "--selection", "x", "--answers", "ok", "--run"});
  EXPECT_EQ(run.status, kExitActionFailed);
  EXPECT_TRUE(Has(run.out, "started: no: ")) << run.out;
  // The started echo is not waited for; give it time to do what it would.
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_FALSE(std::filesystem::exists(pwned));
}

// Ticks that cannot be saved are a failed action, told on stderr, and the
// chosen sites open all the same.
TEST_F(QmkitProgram, QmkitSaysWhenTicksCannotBeRememberedAndStillActs) {
  // A folder that cannot hold anything, as a full or read-only disk does
  // for root too: the "folder" is a file.
  const std::string not_a_folder = dir_ + "/plain-file";
  Write(not_a_folder, "");
  for (const char* word : {"SEARCH", "CURRENCY"}) {
    SCOPED_TRACE(word);
    const Outcome run = Qmkit({word, "--selection", "EUR 12,50", "--config-dir", not_a_folder,
                               "--answers", "toggle 1; ok"});
    EXPECT_EQ(run.status, kExitActionFailed) << run.err;
    EXPECT_TRUE(Has(run.err, "qmkit: Your choice of sites could not be remembered.\n"))
        << run.err;
    EXPECT_TRUE(Has(run.out, "\nopen\n")) << run.out;
  }
}

// A failure the system tells in a message box after the dialogs, such as an
// address longer than the host takes, is an action that failed: exit 4,
// the message on stderr, and nothing opened.
TEST_F(QmkitProgram, AnAddressTooLongIsAFailedAction) {
  std::string many;
  for (int i = 0; i < 2100; ++i) many += "!s";
  Write(catalogue_, "[SEARCH:Long]\nshortDescription=Long\nurl=https://x.example/?q=" + many +
                        "\ndefaultSelected=y\n");
  const std::string selection = dir_ + "/selection";
  // The dialog's box keeps 1,023 characters: 2,100 x 1,023 > 2 MiB.
  Write(selection, std::string(2000, 'a'));
  const Outcome run =
      Command({"SEARCH", "--selection-file", selection, "--answers", "ok"});
  EXPECT_EQ(run.status, kExitActionFailed) << run.err;
  EXPECT_FALSE(Has(run.out, "\nopen\n")) << run.out.substr(0, 2000);
  EXPECT_TRUE(Has(run.err, "Long")) << run.err;
}

// The help gesture shows the dialog's own page of the help: printed when
// no browser is wanted or none takes it, else handed over as a file:
// address. The dialog stays open either way.
TEST_F(OpenInBrowser, HelpPrintsTheTopicPageWhenNoBrowserTakesIt) {
  Write(catalogue_, "[ISBN:Shop]\nshortDescription=Shop\nurl=https://shop.example/!s\n");
  // A browser that cannot start, and none to fall back on; then no $BROWSER
  // with output that is no terminal, where xdg-open is not even tried.
  const std::vector<std::vector<std::string>> environments = {
      {"BROWSER=" + dir_ + "/nowhere/browser", "PATH=" + bin_},
      {"BROWSER=", "PATH=" + bin_}};
  for (const std::vector<std::string>& environment : environments) {
    if (environment[0] == "BROWSER=") Recorder("xdg-open");
    const Outcome run =
        Command({"ISBN", "--selection", "0306406152", "--answers", "help; cancel"}, environment);
    EXPECT_EQ(run.status, kExitCancelled) << environment[0] << "\n" << run.err;
    EXPECT_TRUE(Has(run.out, "Looking up a book by its ISBN\n=============================\n"))
        << environment[0] << "\n" << run.out;
    EXPECT_TRUE(Has(run.out, "The =>ISBN entry looks up")) << run.out;
    EXPECT_FALSE(Has(run.out, "<p>")) << run.out;
    EXPECT_TRUE(Has(run.out, "printed: ")) << run.out;
  }
}

TEST_F(OpenInBrowser, HelpHandsTheTopicPageToTheBrowser) {
  Write(catalogue_, "[ISBN:Shop]\nshortDescription=Shop\nurl=https://shop.example/!s\n");
  const Outcome run =
      Command({"ISBN", "--selection", "0306406152", "--answers", "help; cancel"},
              {"BROWSER=" + Recorder("browser"), "PATH=" + bin_});
  EXPECT_EQ(run.status, kExitCancelled) << run.err;
  const std::string address = Record("browser");
  ASSERT_TRUE(address.starts_with("file:///")) << address;
  ASSERT_TRUE(address.ends_with("/HelpISBN.htm\n")) << address;
  EXPECT_TRUE(std::filesystem::is_regular_file(
      address.substr(std::string("file://").size(), address.size() - 8)))
      << address;
  EXPECT_FALSE(Has(run.out, "Looking up a book by its ISBN")) << run.out;
}

}  // namespace
}  // namespace qm
