// Test sources are UTF-8; the core's texts are code page 936. These turn one into the other.
#pragma once

#include <string>
#include <string_view>

#include "GbkText.h"

namespace lanzhou::settings {

using testing::TestCodec;
inline std::string Gbk(std::string_view utf8) { return testing::G(utf8); }
inline std::string Utf8(std::string_view gbk) { return testing::U(gbk); }

}  // namespace lanzhou::settings
