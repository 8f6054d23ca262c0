// An in-memory file system with faults to order: tests see every write and can make any
// path fail to read or write, as a real disk does (a vanished file, a read error, a full disk
// part-way through a write, a close that fails), each with the reason the OS would give.
#pragma once

#include <cerrno>
#include <functional>
#include <map>
#include <set>
#include <string>

#include "platform/FileSystem.h"

namespace lanzhou::testing {

class FakeFileSystem final : public platform::FileSystem {
 public:
  // A fault: the error number to fail with for this path, or 0 for none. A predicate that
  // returns true fails with error number 1 (EPERM).
  using Fault = std::function<int(const std::string&)>;

  std::map<std::string, std::string> files;  // path -> bytes
  std::set<std::string> folders{"/"};
  std::set<std::string> pipes;               // neither file nor folder: reads and writes fail
  std::map<std::string, std::string> links;  // path -> the path it leads to
  Fault failWrite = [](const std::string&) { return 0; };
  Fault failRead = [](const std::string&) { return 0; };
  // A write to these paths stores its first half, then fails (a disk that fills up).
  Fault failPartWay = [](const std::string&) { return 0; };
  // Piecewise files on these paths fail when closed, after taking every piece.
  Fault failClose = [](const std::string&) { return 0; };
  int writes = 0;
  std::vector<std::string> written;  // every path a write or create was attempted on, in order

  std::optional<std::string> ReadWholeFile(const std::string& path) override {
    const std::string p = Resolve(path);
    if (const int e = failRead(p)) return Fail(e), std::nullopt;
    if (pipes.count(p)) return Fail(platform::kNotARegularFile), std::nullopt;
    if (folders.count(p)) return Fail(EISDIR), std::nullopt;
    auto it = files.find(p);
    if (it == files.end()) return Fail(ENOENT), std::nullopt;
    return it->second;
  }
  bool WriteWholeFile(const std::string& path, std::string_view bytes) override {
    ++writes;
    written.push_back(path);
    if (const int e = CannotCreate(path)) return Fail(e);
    links.erase(path);  // a link at the path is replaced, never written through
    if (const int e = failPartWay(path)) {
      files.erase(path);  // as the real one does: the half written is removed again
      return Fail(e);
    }
    files[path] = std::string(bytes);
    return true;
  }
  std::unique_ptr<platform::OutputFile> CreateOutputFile(const std::string& path) override {
    written.push_back(path);
    if (const int e = CannotCreate(path)) return Fail(e), nullptr;
    links.erase(path);
    files[path].clear();
    return std::make_unique<Output>(files[path], failPartWay(path), failClose(path));
  }
  bool CreateFolder(const std::string& path) override {
    if (const int e = failWrite(path)) return Fail(e);
    if (!folders.count(Parent(path))) return Fail(ENOENT);
    if (Exists(path)) return Fail(EEXIST);
    return folders.insert(path).second;
  }
  bool Exists(const std::string& path) override {
    const std::string p = Resolve(path);
    return folders.count(p) > 0 || files.count(p) > 0 || pipes.count(p) > 0;
  }
  std::optional<std::vector<platform::FolderEntry>> ListFolder(const std::string& path) override {
    if (!folders.count(path)) return Fail(ENOTDIR), std::nullopt;
    std::vector<platform::FolderEntry> out;
    const std::string prefix = path == "/" ? path : path + "/";
    auto inFolder = [&](const std::string& p) {
      return p != path && p.rfind(prefix, 0) == 0 && p.find('/', prefix.size()) == std::string::npos;
    };
    for (const auto& [p, _] : files) {
      if (inFolder(p)) out.push_back({p.substr(prefix.size()), false});
    }
    for (const auto& f : folders) {
      if (inFolder(f)) out.push_back({f.substr(prefix.size()), true});
    }
    return out;
  }
  bool ReplaceFileAtomically(const std::string& path, std::string_view bytes) override {
    // The old file stays whole whatever fails.
    if (const int e = CannotCreate(path)) return Fail(e);
    if (const int e = failPartWay(path)) return Fail(e);
    return WriteWholeFile(path, bytes);
  }
  std::optional<platform::FileId> Identify(const std::string& path) override {
    const std::string p = Resolve(path);
    if (!files.count(p)) return std::nullopt;
    return platform::FileId{1, std::hash<std::string>{}(p)};
  }
  bool IsFolder(const std::string& path) override { return folders.count(Resolve(path)) > 0; }

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
  std::string Resolve(const std::string& path) const {
    auto it = links.find(path);
    return it == links.end() ? path : it->second;
  }
  int CannotCreate(const std::string& path) {
    if (const int e = failWrite(path)) return e;
    if (!folders.count(Parent(path))) return files.count(Parent(path)) ? ENOTDIR : ENOENT;
    if (folders.count(path)) return EISDIR;
    if (pipes.count(path)) return -1;
    return 0;
  }
  bool Fail(int e) {
    lastError_ = e == -1 ? std::string(platform::kNotARegularFile) : platform::ErrorText(e);
    return false;
  }
  bool Fail(std::string_view reason) {
    lastError_ = reason;
    return false;
  }
  class Output final : public platform::OutputFile {
   public:
    Output(std::string& target, int failWrite, int failClose)
        : target_(target), failWrite_(failWrite), failClose_(failClose) {}
    bool Write(std::string_view bytes) override {
      if (closed_) return false;
      if (failWrite_ != 0) return Note(failWrite_);
      target_.append(bytes);
      return ok_;
    }
    bool Close() override {
      if (closed_) return ok_;
      closed_ = true;
      if (failClose_ != 0) Note(failClose_);
      return ok_;
    }

   private:
    bool Note(int e) {
      if (ok_) error_ = platform::ErrorText(e);
      ok_ = false;
      return false;
    }
    std::string& target_;
    int failWrite_;
    int failClose_;
    bool ok_ = true;
    bool closed_ = false;
  };
};

}  // namespace lanzhou::testing
