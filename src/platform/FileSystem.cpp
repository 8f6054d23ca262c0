#include "platform/FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

namespace lanzhou::platform {
namespace {

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// Removes a file or link that is there and creates anew. Anything else (a folder, a pipe, a
// device) is left in place and nothing is opened: opening a pipe to write waits for a reader,
// and writing into a device is no page. Returns -1 with errno set, EINVAL standing for "not a
// regular file".
int CreateFresh(const std::string& path) {
  struct stat st{};
  if (::lstat(path.c_str(), &st) == 0) {
    if (!S_ISREG(st.st_mode) && !S_ISLNK(st.st_mode)) {
      errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
      return -1;
    }
    ::unlink(path.c_str());
  }
  // O_NONBLOCK and O_NOFOLLOW: whatever appears at the path in the meantime can neither make
  // this wait nor lead it elsewhere.
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NONBLOCK |
                                          O_NOFOLLOW | O_NOCTTY, 0644);
  if (fd < 0) return -1;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    errno = EINVAL;
    return -1;
  }
  return fd;
}

// Opens a regular file (or a link to one) to be read from its start; -1 with `error` set,
// EINVAL standing for "not a regular file". Without O_NONBLOCK, opening a pipe waits for a
// writer that may never come. Whole reads and title reads share it, so they accept the same
// files.
int OpenRegularForReading(const std::string& path, off_t& size, int& error) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) {
    error = errno;
    return -1;
  }
  struct stat st{};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    const int e = errno;
    ::close(fd);
    error = S_ISDIR(st.st_mode) ? EISDIR : S_ISREG(st.st_mode) ? e : EINVAL;
    return -1;
  }
  size = st.st_size;
  return fd;
}

class LocalInputFile final : public InputFile {
 public:
  explicit LocalInputFile(int fd) : fd_(fd) {}
  ~LocalInputFile() override { ::close(fd_); }
  LocalInputFile(const LocalInputFile&) = delete;
  LocalInputFile& operator=(const LocalInputFile&) = delete;
  std::optional<std::size_t> ReadMore(std::string& into, std::size_t max) override {
    const std::size_t old = into.size();
    into.resize(old + max);
    ssize_t n;
    do {
      n = ::read(fd_, into.data() + old, max);
    } while (n < 0 && errno == EINTR);
    into.resize(old + (n > 0 ? static_cast<std::size_t>(n) : 0));
    if (n < 0) return std::nullopt;
    return static_cast<std::size_t>(n);
  }

 private:
  int fd_;
};

// Serves bytes already read whole.
class BufferedInputFile final : public InputFile {
 public:
  explicit BufferedInputFile(std::string bytes) : bytes_(std::move(bytes)) {}
  std::optional<std::size_t> ReadMore(std::string& into, std::size_t max) override {
    const std::size_t n = std::min(max, bytes_.size() - served_);
    into.append(bytes_, served_, n);
    served_ += n;
    return n;
  }

 private:
  std::string bytes_;
  std::size_t served_ = 0;
};

// An existing regular file with no other name, opened to be written over in place; -1 when the
// path holds anything else, which is then replaced as a whole. Nothing but such a file is
// opened, and links are not followed.
int OpenForOverwrite(const std::string& path, off_t& oldSize) {
  struct stat st{};
  if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_nlink != 1) return -1;
  const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY);
  if (fd < 0) return -1;
  struct stat now{};
  // The path may have been given to another file since the look above.
  if (::fstat(fd, &now) != 0 || !S_ISREG(now.st_mode) || now.st_ino != st.st_ino ||
      now.st_dev != st.st_dev || now.st_nlink != 1) {
    ::close(fd);
    return -1;
  }
  oldSize = now.st_size;
  return fd;
}

std::string ReasonOf(int errorNumber) {
  return errorNumber == EINVAL ? std::string(kNotARegularFile) : ErrorText(errorNumber);
}

