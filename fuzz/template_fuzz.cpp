// Template expansion on arbitrary templates and pages. The input is a
// two-byte little-endian template length, the template bytes, then UTF-16LE
// code units for the page, split at U+FFFF into the selection, its HTML, the
// frame's address, name, host and title and the top window's address, name,
// host and title. Every mode and charset must end with an answer bounded by
// the sizes of the inputs; encoded and command-line values must keep to
// their alphabets.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "actions/template_expansion.h"
#include "context/request_context.h"
#include "host/module_environment.h"
#include "fuzz_page.h"
#include "text/windows_1252.h"

namespace {

void Require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "template invariant broken: %s\n", what);
  std::abort();
}

class FixedEnvironment final : public qm::ModuleEnvironment {
 public:
  std::string ModulePath() const override { return "C:\\Program Files\\R&D\\qmkit.dll"; }
  bool ReadFile(const std::string&, std::string*) const override { return false; }
  std::string_view BuiltInFile(int) const override { return {}; }
  std::string UserCurrencyCode() const override { return "EUR"; }
};

bool IsHexDigit(char16_t c) {
  return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F');
}

bool IsUnreserved(char16_t c) {
  return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') ||
         (c >= u'0' && c <= u'9') || std::u16string_view(u"-_.!~*'()").find(c) !=
                                         std::u16string_view::npos;
}

// Only unreserved characters and "%" with two upper-case hexadecimal digits.
bool IsPercentEncoded(std::u16string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (IsUnreserved(text[i])) continue;
    if (text[i] != u'%' || i + 2 >= text.size() || !IsHexDigit(text[i + 1]) ||
        !IsHexDigit(text[i + 2])) {
      return false;
    }
    i += 2;
  }
  return true;
}

bool IsCommandLineSafe(std::u16string_view text) {
  for (const char16_t c : text) {
    if (c < 0x20 || c == 0x7F ||
        std::u16string_view(u"\"&|<>^%!").find(c) != std::u16string_view::npos) {
      return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  qm::fuzzing::TemplateAndPage input;
  if (!qm::fuzzing::ReadTemplateAndPage(data, size, &input)) return 0;
  const std::string& tmpl = input.tmpl;
  const std::size_t longest = input.longest_text;

  const FixedEnvironment env;
  qm::fuzzing::FuzzPage page(env, input.texts);
  Require(page.built(), "context builds");
  qm::RequestContext& context = page.context();
  const qm::Windows1252CodePage code_page;

  // Per template byte: a literal gives one character, an escape at most six
  // ("\n" as %0D%0A), a placeholder at most nine per character of the
  // longest value (three UTF-8 bytes), the fixed values included.
  const std::size_t value_bound = longest + 64;
  const std::size_t bound = 6 * tmpl.size() + (tmpl.size() / 2 + 1) * 9 * value_bound;

  // The same template made of placeholders only, so that every character
  // of its expansion comes from a value. !I is left out of the encoded
  // check: a file address is never encoded.
  static constexpr std::string_view kLetters = "SsOouUwWhHdDtTFfLlCc-";
  std::string placeholders;
  for (const char c : tmpl) {
    placeholders += '!';
    placeholders += kLetters[static_cast<unsigned char>(c) % kLetters.size()];
  }

  for (const qm::UrlCharset charset : {qm::UrlCharset::kWindows1252, qm::UrlCharset::kUtf8}) {
    for (const qm::ValueEncoding encoding :
         {qm::ValueEncoding::kNone, qm::ValueEncoding::kPercent,
          qm::ValueEncoding::kCommandLine}) {
      const std::u16string out = qm::ExpandTemplate(tmpl, context, code_page, encoding, charset);
      Require(out.size() <= bound, "output bounded by the inputs");
    }
    Require(IsPercentEncoded(qm::ExpandTemplate(placeholders, context, code_page,
                                                qm::ValueEncoding::kPercent, charset)),
            "encoded values keep to the unreserved characters and %XX");
    Require(IsCommandLineSafe(qm::ExpandTemplate(placeholders + "!I", context, code_page,
                                                 qm::ValueEncoding::kCommandLine, charset)),
            "command-line values hold no interpreter characters");
  }
  return 0;
}
