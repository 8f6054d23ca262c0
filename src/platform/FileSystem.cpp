#include "platform/FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

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

// Removes a file or link that is there and creates anew. Anything else is left in place: a
// folder makes open() fail, and a pipe or device (/dev/null) is written into, never deleted.
int CreateFresh(const std::string& path) {
  struct stat st{};
  if (::lstat(path.c_str(), &st) == 0 && (S_ISREG(st.st_mode) || S_ISLNK(st.st_mode))) {
    ::unlink(path.c_str());
  }
  return ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
}

// Pieces are gathered and written in large blocks: an index page arrives one short entry at a
// time, and a system call for each would cost more than the page.
class LocalOutputFile final : public OutputFile {
 public:
  explicit LocalOutputFile(int fd) : fd_(fd) {}
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
    ok_ = (::close(fd_) == 0) && ok_;
    fd_ = -1;
    return ok_;
  }

 private:
  static constexpr std::size_t kBlock = 64 * 1024;
  void Flush() {
    ok_ = WriteAll(fd_, buffer_) && ok_;
    buffer_.clear();
  }

  int fd_;
  bool ok_ = true;
  std::string buffer_;
};

}  // namespace

std::optional<std::string> LocalFileSystem::ReadWholeFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat st{};
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    ::close(fd);
    return std::nullopt;
  }
  std::string data;
  data.resize(static_cast<std::size_t>(st.st_size));
  std::size_t got = 0;
  // A file is read as it stood when it was opened; only one that reports no size (a pipe, a
  // file of /proc) is read on to its end through a small buffer.
  const bool sized = st.st_size > 0;
  char probe[4096];
  while (!sized || got < data.size()) {
    const bool inBuffer = got < data.size();
    const ssize_t n = inBuffer ? ::read(fd, data.data() + got, data.size() - got)
                               : ::read(fd, probe, sizeof probe);
    if (n < 0) {
      if (errno == EINTR) continue;
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
  const int fd = CreateFresh(path);
  if (fd < 0) return false;
  const bool ok = WriteAll(fd, bytes);
  return (::close(fd) == 0) && ok;
}

std::unique_ptr<OutputFile> LocalFileSystem::CreateOutputFile(const std::string& path) {
  const int fd = CreateFresh(path);
  if (fd < 0) return nullptr;
  return std::make_unique<LocalOutputFile>(fd);
}

bool LocalFileSystem::CreateFolder(const std::string& path) {
  return ::mkdir(path.c_str(), 0755) == 0;
}

bool LocalFileSystem::Exists(const std::string& path) {
  struct stat st{};
  return ::stat(path.c_str(), &st) == 0;
}

std::optional<std::vector<FolderEntry>> LocalFileSystem::ListFolder(const std::string& path) {
  DIR* dir = ::opendir(path.c_str());
  if (dir == nullptr) return std::nullopt;
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
  if (fd < 0) return false;
  bool ok = WriteAll(fd, bytes) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  if (ok) ok = ::rename(temp.c_str(), target.c_str()) == 0;
  if (!ok) {
    ::unlink(temp.c_str());
    return false;
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
