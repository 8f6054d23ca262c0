#include "bench/Corpus.h"

#include <sys/stat.h>

#include <cstdio>
#include <random>

#include "platform/FileSystem.h"

namespace lanzhou::bench {
namespace {

// A small vocabulary of common characters; the text reads as noise but has the byte mix of
// real Chinese prose (two-byte characters, ASCII punctuation and digits, line breaks).
const char* const kWords[] = {"春天", "江水", "小船", "山上", "茶叶", "读书", "我们", "一个",
                              "时候", "这里", "风景", "城市", "朋友", "文章", "故事", "月亮",
                              "今天", "明天", "河流", "老人", "孩子", "学校", "花开", "雨后"};
const char* const kPunct[] = {"，", "。", "、", "：", "！", "2026", "ABC", " "};

std::string Utf8Body(std::mt19937_64& rng, std::size_t chars, bool paragraphs = true) {
  std::string s;
  std::uniform_int_distribution<std::size_t> word(0, std::size(kWords) - 1);
  std::uniform_int_distribution<std::size_t> punct(0, std::size(kPunct) - 1);
  std::size_t n = 0;
  while (n < chars) {
    s += kWords[word(rng)];
    n += 2;
    if (rng() % 5 == 0) {
      s += kPunct[punct(rng)];
      ++n;
    }
    if (paragraphs && rng() % 60 == 0) s += "\r\n<p>";
  }
  return s;
}

}  // namespace

std::vector<std::string> WriteCorpus(const std::string& folder, const CorpusOptions& options,
                                     const platform::Codec& codec) {
  ::mkdir(folder.c_str(), 0755);
  platform::LocalFileSystem files;
  std::mt19937_64 rng(options.seed);
  std::exponential_distribution<double> size(1.0 / static_cast<double>(options.meanBodyChars));
  std::vector<std::string> paths;
  for (std::size_t i = 1; i <= options.articles; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "/%06zu.htm", i);
    const std::string title = "第" + std::to_string(i) + "篇" + Utf8Body(rng, 6, false) + "_岚舟文集";
    const auto chars = static_cast<std::size_t>(size(rng)) + 50;
    const std::string page = "<html><head><title>" + title + "</title></head>\r\n<body>\r\n" +
                             Utf8Body(rng, chars) + "\r\n</body></html>\r\n";
    std::string bytes;
    switch (options.encoding) {
      case generation::FileEncoding::Utf8:
        bytes = page;
        break;
      case generation::FileEncoding::Unicode: {
        const std::u16string units = codec.Utf8ToUtf16(page);
        bytes.reserve(units.size() * 2);
        for (char16_t u : units) {
          bytes.push_back(static_cast<char>(u & 0xFF));
          bytes.push_back(static_cast<char>(u >> 8));
        }
        break;
      }
      default:
        bytes = codec.Utf8ToGbk(page);
    }
    const std::string path = folder + name;
    if (files.WriteWholeFile(path, bytes)) paths.push_back(path);
  }
  return paths;
}

}  // namespace lanzhou::bench
