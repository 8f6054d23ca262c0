// Where the running program lives, for files kept beside it.
#pragma once

#include <string>

namespace lanzhou::platform {

// The full path of the running executable (OS bytes); empty when it cannot be found.
std::string ProgramFile();
// Its folder, without a trailing "/".
std::string ProgramFolder();

}  // namespace lanzhou::platform
