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
                         std::string_view templateText, std::size_t articleCount, int pageSize)
    : files_(files),
      folder_(std::move(folderNative)),
      listTitle_(text::TextBetween(templateText, "<title>", "</title>")),
      articleCount_(articleCount),
      pageSize_(pageSize < 1 ? 1 : pageSize) {}

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
  page_ = files_.CreateOutputFile(folder_ + PageFileName(pageNumber_));
  pageOk_ = page_ != nullptr;
  if (!page_) {
    ++failures_;
    return;
  }
  std::string name(text::kIndexListTitle);
  if (pageNumber_ > 1) name += "(" + std::to_string(pageNumber_) + ")";
  std::string header(kHeaderStart);
  header += text::ReplaceAll(listTitle_, text::kPhCurrentTitle, name);
  header += kHeaderEnd;
  Write(header);
}

void IndexWriter::AddEntry(std::string_view title, std::string_view pageName, std::size_t i) {
  ++entryCount_;
  std::string line = "<a href=''";
  line += pageName;
  line += "''>";
  line += title;
  line += "</a><br>";
  Write(text::ConvertQuotes(line));
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
  if (pageOk_ && !closed) ++failures_;
  page_.reset();
}

void IndexWriter::Write(std::string_view bytes) {
  if (!page_) return;  // a page that could not be created drops what it would have held
  if (!page_->Write(bytes) && pageOk_) {
    pageOk_ = false;
    ++failures_;
  }
}

}  // namespace lanzhou::generation
