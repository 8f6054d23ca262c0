#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

namespace lanzhou::testing {

// A fresh folder under the system's temp folder, removed with everything in it at the end.
class TempDir {
 public:
  TempDir() {
    std::string templ = (std::filesystem::temp_directory_path() / "lanzhou-XXXXXX").string();
    path_ = ::mkdtemp(templ.data()) ? templ : std::string();
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace lanzhou::testing
