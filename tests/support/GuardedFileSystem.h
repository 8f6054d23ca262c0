// The real file system with some files made read-only in a way even root cannot get round:
// every write, create or replace aimed at a guarded file (by identity, so any spelling or link
// counts) fails with EROFS and is recorded. Tests use it to prove that sources are never written.
#pragma once

#include <cerrno>
#include <set>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace lanzhou::testing {

class GuardedFileSystem final : public platform::FileSystem {
 public:
  void Guard(const std::string& path) {
    if (auto id = real_.Identify(path)) guarded_.insert(*id);
  }
  std::vector<std::string> attempts;  // writes aimed at a guarded file

  std::optional<std::string> ReadWholeFile(const std::string& path) override {
    auto r = real_.ReadWholeFile(path);
    lastError_ = real_.LastError();
    return r;
  }
  bool WriteWholeFile(const std::string& path, std::string_view bytes) override {
    return Allowed(path) && Pass(real_.WriteWholeFile(path, bytes));
  }
  std::unique_ptr<platform::OutputFile> CreateOutputFile(const std::string& path) override {
    if (!Allowed(path)) return nullptr;
    auto f = real_.CreateOutputFile(path);
    lastError_ = real_.LastError();
    return f;
  }
  bool CreateFolder(const std::string& path) override { return Pass(real_.CreateFolder(path)); }
  bool Exists(const std::string& path) override { return real_.Exists(path); }
  std::optional<std::vector<platform::FolderEntry>> ListFolder(const std::string& path) override {
    return real_.ListFolder(path);
  }
  bool ReplaceFileAtomically(const std::string& path, std::string_view bytes) override {
    return Allowed(path) && Pass(real_.ReplaceFileAtomically(path, bytes));
  }
  std::optional<platform::FileId> Identify(const std::string& path) override {
    return real_.Identify(path);
  }
  bool IsFolder(const std::string& path) override { return real_.IsFolder(path); }

 private:
  bool Allowed(const std::string& path) {
    const auto id = real_.Identify(path);
    if (!id || guarded_.count(*id) == 0) return true;
    attempts.push_back(path);
    lastError_ = platform::ErrorText(EROFS);
    return false;
  }
  bool Pass(bool ok) {
    if (!ok) lastError_ = real_.LastError();
    return ok;
  }

  platform::LocalFileSystem real_;
  std::set<platform::FileId> guarded_;
};

}  // namespace lanzhou::testing
