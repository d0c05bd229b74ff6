// Where a category's catalogue text comes from: the user's file beside the
// module, else the built-in default; system entries only ever from the
// built-in system catalogue.
#pragma once

#include <string>
#include <string_view>

#include "catalogue/site_catalogue.h"
#include "host/module_environment.h"

namespace qm {

// The path of the user's catalogue file as the environment places it:
// beside the module, named like it with ".ini" (see
// ModuleEnvironment::UserCataloguePath).
std::string CataloguePath(const ModuleEnvironment& env);

// Where a loaded catalogue came from.
enum class CatalogueSource { kUserFile, kBuiltInDefault, kBuiltInSystem };

// Fills the empty `catalogue` with the sections whose names begin with
// `prefix` (such as "BOOK:"). With `system` true the built-in system
// catalogue is parsed and nothing else. Otherwise the user's file at
// CataloguePath() is parsed when it can be read, and the built-in default is
// parsed in its place when it cannot or when it has no section of this
// category. Never fails; the file is read afresh on every call. Returns
// where the sections came from.
CatalogueSource LoadCatalogue(const ModuleEnvironment& env, std::string_view prefix,
                   bool system, SiteCatalogue& catalogue);

}  // namespace qm
