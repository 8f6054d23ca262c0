// Bytes and code units spelled out in hex, so a failed comparison shows what really differs.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace lanzhou::platform {

inline std::string Hex(std::string_view bytes) {
  std::string out;
  char buf[4];
  for (unsigned char c : bytes) {
    std::snprintf(buf, sizeof buf, "%02X", c);
    if (!out.empty()) out += ' ';
    out += buf;
  }
  return out;
}

inline std::string Hex(std::u16string_view units) {
  std::string out;
  char buf[6];
  for (char16_t u : units) {
    std::snprintf(buf, sizeof buf, "%04X", static_cast<unsigned>(u));
    if (!out.empty()) out += ' ';
    out += buf;
  }
  return out;
}

}  // namespace lanzhou::platform
