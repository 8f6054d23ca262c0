#include "generation/TitleCache.h"

#include "generation/TitleLoader.h"

namespace lanzhou::generation {

std::uint32_t TitleCache::SourceVersion(const GenerationSettings& s) {
  SourceOptions now{s.fileEncoding(), s.titleSource()};
  if (sourceVersion_ == 0 || !(now == source_)) {
    source_ = now;
    ++sourceVersion_;
  }
  return sourceVersion_;
}

std::uint32_t TitleCache::NameVersion(const GenerationSettings& s) {
  // Only what a load reads: the extension only when it is used, the rewriting options only
  // when titles are rewritten, and the find list only in plain mode (a regex run keeps the
  // pattern it started with).
  NameOptions now;
  now.useExtension = s.useExtension();
  if (now.useExtension) now.extension = s.extension();
  now.replaceTitle = s.replaceTitle();
  if (now.replaceTitle) {
    now.useRegex = s.useRegex();
    now.replacementText = s.replacementText();
    if (!now.useRegex) now.matchPattern = s.matchPattern();
  }
  if (nameVersion_ == 0 || !(now == name_)) {
    name_ = std::move(now);
    ++nameVersion_;
  }
  return nameVersion_;
}

TitleAndLink TitleCache::Get(std::size_t i, const ArticlePath& path,
                             const GenerationSettings& settings, LoaderContext& ctx) {
  Entry& e = entries_[i];
  const std::uint32_t sourceVersion = SourceVersion(settings);
  if (e.sourceVersion == sourceVersion) {
    for (std::uint32_t k = 0; k < e.lineEvents && ctx.host != nullptr; ++k) ctx.host->ProcessEvents();
  } else {
    LoadNotes notes = LoadSourceTitle(path, settings, ctx);
    e.sourceTitle = std::move(notes.sourceTitle);
    e.lineEvents = static_cast<std::uint32_t>(notes.lineEvents);
    e.sourceVersion = sourceVersion;
    e.nameVersion = 0;
  }
  // Read after the events, as a load reads them.
  const std::uint32_t nameVersion = NameVersion(settings);
  if (e.nameVersion != nameVersion) {
    ArticleInfo info;
    info.title = e.sourceTitle;
    NameAndRewrite(path, info, settings, ctx);
    e.rewritten = info.title != e.sourceTitle;
    e.title = e.rewritten ? std::move(info.title) : std::string();
    e.pageName = std::move(info.pageName);
    e.nameVersion = nameVersion;
  }
  return {e.rewritten ? e.title : e.sourceTitle, e.pageName};
}

ArticleInfo TitleCache::LoadWhole(std::size_t i, const ArticlePath& path,
                                  const GenerationSettings& settings, LoaderContext& ctx) {
  const std::uint32_t sourceVersion = SourceVersion(settings);
  LoadNotes notes;
  ArticleInfo info = LoadArticle(path, settings, ctx, &notes);
  Entry& e = entries_[i];
  e.sourceVersion = sourceVersion;
  e.lineEvents = static_cast<std::uint32_t>(notes.lineEvents);
  e.nameVersion = NameVersion(settings);
  e.rewritten = info.title != notes.sourceTitle;
  e.sourceTitle = std::move(notes.sourceTitle);
  e.title = e.rewritten ? info.title : std::string();
  e.pageName = info.pageName;
  return info;
}

}  // namespace lanzhou::generation
