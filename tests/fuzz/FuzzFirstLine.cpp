// FirstLineTitle and LeftChars: the title is the first non-empty line cut to whole characters,
// and the only change to the body is the removal of that title and the line end after it.
#include <fuzzer/FuzzedDataProvider.h>

#include "FuzzSupport.h"
#include "generation/ArticleLoader.h"
#include "text/Gbk.h"

using namespace lanzhou;

namespace {

// Whether `prefix` ends on a character boundary of `s` (reading from the start).
bool EndsOnBoundary(std::string_view s, std::size_t prefix) {
  std::size_t i = 0;
  while (i < prefix) i += text::CharLength(s, i);
  return i == prefix;
}

std::size_t Characters(std::string_view s) {
  std::size_t n = 0;
  for (std::size_t i = 0; i < s.size(); i += text::CharLength(s, i)) ++n;
  return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const bool remove = in.ConsumeBool();
  const std::size_t count = in.ConsumeIntegralInRange<std::size_t>(0, 300);
  const std::string body = in.ConsumeRemainingBytesAsString();

  const std::string_view left = text::LeftChars(body, count);
  FUZZ_CHECK(body.starts_with(left));
  FUZZ_CHECK(EndsOnBoundary(body, left.size()));
  FUZZ_CHECK(Characters(left) == std::min(count, Characters(body)));

  std::string after = body;
  const auto r = generation::FirstLineTitle(after, remove);
  FUZZ_CHECK(Characters(r.title) <= 200);
  // Neither LF nor 0x1A stands as a character of the title; as the trail byte of a two-byte
  // character either is part of that character, not a line end.
  for (std::size_t i = 0; i < r.title.size(); i += text::CharLength(r.title, i)) {
    FUZZ_CHECK(r.title[i] != '\n' && r.title[i] != '\x1A');
  }
  FUZZ_CHECK(r.bodyChanged == (after != body));
  if (!remove) {
    FUZZ_CHECK(after == body);
  } else if (r.bodyChanged) {
    // The body lost exactly the title and one line end, at the first place either stands.
    const std::size_t lost = body.size() - after.size();
    FUZZ_CHECK(lost == r.title.size() + 1 || lost == r.title.size() + 2);
    const bool crlf = lost == r.title.size() + 2;
    const std::string needle = r.title + (crlf ? "\r\n" : "\n");
    const std::size_t at = fuzz::ReferenceFind(body, needle, 0, false);
    FUZZ_CHECK(at != text::npos);
    FUZZ_CHECK(after == body.substr(0, at) + body.substr(at + needle.size()));
    const std::size_t otherAt = fuzz::ReferenceFind(body, r.title + (crlf ? "\n" : "\r\n"), 0, false);
    FUZZ_CHECK(otherAt == text::npos || otherAt > at);
  }
  return 0;
}
