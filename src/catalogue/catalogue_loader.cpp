#include "catalogue/catalogue_loader.h"

#include "catalogue/catalogue_parser.h"
#include "resource_ids.h"
#include "text/utf8.h"

namespace qm {

bool HasUtf8ByteOrderMark(std::string_view bytes) {
  return bytes.starts_with(kUtf8ByteOrderMark);
}

std::string ReadCatalogueText(std::string bytes, const CodePage& code_page) {
  if (!HasUtf8ByteOrderMark(bytes)) return bytes;
  return code_page.ToNarrow(
      FromUtf8(std::string_view(bytes).substr(kUtf8ByteOrderMark.size())));
}

std::string CataloguePath(const ModuleEnvironment& env) {
  return env.UserCataloguePath();
}

CatalogueSource LoadCatalogue(const ModuleEnvironment& env,
                              std::string_view prefix, bool system,
                              SiteCatalogue& catalogue) {
  if (system) {
    ParseCatalogue(std::string(env.BuiltInFile(IDR_SYSTEM_CATALOGUE)),
                   prefix, catalogue);
    return CatalogueSource::kBuiltInSystem;
  }
  const std::string path = CataloguePath(env);
  std::string bytes;
  if (!path.empty() && env.ReadFile(path, &bytes)) {
    ParseCatalogue(ReadCatalogueText(std::move(bytes), env.SystemCodePage()), prefix,
                   catalogue);
    if (!catalogue.empty()) return CatalogueSource::kUserFile;
  }
  ParseCatalogue(std::string(env.BuiltInFile(IDR_DEFAULT_CATALOGUE)),
                 prefix, catalogue);
  return CatalogueSource::kBuiltInDefault;
}

std::string_view CatalogueSourceWord(CatalogueSource source) {
  switch (source) {
    case CatalogueSource::kUserFile: return "user";
    case CatalogueSource::kBuiltInDefault: return "default";
    case CatalogueSource::kBuiltInSystem: return "system";
  }
  return "";
}

}  // namespace qm
