// lanzhou-floor READS DIR OUT: the least a run could cost. For every "*.htm" file of DIR, in
// name order, it reads the files a page needs and writes one page into OUT (created), using
// nothing but open, read, write and close: no decoding, no templates.
//
//   READS 1: the article itself.
//   READS 8: the article, its previous and next article and five random picks, as a run that
//            loads every title from its whole file would.
//
// The page written is the article's own bytes, so the output is as large as a real site's.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

// One reused buffer: the floor must not pay for allocations a careful program avoids.
std::vector<char> g_buffer(1 << 20);

// Returns the number of bytes read into g_buffer, or -1.
long ReadFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return -1;
  std::size_t got = 0;
  while (true) {
    if (got == g_buffer.size()) g_buffer.resize(g_buffer.size() * 2);
    const ssize_t n = ::read(fd, g_buffer.data() + got, g_buffer.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ::close(fd);
      return n < 0 ? -1 : static_cast<long>(got);
    }
    got += static_cast<std::size_t>(n);
  }
}

bool WriteFile(const std::string& path, const char* data, std::size_t size) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  bool ok = true;
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = false;
      break;
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return (::close(fd) == 0) && ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4 || (std::string_view(argv[1]) != "1" && std::string_view(argv[1]) != "8")) {
    std::fprintf(stderr, "usage: lanzhou-floor 1|8 DIR OUT\n");
    return 2;
  }
  const bool eight = std::string_view(argv[1]) == "8";
  const std::string dir = argv[2];
  const std::string out = std::string(argv[3]) + "/";
  ::mkdir(argv[3], 0755);

  std::vector<std::string> names;
  DIR* d = ::opendir(dir.c_str());
  if (d == nullptr) return 1;
  while (const dirent* e = ::readdir(d)) {
    const std::string_view name = e->d_name;
    if (name.size() > 4 && name.substr(name.size() - 4) == ".htm") names.emplace_back(name);
  }
  ::closedir(d);
  std::sort(names.begin(), names.end());
  std::vector<std::string> paths;
  paths.reserve(names.size());
  for (const auto& n : names) paths.push_back(dir + "/" + n);

  const std::size_t count = paths.size();
  std::uint64_t state = 0x9E3779B97F4A7C15ull;  // xorshift: the picks need no quality
  auto pick = [&] {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return static_cast<std::size_t>(state % count);
  };
  int failures = 0;
  for (std::size_t i = 0; i < count; ++i) {
    if (eight) {
      if (i > 0) failures += ReadFile(paths[i - 1]) < 0;
      if (i + 1 < count) failures += ReadFile(paths[i + 1]) < 0;
      for (int k = 0; k < 5; ++k) failures += ReadFile(paths[pick()]) < 0;
    }
    const long size = ReadFile(paths[i]);  // last, so the buffer holds this article's bytes
    if (size < 0) {
      ++failures;
      continue;
    }
    failures += !WriteFile(out + names[i], g_buffer.data(), static_cast<std::size_t>(size));
  }
  return failures == 0 ? 0 : 1;
}
