#include "action_log.h"

#include "text/json_writer.h"

namespace qm {
namespace {

void WriteFields(const std::vector<std::pair<std::string, std::string>>& fields,
                 JsonWriter& json) {
  for (const auto& [name, value] : fields) json.Key(name).String(value);
}

}  // namespace

void ActionLog::WriteJson(std::ostream& out) const {
  JsonWriter json;
  json.BeginObject().Key("events").BeginArray();
  for (const LoggedEvent& e : events_) {
    json.BeginObject().Key("type").String(e.type);
    WriteFields(e.fields, json);
    if (!e.items.empty()) {
      json.Key("lines").BeginArray();
      for (const auto& item : e.items) {
        json.BeginObject();
        WriteFields(item, json);
        json.EndObject();
      }
      json.EndArray();
    }
    json.EndObject();
  }
  json.EndArray().EndObject();
  out << json.text() << "\n";
}

}  // namespace qm
