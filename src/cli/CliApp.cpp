#include "cli/CliApp.h"

#include <unistd.h>

#include <CLI/CLI.hpp>
#include <charconv>
#include <filesystem>
#include <map>
#include <optional>
#include <ostream>
#include <variant>

#include "cli/ConsoleRunHost.h"
#include "generation/GenerationRun.h"
#include "program/Program.h"
#include "settings/PlainSettings.h"
#include "settings/SettingsFile.h"

namespace lanzhou::cli {
namespace {

using generation::SettingsValues;

// What the command line says; unset options leave the settings as they were.
struct Request {
  std::vector<std::string> files;
  std::optional<std::string> dir;
  std::optional<std::string> filter;
  std::optional<int> templateNumber;
  std::optional<std::string> templateFile;
  std::optional<std::string> titleSource;
  std::optional<bool> stripFirstLine;
  std::optional<bool> middle;
  std::optional<std::string> left;
  std::optional<std::string> right;
  std::optional<bool> keepWhenEmpty;
  std::optional<std::string> ext;
  std::optional<bool> index;
  std::optional<std::string> pageSize;
  std::optional<std::string> encoding;
  bool replaceTitle = false;
  std::optional<bool> regex;
  std::optional<std::string> match;
  std::optional<std::string> replace;
  std::optional<std::string> seedText;
  std::optional<std::uint64_t> seed;  // from seedText
  std::optional<std::string> settingsFile;
  bool showSettings = false;
  std::optional<std::string> saveSettings;
  bool quiet = false;
  bool open = false;
  bool copyPath = false;
};

// A flag pair such as --middle / --no-middle, both writing one optional.
void AddSwitch(CLI::App& app, const std::string& on, const std::string& off,
               std::optional<bool>& target, const std::string& help) {
  app.add_flag_callback(on, [&target] { target = true; }, help);
  app.add_flag_callback(off, [&target] { target = false; }, "the opposite of " + on);
}

class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

void Apply(const Request& r, SettingsValues& v, const platform::Codec& codec,
           platform::FileSystem& files) {
  auto gbk = [&](const std::string& utf8) { return codec.Utf8ToGbk(utf8); };
  if (r.templateNumber) v.selectedTemplate = *r.templateNumber - 1;

  if (r.templateFile) {
    auto bytes = files.ReadWholeFile(*r.templateFile);
    if (!bytes) throw UsageError("cannot read the template file " + *r.templateFile);
    v.templateTexts[static_cast<std::size_t>(v.selectedTemplate)] = std::move(*bytes);
  }
  if (r.titleSource) {
    static const std::map<std::string, generation::TitleSource> kSources = {
        {"name", generation::TitleSource::FileName},
        {"title", generation::TitleSource::HtmlTitle},
        {"first-line", generation::TitleSource::FirstLine}};
    v.titleSource = static_cast<int>(kSources.at(*r.titleSource));
  }
  if (r.stripFirstLine) v.stripFirstLine = *r.stripFirstLine;
  if (r.middle) v.takeMiddleContent = *r.middle;
  if (r.left) v.middleLeftMarker = gbk(*r.left);
  if (r.right) v.middleRightMarker = gbk(*r.right);
  if (r.keepWhenEmpty) v.keepBodyWhenEmpty = *r.keepWhenEmpty;
  if (r.ext) {
    v.useExtension = true;
    v.extension = gbk(*r.ext);
  }
  if (r.index) v.makeIndex = *r.index;
  if (r.pageSize) v.pageSizeText = gbk(*r.pageSize);
  if (r.filter) v.directoryFilter = gbk(*r.filter);
  if (r.encoding) {
    static const std::map<std::string, generation::FileEncoding> kEncodings = {
        {"gbk", generation::FileEncoding::AnsiGbk},
        {"utf-8", generation::FileEncoding::Utf8},
        {"utf-16le", generation::FileEncoding::Unicode}};
    v.fileEncoding = static_cast<int>(kEncodings.at(*r.encoding));
  }
  if (r.replaceTitle) v.replaceTitle = true;
  if (r.regex) v.useRegex = *r.regex;
  if (r.match) v.matchPattern = gbk(*r.match);
  if (r.replace) v.replacementText = gbk(*r.replace);
}

// Why the command line cannot go on; the message is its one line on stderr.
struct Exit {
  int status;
  std::string message;  // empty: nothing to say
};

// Declares every option on `app`, writing into `r`.
void DeclareOptions(CLI::App& app, Request& r) {
  app.add_option("files", r.files, "article files, in the order of the previous/next links");
  app.add_option("--dir", r.dir, "take the files of this folder that match --filter");
  app.add_option("--filter", r.filter, "wildcard for --dir (default *.txt)");
  app.add_option("--template", r.templateNumber, "which of the five templates to fill")
      ->check(CLI::Range(1, 5));
  app.add_option("--template-file", r.templateFile, "the selected template's text, from a file");
  app.add_option("--title-source", r.titleSource, "where titles come from")
      ->check(CLI::IsMember({"name", "title", "first-line"}));
  AddSwitch(app, "--strip-first-line", "--keep-first-line", r.stripFirstLine,
            "remove the title line from a first-line article's body");
  AddSwitch(app, "--middle", "--no-middle", r.middle, "cut bodies to the text between the markers");
  app.add_option("--left", r.left, "left marker of the middle content (default <body>)");
  app.add_option("--right", r.right, "right marker of the middle content (default </body>)");
  AddSwitch(app, "--keep-when-empty", "--no-keep-when-empty", r.keepWhenEmpty,
            "keep the whole body when the middle content is empty");
  app.add_option("--ext", r.ext, "give pages this extension (without the dot)");
  AddSwitch(app, "--index", "--no-index", r.index, "write the article list pages index*.htm");
  app.add_option("--page-size", r.pageSize, "articles per list page (default 50)");
  app.add_option("--encoding", r.encoding, "how article files are encoded (default gbk)")
      ->check(CLI::IsMember({"gbk", "utf-8", "utf-16le"}));
  app.add_flag("--replace-title", r.replaceTitle, "rewrite every title with --match/--replace");
  AddSwitch(app, "--regex", "--plain", r.regex,
            "--match is a regular expression / a |-separated list of texts");
  app.add_option("--match", r.match, "the title pattern or find list (default (.+)[_-].*)");
  app.add_option("--replace", r.replace, "the replacement text or list (default $1)");
  app.add_option("--seed", r.seedText,
                 "seed for the random article links (0 to 2^64-1): equal seeds, equal sites");
  app.add_option("--settings", r.settingsFile,
                 "start from a settings file (the window's 程序配置.ini); options override it");
  app.add_flag("--show-settings", r.showSettings,
               "print the effective settings as key=value lines and exit");
  app.add_option("--save-settings", r.saveSettings,
                 "write the effective settings to a settings file and exit");
  app.add_flag("-q,--quiet", r.quiet, "no progress line");
  app.add_flag("--open", r.open, "open the output folder in the file manager when done");
  app.add_flag("--copy-path", r.copyPath, "copy the output folder's path to the clipboard");
}

// The request, or why there is none (help printed: status 0).
std::optional<Exit> Parse(int argc, const char* const* argv, Request& r, std::ostream& out) {
  CLI::App app{"Generates one web page per article from a page template.", "lanzhou-gen"};
  DeclareOptions(app, r);
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    out << app.help();
    return Exit{0, {}};
  } catch (const CLI::ParseError& e) {
    return Exit{2, std::string(e.what()) + " (see --help)"};
  }
  if (r.dir && !r.files.empty()) return Exit{2, "give article files or --dir, not both"};
  const bool settingsOnly = r.showSettings || r.saveSettings.has_value();
  if (!r.dir && r.files.empty() && !settingsOnly) {
    return Exit{2, "no articles: give FILE... or --dir DIR (see --help)"};
  }
  if (r.open && r.copyPath) return Exit{2, "--open and --copy-path exclude each other"};
  if (r.seedText) {
    // Digits only: a minus sign or a number past 2^64-1 must not wrap round to some other seed.
    const std::string& t = *r.seedText;
    std::uint64_t seed = 0;
    const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), seed);
    if (t.empty() || t[0] < '0' || t[0] > '9' || ec != std::errc() || end != t.data() + t.size()) {
      return Exit{2, "--seed takes a whole number from 0 to 18446744073709551615, not " + t};
    }
    r.seed = seed;
  }
  return std::nullopt;
}

