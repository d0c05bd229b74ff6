// A large catalogue shaped like the built-in default: comment banners between
// categories, lookup sites with url templates, translation and mail entries,
// unit sections, CR LF line ends. The same size and seed give the same bytes
// on every platform.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qm::bench {

class CatalogueGenerator {
 public:
  explicit CatalogueGenerator(std::uint64_t seed) : state_(seed) {}

  // Appends whole category blocks until the text holds at least
  // `target_bytes`, then returns it.
  std::string Generate(std::size_t target_bytes) {
    out_.clear();
    out_.reserve(target_bytes + 64 * 1024);
    Line("#These are the sites and units of a generated catalogue");
    while (out_.size() < target_bytes) Block();
    return std::move(out_);
  }

 private:
  enum class Kind { kLookup, kTranslate, kMail, kAction, kUnit };

  struct Category {
    std::string_view prefix;
    std::string_view what;
    Kind kind;
  };

  static constexpr Category kCategories[] = {
      {"BOOK", "book searches by title, author or subject", Kind::kLookup},
      {"ISBN", "book searches by ISBN", Kind::kLookup},
      {"MOVIE", "films and television by title", Kind::kLookup},
      {"MUSIC", "artists, albums and songs", Kind::kLookup},
      {"STOCK", "quotes and news by ticker symbol", Kind::kLookup},
      {"UPC", "products by bar code", Kind::kLookup},
      {"CURRENCY", "exchange rates between two currencies", Kind::kLookup},
      {"SEARCH", "general web searches", Kind::kLookup},
      {"URL", "information about the page address", Kind::kLookup},
      {"TRANSLATE", "translation of the page or the selection", Kind::kTranslate},
      {"OTHER", "actions on the selected text", Kind::kAction},
      {"EMAIL", "mail with the page or the selection", Kind::kMail},
      {"UNIT", "units of the converter", Kind::kUnit},
  };

  static constexpr std::string_view kSyllables[] = {
      "ka", "vo", "ra", "lin", "tor", "mes", "qua", "bel", "din", "sor",
      "pha", "ne", "lu", "tri", "gon", "ver", "sa", "mi", "do", "zen",
      "ul", "bra", "ko", "fe", "max", "op", "ti", "wa", "jo", "rex"};

  static constexpr std::string_view kWords[] = {
      "books", "new", "used", "rare", "prices", "from", "independent", "sellers",
      "reviews", "and", "ratings", "search", "the", "catalogue", "of", "a",
      "large", "library", "quotes", "charts", "news", "for", "every", "listed",
      "company", "films", "series", "cast", "lyrics", "albums", "tracks", "in",
      "stock", "shipping", "worldwide", "compare", "offers", "across", "shops",
      "with", "free", "delivery", "online", "archive", "since", "records"};

  static constexpr std::string_view kUnitCategories[] = {
      "distance", "area", "volume", "mass", "speed", "time", "temperature",
      "pressure", "energy", "power", "angle", "fuel consumption"};

  std::uint32_t Next() {
    // splitmix64: fixed arithmetic, so the bytes do not depend on the library.
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return static_cast<std::uint32_t>((z ^ (z >> 31)) >> 32);
  }
  std::uint32_t Below(std::uint32_t n) { return Next() % n; }

  void Line(std::string_view text) {
    out_ += text;
    out_ += "\r\n";
  }
  void Key(std::string_view key, std::string_view value) {
    out_ += key;
    out_ += '=';
    out_ += value;
    out_ += "\r\n";
  }

  std::string Name() {
    std::string name;
    const std::uint32_t syllables = 2 + Below(3);
    for (std::uint32_t i = 0; i < syllables; ++i) {
      name += kSyllables[Below(std::size(kSyllables))];
    }
    name[0] = static_cast<char>(name[0] - 'a' + 'A');
    name += std::to_string(++serial_);
    return name;
  }

  std::string Sentence(std::uint32_t min_words, std::uint32_t max_words) {
    std::string text;
    const std::uint32_t words = min_words + Below(max_words - min_words + 1);
    for (std::uint32_t i = 0; i < words; ++i) {
      if (i != 0) text += ' ';
      text += kWords[Below(std::size(kWords))];
    }
    text[0] = static_cast<char>(text[0] - 'a' + 'A');
    return text;
  }

  std::string Number() {
    std::string n = std::to_string(Below(10));
    n += '.';
    n += std::to_string(Below(100000));
    return n;
  }

  void Banner(const Category& c) {
    const std::string rule(72, '#');
    Line("");
    Line(rule);
    Line("# " + std::string(c.prefix) + ": " + std::string(c.what));
    if (Below(2) == 0) {
      Line("#");
      Line("# " + Sentence(6, 12));
      Line("# " + Sentence(6, 12));
    }
    Line(rule);
    Line("");
  }

