// The browser menu entries: fourteen commands, each offered in the page's
// context menu and in the Tools menu, each running a small script page
// written beside the module that creates the component and calls Click with
// the command's word.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace qm {

// The page template of `module` (its SCRIPT resource), empty when missing.
std::string LoadScriptPageTemplate(HMODULE module);

// Installs (`install` true) or removes the menu entries of the user whose
// registry root is `user_root` (HKEY_CURRENT_USER, or a stand-in), with the
// pages beside `module_path` made from `page_template`. Nothing here is
// reported: a step that fails is skipped and the rest still run.
void RegisterMenuExtensions(bool install, HKEY user_root,
                            const std::wstring& module_path,
                            std::string_view page_template);

}  // namespace qm
