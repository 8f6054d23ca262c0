// Synthetic article folders for the benchmarks: Chinese prose in GBK, UTF-8 or UTF-16LE, each
// article a whole HTML page with a <title> and a <body>, sizes spread like a real site's.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "generation/GenerationSettings.h"
#include "platform/Codec.h"

namespace lanzhou::bench {

struct CorpusOptions {
  std::size_t articles = 1000;
  std::size_t meanBodyChars = 3000;  // characters, not bytes
  generation::FileEncoding encoding = generation::FileEncoding::AnsiGbk;
  std::uint64_t seed = 1;
};

// Writes the articles into `folder` (created if missing) and returns their paths in name order.
std::vector<std::string> WriteCorpus(const std::string& folder, const CorpusOptions& options,
                                     const platform::Codec& codec);

}  // namespace lanzhou::bench
