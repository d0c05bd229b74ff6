// The catalogue text format: one pass over the bytes, no failure path.
#pragma once

#include <string>
#include <string_view>

#include "catalogue/site_catalogue.h"

namespace qm {

// A line whose first character after the leading blanks is one of these is
// a comment.
inline constexpr std::string_view kCatalogueCommentCharacters = "#;";

// Parses `text` into `catalogue`, keeping only the sections whose names
// begin with `prefix` (compared without regard to ASCII letter case; an empty
// prefix keeps every section). The catalogue takes the text over.
//
// The format, line by line (CR, LF and CR LF all end a line; so does the
// end of the text):
//   - tabs, spaces, CRs and LFs at the start of a line are skipped;
//   - "#" or ";" (kCatalogueCommentCharacters) first: a comment;
//   - "[" first: a header; the name runs to the first "]" or the line end,
//     nothing trimmed; text after "]" is ignored. It replaces a section of
//     the same name (in any letter case) wholesale;
//   - anything else: a key line "key=value" split at the first "=" after the
//     line's first character, so a key is never empty and may begin with
//     "="; nothing trimmed; the key is folded to lower case; a repeated key
//     replaces the earlier value; a line without "=" is dropped, and so is a
//     key line outside a kept section.
// Every byte, NUL and bytes above 0x7F included, is an ordinary character.
// Runs in time linear in the size of the text, apart from sorting each
// section's keys.
void ParseCatalogue(std::string text, std::string_view prefix,
                    SiteCatalogue& catalogue);

}  // namespace qm
