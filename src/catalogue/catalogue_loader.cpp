#include "catalogue/catalogue_loader.h"

#include "catalogue/catalogue_parser.h"
#include "host/resource_ids.h"

namespace qm {

std::string CataloguePath(const ModuleEnvironment& env) {
  return env.UserCataloguePath();
}

CatalogueSource LoadCatalogue(const ModuleEnvironment& env,
                              std::string_view prefix, bool system,
                              SiteCatalogue& catalogue) {
  if (system) {
    ParseCatalogue(std::string(env.BuiltInFile(kSystemCatalogueResource)),
                   prefix, catalogue);
    return CatalogueSource::kBuiltInSystem;
  }
  const std::string path = CataloguePath(env);
  std::string bytes;
  if (!path.empty() && env.ReadFile(path, &bytes)) {
    ParseCatalogue(std::move(bytes), prefix, catalogue);
    if (!catalogue.empty()) return CatalogueSource::kUserFile;
  }
  ParseCatalogue(std::string(env.BuiltInFile(kDefaultCatalogueResource)),
                 prefix, catalogue);
  return CatalogueSource::kBuiltInDefault;
}

}  // namespace qm
