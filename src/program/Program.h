// What both programs, lanzhou and lanzhou-gen, set up before a run and keep until they end:
// the platform services, the config store pointed at the settings file, the regex object and
// the title rewriting over it, and the two ways a run's article list is made (paths given,
// and a folder's matching files).
//
//   std::string error;
//   auto program = program::Program::Start(error);      // null: `error` says why
//   auto paths = program->ArticlePathsOf({"a.txt", "/srv/b.txt"});
//   program->Run(paths, settings, host);
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "generation/ArticleInfo.h"
#include "generation/GenerationRun.h"
#include "generation/GenerationSettings.h"
#include "generation/RunHost.h"
#include "platform/Clock.h"
#include "platform/Codec.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "settings/ConfigStore.h"
#include "titles/RegexObject.h"
#include "titles/TitleRewriting.h"

namespace lanzhou::program {

// Where the settings file goes: "程序配置.ini" in the program's folder, as users of the program
// expect, unless that folder cannot take it or belongs to the system (a program installed under
// /usr, even when run as root): then the same name in the user's configuration folder,
// $XDG_CONFIG_HOME/lanzhou or ~/.config/lanzhou.
// `writable` says whether a path may be written (a file there, or a new file in a folder).
struct SettingsFileChoice {
  std::string programFolder;
  std::string xdgConfigHome;  // empty when unset
  std::string home;           // empty when unset
};
std::string ChooseSettingsFile(const SettingsFileChoice& where, std::string_view fileName,
                               const std::function<bool(const std::string&)>& writable);

class Program {
 public:
  // Null, with `error` set, when this ICU cannot convert code page 936: no run could be right.
  // `settingsFile` (OS bytes) replaces the usual place, for tests and for a portable setup.
  static std::unique_ptr<Program> Start(std::string& error,
                                        std::optional<std::string> settingsFile = std::nullopt);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  const platform::Codec& codec() const { return codec_; }
  platform::FileSystem& files() { return files_; }
  platform::Platform& platform() { return platform_; }
  // Already pointed at settingsFile(); a load or save selects the section itself.
  settings::ConfigStore& store() { return *store_; }
  titles::RegexObject& regex() { return *regex_; }
  titles::TitleRewriting& titleRewriting() { return *titles_; }
  // OS bytes.
  const std::string& settingsFile() const { return settingsFile_; }

  // Each path made absolute against the current folder (a run writes beside its first
  // article, so a relative path must never reach it), in both spellings.
  generation::ArticlePaths ArticlePathsOf(const std::vector<std::string>& native) const;
  // The files of `folder` (OS bytes) whose names match the wildcard (GBK), absolute, in the
  // order the folder import uses; `afterEachEntry` runs after each entry is looked at. Nothing
  // when the folder cannot be read.
  std::optional<std::vector<std::string>> ListFolder(
      const std::string& folder, std::string_view wildcardGbk,
      const std::function<void()>& afterEachEntry = {});

  // One run with this program's platform and title rewriting.
  generation::RunResult Run(const generation::ArticlePaths& paths,
                            const generation::GenerationSettings& settings,
                            generation::RunHost& host,
                            std::optional<std::uint64_t> seed = std::nullopt);

 private:
  Program() = default;

  // Declared in the order of creation; destroyed in reverse, so the store goes first and the
  // regex object after it, and the platform services outlive both.
  platform::Codec codec_;
  platform::LocalFileSystem files_;
  platform::SteadyClock clock_;
  platform::Platform platform_{codec_, files_, clock_};
  std::unique_ptr<titles::RegexObject> regex_;
  std::unique_ptr<titles::TitleRewriting> titles_;
  std::unique_ptr<settings::ConfigStore> store_;
  std::string settingsFile_;
};

// An absolute, lexically normal form of `path` (OS bytes); `path` itself when the current
// folder cannot be found.
std::string AbsolutePath(const std::string& path);

}  // namespace lanzhou::program
