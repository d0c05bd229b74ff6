// The file: address of a Windows path, as the browser's menu entries are
// registered with it.
#pragma once

#include <string>
#include <string_view>

namespace qm {

// The address of the Windows path `path`: "file:///" and the path with "\"
// made "/", for a UNC path ("\\server\share\...") "file://server/share/...".
// Every ASCII character an address cannot hold as it stands (controls,
// space, and " # % < > ? [ ] ^ ` { | }) is percent-encoded, so that a folder
// such as "C:\Apps\Q #1 (100%)" still names itself; other characters,
// letters outside ASCII among them, stay as they are, which the browser and
// the shell both read back as the same path.
//   FileUrlOfPath(u"C:\\Program Files\\Q\\qmBook.htm")
//       == u"file:///C:/Program%20Files/Q/qmBook.htm"
std::u16string FileUrlOfPath(std::u16string_view path);

}  // namespace qm
