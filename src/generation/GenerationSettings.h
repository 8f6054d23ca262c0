// The options of a generation run, as a live, read-only view.
//
// Each read returns the current state of the control (or value) behind it, at the moment of the
// call: the run reads every option at fixed moments and never keeps a copy, so a change made
// during a run takes effect at the next read. settings::ControlSettings implements it once, over
// controls: the window's, or plain values (settings::PlainSettings) for the command line.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace lanzhou::generation {

enum class TitleSource : int { FileName = 0, HtmlTitle = 1, FirstLine = 2 };
enum class FileEncoding : int { AnsiGbk = 0, Utf8 = 1, Unicode = 2 };

inline constexpr int kTemplateCount = 5;

class GenerationSettings {
 public:
  virtual ~GenerationSettings() = default;

  virtual std::array<std::string, kTemplateCount> templateTexts() const = 0;
  virtual int selectedTemplate() const = 0;  // 0-4
  // The index of the selected item; any value, so an item-less list reads as -1.
  virtual int titleSource() const = 0;
  virtual bool stripFirstLine() const = 0;
  virtual bool takeMiddleContent() const = 0;
  virtual std::string middleLeftMarker() const = 0;
  virtual std::string middleRightMarker() const = 0;
  virtual bool keepBodyWhenEmpty() const = 0;
  virtual bool useExtension() const = 0;
  virtual std::string extension() const = 0;
  virtual bool makeIndex() const = 0;
  // The page-size box's text as typed; pageSize() reads the number out of it.
  virtual std::string pageSizeText() const = 0;
  virtual std::string directoryFilter() const = 0;
  virtual int fileEncoding() const = 0;
  virtual bool replaceTitle() const = 0;
  virtual bool useRegex() const = 0;
  virtual std::string matchPattern() const = 0;
  virtual std::string replacementText() const = 0;

  int pageSize() const;
};

// The page size in a text: the integer it begins with (blanks skipped, a sign taken, full-width
// digits, signs and blanks read as ASCII), 50 when that is below 1.
//   PageSizeFromText("30abc") -> 30, PageSizeFromText("-5") -> 50
int PageSizeFromText(std::string_view gbk);

// Reads a full-width ASCII form (A3 A1-A3 FE) or the full-width blank (A1 A1) as its ASCII
// character; other text is copied. Shared by every number read from typed text.
std::string FullWidthToAscii(std::string_view gbk);

// The default text of template 1 and template 2 (code page 936).
std::string DefaultTemplate1();
std::string DefaultTemplate2();

// Every option as a plain value, starting at the window's initial state.
struct SettingsValues {
  std::array<std::string, kTemplateCount> templateTexts{DefaultTemplate1(), DefaultTemplate2()};
  int selectedTemplate = 0;
  int titleSource = static_cast<int>(TitleSource::HtmlTitle);
  bool stripFirstLine = true;
  bool takeMiddleContent = true;
  std::string middleLeftMarker = "<body>";
  std::string middleRightMarker = "</body>";
  bool keepBodyWhenEmpty = true;
  bool useExtension = false;
  std::string extension = "htm";
  bool makeIndex = false;
  std::string pageSizeText = "50";
  std::string directoryFilter = "*.txt";
  int fileEncoding = static_cast<int>(FileEncoding::AnsiGbk);
  bool replaceTitle = false;
  bool useRegex = true;
  std::string matchPattern = "(.+)[_-].*";
  std::string replacementText = "$1";
};


}  // namespace lanzhou::generation
