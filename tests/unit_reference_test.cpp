// Every unit of the built-in catalogue against an independent reference:
// the values GNU units computes, kept in tests/data/unit_reference.tsv. A
// constant mistyped, cut short or taken from another definition (the
// thermochemical BTU for the international one, the torr for a millimetre
// of mercury) shows up as the unit that differs.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "catalogue/catalogue_loader.h"
#include "support/fake_module_environment.h"
#include "units/unit_table.h"

namespace qm {
namespace {

struct Reference {
  std::string category;
  double factor = 0;
  double offset = 0;
  bool invert = false;
};

// The rows of the data file by display name: tab-separated fields, "#"
// comments and empty lines skipped.
std::map<std::string, Reference> ReadReference() {
  const std::string path = std::string(QM_TEST_DATA_DIR) + "/unit_reference.tsv";
  std::ifstream in(path, std::ios::binary);
  EXPECT_TRUE(in) << "cannot read " << path;
  std::map<std::string, Reference> rows;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line.front() == '#') continue;
    std::vector<std::string> fields;
    std::size_t from = 0;
    for (std::size_t tab; (tab = line.find('\t', from)) != std::string::npos;
         from = tab + 1) {
      fields.push_back(line.substr(from, tab - from));
    }
    fields.push_back(line.substr(from));
    EXPECT_EQ(fields.size(), 6u) << line;
    if (fields.size() != 6) continue;
    Reference r{fields[0], std::strtod(fields[3].c_str(), nullptr),
                std::strtod(fields[4].c_str(), nullptr), fields[5] == "yes"};
    EXPECT_TRUE(rows.emplace(fields[1], r).second) << "twice: " << fields[1];
  }
  return rows;
}

bool Agree(double built_in, double reference) {
  if (reference == 0) return built_in == 0;
  return std::fabs(built_in / reference - 1) <= 1e-9;
}

TEST(UnitReference, EveryBuiltInConstantAgreesWithinOnePartInABillion) {
  const std::map<std::string, Reference> reference = ReadReference();
  const FakeModuleEnvironment env;
  SiteCatalogue catalogue;
  LoadCatalogue(env, "UNIT:", false, catalogue);
  UnitTable table;
  BuildUnitTable(catalogue, table);

  std::size_t checked = 0;
  for (const auto& [key, category] : table.categories()) {
    for (const Unit& unit : category.units) {
      const auto row = reference.find(unit.name);
      if (row == reference.end()) {
        ADD_FAILURE() << "no reference for " << unit.name;
        continue;
      }
      const Reference& r = row->second;
      EXPECT_EQ(category.name, r.category) << unit.name;
      EXPECT_TRUE(Agree(unit.factor, r.factor))
          << unit.name << ": factor " << unit.factor << ", reference " << r.factor;
      EXPECT_TRUE(Agree(unit.offset, r.offset))
          << unit.name << ": offset " << unit.offset << ", reference " << r.offset;
      EXPECT_EQ(unit.invert, r.invert) << unit.name;
      ++checked;
    }
  }
  // Nothing in the reference that the catalogue lost.
  EXPECT_EQ(checked, reference.size());
  EXPECT_EQ(checked, 90u);
}

}  // namespace
}  // namespace qm
