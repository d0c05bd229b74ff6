// The help pages as the terminal host shows them: the same HTML pages that
// the Windows help file is compiled from, found on disk, handed to a
// browser as file: addresses or printed as plain text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qm {

// The page named by a help topic address, the part after "::/"
// ("C:\\Dir\\qmkit.chm::/HelpISBN.htm" gives "HelpISBN.htm"), or the whole
// address when it has no "::/". Empty when the name could reach outside
// the help folder: anything but letters, digits, ".", "_" and "-", or a
// name that begins with ".".
std::string HelpPageName(std::string_view address);

// The folders to look for help pages in, first first: the share/qmkit/help
// folder of an installed qmkit, found from the folder of `program` (the
// program's own path), then the pages of the source tree the program was
// built from.
std::vector<std::string> HelpFolders(const std::string& program);

// The path of page `name` in the first of `folders` that holds it as a
// plain file; empty when none does.
std::string FindHelpPage(const std::vector<std::string>& folders, const std::string& name);

// The file: address of the absolute path `path`: every byte but letters,
// digits, "/", "-", ".", "_" and "~" percent-encoded.
std::string FileAddress(const std::string& path);

// The text a reader of the UTF-8 page `html` sees, as UTF-8 lines: the
// head, styles and scripts left out, tags dropped, character references
// decoded, runs of blanks and line breaks made one space (inside <pre> kept
// as they are). Headings, paragraphs, table rows and list items start new
// lines, with an empty line between blocks; list items begin with "- ",
// table cells are separated by " | ", and a heading is underlined.
std::string HtmlToText(std::string_view html);

}  // namespace qm
