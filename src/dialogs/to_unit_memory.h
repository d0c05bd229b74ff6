// The converter's memory of the "To" unit the person last used in each unit
// category, kept beside the remembered ticks: the value
// "ConvertTo:<category>:<unit>" is 1 for the unit last used and 0 for one
// used before it. A catalogue that renames or drops the unit simply finds
// nothing remembered, and the dialog offers its first row again.
#pragma once

#include <string>
#include <vector>

#include "host/selection_store.h"
#include "units/unit_table.h"

namespace qm {

// The store's name of `unit` as the last "To" unit of its category.
std::string ToUnitValueName(const Unit& unit);

class ToUnitMemory {
 public:
  // The store must outlive the memory.
  explicit ToUnitMemory(SelectionStore& store) : store_(store) {}

  // The unit of `category` remembered as last used, the first in the
  // category's own order when a damaged store marks several; null when
  // none is.
  const Unit* Recall(const UnitCategory& category) const;

  // The person chose `unit` as the "To" unit; a later choice in the same
  // category replaces it. Nothing is stored before Save.
  void Note(const Unit& unit);

  // Stores each category's noted unit as the last used one and marks any
  // other unit of that category as not. Returns the store's answer; with
  // nothing noted, stores nothing and succeeds.
  bool Save();

 private:
  SelectionStore& store_;
  std::vector<const Unit*> noted_;  // at most one per category
};

}  // namespace qm
