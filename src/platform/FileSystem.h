// Files and folders, as the core needs them. Paths are the OS's own bytes (UTF-8 file names on
// this platform); the core converts its code page 936 texts at this boundary (Codec).
// Failures are values: an unreadable file is nullopt, a failed write is false, and LastError()
// says why in a few words.
#pragma once

#include <compare>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lanzhou::platform {

// Why a file operation failed: the system's own text for its error number ("No space left on
// device"), always in English and ASCII whatever the locale, or one of the reasons below.
std::string ErrorText(int errorNumber);
// What a read or write meets where a regular file should be (a pipe, a device, a folder).
inline constexpr std::string_view kNotARegularFile = "not a regular file";

// A file being written piece by piece (the index pages). Closing it, or destroying it, ends it;
// a failed write may only show at Close, and Error() then says why.
class OutputFile {
 public:
  virtual ~OutputFile() = default;
  virtual bool Write(std::string_view bytes) = 0;
  virtual bool Close() = 0;
  const std::string& Error() const { return error_; }

 protected:
  std::string error_;
};

// A file read from its start, piece by piece: a title needs only the beginning of its file.
class InputFile {
 public:
  virtual ~InputFile() = default;
  // Appends up to `max` further bytes to `into` and returns how many (0 at the end of the
  // file); nullopt when the file cannot be read.
  virtual std::optional<std::size_t> ReadMore(std::string& into, std::size_t max) = 0;
};

// Which file a path leads to (links followed): two paths name the same file exactly when their
// identities are equal, however they are spelt.
struct FileId {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  auto operator<=>(const FileId&) const = default;
};

struct FolderEntry {
  std::string name;  // OS bytes, no folder
  bool isFolder = false;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Only a regular file (or a link to one) is read: a pipe or a device could block for ever or
  // never end, so it fails at once with kNotARegularFile.
  virtual std::optional<std::string> ReadWholeFile(const std::string& path) = 0;
  // The same file for reading from its start; null where ReadWholeFile fails before reading.
  // The default serves the bytes of ReadWholeFile.
  virtual std::unique_ptr<InputFile> OpenInputFile(const std::string& path);
  // Writes a whole file. An existing regular file with no other name is written over in place
  // and cut to its new length; another file or a link is removed first and a new one created.
  // (Emptying a file that holds data makes ext4 flush it at close, and removing one makes a
  // file system that discards freed blocks wait for them: either made a rerun several times
  // slower than a first run.) Anything but a regular file or a link at the path is left alone
  // and the write fails; a write that fails part-way leaves no half-written file behind.
  virtual bool WriteWholeFile(const std::string& path, std::string_view bytes) = 0;
  // A file for writing piece by piece (replacing an existing one as above); null on failure.
  virtual std::unique_ptr<OutputFile> CreateOutputFile(const std::string& path) = 0;
  virtual bool CreateFolder(const std::string& path) = 0;
  virtual bool Exists(const std::string& path) = 0;
  // The entries of a folder in the order the OS gives them, "." and ".." left out; nullopt
  // when it cannot be read.
  virtual std::optional<std::vector<FolderEntry>> ListFolder(const std::string& path) = 0;
  // Writes `bytes` to a temporary file beside `path`, then renames it over `path`, so a crash
  // or a full disk leaves the old file whole.
  virtual bool ReplaceFileAtomically(const std::string& path, std::string_view bytes) = 0;
  // The identity of the file at `path`; nullopt when nothing is there. The default knows no
  // identities, so callers fall back on comparing spellings.
  virtual std::optional<FileId> Identify(const std::string& path);
  // Whether Identify knows identities, so that its nullopt means nothing is there.
  virtual bool KnowsIdentities() const { return false; }
  // Whether `path` is a folder (or a link to one).
  virtual bool IsFolder(const std::string& path);

  // Why the last failed call of this object failed (see ErrorText); stale after a success.
  const std::string& LastError() const { return lastError_; }

 protected:
  std::string lastError_;
};

// The real thing, on POSIX calls.
class LocalFileSystem final : public FileSystem {
 public:
  std::optional<std::string> ReadWholeFile(const std::string& path) override;
  std::unique_ptr<InputFile> OpenInputFile(const std::string& path) override;
  bool WriteWholeFile(const std::string& path, std::string_view bytes) override;
  std::unique_ptr<OutputFile> CreateOutputFile(const std::string& path) override;
  bool CreateFolder(const std::string& path) override;
  bool Exists(const std::string& path) override;
  std::optional<std::vector<FolderEntry>> ListFolder(const std::string& path) override;
  bool ReplaceFileAtomically(const std::string& path, std::string_view bytes) override;
  std::optional<FileId> Identify(const std::string& path) override;
  bool KnowsIdentities() const override { return true; }
  bool IsFolder(const std::string& path) override;

 private:
  int OpenForWriting(const std::string& path, std::int64_t& oldSize);
  bool Fail(int errorNumber);
  bool Fail(std::string_view reason);
};

}  // namespace lanzhou::platform
