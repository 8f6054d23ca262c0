// Title rewrites of a corpus of real-looking titles, held against the dialect users type.
//
// title-corpus.json holds one row per rewrite: pattern, replacement, title and the expected
// title ("want"), or "rejected" for a pattern the dialect refuses (the title then stays as it
// was). The expectations come from node (String.prototype.replace, flags "gim"), except on the
// rows that carry "node" and "why": there the documented dialect differs from ECMAScript, the
// row is held to the dialect, and "node" records what node gives. A second test re-derives the
// whole column from node whenever node is installed, so the corpus cannot drift from it.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "generation/GenerationSettings.h"
#include "platform/Codec.h"
#include "titles/RegexObject.h"
#include "titles/TitleRewriting.h"
#include "settings/PlainSettings.h"

namespace lanzhou::titles {
namespace {

// Just enough JSON for the corpus and node's answer: strings, null, booleans, arrays and
// objects; strings come out as UTF-8.
struct Json {
  enum class Kind { Null, Bool, String, Array, Object } kind = Kind::Null;
  bool boolean = false;
  std::string text;
  std::vector<Json> items;
  std::vector<std::pair<std::string, Json>> members;

  const Json* Find(std::string_view key) const {
    for (const auto& [k, v] : members)
      if (k == key) return &v;
    return nullptr;
  }
};

class JsonReader {
 public:
  explicit JsonReader(std::string_view s) : s_(s) {}

  std::optional<Json> Document() {
    auto v = Value();
    Blank();
    if (!v || i_ != s_.size()) return std::nullopt;
    return v;
  }

 private:
  void Blank() {
    while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\n' || s_[i_] == '\r' || s_[i_] == '\t'))
      ++i_;
  }
  bool Eat(char c) {
    Blank();
    if (i_ < s_.size() && s_[i_] == c) return ++i_, true;
    return false;
  }
  bool Word(std::string_view w) {
    if (s_.substr(i_, w.size()) != w) return false;
    i_ += w.size();
    return true;
  }
  static void AppendUtf8(std::string& out, unsigned cp) {
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (cp >> 18));
      out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  std::optional<unsigned> Hex4() {
    if (i_ + 4 > s_.size()) return std::nullopt;
    unsigned v = 0;
    for (int k = 0; k < 4; ++k) {
      const char c = s_[i_++];
      v *= 16;
      if (c >= '0' && c <= '9') v += static_cast<unsigned>(c - '0');
      else if (c >= 'a' && c <= 'f') v += static_cast<unsigned>(c - 'a' + 10);
      else if (c >= 'A' && c <= 'F') v += static_cast<unsigned>(c - 'A' + 10);
      else return std::nullopt;
    }
    return v;
  }
  std::optional<std::string> String() {
    if (!Eat('"')) return std::nullopt;
    std::string out;
    while (i_ < s_.size() && s_[i_] != '"') {
      const char c = s_[i_++];
      if (c != '\\') {
        out += c;
        continue;
      }
      if (i_ >= s_.size()) return std::nullopt;
      switch (s_[i_++]) {
        case '"': out += '"'; break;
        case '\\': out += '\\'; break;
        case '/': out += '/'; break;
        case 'b': out += '\b'; break;
        case 'f': out += '\f'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'u': {
          auto cp = Hex4();
          if (!cp) return std::nullopt;
          if (*cp >= 0xD800 && *cp <= 0xDBFF && Word("\\u")) {
            const auto low = Hex4();
            if (!low) return std::nullopt;
            *cp = 0x10000 + ((*cp - 0xD800) << 10) + (*low - 0xDC00);
          }
          AppendUtf8(out, *cp);
          break;
        }
        default: return std::nullopt;
      }
    }
    if (i_ >= s_.size()) return std::nullopt;
    ++i_;
    return out;
  }
  std::optional<Json> Value() {
    Blank();
    Json v;
    if (i_ >= s_.size()) return std::nullopt;
    if (s_[i_] == '"') {
      auto str = String();
      if (!str) return std::nullopt;
      v.kind = Json::Kind::String;
      v.text = std::move(*str);
    } else if (Word("null")) {
      v.kind = Json::Kind::Null;
    } else if (Word("true") || Word("false")) {
      v.kind = Json::Kind::Bool;
      v.boolean = s_[i_ - 1] == 'e' && s_[i_ - 2] == 'u';
    } else if (Eat('[')) {
      v.kind = Json::Kind::Array;
      if (Eat(']')) return v;
      do {
        auto item = Value();
        if (!item) return std::nullopt;
        v.items.push_back(std::move(*item));
      } while (Eat(','));
      if (!Eat(']')) return std::nullopt;
    } else if (Eat('{')) {
      v.kind = Json::Kind::Object;
      if (Eat('}')) return v;
      do {
        auto key = String();
        if (!key || !Eat(':')) return std::nullopt;
        auto item = Value();
        if (!item) return std::nullopt;
        v.members.emplace_back(std::move(*key), std::move(*item));
      } while (Eat(','));
      if (!Eat('}')) return std::nullopt;
    } else {
      return std::nullopt;
    }
    return v;
  }

