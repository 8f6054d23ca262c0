#include "platform/RegexEngine.h"

#include <cstdint>
#include <string>

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

#include "platform/RegexTranslator.h"

namespace lanzhou::platform {
namespace {

// Work limits of one search. A pattern that backtracks without end on a long title must not
// hang the run: reaching a limit counts as "no further match".
constexpr std::uint32_t kMatchLimit = 10'000'000;
constexpr std::uint32_t kHeapLimitKiB = 64 * 1024;
constexpr std::size_t kJitStackStart = 32 * 1024;
constexpr std::size_t kJitStackMax = 4 * 1024 * 1024;

bool HasLoneSurrogate(std::u16string_view s) {
  for (std::size_t i = 0; i < s.size(); ++i) {
    const char16_t c = s[i];
    if (c >= 0xD800 && c <= 0xDBFF) {
      if (i + 1 >= s.size() || s[i + 1] < 0xDC00 || s[i + 1] > 0xDFFF) return true;
      ++i;
    } else if (c >= 0xDC00 && c <= 0xDFFF) {
      return true;
    }
  }
  return false;
}

struct CodeFree {
  void operator()(pcre2_code* p) const { pcre2_code_free(p); }
};
struct DataFree {
  void operator()(pcre2_match_data* p) const { pcre2_match_data_free(p); }
};
struct CompileContextFree {
  void operator()(pcre2_compile_context* p) const { pcre2_compile_context_free(p); }
};
struct MatchContextFree {
  void operator()(pcre2_match_context* p) const { pcre2_match_context_free(p); }
};
struct JitStackFree {
  void operator()(pcre2_jit_stack* p) const { pcre2_jit_stack_free(p); }
};

class Pcre2Engine final : public RegexEngine {
 public:
  static std::unique_ptr<Pcre2Engine> Create() {
    auto engine = std::unique_ptr<Pcre2Engine>(new Pcre2Engine);
    engine->compileContext_.reset(pcre2_compile_context_create(nullptr));
    engine->matchContext_.reset(pcre2_match_context_create(nullptr));
    if (!engine->compileContext_ || !engine->matchContext_) return nullptr;
    // Only the translator's own escapes mention LF and CR; fixing the newline keeps PCRE2's
    // build-time default out of the picture.
    pcre2_set_newline(engine->compileContext_.get(), PCRE2_NEWLINE_LF);
    pcre2_set_match_limit(engine->matchContext_.get(), kMatchLimit);
    pcre2_set_heap_limit(engine->matchContext_.get(), kHeapLimitKiB);
    std::uint32_t jit = 0;
    if (pcre2_config(PCRE2_CONFIG_JIT, &jit) >= 0 && jit != 0) {
      engine->jitStack_.reset(pcre2_jit_stack_create(kJitStackStart, kJitStackMax, nullptr));
      if (engine->jitStack_)
        pcre2_jit_stack_assign(engine->matchContext_.get(), nullptr, engine->jitStack_.get());
    }
    return engine;
  }

  bool Compile(std::u16string_view pattern, bool ignoreCase, bool multiline) override {
    code_.reset();
    data_.reset();
    groups_ = 0;
    const auto translated = TranslatePattern(pattern, multiline);
    if (!translated) return false;

    std::uint32_t options =
        PCRE2_UTF | PCRE2_NEVER_UCP | PCRE2_NEVER_BACKSLASH_C | PCRE2_MATCH_UNSET_BACKREF;
    if (ignoreCase) options |= PCRE2_CASELESS;
    int error = 0;
    PCRE2_SIZE errorOffset = 0;
    std::unique_ptr<pcre2_code, CodeFree> code(
        pcre2_compile(reinterpret_cast<PCRE2_SPTR>(translated->data()), translated->size(),
                      options, &error, &errorOffset, compileContext_.get()));
    if (!code) return false;
    std::unique_ptr<pcre2_match_data, DataFree> data(
        pcre2_match_data_create_from_pattern(code.get(), nullptr));
    if (!data) return false;
    std::uint32_t captures = 0;
    pcre2_pattern_info(code.get(), PCRE2_INFO_CAPTURECOUNT, &captures);
    // Without JIT the interpreter gives the same results, only slower.
    jitted_ = jitStack_ && pcre2_jit_compile(code.get(), PCRE2_JIT_COMPLETE) == 0;

    code_ = std::move(code);
    data_ = std::move(data);
    groups_ = captures;
    return true;
  }

  bool HasPattern() const override { return code_ != nullptr; }
  std::size_t GroupCount() const override { return groups_; }

 protected:
  std::optional<RegexGroups> MatchFrom(std::u16string_view subject, std::size_t offset) override {
    if (!code_) return std::nullopt;
    // PCRE2 refuses a null subject even when it is empty.
    static constexpr char16_t kEmpty[1] = {0};
    const auto* s = reinterpret_cast<PCRE2_SPTR>(subject.empty() ? kEmpty : subject.data());
    // The caller checked the subject once; checking it again at every offset would make a
    // global search over a long title quadratic.
    int rc = pcre2_match(code_.get(), s, subject.size(), offset, PCRE2_NO_UTF_CHECK, data_.get(),
                         matchContext_.get());
    if (rc == PCRE2_ERROR_JIT_STACKLIMIT && jitted_) {
      // The interpreter keeps its backtracking state on the heap and can go further.
      rc = pcre2_match(code_.get(), s, subject.size(), offset, PCRE2_NO_UTF_CHECK | PCRE2_NO_JIT,
                       data_.get(), matchContext_.get());
    }
    if (rc <= 0) return std::nullopt;  // no match, a limit reached, or another failure

    const PCRE2_SIZE* ov = pcre2_get_ovector_pointer(data_.get());
    const std::uint32_t pairs = pcre2_get_ovector_count(data_.get());
    RegexGroups groups(groups_ + 1);
    for (std::size_t g = 0; g < groups.size() && g < pairs; ++g) {
      // Groups above rc did not take part; PCRE2 leaves them unset as well.
      if (g < static_cast<std::size_t>(rc) && ov[2 * g] != PCRE2_UNSET)
        groups[g] = RegexSpan{ov[2 * g], ov[2 * g + 1]};
    }
    return groups;
  }

 private:
  Pcre2Engine() = default;

  std::unique_ptr<pcre2_compile_context, CompileContextFree> compileContext_;
  std::unique_ptr<pcre2_match_context, MatchContextFree> matchContext_;
  std::unique_ptr<pcre2_jit_stack, JitStackFree> jitStack_;
  std::unique_ptr<pcre2_code, CodeFree> code_;
  std::unique_ptr<pcre2_match_data, DataFree> data_;
  std::size_t groups_ = 0;
  bool jitted_ = false;
};

}  // namespace

std::vector<RegexGroups> RegexEngine::Execute(std::u16string_view subject, bool global) {
  std::vector<RegexGroups> found;
  if (!HasPattern() || HasLoneSurrogate(subject)) return found;
  std::size_t pos = 0;
  while (pos <= subject.size()) {
    auto m = MatchFrom(subject, pos);
    if (!m || m->empty() || !(*m)[0].Matched() || (*m)[0].start < pos) break;
    const RegexSpan whole = (*m)[0];
    found.push_back(std::move(*m));
    if (!global) break;
    // After an empty match the next search starts one unit on (Perl would instead retry the
    // same place for a non-empty match, and give other titles).
    pos = whole.end > whole.start ? whole.end : whole.end + 1;
  }
  return found;
}

std::unique_ptr<RegexEngine> CreateRegexEngine() { return Pcre2Engine::Create(); }

}  // namespace lanzhou::platform
