#include "catalogue/catalogue_loader.h"

#include "catalogue/catalogue_cache.h"
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

namespace {

// Parses `text` into `catalogue`, through the host's kept catalogues when it
// keeps them.
void ParseFor(const ModuleEnvironment& env, std::string_view text, std::string_view prefix,
              SiteCatalogue& catalogue) {
  if (CatalogueCache* kept = env.KeptCatalogues()) {
    kept->Parse(text, prefix, catalogue);
  } else {
    ParseCatalogue(std::string(text), prefix, catalogue);
  }
}

}  // namespace

CatalogueSource LoadCatalogue(const ModuleEnvironment& env,
                              std::string_view prefix, bool system,
                              SiteCatalogue& catalogue) {
  if (system) {
    ParseFor(env, env.BuiltInFile(IDR_SYSTEM_CATALOGUE), prefix, catalogue);
    return CatalogueSource::kBuiltInSystem;
  }
  const std::string path = CataloguePath(env);
  CatalogueCache* kept = env.KeptCatalogues();
  std::string bytes;
  if (!path.empty() &&
      (kept != nullptr ? kept->ReadFile(env, path, &bytes) : env.ReadFile(path, &bytes))) {
    ParseFor(env, ReadCatalogueText(std::move(bytes), env.SystemCodePage()), prefix, catalogue);
    if (!catalogue.empty()) return CatalogueSource::kUserFile;
  }
  ParseFor(env, env.BuiltInFile(IDR_DEFAULT_CATALOGUE), prefix, catalogue);
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
