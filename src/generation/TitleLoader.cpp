#include "generation/TitleLoader.h"

#include <algorithm>

#include "text/Gbk.h"
#include "text/TextOps.h"

namespace lanzhou::generation {
namespace {

// Most titles sit in the first few hundred bytes; a file without one is read on in growing
// pieces, so that its whole read costs little more than one read would.
constexpr std::size_t kFirstRead = 4096;
constexpr std::size_t kLargestRead = 1 << 20;
constexpr std::size_t kFirstLook = 256;

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16Mark = "\xFF\xFE";

// The last position from 1 on whose unit is ASCII, or 0. An ASCII character is whole on its own
// and composes with nothing before it, so the text before it is final whatever follows.
template <typename Units>
std::size_t LastAsciiCut(const Units& units) {
  for (std::size_t c = units.size(); c-- > 1;) {
    if (static_cast<std::uint32_t>(static_cast<std::make_unsigned_t<typename Units::value_type>>(
            units[c])) < 0x80) {
      return c;
    }
  }
  return 0;
}

bool FirstLineWithin(std::string_view t) {
  // The same walk as FirstLineTitle's, stopping where the known text ends before a line does.
  std::size_t pos = 0;
  while (pos < t.size()) {
    std::size_t i = pos;
    while (i < t.size() && t[i] != '\n') {
      if (t[i] == '\x1A') return true;
      i += text::CharLength(t, i);
    }
    if (i >= t.size()) return false;
    std::string_view line = t.substr(pos, i - pos);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!line.empty()) return true;
    pos = i + 1;
  }
  return false;
}

TextStart ReadTextStart(const ArticlePath& path, int encoding, int titleSource,
                        LoaderContext& ctx) {
  auto file = ctx.platform.files.OpenInputFile(path.native);
  if (file == nullptr) {
    ++ctx.unreadable;
    ctx.lastReadError = ctx.platform.files.LastError();
    return {{}, true};  // read as an empty file, as a whole load reads it
  }
  std::string bytes;
  for (std::size_t piece = kFirstRead;; piece = std::min(piece * 4, kLargestRead)) {
    const auto got = file->ReadMore(bytes, piece);
    if (!got) {
      ++ctx.unreadable;
      ctx.lastReadError = "read error";
      return {{}, true};
    }
    // Decoded a little at a time: the title usually sits in the first few hundred bytes, and
    // decoding all of a UTF-16LE piece would cost more than reading it.
    for (std::size_t look = std::min(kFirstLook, bytes.size());;
         look = std::min(look * 4, bytes.size())) {
      const bool all = look == bytes.size();
      TextStart start = DecodeTextStart(std::string_view(bytes).substr(0, look), all && *got == 0,
                                        encoding, ctx.platform.codec);
      if (start.whole || TitleIsWithin(start.text, titleSource)) return start;
      if (all) break;
    }
  }
}

}  // namespace

TextStart DecodeTextStart(std::string_view bytes, bool complete, int encoding,
                          const platform::Codec& codec) {
  switch (static_cast<FileEncoding>(encoding)) {
    case FileEncoding::Utf8: {
      if (complete || bytes.find('\0') != std::string_view::npos) {
        return {DecodeArticleText(bytes, encoding, codec), true};
      }
      if (bytes.size() < kUtf8Mark.size() && kUtf8Mark.starts_with(bytes)) return {};
      if (bytes.starts_with(kUtf8Mark)) bytes.remove_prefix(kUtf8Mark.size());
      return {codec.Utf8ToGbk(bytes.substr(0, LastAsciiCut(bytes))), false};
    }
    case FileEncoding::Unicode: {
      if (complete) return {DecodeArticleText(bytes, encoding, codec), true};
      if (bytes.size() < kUtf16Mark.size()) return {};
      if (bytes.starts_with(kUtf16Mark)) bytes.remove_prefix(kUtf16Mark.size());
      std::u16string units = platform::Codec::Utf16LeToUnits(bytes);
      if (const auto nul = units.find(u'\0'); nul != std::u16string::npos) {
        units.resize(nul);
        return {codec.Utf16ToGbk(units), true};
      }
      units.resize(LastAsciiCut(units));
      return {codec.Utf16ToGbk(units), false};
    }
    case FileEncoding::AnsiGbk:
    default: {
      const auto nul = bytes.find('\0');
      if (nul != std::string_view::npos) return {std::string(bytes.substr(0, nul)), true};
      return {std::string(bytes), complete};
    }
  }
}

bool TitleIsWithin(std::string_view textStart, int titleSource) {
  switch (titleSource) {
    case static_cast<int>(TitleSource::FileName):
      return true;
    case static_cast<int>(TitleSource::HtmlTitle): {
      const std::size_t left = text::Find(textStart, "<title>", 0, text::Case::FoldAscii);
      return left != text::npos &&
             text::Find(textStart, "</title>", left + 7, text::Case::FoldAscii) != text::npos;
    }
    default:
      return FirstLineWithin(textStart);
  }
}

LoadNotes LoadSourceTitle(const ArticlePath& path, const GenerationSettings& settings,
                          LoaderContext& ctx) {
  LoadNotes notes;
  const int encoding = settings.fileEncoding();
  const int source = settings.titleSource();
  std::string text;  // a title from the file name reads nothing of the file
  if (source != static_cast<int>(TitleSource::FileName)) {
    text = ReadTextStart(path, encoding, source, ctx).text;
  }
  notes.sourceTitle = SourceTitle(path, text, source, [] { return false; }, ctx.host,
                                  &notes.lineEvents);
  return notes;
}

}  // namespace lanzhou::generation
