#include "dialogs/site_choice_list.h"

#include "strings/string_table.h"

namespace qm {

void SiteChoiceList::Populate() {
  images_.assign(entries_.size(), false);
  for (std::size_t line = 0; line < entries_.size(); ++line) {
    images_[line] = entries_[line].selected;
  }
  if (ChosenCount() > 0) {
    EnforceExclusive(std::nullopt);
  } else if (!entries_.empty()) {
    entries_.front().selected = true;
    ShowImage(0);
  }
  scroll_target_.reset();
  for (std::size_t line = 0; line < entries_.size(); ++line) {
    if (entries_[line].selected) {
      scroll_target_ = line;
      break;
    }
  }
}

std::size_t SiteChoiceList::ChosenCount() const {
  std::size_t count = 0;
  for (const SiteEntry& e : entries_) count += e.selected ? 1 : 0;
  return count;
}

void SiteChoiceList::OnItemChanged(std::optional<std::size_t> line) {
  if (line && *line < entries_.size()) {
    highlight_ = line;
    status_line_ = DisplayDescription(entries_[*line]);
  } else {
    status_line_.clear();
  }
}

void SiteChoiceList::OnDoubleClick(std::optional<std::size_t> line) {
  if (!line || *line >= entries_.size()) return;
  SiteEntry& entry = entries_[*line];
  entry.selected = !entry.selected;
  EnforceExclusive(line);
  ShowImage(*line);
}

void SiteChoiceList::EnforceExclusive(std::optional<std::size_t> kept) {
  for (std::size_t line = 0; line < entries_.size(); ++line) {
    SiteEntry& entry = entries_[line];
    if (!entry.selected) continue;
    if (!kept) {
      kept = line;
      continue;
    }
    if (line == *kept) continue;
    if (entries_[*kept].exclusive || entry.exclusive) {
      entry.selected = false;
      ShowImage(line);
    }
  }
}

bool SiteChoiceList::ConfirmChoice(Desktop& desktop, WindowHandle owner) const {
  if (ChosenCount() > 0) return true;
  ShowStringMessage(desktop, owner, IDS_NO_SITE_CHOSEN, IDS_PRODUCT_NAME,
                    MessageStyle{});
  return false;
}

void SiteChoiceList::ShowImage(std::size_t line) {
  if (line >= images_.size()) images_.resize(entries_.size(), false);
  if (images_[line] == entries_[line].selected) return;
  images_[line] = entries_[line].selected;
  status_line_ = DisplayDescription(entries_[line]);
}

}  // namespace qm
