// An in-memory file system with faults to order: tests see every write and can make any
// path fail to read or write.
#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>

#include "platform/FileSystem.h"

namespace lanzhou::testing {

class FakeFileSystem final : public platform::FileSystem {
 public:
  std::map<std::string, std::string> files;  // path -> bytes
  std::set<std::string> folders{"/"};
  std::function<bool(const std::string&)> failWrite = [](const std::string&) { return false; };
  std::function<bool(const std::string&)> failRead = [](const std::string&) { return false; };
  int writes = 0;

  std::optional<std::string> ReadWholeFile(const std::string& path) override {
    if (failRead(path)) return std::nullopt;
    auto it = files.find(path);
    if (it == files.end()) return std::nullopt;
    return it->second;
  }
  bool WriteWholeFile(const std::string& path, std::string_view bytes) override {
    ++writes;
    if (failWrite(path) || !folders.count(Parent(path))) return false;
    files[path] = std::string(bytes);
    return true;
  }
  std::unique_ptr<platform::OutputFile> CreateOutputFile(const std::string& path) override {
    if (failWrite(path) || !folders.count(Parent(path))) return nullptr;
    files[path].clear();
    return std::make_unique<Output>(files[path]);
  }
  bool CreateFolder(const std::string& path) override {
    if (failWrite(path) || !folders.count(Parent(path))) return false;
    return folders.insert(path).second;
  }
  bool Exists(const std::string& path) override {
    return folders.count(path) > 0 || files.count(path) > 0;
  }
  std::optional<std::vector<platform::FolderEntry>> ListFolder(const std::string& path) override {
    if (!folders.count(path)) return std::nullopt;
    std::vector<platform::FolderEntry> out;
    const std::string prefix = path == "/" ? path : path + "/";
    for (const auto& [p, _] : files) {
      if (p.rfind(prefix, 0) == 0 && p.find('/', prefix.size()) == std::string::npos)
        out.push_back({p.substr(prefix.size()), false});
    }
    for (const auto& f : folders) {
      if (f != path && f.rfind(prefix, 0) == 0 && f.find('/', prefix.size()) == std::string::npos)
        out.push_back({f.substr(prefix.size()), true});
    }
    return out;
  }
  bool ReplaceFileAtomically(const std::string& path, std::string_view bytes) override {
    return WriteWholeFile(path, bytes);
  }

  // Adds a file and every folder above it.
  void Add(const std::string& path, std::string bytes) {
    for (std::size_t i = path.find('/', 1); i != std::string::npos; i = path.find('/', i + 1))
      folders.insert(path.substr(0, i));
    files[path] = std::move(bytes);
  }

 private:
  static std::string Parent(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == 0 ? "/" : path.substr(0, slash);
  }
  class Output final : public platform::OutputFile {
   public:
    explicit Output(std::string& target) : target_(target) {}
    bool Write(std::string_view bytes) override {
      target_.append(bytes);
      return true;
    }
    bool Close() override { return true; }

   private:
    std::string& target_;
  };
};

}  // namespace lanzhou::testing
