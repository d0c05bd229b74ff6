// The system's error texts as qmkit's messages quote them.
#pragma once

#include <string>

namespace qm {

// The system's text for the errno value `error`, starting in lower case so
// that it reads inside a message: "permission denied".
std::string SystemErrorText(int error);

}  // namespace qm
