// The procedures of the menu commands that show a category's sites: collect
// the entries, offer a text, run the dialog, and after OK remember the
// ticks, make the confirmed text the selection and carry out the choice.
// Each reads the category and shows the dialog its command's row names.
#pragma once

#include <string>

#include "context/request_context.h"
#include "flows/command_word.h"
#include "host/host_ports.h"

namespace qm {

// The shared flow of BOOK, MOVIE, MUSIC, OTHER and SEARCH, whose dialog
// differs only in its caption (around the text) and prompt (above the
// list). Offers a UPC found in the request, else the tidied selection.
void RunSelectedStringFlow(const CommandWord& command, RequestContext& context,
                           HostPorts& ports, int caption_string, int prompt_string);
// Offers the ISBN found in the request, else the tidied selection.
void RunIsbnFlow(const CommandWord& command, RequestContext& context, HostPorts& ports);
// Offers the UPC found in the request, else the tidied selection.
void RunUpcFlow(const CommandWord& command, RequestContext& context, HostPorts& ports);
// Offers the stock symbol found in the selection, possibly nothing.
void RunStockFlow(const CommandWord& command, RequestContext& context, HostPorts& ports);
// List-only flows: the selection stays as read from the page.
void RunEmailFlow(const CommandWord& command, RequestContext& context, HostPorts& ports);
// On a link, its address becomes the page's (SetPageAddress), so the sites
// look up where the link leads; elsewhere, the page's own address.
void RunUrlFlow(const CommandWord& command, RequestContext& context, HostPorts& ports);
// Asks first when the page's host has no dot (an intranet name, a local
// file): translation services cannot reach such pages.
void RunTranslateFlow(const CommandWord& command, RequestContext& context,
                      HostPorts& ports);
// The about dialog; its Home Page button runs the system entry
// "SYSTEM:Home".
void RunConfigFlow(const CommandWord& command, RequestContext& context, HostPorts& ports);

}  // namespace qm
