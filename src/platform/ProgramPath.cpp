#include "platform/ProgramPath.h"

#include <unistd.h>

#include <vector>

namespace lanzhou::platform {

std::string ProgramFile() {
  std::vector<char> buf(4096);
  const ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size());
  if (n <= 0 || static_cast<std::size_t>(n) >= buf.size()) return {};
  return std::string(buf.data(), static_cast<std::size_t>(n));
}

std::string ProgramFolder() {
  const std::string file = ProgramFile();
  const auto slash = file.rfind('/');
  return slash == std::string::npos ? std::string() : file.substr(0, slash);
}

}  // namespace lanzhou::platform