// A file given on the command line that is not there, or is no regular file, is a typo to
// report before anything is written: the run would otherwise make an output folder beside it.
std::optional<Exit> CheckFiles(const std::vector<std::string>& files) {
  for (const auto& f : files) {
    std::error_code ec;
    const auto status = std::filesystem::status(f, ec);
    if (!std::filesystem::exists(status)) return Exit{2, "no such file: " + f};
    if (!std::filesystem::is_regular_file(status)) return Exit{2, "not a regular file: " + f};
  }
  return std::nullopt;
}

// The settings file named by --settings, then the options over it.
std::optional<Exit> LoadAndApply(const Request& r, program::Program& program,
                                 SettingsValues& values) {
  if (r.settingsFile) {
    switch (settings::LoadSettingsFile(program.files(), *r.settingsFile, values)) {
      case settings::SettingsFileLoad::Loaded:
        break;
      case settings::SettingsFileLoad::Missing:
        return Exit{2, "no settings file " + *r.settingsFile};
      case settings::SettingsFileLoad::Unreadable:
        return Exit{2, "cannot read the settings file " + *r.settingsFile};
    }
  }
  try {
    Apply(r, values, program.codec(), program.files());
  } catch (const UsageError& e) {
    return Exit{2, e.what()};
  }
  return std::nullopt;
}

