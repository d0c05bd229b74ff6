// Numbers of the module's resources, shared by the core, the resource script
// and the adapters that load them.
#pragma once

namespace qm {

// Resources of type "FILE".
inline constexpr int kDefaultCatalogueResource = 206;
inline constexpr int kSystemCatalogueResource = 232;

}  // namespace qm
