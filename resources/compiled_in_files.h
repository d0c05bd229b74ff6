// The module's built-in files, compiled into the program. The Windows module
// carries the same bytes as resources; elsewhere these are the resources.
#pragma once

#include <string_view>

namespace qm {

// The bytes of built-in file `id` (see host/resource_ids.h); empty when
// there is none. They live as long as the program.
std::string_view CompiledInFile(int id);

}  // namespace qm