// Pieces are gathered and written in large blocks: an index page arrives one short entry at a
// time, and a system call for each would cost more than the page.
class LocalOutputFile final : public OutputFile {
 public:
  // `oldSize`: the length of the file written over in place, cut to what was written at Close.
  LocalOutputFile(int fd, std::int64_t oldSize) : fd_(fd), oldSize_(oldSize) {}
  ~LocalOutputFile() override { Close(); }
  bool Write(std::string_view bytes) override {
    if (fd_ < 0) return false;
    buffer_.append(bytes);
    if (buffer_.size() >= kBlock) Flush();
    return ok_;
  }
  bool Close() override {
    if (fd_ < 0) return ok_;
    Flush();
    if (ok_ && oldSize_ > written_ && ::ftruncate(fd_, static_cast<off_t>(written_)) != 0) {
      Note(errno);
    }
    if (::close(fd_) != 0) Note(errno);
    fd_ = -1;
    return ok_;
  }

 private:
  static constexpr std::size_t kBlock = 64 * 1024;
  void Flush() {
    if (ok_ && !WriteAll(fd_, buffer_)) Note(errno);
    written_ += static_cast<std::int64_t>(buffer_.size());
    buffer_.clear();
  }
  void Note(int errorNumber) {
    if (ok_) error_ = ErrorText(errorNumber);  // the first failure is the one that matters
    ok_ = false;
  }

  int fd_;
  std::int64_t oldSize_;
  std::int64_t written_ = 0;
  bool ok_ = true;
  std::string buffer_;
};

}  // namespace

std::string ErrorText(int errorNumber) {
  // strerror would follow the locale the window sets, and its text would then be neither ASCII
  // nor the code page the report is in.
  const char* text = ::strerrordesc_np(errorNumber);
  return text != nullptr ? text : "error " + std::to_string(errorNumber);
}

std::optional<FileId> FileSystem::Identify(const std::string&) { return std::nullopt; }

std::unique_ptr<InputFile> FileSystem::OpenInputFile(const std::string& path) {
  auto bytes = ReadWholeFile(path);
  if (!bytes) return nullptr;
  return std::make_unique<BufferedInputFile>(std::move(*bytes));
}

std::unique_ptr<InputFile> LocalFileSystem::OpenInputFile(const std::string& path) {
  off_t size = 0;
  int error = 0;
  const int fd = OpenRegularForReading(path, size, error);
  if (fd < 0) {
    Fail(error);
    return nullptr;
  }
  return std::make_unique<LocalInputFile>(fd);
}

int LocalFileSystem::OpenForWriting(const std::string& path, std::int64_t& oldSize) {
  oldSize = -1;
  // A new file first: that is every page of a first run, and it needs no look beforehand.
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd >= 0 || errno != EEXIST) return fd;
  off_t size = 0;
  if (const int old = OpenForOverwrite(path, size); old >= 0) {
    oldSize = size;
    return old;
  }
  return CreateFresh(path);
}

bool FileSystem::IsFolder(const std::string& path) { return ListFolder(path).has_value(); }

bool LocalFileSystem::Fail(int errorNumber) {
  lastError_ = ReasonOf(errorNumber);
  return false;
}

bool LocalFileSystem::Fail(std::string_view reason) {
  lastError_ = reason;
  return false;
}

std::optional<std::string> LocalFileSystem::ReadWholeFile(const std::string& path) {
  off_t size = 0;
  int error = 0;
  const int fd = OpenRegularForReading(path, size, error);
  if (fd < 0) {
    Fail(error);
    return std::nullopt;
  }
  std::string data;
  data.resize(static_cast<std::size_t>(size));
  std::size_t got = 0;
  // A file is read as it stood when it was opened; only one that reports no size (a pipe, a
  // file of /proc) is read on to its end through a small buffer.
  const bool sized = size > 0;
  char probe[4096];
  while (!sized || got < data.size()) {
    const bool inBuffer = got < data.size();
    const ssize_t n = inBuffer ? ::read(fd, data.data() + got, data.size() - got)
                               : ::read(fd, probe, sizeof probe);
    if (n < 0) {
      if (errno == EINTR) continue;
      Fail(errno);
      ::close(fd);
      return std::nullopt;
    }
    if (n == 0) break;
    if (!inBuffer) data.append(probe, static_cast<std::size_t>(n));
    got += static_cast<std::size_t>(n);
  }
  ::close(fd);
  data.resize(got);
  return data;
}

