// Where a category's catalogue text comes from: the user's file beside the
// module, else the built-in default; system entries only ever from the
// built-in system catalogue.
#pragma once

#include <string>
#include <string_view>

#include "catalogue/site_catalogue.h"
#include "host/code_page.h"
#include "host/module_environment.h"

namespace qm {

// The mark some editors write at the start of every file they save as UTF-8.
inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// True when `bytes` begin with kUtf8ByteOrderMark.
bool HasUtf8ByteOrderMark(std::string_view bytes);

// The catalogue text of a file's `bytes`. Catalogue text is in the system
// code page; a file that begins with the UTF-8 byte-order mark was saved as
// UTF-8, so the rest is decoded as UTF-8 and converted to `code_page`: a
// character it cannot hold, and a malformed sequence, become "?". Other
// bytes are returned as they are. Line ends and every ASCII byte keep their
// place, so line numbers stay those of the file.
//   "\xEF\xBB\xBF[BOOK:B\xC3\xBC]" with Windows-1252 -> "[BOOK:B\xFC]"
std::string ReadCatalogueText(std::string bytes, const CodePage& code_page);

// The path of the user's catalogue file as the environment places it:
// beside the module, named like it with ".ini" (see
// ModuleEnvironment::UserCataloguePath).
std::string CataloguePath(const ModuleEnvironment& env);

// Where a loaded catalogue came from.
enum class CatalogueSource { kUserFile, kBuiltInDefault, kBuiltInSystem };

// The same as one word for scripts and pages: "user", "default", "system".
std::string_view CatalogueSourceWord(CatalogueSource source);

// Fills the empty `catalogue` with the sections whose names begin with
// `prefix` (such as "BOOK:"). With `system` true the built-in system
// catalogue is parsed and nothing else. Otherwise the user's file at
// CataloguePath() is parsed when it can be read, and the built-in default is
// parsed in its place when it cannot or when it has no section of this
// category. The file's bytes go through ReadCatalogueText with the
// environment's SystemCodePage. Never fails. The file is read afresh on
// every call, unless the environment keeps catalogues (KeptCatalogues):
// then a file whose stamp has not changed is not read again, and a text
// parsed before is not parsed again. Returns where the sections came from.
CatalogueSource LoadCatalogue(const ModuleEnvironment& env, std::string_view prefix,
                   bool system, SiteCatalogue& catalogue);

}  // namespace qm
