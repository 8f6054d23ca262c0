// The users' regex dialect: translating and compiling any pattern is safe, the matches are
// well formed, and the replacement's expansion keeps what it must ("$&" gives the match back, a
// replacement without "$" is inserted as it is).
#include <fuzzer/FuzzedDataProvider.h>

#include "FuzzSupport.h"
#include "platform/RegexEngine.h"
#include "platform/RegexTranslator.h"
#include "titles/RegexReplace.h"

using namespace lanzhou;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const bool ignoreCase = in.ConsumeBool();
  const bool multiline = in.ConsumeBool();
  const bool global = in.ConsumeBool();
  const auto& codec = fuzz::TheCodec();
  const std::u16string pattern = codec.Utf8ToUtf16(in.ConsumeRandomLengthString(40));
  const std::u16string replacement = codec.Utf8ToUtf16(in.ConsumeRandomLengthString(16));
  const std::u16string subject = codec.Utf8ToUtf16(in.ConsumeRemainingBytesAsString());

  static const auto engine = platform::CreateRegexEngine();
  const bool translated = platform::TranslatePattern(pattern, multiline).has_value();
  const bool compiled = engine->Compile(pattern, ignoreCase, multiline);
  FUZZ_CHECK(!compiled || translated);
  if (!compiled) {
    FUZZ_CHECK(engine->Execute(subject, global).empty());
    return 0;
  }
  const auto matches = engine->Execute(subject, global);
  FUZZ_CHECK(global || matches.size() <= 1);
  std::size_t previousEnd = 0;
  for (const auto& m : matches) {
    FUZZ_CHECK(m.size() == engine->GroupCount() + 1);
    FUZZ_CHECK(m[0].Matched() && m[0].start <= m[0].end && m[0].end <= subject.size());
    FUZZ_CHECK(m[0].start >= previousEnd);
    previousEnd = m[0].end;
    for (const auto& g : m) {
      FUZZ_CHECK(!g.Matched() || (g.start <= g.end && g.end <= subject.size()));
    }
  }
  FUZZ_CHECK(titles::ReplaceMatches(subject, matches, u"$&") == subject);
  if (replacement.find(u'$') == std::u16string::npos) {
    std::u16string expected;
    std::size_t done = 0;
    for (const auto& m : matches) {
      expected.append(subject, done, m[0].start - done);
      expected += replacement;
      done = m[0].end;
    }
    expected.append(subject, done);
    FUZZ_CHECK(titles::ReplaceMatches(subject, matches, replacement) == expected);
  }
  for (const auto& m : matches) titles::ExpandReplacement(replacement, subject, m);
  return 0;
}
