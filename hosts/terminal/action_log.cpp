#include "action_log.h"

#include <cstdio>

#include "text/utf8.h"

namespace qm {

std::string JsonString(const std::string& text) {
  // A round trip through UTF-16 replaces malformed sequences.
  const std::string clean = ToUtf8(FromUtf8(text));
  std::string out = "\"";
  for (const char c : clean) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escape[8];
          std::snprintf(escape, sizeof escape, "\\u%04x", c);
          out += escape;
        } else {
          out.push_back(c);
        }
    }
  }
  out += "\"";
  return out;
}

namespace {

void WriteFields(const std::vector<std::pair<std::string, std::string>>& fields,
                 bool first, std::ostream& out) {
  for (const auto& [name, value] : fields) {
    if (!first) out << ",";
    first = false;
    out << JsonString(name) << ":" << JsonString(value);
  }
}

}  // namespace

void ActionLog::WriteJson(std::ostream& out) const {
  out << "{\"events\":[";
  for (std::size_t i = 0; i < events_.size(); ++i) {
    const LoggedEvent& e = events_[i];
    if (i > 0) out << ",";
    out << "{\"type\":" << JsonString(e.type);
    WriteFields(e.fields, false, out);
    if (!e.items.empty()) {
      out << ",\"lines\":[";
      for (std::size_t k = 0; k < e.items.size(); ++k) {
        if (k > 0) out << ",";
        out << "{";
        WriteFields(e.items[k], true, out);
        out << "}";
      }
      out << "]";
    }
    out << "}";
  }
  out << "]}\n";
}

}  // namespace qm
