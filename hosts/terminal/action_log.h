// Everything a command did that a person would notice, in order: dialogs,
// messages, beeps, help, and each action with its details. The terminal
// host prints it as text or as JSON.
#pragma once

#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace qm {

struct LoggedEvent {
  // "dialog", "message", "beep", "help", "open", "navigate", "link",
  // "command", "shell-open", "mail".
  std::string type;
  // Named details in order, UTF-8 text; a value may hold line breaks.
  std::vector<std::pair<std::string, std::string>> fields;
  // Nested lists (such as a dialog's lines), each item a set of fields.
  std::vector<std::vector<std::pair<std::string, std::string>>> items;
};

class ActionLog {
 public:
  LoggedEvent& Add(std::string type) {
    events_.push_back(LoggedEvent{std::move(type), {}, {}});
    return events_.back();
  }
  const std::vector<LoggedEvent>& events() const { return events_; }

  // {"events":[{"type":"open","url":"...",...},...]}
  void WriteJson(std::ostream& out) const;

 private:
  std::vector<LoggedEvent> events_;
};

}  // namespace qm
