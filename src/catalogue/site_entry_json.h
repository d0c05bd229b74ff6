// Site entries as JSON, for the hosts that show them to scripts and pages:
// the terminal's `catalogue --json` and the extension's options page. Each
// host writes the members of its own (name, ticks), and the members that
// say what an entry shows and does come from here, so both read the same.
#pragma once

#include "catalogue/site_entry.h"
#include "host/code_page.h"
#include "text/json_writer.h"

namespace qm {

// Writes, as members of the object `json` is in, what `entry` shows and
// does: "shortDescription", "longDescription", "url", "href", "command"
// (catalogue text through `code_page`, as UTF-8) and "mail" (whether it
// sends mail).
//   {"shortDescription":"Ping","longDescription":"","url":"","href":"",
//    "command":"ping !H","mail":false}
void WriteSiteEntryActions(const SiteEntry& entry, const CodePage& code_page,
                           JsonWriter& json);

}  // namespace qm
