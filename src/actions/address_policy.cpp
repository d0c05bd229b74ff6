#include "actions/address_policy.h"

namespace qm {
namespace {

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// C0 controls, DEL, and the C1 controls as UTF-8 encodes them.
bool HasControlCharacter(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte < 0x20 || byte == 0x7F) return true;
    if (byte == 0xC2 && i + 1 < text.size() &&
        static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
        static_cast<unsigned char>(text[i + 1]) <= 0x9F) {
      return true;
    }
  }
  return false;
}

std::string_view Trimmed(std::string_view text) {
  constexpr std::string_view kSpace = " \t\r\n\f\v";
  const std::size_t first = text.find_first_not_of(kSpace);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kSpace) - first + 1);
}

// The scheme of `address` in lower case ("https"), or empty when it has
// none. Note that "www.example.com:8080" reads as the scheme
// "www.example.com".
std::string Scheme(std::string_view address) {
  if (address.empty() || !IsAsciiLetter(address[0])) return {};
  for (std::size_t i = 1; i < address.size(); ++i) {
    const char c = address[i];
    if (c == ':') {
      std::string scheme(address.substr(0, i));
      for (char& s : scheme) {
        if (s >= 'A' && s <= 'Z') s = static_cast<char>(s - 'A' + 'a');
      }
      return scheme;
    }
    if (!IsAsciiLetter(c) && !IsDigit(c) && c != '+' && c != '-' && c != '.') return {};
  }
  return {};
}

// Whether `text` begins with a host name or an IPv4 address, perhaps with
// a port, and has nothing before its path: "www.example.com",
// "example.org:8080/a?b", "192.0.2.1/". A host name has two labels or
// more, of letters, digits and "-", none beginning or ending with "-", and
// its last label is not all digits. Bytes from 0x80 up count as letters, so
// internationalised names pass.
bool LooksLikeHost(std::string_view text) {
  std::string_view host = text.substr(0, text.find_first_of("/?#"));
  if (const std::size_t colon = host.rfind(':'); colon != std::string_view::npos) {
    const std::string_view port = host.substr(colon + 1);
    if (port.empty() || port.size() > 5) return false;
    for (const char c : port) {
      if (!IsDigit(c)) return false;
    }
    host = host.substr(0, colon);
  }
  // A name may end with the root's empty label: "www.example.com."
  if (!host.empty() && host.back() == '.') host.remove_suffix(1);
  int labels = 0;
  int octets = 0;  // labels that could be part of an IPv4 address
  bool last_all_digits = false;
  std::size_t start = 0;
  for (;;) {
    const std::size_t dot = host.find('.', start);
    const std::string_view label = host.substr(start, dot - start);
    if (label.empty() || label.front() == '-' || label.back() == '-') return false;
    bool all_digits = true;
    for (const char c : label) {
      const bool high = static_cast<unsigned char>(c) >= 0x80;
      if (!IsAsciiLetter(c) && !IsDigit(c) && c != '-' && !high) return false;
      all_digits = all_digits && IsDigit(c);
    }
    ++labels;
    if (all_digits && label.size() <= 3 && std::stoi(std::string(label)) <= 255) ++octets;
    last_all_digits = all_digits;
    if (dot == std::string_view::npos) break;
    start = dot + 1;
  }
  if (labels < 2) return false;
  return !last_all_digits || (labels == 4 && octets == 4);
}

int HexValue(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string PercentDecoded(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
        HexValue(text[i + 2]) >= 0) {
      out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

// A host sees only the expanded address, not which of its parts
// the catalogue wrote and which the page supplied. The program's own folder
// is what !I inserts, and page text cannot choose where the program lives,
// so a file: address is taken only inside that folder. Within it the page
// could still name any file: ".." must not climb out (escaped or not), and
// a program there (qmkit's neighbours in /usr/bin) is not handed to
// xdg-open, which may start it: the host's file system says which files
// are programs. Where the folder is not known, !I inserts
// "file:///", which would let every file through: then nothing is.
bool FileInProgramFolder(std::string_view address, const ProgramFolder& program,
                         std::string* reason) {
  if (program.url.size() <= std::string_view("file:///").size() || program.path.size() <= 1) {
    *reason = "file: addresses are opened only inside the program's own folder, which "
              "is not known";
    return false;
  }
  if (address.substr(0, program.url.size()) != program.url) {
    *reason = "file: addresses are opened only inside the program's own folder, " +
              program.url;
    return false;
  }
  std::string_view rest = address.substr(program.url.size());
  rest = rest.substr(0, rest.find_first_of("?#"));
  const std::string relative = PercentDecoded(rest);
  if (relative.find('\0') != std::string::npos) {
    *reason = "the file name holds a NUL byte";
    return false;
  }
  // The file the address names, as a browser or file manager resolves it:
  // "qmkit/", "qmkit/." and ".//qmkit" are all the program itself.
  std::string file;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = relative.find_first_of("/\\", start);
    const std::string_view segment =
        std::string_view(relative).substr(start, end == std::string::npos ? end : end - start);
    if (segment == "..") {
      *reason = "a file: address may not leave the program's own folder with \"..\"";
      return false;
    }
    if (!segment.empty() && segment != ".") {
      if (!file.empty()) file += '/';
      file += segment;
    }
    if (end == std::string::npos) break;
    start = end + 1;
  }
  if (program.is_program && program.is_program(program.path + file)) {
    *reason = "it names a program, which a browser might start";
    return false;
  }
  return true;
}

}  // namespace

std::optional<std::string> OpenableAddress(std::string_view address,
                                           const ProgramFolder& program,
                                           std::string* reason) {
  const std::string_view text = Trimmed(address);
  if (text.empty()) {
    *reason = "there is nothing to open";
    return std::nullopt;
  }
  if (text.front() == '-') {
    *reason = "an address that begins with \"-\" would be read as an option";
    return std::nullopt;
  }
  if (HasControlCharacter(text)) {
    *reason = "the address holds control characters";
    return std::nullopt;
  }
  const std::string scheme = Scheme(text);
  if (scheme == "http" || scheme == "https" || scheme == "ftp" || scheme == "mailto") {
    return std::string(text);
  }
  if (scheme == "file") {
    if (!FileInProgramFolder(text, program, reason)) return std::nullopt;
    return std::string(text);
  }
  if (LooksLikeHost(text)) return "https://" + std::string(text);
  *reason = "only http, https, ftp and mailto addresses, and host names such as "
            "www.example.com, are handed to a browser";
  return std::nullopt;
}

}  // namespace qm
