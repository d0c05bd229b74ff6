#include "menu_command.h"

#include <memory>
#include <string_view>

#include "catalogue/catalogue_cache.h"
#include "flows/command_dispatch.h"
#include "ie_browser_window.h"
#include "registry_selection_store.h"
#include "win32_desktop.h"
#include "win32_dialog_host.h"
#include "win32_module_environment.h"
#include "win32_shell.h"

namespace qm {
namespace {

// Set by tests before any command runs; read on the browser's thread.
MenuCommandPorts g_replacements;

template <class Port>
Port& Choose(Port* replacement, Port& own) {
  return replacement != nullptr ? *replacement : own;
}

// The catalogues parsed for one pick, kept for the next as long as the
// module is loaded: the built-in ones never change, and the user's file is
// read and parsed again only when its size or time changed.
CatalogueCache& ModuleCatalogues() {
  static CatalogueCache kept;
  return kept;
}

}  // namespace

void SetMenuCommandPorts(const MenuCommandPorts& ports) { g_replacements = ports; }

void RunMenuCommand(IUnknown* menu_arguments, const wchar_t* word, std::size_t length) {
  // The ports live for this one command.
  Win32ModuleEnvironment own_environment({}, &ModuleCatalogues());
  const ModuleEnvironment& environment =
      Choose(g_replacements.environment,
             static_cast<const ModuleEnvironment&>(own_environment));
  RegistrySelectionStore selections;
  Win32Desktop desktop;
  Win32Shell shell;
  Win32DialogHost dialogs;
  HostPorts ports{environment,
                  Choose(g_replacements.selections, static_cast<SelectionStore&>(selections)),
                  Choose(g_replacements.desktop, static_cast<Desktop&>(desktop)),
                  Choose(g_replacements.shell, static_cast<Shell&>(shell)),
                  Choose(g_replacements.dialogs, static_cast<DialogHost&>(dialogs)),
                  environment.SystemCodePage()};
  const std::unique_ptr<MenuArguments> arguments = MakeIeMenuArguments(menu_arguments);
  // wchar_t and char16_t are both UTF-16 code units on Windows.
  const std::u16string_view command =
      word == nullptr ? std::u16string_view()
                      : std::u16string_view(reinterpret_cast<const char16_t*>(word), length);
  Click(command, arguments.get(), ports);
}

}  // namespace qm
