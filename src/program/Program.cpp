#include "program/Program.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/FolderListing.h"
#include "platform/ProgramPath.h"
#include "text/GbkLiterals.h"

namespace lanzhou::program {
namespace {

std::string Join(const std::string& folder, std::string_view name) {
  std::string path = folder;
  if (path.empty() || path.back() != '/') path.push_back('/');
  path.append(name);
  return path;
}

// A file there can be written: it exists and is writable, or it does not exist and its folder
// (which must exist) takes new files.
bool Writable(const std::string& path) {
  if (::access(path.c_str(), F_OK) == 0) return ::access(path.c_str(), W_OK) == 0;
  const auto slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v != nullptr ? std::string(v) : std::string();
}

// A folder the system's packages own: root can write there, but a settings file beside a
// packaged program would be left behind by the package manager and shared by every user.
bool SystemFolder(std::string_view folder) {
  for (std::string_view root : {"/usr", "/bin", "/sbin", "/lib"}) {
    if (folder == root || (folder.starts_with(root) && folder[root.size()] == '/')) return true;
  }
  return false;
}

}  // namespace

std::string ChooseSettingsFile(const SettingsFileChoice& where, std::string_view fileName,
                               const std::function<bool(const std::string&)>& writable) {
  const std::string beside = Join(where.programFolder, fileName);
  if (where.programFolder.empty()) return beside;
  if (!SystemFolder(where.programFolder) && writable(beside)) return beside;
  // XDG: a relative $XDG_CONFIG_HOME is invalid and ignored.
  std::string config = where.xdgConfigHome;
  if (config.empty() || config.front() != '/') {
    if (where.home.empty()) return beside;
    config = Join(where.home, ".config");
  }
  return Join(Join(config, "lanzhou"), fileName);
}

std::string AbsolutePath(const std::string& path) {
  std::error_code ec;
  const auto abs = std::filesystem::absolute(path, ec);
  return ec ? path : abs.lexically_normal().string();
}

std::unique_ptr<Program> Program::Start(std::string& error,
                                        std::optional<std::string> settingsFile) {
  std::unique_ptr<Program> p(new Program());
  if (!p->codec_.Ready()) {
    error = "this ICU has no windows-936 converter; install libicu72";
    return nullptr;
  }
  // A missing engine leaves the object usable without one; titles then stay as they are.
  p->regex_ = std::make_unique<titles::RegexObject>(p->codec_);
  p->titles_ = std::make_unique<titles::TitleRewriting>(*p->regex_);
  p->store_ = std::make_unique<settings::ConfigStore>(p->files_);
  if (settingsFile) {
    p->settingsFile_ = std::move(*settingsFile);
  } else {
    const SettingsFileChoice where{platform::ProgramFolder(), Env("XDG_CONFIG_HOME"),
                                   Env("HOME")};
    p->settingsFile_ = ChooseSettingsFile(
        where, p->codec_.GbkToFileName(text::kSettingsFileName), Writable);
  }
  p->store_->SetFile(p->settingsFile_);
  return p;
}

Program::~Program() = default;

generation::ArticlePaths Program::ArticlePathsOf(const std::vector<std::string>& native) const {
  generation::ArticlePaths paths;
  paths.reserve(native.size());
  for (const auto& n : native) {
    std::string abs = AbsolutePath(n);
    paths.push_back({codec_.FileNameToGbk(abs), std::move(abs)});
  }
  return paths;
}

std::optional<std::vector<std::string>> Program::ListFolder(
    const std::string& folder, std::string_view wildcardGbk,
    const std::function<void()>& afterEachEntry) {
  const std::string abs = AbsolutePath(folder);
  if (!files_.ListFolder(abs)) return std::nullopt;
  return platform::ListFolder(files_, codec_, abs, wildcardGbk, afterEachEntry);
}

generation::RunResult Program::Run(const generation::ArticlePaths& paths,
                                   const generation::GenerationSettings& settings,
                                   generation::RunHost& host, std::optional<std::uint64_t> seed) {
  generation::RunContext ctx{settings, platform_, host, titles_.get(), seed};
  return generation::RunGeneration(paths, ctx);
}

}  // namespace lanzhou::program
