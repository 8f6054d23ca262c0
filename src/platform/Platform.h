// The OS services the core reaches, bundled so they travel as one parameter.
#pragma once

#include "platform/Clock.h"
#include "platform/Codec.h"
#include "platform/FileSystem.h"

namespace lanzhou::platform {

struct Platform {
  const Codec& codec;
  FileSystem& files;
  Clock& clock;
};

}  // namespace lanzhou::platform
