// A RunHost that records what the run shows and answers from a script.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "generation/RunHost.h"

namespace lanzhou::testing {

class ScriptedRunHost final : public generation::RunHost {
 public:
  generation::Answer answer = generation::Answer::Cancel;
  std::vector<std::string> captions;  // progress captions, in order
  std::vector<std::string> reports;
  int restored = 0;
  int events = 0;
  std::vector<std::string> opened, copied;  // native folders
  // Runs after every article's progress caption, with the article's number: tests change
  // options or raise the stop request from here, as a user would between two articles.
  std::function<void(std::size_t)> afterArticle;
  // Runs inside every ProcessEvents, as a window's handlers do while a run pumps its events.
  std::function<void()> duringEvents;
  // Runs when the report is shown, before it is answered: tests look at the folder from here.
  std::function<void()> atReport;
  bool stop = false;

  void ShowProgress(std::size_t i, std::size_t, std::string_view caption) override {
    captions.emplace_back(caption);
    if (afterArticle) afterArticle(i);
  }
  void RestoreCaption() override { ++restored; }
  void ProcessEvents() override {
    ++events;
    if (duringEvents) duringEvents();
  }
  bool StopRequested() override { return stop; }
  generation::Answer AskCompletion(std::string_view report) override {
    reports.emplace_back(report);
    if (atReport) atReport();
    return answer;
  }
  void OpenFolder(std::string_view, const std::string& native) override {
    opened.push_back(native);
  }
  void CopyToClipboard(std::string_view, const std::string& native) override {
    copied.push_back(native);
  }
};

}  // namespace lanzhou::testing
