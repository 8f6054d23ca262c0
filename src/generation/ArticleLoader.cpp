#include "generation/ArticleLoader.h"

#include "text/Gbk.h"
#include "text/TextOps.h"

namespace lanzhou::generation {
namespace {

constexpr std::size_t kFirstLineTitleChars = 200;

bool StartsWith(std::string_view s, std::string_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

// The UTF-16LE bytes before the first NUL unit (an odd last byte is ignored anyway).
std::string_view UpToNulUnit(std::string_view bytes) {
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    if (bytes[i] == '\0' && bytes[i + 1] == '\0') return bytes.substr(0, i);
  }
  return bytes;
}

}  // namespace

std::string DecodeArticleText(std::string_view bytes, int encoding, const platform::Codec& codec) {
  switch (static_cast<FileEncoding>(encoding)) {
    case FileEncoding::Utf8:
      // A mark that says what the user already chose is not content: without this every page
      // of a UTF-8 site would begin with "?".
      if (StartsWith(bytes, "\xEF\xBB\xBF")) bytes.remove_prefix(3);
      // Only a 00 byte decodes to U+0000, so cutting the bytes there cuts the text there.
      return codec.Utf8ToGbk(bytes.substr(0, bytes.find('\0')));
    case FileEncoding::Unicode:
      if (StartsWith(bytes, "\xFF\xFE")) bytes.remove_prefix(2);
      return codec.Utf16LeToGbk(UpToNulUnit(bytes));
    case FileEncoding::AnsiGbk:
    default:
      return std::string(bytes.substr(0, bytes.find('\0')));
  }
}

std::string DecodeArticleText(std::string&& bytes, int encoding, const platform::Codec& codec) {
  if (encoding == static_cast<int>(FileEncoding::Utf8) ||
      encoding == static_cast<int>(FileEncoding::Unicode)) {
    return DecodeArticleText(std::string_view(bytes), encoding, codec);
  }
  std::string text = std::move(bytes);
  if (const auto nul = text.find('\0'); nul != std::string::npos) text.resize(nul);
  return text;
}

std::string_view FileNameOf(std::string_view path) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < path.size(); i += text::CharLength(path, i)) {
    if (path[i] == '/') start = i + 1;
  }
  return path.substr(start);
}

std::string_view FileTitleOf(std::string_view path) {
  const std::string_view name = FileNameOf(path);
  for (std::size_t i = 0; i < name.size(); i += text::CharLength(name, i)) {
    if (name[i] == '.') return name.substr(0, i);
  }
  return name;
}

FirstLineResult FirstLineTitle(std::string& body, bool removeLine, RunHost* host) {
  FirstLineResult result;
  std::string_view line;
  std::size_t pos = 0;
  bool ended = false;
  while (!ended && pos < body.size()) {
    // One line: up to LF (consumed), one CR before it dropped; 0x1A ends line and search.
    std::size_t i = pos;
    std::size_t lineEnd = body.size();
    std::size_t next = body.size();
    while (i < body.size()) {
      const char c = body[i];
      if (c == '\n') {
        lineEnd = i;
        next = i + 1;
        break;
      }
      if (c == '\x1A') {
        lineEnd = i;
        ended = true;
        break;
      }
      i += text::CharLength(body, i);
    }
    if (i >= body.size()) lineEnd = next = body.size();
    line = std::string_view(body).substr(pos, lineEnd - pos);
    if (!ended && lineEnd < body.size() && body[lineEnd] == '\n' && !line.empty() &&
        line.back() == '\r') {
      line.remove_suffix(1);
    }
    pos = next;
    ++result.lines;
    if (host != nullptr) host->ProcessEvents();
    if (!line.empty()) break;
  }
  result.title = std::string(text::LeftChars(line, kFirstLineTitleChars));
  if (removeLine) {
    // A line may end in LF alone here; whichever of the two line ends follows the title first
    // is the title line. Byte for byte, case counts.
    const std::string crlf = result.title + "\r\n";
    const std::string lf = result.title + "\n";
    const std::size_t atCrLf = text::Find(body, crlf);
    const std::size_t atLf = text::Find(body, lf);
    const bool useLf = atLf < atCrLf;  // npos is the largest
    const std::size_t at = useLf ? atLf : atCrLf;
    if (at != text::npos) {
      body.erase(at, useLf ? lf.size() : crlf.size());
      result.bodyChanged = true;
    }
  }
  return result;
}

std::string SourceTitle(const ArticlePath& path, std::string& text, int titleSource,
                        const std::function<bool()>& removeLine, RunHost* host,
                        std::size_t* lines) {
  switch (titleSource) {
    case static_cast<int>(TitleSource::FileName):
      return std::string(FileTitleOf(path.text));
    case static_cast<int>(TitleSource::HtmlTitle): {
      std::string title = text::TextBetween(text, "<title>", "</title>");
      return title.empty() ? std::string(FileTitleOf(path.text)) : title;
    }
    default: {  // FirstLine, and a list without a selection
      FirstLineResult first = FirstLineTitle(text, removeLine(), host);
      if (lines != nullptr) *lines = first.lines;
      return std::move(first.title);
    }
  }
}

ArticleInfo LoadArticle(const ArticlePath& path, const GenerationSettings& settings,
                        LoaderContext& ctx, LoadNotes* notes) {
  std::optional<std::string> bytes = ctx.platform.files.ReadWholeFile(path.native);
  if (!bytes) {
    ++ctx.unreadable;
    ctx.lastReadError = ctx.platform.files.LastError();
    bytes.emplace();
  }
  ArticleInfo info;
  info.body = DecodeArticleText(std::move(*bytes), settings.fileEncoding(), ctx.platform.codec);
  bytes.reset();

  std::size_t lines = 0;
  info.title = SourceTitle(path, info.body, settings.titleSource(),
                           [&settings] { return settings.stripFirstLine(); }, ctx.host, &lines);
  if (notes != nullptr) notes->lineEvents = lines;
  if (notes != nullptr) notes->sourceTitle = info.title;
  NameAndRewrite(path, info, settings, ctx);
  return info;
}

void NameAndRewrite(const ArticlePath& path, ArticleInfo& info, const GenerationSettings& settings,
                    LoaderContext& ctx) {
  info.pageName = std::string(FileNameOf(path.text));
  if (settings.useExtension()) {
    info.pageName = std::string(FileTitleOf(info.pageName)) + "." + settings.extension();
  }

  if (settings.replaceTitle() && ctx.titles != nullptr) {
    info.title = ctx.titles->RewriteTitle(info.title, settings);
  }
}

}  // namespace lanzhou::generation
