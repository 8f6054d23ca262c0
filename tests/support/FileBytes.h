#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace lanzhou::testing {

// A file's bytes as they are ("" when it cannot be read): for comparing pages with fixtures.
inline std::string ReadBytes(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void WriteBytes(const std::filesystem::path& p, std::string_view bytes) {
  std::ofstream(p, std::ios::binary) << bytes;
}

}  // namespace lanzhou::testing
