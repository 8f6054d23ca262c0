// lanzhou-peak-memory [--quick] [--keep FOLDER]: the peak memory of lanzhou-gen runs, as the
// kernel counts it for the child (wait4's ru_maxrss), on
//   - 10,000 and 100,000 GBK articles of about 4 KB (default template 1, index on);
//   - one 1 GiB article, in GBK and in UTF-8, with default template 1 (five random links,
//     which load the article again while its page is being made) and with a template without
//     random links.
// Prints a Markdown table. --quick uses 1,000 / 10,000 articles and 64 MiB for a fast check.
// The corpora live in a temporary folder that is removed at the end (unless --keep).
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/Corpus.h"
#include "platform/Codec.h"

namespace {

namespace fs = std::filesystem;
using lanzhou::platform::Codec;

struct Measure {
  int status = -1;
  long peakKiB = 0;
  double seconds = 0;
};

// Runs lanzhou-gen with `args` and reports its exit status, peak resident memory and time.
Measure RunGen(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  std::string program = LANZHOU_GEN_PATH;
  argv.push_back(program.data());
  std::vector<std::string> copies = args;
  for (auto& a : copies) argv.push_back(a.data());
  argv.push_back(nullptr);
  timespec start{}, end{};
  clock_gettime(CLOCK_MONOTONIC, &start);
  std::fflush(stdout);  // or the child would print what is still buffered here
  const pid_t pid = fork();
  if (pid == 0) {
    std::freopen("/dev/null", "w", stdout);
    execv(argv[0], argv.data());
    _exit(127);
  }
  Measure m;
  int status = 0;
  rusage usage{};
  if (pid > 0 && wait4(pid, &status, 0, &usage) == pid) {
    clock_gettime(CLOCK_MONOTONIC, &end);
    m.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    m.peakKiB = usage.ru_maxrss;
    m.seconds = static_cast<double>(end.tv_sec - start.tv_sec) +
                static_cast<double>(end.tv_nsec - start.tv_nsec) / 1e9;
  }
  return m;
}

// One article of `bytes` bytes: a whole HTML page of Chinese prose in lines, in GBK or UTF-8.
std::string WriteBigArticle(const std::string& folder, std::size_t bytes, bool utf8,
                            const Codec& codec) {
  fs::create_directories(folder);
  const std::string path = folder + (utf8 ? "/big-utf8.htm" : "/big-gbk.htm");
  const std::string line =
      "江上行舟，岚舟夜泊，灯火数点，渔歌一曲。山中听雨，竹林小径，茶馆一日，旧书摊前。\r\n";
  auto enc = [&](const std::string& s) { return utf8 ? s : codec.Utf8ToGbk(s); };
  const std::string head = enc("<html><head><title>一篇很长的文章</title></head><body>\r\n");
  const std::string tail = enc("</body></html>\r\n");
  std::string block;
  const std::string encodedLine = enc(line);
  while (block.size() < (1u << 20)) block += encodedLine;
  std::ofstream out(path, std::ios::binary);
  out << head;
  std::size_t written = head.size();
  while (written + block.size() + tail.size() <= bytes) {
    out << block;
    written += block.size();
  }
  out << tail;
  return path;
}

std::string MiB(long kib) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.0f MiB", static_cast<double>(kib) / 1024.0);
  return buf;
}

}  // namespace

int main(int argc, char** argv) {
  bool quick = false;
  std::string keep;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--quick") quick = true;
    if (a == "--keep" && i + 1 < argc) keep = argv[++i];
  }
  const std::string root =
      keep.empty() ? (fs::temp_directory_path() / ("lanzhou-peak-" + std::to_string(getpid()))).string()
                   : keep;
  fs::create_directories(root);
  Codec codec;
  const std::size_t counts[] = {quick ? 1000u : 10000u, quick ? 10000u : 100000u};
  const std::size_t bigBytes = quick ? (std::size_t{64} << 20) : (std::size_t{1} << 30);
  const std::string noRandom = root + "/no-random.htm";
  std::ofstream(noRandom, std::ios::binary)
      << codec.Utf8ToGbk("<title>#本篇标题#</title><a href=\"#上一篇链接#\">#上一篇标题#</a>"
                         "<div>#导入的文件内容#</div>");

  std::printf("| run | input | peak memory | exit | time |\n|---|---|---|---|---|\n");
  for (const std::size_t n : counts) {
    const std::string folder = root + "/corpus-" + std::to_string(n);
    if (!fs::exists(folder)) {
      lanzhou::bench::CorpusOptions o;
      o.articles = n;
      o.meanBodyChars = 2000;  // about 4 KB of GBK
      lanzhou::bench::WriteCorpus(folder, o, codec);
    }
    fs::remove_all(folder + "/" + codec.GbkToUtf8(codec.Utf8ToGbk("模板生成目录")));
    const Measure m = RunGen({"-q", "--seed", "1", "--dir", folder, "--filter", "*.htm", "--index"});
    std::printf("| %zu GBK articles, template 1, index | %zu files | %s | %d | %.1f s |\n", n, n,
                MiB(m.peakKiB).c_str(), m.status, m.seconds);
    std::fflush(stdout);
  }
  for (const bool utf8 : {false, true}) {
    const std::string folder = root + (utf8 ? "/big-utf8" : "/big-gbk");
    const std::string article = WriteBigArticle(folder, bigBytes, utf8, codec);
    const std::string size = MiB(static_cast<long>(fs::file_size(article) / 1024));
    const std::vector<std::string> encoding = {"--encoding", utf8 ? "utf-8" : "gbk"};
    for (const bool random : {true, false}) {
      std::vector<std::string> args = {"-q", "--seed", "1", article};
      args.insert(args.end(), encoding.begin(), encoding.end());
      if (!random) args.insert(args.end(), {"--template-file", noRandom});
      const Measure m = RunGen(args);
      std::printf("| one %s article, %s | %s | %s | %d | %.1f s |\n", utf8 ? "UTF-8" : "GBK",
                  random ? "template 1 (5 random links)" : "no random links", size.c_str(),
                  MiB(m.peakKiB).c_str(), m.status, m.seconds);
      std::fflush(stdout);
    }
    fs::remove_all(folder);
  }
  if (keep.empty()) fs::remove_all(root);
  return 0;
}
