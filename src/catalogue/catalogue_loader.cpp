#include "catalogue/catalogue_loader.h"

#include "catalogue/catalogue_parser.h"
#include "host/resource_ids.h"

namespace qm {

std::string CataloguePath(const ModuleEnvironment& env) {
  std::string path = env.ModulePath();
  if (path.empty()) return path;
  const std::size_t slash = path.find_last_of("\\/");
  const std::size_t dot = path.rfind('.');
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) {
    path.erase(dot);
  }
  return path + ".ini";
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
