// The check list at the heart of every choice dialog: one line per entry of
// the category, chosen by double-click, with a status line explaining the
// line that changed last.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/site_entry.h"
#include "host/desktop.h"

namespace qm {

// The lines mirror the entries of the flow's list, in its order; the
// entries' `selected` flags are the only record of the choice, so the list
// reads and changes them in place. An entry marked `exclusive` can only be
// chosen alone.
class SiteChoiceList {
 public:
  explicit SiteChoiceList(SiteEntryList& entries) : entries_(entries) {}

  // Fills the list on opening: one line per entry with its check image; if
  // anything is chosen, keeps the first chosen line and clears what may not
  // stay chosen with it; if nothing is, chooses the first line. Scrolls to
  // the first chosen line.
  void Populate();

  std::size_t size() const { return entries_.size(); }
  const SiteEntry& entry(std::size_t line) const { return entries_[line]; }
  bool IsChosen(std::size_t line) const { return entries_[line].selected; }
  std::size_t ChosenCount() const;

  // The line the view should scroll into view, if any.
  std::optional<std::size_t> scroll_target() const { return scroll_target_; }
  // The line under the highlight, if any.
  std::optional<std::size_t> highlight() const { return highlight_; }
  // The explanation of the line that changed last (8-bit catalogue text).
  const std::string& status_line() const { return status_line_; }

  // The highlight moved to `line` (a single click or the keyboard): the
  // status line follows it; the choice does not change. None clears the
  // status line.
  void OnItemChanged(std::optional<std::size_t> line);

  // A double-click on `line`, or on no line (none): toggles that line's
  // entry, then keeps it and clears what may not stay chosen with it.
  void OnDoubleClick(std::optional<std::size_t> line);

  // Visits the chosen lines in order; the kept line (or, with none, the
  // first chosen line) stays, and any other chosen line is cleared when it
  // or the kept line is exclusive. The kept line itself is never changed.
  void EnforceExclusive(std::optional<std::size_t> kept);

  // True when at least one entry is chosen. Otherwise shows string 128
  // owned by `owner` and returns false; the caller puts the focus on the
  // list.
  bool ConfirmChoice(Desktop& desktop, WindowHandle owner) const;

 private:
  // Shows `line`'s check image for its entry's flag; a change of the image
  // is reported like the list control reports it, by the status line.
  void ShowImage(std::size_t line);

  SiteEntryList& entries_;
  std::vector<bool> images_;  // the check image each line shows
  std::optional<std::size_t> scroll_target_;
  std::optional<std::size_t> highlight_;
  std::string status_line_;
};

}  // namespace qm
