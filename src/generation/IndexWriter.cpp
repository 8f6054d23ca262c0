#include "generation/IndexWriter.h"

#include "text/Gbk.h"
#include "text/GbkLiterals.h"
#include "text/TextOps.h"

namespace lanzhou::generation {
namespace {

constexpr std::string_view kHeaderStart =
    "<html>\r\n<head>\r\n<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\" "
    "/>\r\n<title>";
constexpr std::string_view kHeaderEnd = "</title>\r\n</head>\r\n<body>";
constexpr std::string_view kFooter = "</body></html>";

}  // namespace

IndexWriter::IndexWriter(platform::FileSystem& files, std::string folderNative,
                         std::string_view templateText, std::size_t articleCount, int pageSize,
                         FailureLog& log, PageGuard* guard)
    : files_(files),
      folder_(std::move(folderNative)),
      listTitle_(text::TextBetween(templateText, "<title>", "</title>")),
      articleCount_(articleCount),
      pageSize_(pageSize < 1 ? 1 : pageSize),
      log_(log),
      guard_(guard) {}

std::string IndexWriter::PageFileName(int p) {
  return p == 1 ? std::string("index.htm") : "index_" + std::to_string(p) + ".htm";
}

void IndexWriter::BuildPager() {
  double q = static_cast<double>(articleCount_) / pageSize_;
  if (static_cast<double>(static_cast<long long>(q)) - q < -1e-7) q += 1;
  const auto pages = static_cast<long long>(q);
  std::string links;
  for (long long p = 1; p <= pages; ++p) {
    const std::string target = p == 1 ? "." : PageFileName(static_cast<int>(p));
    links += "<a href=''" + target + "''>" + std::to_string(p) + "</a> ";
  }
  pager_ = "<hr><div>" + text::ConvertQuotes(links) + "</div>";
}

void IndexWriter::StartPage() {
  const std::string path = PagePath();
  pageOk_ = false;
  const auto verdict = guard_ != nullptr ? guard_->Check(path) : PageGuard::Verdict::Write;
  if (verdict == PageGuard::Verdict::IsArticle) {
    log_.ArticlePage(path, std::string(text::kReasonIsArticle));
    return;
  }
  if (verdict == PageGuard::Verdict::Replaces) log_.Replaced(path, std::string(text::kReasonReplaced));
  page_ = files_.CreateOutputFile(path);
  if (!page_) {
    log_.Unwritten(path, files_.LastError());
    return;
  }
  pageOk_ = true;
  std::string name(text::kIndexListTitle);
  if (pageNumber_ > 1) name += "(" + std::to_string(pageNumber_) + ")";
  std::string header(kHeaderStart);
  header += text::ReplaceAll(listTitle_, text::kPhCurrentTitle, name);
  header += kHeaderEnd;
  Write(header);
}

void IndexWriter::AddEntry(std::string_view title, std::string_view pageName, std::size_t i) {
  ++entryCount_;
  // The name goes in as a link target, outside the quote conversion: a "''" in a file name is
  // part of the name, and turned into a double quote it would end the attribute.
  std::string line = "<a href=\"";
  line += text::LinkTarget(pageName);
  line += "\">";
  line += text::ConvertQuotes(title);
  line += "</a><br>";
  Write(line);
  if (entryCount_ >= pageSize_) {
    FinishPage();
    entryCount_ = 0;
    if (i < articleCount_) {
      ++pageNumber_;
      StartPage();
    }
  }
}

void IndexWriter::FinishPage() {
  if (!page_) return;
  Write(pager_);
  Write(kFooter);
  ClosePage();
}

void IndexWriter::ClosePage() {
  if (!page_) return;
  const bool closed = page_->Close();
  if (pageOk_ && !closed) log_.Unwritten(PagePath(), page_->Error());
  page_.reset();
}

void IndexWriter::Write(std::string_view bytes) {
  if (!page_) return;  // a page that could not be created drops what it would have held
  if (!page_->Write(bytes) && pageOk_) {
    pageOk_ = false;
    log_.Unwritten(PagePath(), page_->Error());
  }
}

}  // namespace lanzhou::generation
