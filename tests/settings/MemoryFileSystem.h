// Files in memory, with the faults a settings save must survive: a file that cannot be read,
// and writes that fail (a full disk, a folder without write permission).
#pragma once

#include <map>
#include <set>
#include <string>

#include "platform/FileSystem.h"

namespace lanzhou::settings {

class MemoryFileSystem final : public platform::FileSystem {
 public:
  std::optional<std::string> ReadWholeFile(const std::string& path) override {
    ++reads;
    if (unreadable.count(path) != 0) return std::nullopt;
    const auto it = files.find(path);
    if (it == files.end()) return std::nullopt;
    return it->second;
  }
  bool WriteWholeFile(const std::string& path, std::string_view bytes) override {
    if (failWrites) return false;
    files[path] = std::string(bytes);
    return true;
  }
  std::unique_ptr<platform::OutputFile> CreateOutputFile(const std::string&) override {
    return nullptr;
  }
  bool CreateFolder(const std::string&) override { return false; }
  bool Exists(const std::string& path) override {
    return files.count(path) != 0 || unreadable.count(path) != 0;
  }
  std::optional<std::vector<platform::FolderEntry>> ListFolder(const std::string&) override {
    return std::nullopt;
  }
  bool ReplaceFileAtomically(const std::string& path, std::string_view bytes) override {
    ++replacements;
    if (failWrites) return false;
    files[path] = std::string(bytes);
    return true;
  }

  std::map<std::string, std::string> files;
  std::set<std::string> unreadable;  // these exist, but reading them fails
  bool failWrites = false;
  int reads = 0;
  int replacements = 0;
};

}  // namespace lanzhou::settings