// --show-settings and --save-settings: the settings are the whole job.
Exit SettingsOnly(const Request& r, program::Program& program, const SettingsValues& values,
                  std::ostream& out) {
  if (r.showSettings) {
    out << program.codec().GbkToUtf8(settings::SettingsLines(values)) << std::flush;
    return {0, {}};
  }
  if (!settings::SaveSettingsFile(program.files(), *r.saveSettings, values)) {
    return {1, "could not write the settings file " + *r.saveSettings + ": " +
                   program.codec().GbkToUtf8(program.files().LastError())};
  }
  return {0, {}};
}

// The run's articles, from the files given or the folder listed.
std::variant<generation::ArticlePaths, Exit> Articles(const Request& r, program::Program& program,
                                                      const SettingsValues& values) {
  if (!r.dir) {
    if (auto e = CheckFiles(r.files)) return *e;
    return program.ArticlePathsOf(r.files);
  }
  const auto listed = program.ListFolder(*r.dir, values.directoryFilter);
  if (!listed) return Exit{2, "cannot read the folder " + *r.dir};
  if (listed->empty()) {
    return Exit{0, "no file in " + *r.dir + " matches " +
                       program.codec().GbkToUtf8(values.directoryFilter)};
  }
  return program.ArticlePathsOf(*listed);
}

// The exit status of a run: 130 when Ctrl-C stopped it, 1 when anything was not read or
// written (each file named on stderr with its reason), or a pattern was rejected; else 0.
int ExitStatus(const generation::RunResult& result, const platform::Codec& codec,
               std::ostream& err) {
  for (const auto& f : result.failures) {
    err << "lanzhou-gen: " << f.path << ": " << codec.GbkToUtf8(f.reason) << '\n';
  }
  if (result.writeFailures > 0) {
    err << "lanzhou-gen: " << result.writeFailures
        << " file(s) or folder(s) could not be written\n";
  }
  if (result.readFailures > 0) {
    err << "lanzhou-gen: " << result.readFailures << " article(s) could not be read\n";
  }
  if (result.replacedPages > 0) {
    err << "lanzhou-gen: " << result.replacedPages
        << " page(s) replaced a page of the same name written earlier in this run\n";
  }
  if (result.rejectedPattern) {
    err << "lanzhou-gen: warning: the title pattern " << codec.GbkToUtf8(*result.rejectedPattern)
        << " is not a valid regular expression; titles were left as they were\n";
  }
  if (result.stopped) {
    err << "lanzhou-gen: stopped after " << result.articles << " article(s)\n";
    return 130;
  }
  return result.failures.empty() && !result.rejectedPattern ? 0 : 1;
}

}  // namespace

int RunCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
  const auto finish = [&err](const Exit& e) {
    if (!e.message.empty()) err << "lanzhou-gen: " << e.message << '\n';
    return e.status;
  };
  Request r;
  if (auto e = Parse(argc, argv, r, out)) return finish(*e);

  std::string startError;
  const auto program = program::Program::Start(startError);
  if (!program) return finish({1, startError});
  settings::PlainSettings settings;
  if (auto e = LoadAndApply(r, *program, settings.values)) return finish(*e);
  if (r.showSettings || r.saveSettings) return finish(SettingsOnly(r, *program, settings.values, out));

  auto articles = Articles(r, *program, settings.values);
  if (auto* e = std::get_if<Exit>(&articles)) return finish(*e);
  const auto& paths = std::get<generation::ArticlePaths>(articles);

  ConsoleRunHost::Options hostOptions;
  hostOptions.progress = !r.quiet && ::isatty(STDERR_FILENO) == 1 && &err == &std::cerr;
  hostOptions.answer = r.open       ? generation::Answer::Yes
                       : r.copyPath ? generation::Answer::No
                                    : generation::Answer::Cancel;
  ConsoleRunHost host(program->codec(), out, err, hostOptions);
  if (settings.values.replaceTitle && settings.values.useRegex &&
      !program->titleRewriting().EngineAvailable()) {
    err << "lanzhou-gen: warning: no regular-expression engine; titles are left as they are\n";
  }
  const generation::RunResult result = program->Run(paths, settings, host, r.seed);
  return ExitStatus(result, program->codec(), err);
}

}  // namespace lanzhou::cli
