// A window over a real program whose settings file lies in a temporary folder, with the
// desktop scripted.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <memory>

#include "ScriptedDesktop.h"
#include "TempDir.h"
#include "program/Program.h"
#include "ui/MainWindow.h"

namespace lanzhou::testing {

class WindowFixture : public ::testing::Test {
 protected:
  void SetUp() override { StartProgram(dir_.path() + "/settings.ini"); }

 public:

  void StartProgram(const std::string& settingsFile) {
    window_.reset();
    std::string error;
    program_ = program::Program::Start(error, settingsFile);
    ASSERT_TRUE(program_) << error;
  }
  ui::MainWindow& OpenWindow() {
    window_ = std::make_unique<ui::MainWindow>(ui::WindowContext{*program_, desktop_});
    window_->show();
    return *window_;
  }
  template <typename T>
  T* Find(const char* name) {
    T* w = window_->findChild<T*>(QString::fromUtf8(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  QPlainTextEdit* Template(int n) {
    return Find<QPlainTextEdit>(("编辑框模板" + std::to_string(n)).c_str());
  }


 protected:
  TempDir dir_;
  ScriptedDesktop desktop_;
  std::unique_ptr<program::Program> program_;
  std::unique_ptr<ui::MainWindow> window_;
};

}  // namespace lanzhou::testing