  void Header(const Category& c, const std::string& name) {
    // Now and then the category is written in other letter case, as the
    // built-in unit sections do.
    std::string prefix(c.prefix);
    if (Below(40) == 0) {
      for (std::size_t i = 1; i < prefix.size(); ++i) {
        prefix[i] = static_cast<char>(prefix[i] - 'A' + 'a');
      }
    }
    Line("[" + prefix + ":" + name + "]");
  }

  void Lookup(const Category& c) {
    const std::string name = Name();
    std::string host = name;
    for (char& ch : host) {
      if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
    }
    Header(c, name);
    Key("shortDescription", name + " " + std::string(kWords[Below(std::size(kWords))]));
    if (Below(5) != 0) Key("longDescription", Sentence(4, 14));
    static constexpr std::string_view kPaths[] = {
        "/search?q=!s", "/s?k=!s&i=stripbooks", "/find?query=!s&type=all&page=1",
        "/lookup/!s", "/servlet/SearchResults?kn=!s&sts=t&cm_sp=SearchF",
        "/convert?from=!F&to=!L&amount=1", "/info?site=!H&title=!T&ref=!U"};
    Key("url", "https://www." + host + ".example" +
                   std::string(kPaths[Below(std::size(kPaths))]));
    Key("windowName", name);
    if (Below(4) == 0) Key("defaultSelected", Below(2) == 0 ? "yes" : "n");
    if (Below(8) == 0) Key("exclusive", "y");
    if (c.prefix == "CURRENCY") {
      Key("width", "50%");
      Key("height", "100%");
      Key("left", "-50%");
      Key("top", "0");
    }
    Line("");
  }

  void Translate(const Category& c) {
    const std::string name = Name();
    Header(c, name);
    Key("shortDescription", "Translate " + Sentence(2, 5));
    Key("href", "https://translate.example/?sl=auto&tl=" +
                    std::string(kSyllables[Below(std::size(kSyllables))]) +
                    "&u=!U");
    Key("exclusive", "yes");
    Key("windowName", "_top");
    Line("");
  }

  void Action(const Category& c) {
    const std::string name = Name();
    Header(c, name);
    Key("shortDescription", Sentence(3, 7));
    Key("ShortDescription", Sentence(3, 7));  // the later one is in force
    if (Below(2) == 0) {
      Key("command", "ping -n 4 !H");
      Key("useConsole", "y");
      Key("leaveConsole", "y");
    } else {
      Key("url", "!s");
      Key("URLEncode", "n");
    }
    Line("");
  }

  void Mail(const Category& c) {
    const std::string name = Name();
    Header(c, name);
    Key("shortDescription", "Mail " + Sentence(2, 6));
    Key("MailTo", "!s");
    Key("MailSubject", "!T");
    Key("MailBody", "Hello,\\n\\nhave a look at !U\\n\\n  \"!s\"\\n");
    Key("exclusive", "n");
    Line("");
  }

  void Unit(const Category& c) {
    const std::string name = Name();
    Header(c, name);
    Key("category", kUnitCategories[Below(std::size(kUnitCategories))]);
    Key("a", Number());
    if (Below(3) == 0) Key("b", std::string("-").append(Number()));
    if (Below(6) == 0) Key("invert", "yes");
    const std::uint32_t powers = 1 + Below(4);
    for (std::uint32_t i = 0; i < powers; ++i) {
      const int power = static_cast<int>(Below(37)) - 18;
      std::string key = power < 0 ? "ten" : "ten+";
      key += std::to_string(power);
      std::string names;
      const std::uint32_t count = 1 + Below(5);
      for (std::uint32_t j = 0; j < count; ++j) {
        if (j != 0) names += ',';
        names += kWords[Below(std::size(kWords))];
        if (Below(3) == 0) names += 's';
      }
      Key(key, names);
    }
    Line("");
  }

  void Block() {
    const Category& c = kCategories[block_++ % std::size(kCategories)];
    Banner(c);
    const std::uint32_t sections = 20 + Below(60);
    for (std::uint32_t i = 0; i < sections; ++i) {
      if (Below(25) == 0) Line("; " + Sentence(3, 10));
      switch (c.kind) {
        case Kind::kLookup: Lookup(c); break;
        case Kind::kTranslate: Translate(c); break;
        case Kind::kAction: Action(c); break;
        case Kind::kMail: Mail(c); break;
        case Kind::kUnit: Unit(c); break;
      }
    }
  }

  std::uint64_t state_;
  std::uint64_t serial_ = 0;
  std::size_t block_ = 0;
  std::string out_;
};

inline std::string GenerateCatalogue(std::size_t target_bytes,
                                     std::uint64_t seed = 1) {
  return CatalogueGenerator(seed).Generate(target_bytes);
}

}  // namespace qm::bench
