// DecodeArticleText in the three encodings: the result is valid code page 936 without NUL for
// the two that are converted, the bytes themselves for GBK, and converting in blocks of any size
// gives the bytes of converting the whole text at once.
#include <fuzzer/FuzzedDataProvider.h>

#include "FuzzSupport.h"
#include "generation/ArticleLoader.h"
#include "generation/GenerationSettings.h"

using namespace lanzhou;
using generation::FileEncoding;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const std::size_t block = in.ConsumeIntegralInRange<std::size_t>(4, 64);
  const std::string bytes = in.ConsumeRemainingBytesAsString();
  const auto& codec = fuzz::TheCodec();

  const std::string gbk = generation::DecodeArticleText(bytes, static_cast<int>(FileEncoding::AnsiGbk), codec);
  FUZZ_CHECK(gbk == bytes.substr(0, bytes.find('\0')));
  FUZZ_CHECK(generation::DecodeArticleText(std::string(bytes), static_cast<int>(FileEncoding::AnsiGbk), codec) == gbk);

  for (const auto encoding : {FileEncoding::Utf8, FileEncoding::Unicode}) {
    const std::string text = generation::DecodeArticleText(bytes, static_cast<int>(encoding), codec);
    FUZZ_CHECK(text.find('\0') == std::string::npos);
    FUZZ_CHECK(fuzz::IsValidGbk(text));
    FUZZ_CHECK(generation::DecodeArticleText(std::string(bytes), static_cast<int>(encoding), codec) == text);
  }

  const std::string whole8 = codec.Utf8ToGbk(bytes, std::size_t{1} << 30);
  FUZZ_CHECK(codec.Utf8ToGbk(bytes, block) == whole8);
  FUZZ_CHECK(codec.Utf16ToGbk(codec.Utf8ToUtf16(bytes)) == whole8);
  const std::string whole16 = codec.Utf16ToGbk(platform::Codec::Utf16LeToUnits(bytes));
  FUZZ_CHECK(codec.Utf16LeToGbk(bytes, block) == whole16);
  FUZZ_CHECK(codec.Utf16LeToGbk(bytes) == whole16);
  return 0;
}
