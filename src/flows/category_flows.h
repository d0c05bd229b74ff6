// The procedures of the menu commands that show a category's sites: collect
// the entries, offer a text, run the dialog, and after OK remember the
// ticks, make the confirmed text the selection and carry out the choice.
#pragma once

#include <string>

#include "context/request_context.h"
#include "host/host_ports.h"

namespace qm {

// One row of the shared flow of BOOK, MOVIE, MUSIC, OTHER and SEARCH.
struct SelectedStringCategory {
  const char* prefix;      // "BOOK:"
  int caption_string;      // the frame around the text
  int prompt_string;       // above the list
  const char* help_topic;  // "HelpBook.htm"
};

// Offers a UPC found in the request, else the tidied selection.
void RunSelectedStringFlow(RequestContext& context, HostPorts& ports,
                           const SelectedStringCategory& category);
// Offers the ISBN found in the request, else the tidied selection.
void RunIsbnFlow(RequestContext& context, HostPorts& ports);
// Offers the UPC found in the request, else the tidied selection.
void RunUpcFlow(RequestContext& context, HostPorts& ports);
// Offers the stock symbol found in the selection, possibly nothing.
void RunStockFlow(RequestContext& context, HostPorts& ports);
// List-only flows: the selection stays as read from the page.
void RunEmailFlow(RequestContext& context, HostPorts& ports);
void RunUrlFlow(RequestContext& context, HostPorts& ports);
// Asks first when the page's host has no dot (an intranet name, a local
// file): translation services cannot reach such pages.
void RunTranslateFlow(RequestContext& context, HostPorts& ports);
// The about dialog; its Home Page button runs the system entry
// "SYSTEM:Home".
void RunConfigFlow(RequestContext& context, HostPorts& ports);

}  // namespace qm