  std::string_view s_;
  std::size_t i_ = 0;
};

struct CorpusRow {
  std::string pattern, replacement, title;
  std::optional<std::string> want;  // none: the dialect rejects the pattern
  bool differsFromNode = false;
  std::optional<std::string> node;  // node's result on a marked row (none: node rejects it)
  std::string why;
};

const char* CorpusPath() { return LANZHOU_SOURCE_DIR "/tests/titles/title-corpus.json"; }

std::vector<CorpusRow> LoadCorpus() {
  std::ifstream in(CorpusPath(), std::ios::binary);
  std::stringstream buf;
  buf << in.rdbuf();
  const auto doc = JsonReader(buf.str()).Document();
  std::vector<CorpusRow> rows;
  if (!doc || doc->kind != Json::Kind::Array) return rows;
  for (const Json& r : doc->items) {
    CorpusRow row;
    auto text = [&](std::string_view key) {
      const Json* v = r.Find(key);
      return v && v->kind == Json::Kind::String ? std::optional<std::string>(v->text) : std::nullopt;
    };
    row.pattern = text("pattern").value_or("");
    row.replacement = text("replacement").value_or("");
    row.title = text("title").value_or("");
    const Json* rejected = r.Find("rejected");
    if (!(rejected && rejected->boolean)) row.want = text("want").value_or("<missing want>");
    if (r.Find("node") != nullptr) {
      row.differsFromNode = true;
      row.node = text("node");
      row.why = text("why").value_or("");
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

TEST(TitleCorpus, EveryRowIsRewrittenAsTheDialectDoes) {
  const auto rows = LoadCorpus();
  ASSERT_GE(rows.size(), 50u) << CorpusPath();
  platform::Codec codec;
  RegexObject regex(codec);
  TitleRewriting rewriting(regex);
  settings::PlainSettings settings;
  settings.values.replaceTitle = true;
  settings.values.useRegex = true;

  int passed = 0;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const CorpusRow& row = rows[i];
    SCOPED_TRACE("row " + std::to_string(i) + ": /" + row.pattern + "/ -> \"" + row.replacement +
                 "\"");
    settings.values.matchPattern = codec.Utf8ToGbk(row.pattern);
    settings.values.replacementText = codec.Utf8ToGbk(row.replacement);
    rewriting.StartRun(settings);
    const std::string got = codec.GbkToUtf8(rewriting.RewriteTitle(codec.Utf8ToGbk(row.title),
                                                                   settings));
    if (row.want) {
      EXPECT_EQ(got, *row.want);
      EXPECT_FALSE(rewriting.RejectedPattern().has_value());
      passed += got == *row.want && !rewriting.RejectedPattern();
    } else {
      EXPECT_EQ(got, row.title) << "a rejected pattern leaves the title alone";
      EXPECT_EQ(rewriting.RejectedPattern(), settings.values.matchPattern);
      passed += got == row.title && rewriting.RejectedPattern() == settings.values.matchPattern;
    }
  }
  RecordProperty("score", std::to_string(passed) + "/" + std::to_string(rows.size()));
}

TEST(TitleCorpus, ExpectationsAgreeWithNodeOutsideTheMarkedRows) {
  if (std::system("command -v node >/dev/null 2>&1") != 0) GTEST_SKIP() << "node is not installed";
  const auto rows = LoadCorpus();
  ASSERT_FALSE(rows.empty());
  const std::string command = std::string("node '") + LANZHOU_SOURCE_DIR +
                              "/tests/titles/node-oracle.js' '" + CorpusPath() + "'";
  std::string output;
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  char buf[4096];
  for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, pipe)) > 0;) output.append(buf, n);
  ASSERT_EQ(pclose(pipe), 0) << output;
  const auto answer = JsonReader(output).Document();
  ASSERT_TRUE(answer && answer->kind == Json::Kind::Array) << output;
  ASSERT_EQ(answer->items.size(), rows.size());

  for (std::size_t i = 0; i < rows.size(); ++i) {
    const CorpusRow& row = rows[i];
    SCOPED_TRACE("row " + std::to_string(i) + ": /" + row.pattern + "/");
    const Json& n = answer->items[i];
    const std::optional<std::string> node =
        n.kind == Json::Kind::String ? std::optional<std::string>(n.text) : std::nullopt;
    if (row.differsFromNode) {
      EXPECT_FALSE(row.why.empty()) << "a marked row says why the dialect differs";
      EXPECT_EQ(node, row.node);
      EXPECT_NE(row.node, row.want) << "a marked row that agrees with node needs no mark";
    } else {
      EXPECT_EQ(node, row.want);
    }
  }
}

}  // namespace
}  // namespace lanzhou::titles
