// lanzhou-corpus FOLDER [COUNT] [gbk|utf-8|utf-16le]: writes a synthetic article folder.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/Corpus.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: lanzhou-corpus FOLDER [COUNT] [gbk|utf-8|utf-16le]\n");
    return 2;
  }
  lanzhou::bench::CorpusOptions o;
  if (argc > 2) o.articles = std::strtoul(argv[2], nullptr, 10);
  if (argc > 3) {
    const std::string e = argv[3];
    o.encoding = e == "utf-8"      ? lanzhou::generation::FileEncoding::Utf8
                 : e == "utf-16le" ? lanzhou::generation::FileEncoding::Unicode
                                   : lanzhou::generation::FileEncoding::AnsiGbk;
  }
  lanzhou::platform::Codec codec;
  const auto paths = lanzhou::bench::WriteCorpus(argv[1], o, codec);
  std::printf("%zu articles in %s\n", paths.size(), argv[1]);
  return paths.size() == o.articles ? 0 : 1;
}
