// Test sources are UTF-8; the core's texts are code page 936. These turn one into the other.
#pragma once

#include <string>
#include <string_view>

#include "platform/Codec.h"

namespace lanzhou::testing {

inline const platform::Codec& TestCodec() {
  static const platform::Codec codec;
  return codec;
}
inline std::string G(std::string_view utf8) { return TestCodec().Utf8ToGbk(utf8); }
inline std::string U(std::string_view gbk) { return TestCodec().GbkToUtf8(gbk); }

}  // namespace lanzhou::testing
