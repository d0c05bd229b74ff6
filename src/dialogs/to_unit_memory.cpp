#include "dialogs/to_unit_memory.h"

namespace qm {
namespace {

bool IsRemembered(const SelectionStore& store, const Unit& unit) {
  std::uint32_t value = 0;
  return store.Read(ToUnitValueName(unit), &value) && value == 1;
}

}  // namespace

std::string ToUnitValueName(const Unit& unit) {
  std::string name = "ConvertTo:";
  if (unit.category != nullptr) name += unit.category->name;
  name += ':';
  name += unit.name;
  return name;
}

const Unit* ToUnitMemory::Recall(const UnitCategory& category) const {
  for (const Unit& unit : category.units) {
    if (IsRemembered(store_, unit)) return &unit;
  }
  return nullptr;
}

void ToUnitMemory::Note(const Unit& unit) {
  for (const Unit*& noted : noted_) {
    if (noted->category == unit.category) {
      noted = &unit;
      return;
    }
  }
  noted_.push_back(&unit);
}

bool ToUnitMemory::Save() {
  std::vector<RememberedValue> values;
  for (const Unit* noted : noted_) {
    values.push_back({ToUnitValueName(*noted), 1});
    if (noted->category == nullptr) continue;
    for (const Unit& other : noted->category->units) {
      // Units of one name share a value name: only a differently named unit
      // is marked as no longer the last used.
      if (other.name != noted->name && IsRemembered(store_, other)) {
        values.push_back({ToUnitValueName(other), 0});
      }
    }
  }
  return store_.Write(values);
}

}  // namespace qm
