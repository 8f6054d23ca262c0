// Files and folders, as the core needs them. Paths are the OS's own bytes (UTF-8 file names on
// this platform); the core converts its code page 936 texts at this boundary (Codec).
// Failures are values: an unreadable file is nullopt, a failed write is false.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lanzhou::platform {

// A file being written piece by piece (the index pages). Closing it, or destroying it, ends it;
// a failed write may only show at Close.
class OutputFile {
 public:
  virtual ~OutputFile() = default;
  virtual bool Write(std::string_view bytes) = 0;
  virtual bool Close() = 0;
};

struct FolderEntry {
  std::string name;  // OS bytes, no folder
  bool isFolder = false;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  virtual std::optional<std::string> ReadWholeFile(const std::string& path) = 0;
  // Writes a whole new file. An existing file is removed first and a new one created: emptying
  // a file that holds data in place makes ext4 flush it at close, which triples a rerun's cost.
  virtual bool WriteWholeFile(const std::string& path, std::string_view bytes) = 0;
  // A new file for writing piece by piece (replacing an existing one as above); null on failure.
  virtual std::unique_ptr<OutputFile> CreateOutputFile(const std::string& path) = 0;
  virtual bool CreateFolder(const std::string& path) = 0;
  virtual bool Exists(const std::string& path) = 0;
  // The entries of a folder in the order the OS gives them, "." and ".." left out; nullopt
  // when it cannot be read.
  virtual std::optional<std::vector<FolderEntry>> ListFolder(const std::string& path) = 0;
  // Writes `bytes` to a temporary file beside `path`, then renames it over `path`, so a crash
  // or a full disk leaves the old file whole.
  virtual bool ReplaceFileAtomically(const std::string& path, std::string_view bytes) = 0;
};

// The real thing, on POSIX calls.
class LocalFileSystem final : public FileSystem {
 public:
  std::optional<std::string> ReadWholeFile(const std::string& path) override;
  bool WriteWholeFile(const std::string& path, std::string_view bytes) override;
  std::unique_ptr<OutputFile> CreateOutputFile(const std::string& path) override;
  bool CreateFolder(const std::string& path) override;
  bool Exists(const std::string& path) override;
  std::optional<std::vector<FolderEntry>> ListFolder(const std::string& path) override;
  bool ReplaceFileAtomically(const std::string& path, std::string_view bytes) override;
};

}  // namespace lanzhou::platform
