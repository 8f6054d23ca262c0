#include "platform/Process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

extern char** environ;

namespace lanzhou::platform {
namespace {

std::vector<char*> ArgPointers(const std::vector<std::string>& argv) {
  std::vector<char*> args;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  return args;
}

}  // namespace

bool StartDetached(const std::vector<std::string>& argv) {
  if (argv.empty()) return false;
  auto args = ArgPointers(argv);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int rc = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) return false;
  // Reap it in the background so no zombie is left; the opener exits quickly.
  int status = 0;
  for (int i = 0; i < 50 && ::waitpid(pid, &status, WNOHANG) == 0; ++i) ::usleep(10000);
  return true;
}

bool RunWithInput(const std::vector<std::string>& argv, std::string_view input) {
  if (argv.empty()) return false;
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) return false;
  auto args = ArgPointers(argv);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[0], 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int rc = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(fds[0]);
  if (rc != 0) {
    ::close(fds[1]);
    return false;
  }
  // A tool that exits early must not kill us with SIGPIPE.
  struct sigaction ignore{}, old{};
  ignore.sa_handler = SIG_IGN;
  ::sigaction(SIGPIPE, &ignore, &old);
  while (!input.empty()) {
    const ssize_t n = ::write(fds[1], input.data(), input.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    input.remove_prefix(static_cast<std::size_t>(n));
  }
  ::close(fds[1]);
  ::sigaction(SIGPIPE, &old, nullptr);
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool OpenInFileManager(const std::string& folder) { return StartDetached({"xdg-open", folder}); }

bool CopyToDesktopClipboard(std::string_view utf8) {
  const std::vector<std::vector<std::string>> tools = {
      {"wl-copy"}, {"xclip", "-selection", "clipboard"}, {"xsel", "--clipboard", "--input"}};
  for (const auto& tool : tools) {
    if (RunWithInput(tool, utf8)) return true;
  }
  return false;
}

}  // namespace lanzhou::platform