bool LocalFileSystem::WriteWholeFile(const std::string& path, std::string_view bytes) {
  std::int64_t oldSize = -1;
  const int fd = OpenForWriting(path, oldSize);
  if (fd < 0) return Fail(errno);
  int error = WriteAll(fd, bytes) ? 0 : errno;
  if (error == 0 && oldSize > static_cast<std::int64_t>(bytes.size()) &&
      ::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0) {
    error = errno;
  }
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error == 0) return true;
  ::unlink(path.c_str());  // half a page is no page (the old one is gone either way)
  return Fail(error);
}

std::unique_ptr<OutputFile> LocalFileSystem::CreateOutputFile(const std::string& path) {
  std::int64_t oldSize = -1;
  const int fd = OpenForWriting(path, oldSize);
  if (fd < 0) {
    Fail(errno);
    return nullptr;
  }
  return std::make_unique<LocalOutputFile>(fd, oldSize);
}

bool LocalFileSystem::CreateFolder(const std::string& path) {
  return ::mkdir(path.c_str(), 0755) == 0 || Fail(errno);
}

std::optional<FileId> LocalFileSystem::Identify(const std::string& path) {
  struct stat st{};
  if (::stat(path.c_str(), &st) != 0) return std::nullopt;
  return FileId{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

bool LocalFileSystem::IsFolder(const std::string& path) {
  struct stat st{};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool LocalFileSystem::Exists(const std::string& path) {
  struct stat st{};
  return ::stat(path.c_str(), &st) == 0;
}

std::optional<std::vector<FolderEntry>> LocalFileSystem::ListFolder(const std::string& path) {
  DIR* dir = ::opendir(path.c_str());
  if (dir == nullptr) {
    Fail(errno);
    return std::nullopt;
  }
  std::vector<FolderEntry> entries;
  while (const dirent* e = ::readdir(dir)) {
    const std::string_view name = e->d_name;
    if (name == "." || name == "..") continue;
    FolderEntry entry{std::string(name), false};
    if (e->d_type == DT_DIR) {
      entry.isFolder = true;
    } else if (e->d_type == DT_UNKNOWN || e->d_type == DT_LNK) {
      struct stat st{};  // a link counts as what it points to
      const std::string full = path + "/" + entry.name;
      entry.isFolder = ::stat(full.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    }
    entries.push_back(std::move(entry));
  }
  ::closedir(dir);
  return entries;
}

bool LocalFileSystem::ReplaceFileAtomically(const std::string& path, std::string_view bytes) {
  // A settings file kept as a link (to a dotfiles folder, say) stays a link: the file it points
  // to is the one replaced.
  std::string target = path;
  if (char* real = ::realpath(path.c_str(), nullptr)) {
    target = real;
    std::free(real);
  }
  mode_t mode = 0644;
  if (struct stat st{}; ::stat(target.c_str(), &st) == 0) mode = st.st_mode & 07777;

  const std::string temp = target + ".new~";
  // A temporary left by a crash may by now be a link to some other file; never write through it.
  ::unlink(temp.c_str());
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) return Fail(errno);
  int error = (WriteAll(fd, bytes) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0) ? 0 : errno;
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && ::rename(temp.c_str(), target.c_str()) != 0) error = errno;
  if (error != 0) {
    ::unlink(temp.c_str());
    return Fail(error);
  }
  // The rename itself must reach the disk too, or a crash could bring back the old file.
  const auto slash = target.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : target.substr(0, slash);
  if (const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

}  // namespace lanzhou::platform
