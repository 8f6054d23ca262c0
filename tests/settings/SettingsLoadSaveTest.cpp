#include "settings/SettingsLoadSave.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include "MemoryFileSystem.h"
#include "TestText.h"
#include "generation/GenerationSettings.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsTable.h"
#include "settings/ValuesSettingsWindow.h"
#include "text/Gbk.h"
#include "text/GbkLiterals.h"

namespace lanzhou::settings {
namespace {

using generation::SettingsValues;

const std::string kPath = "/app/settings.ini";

// Every field but the markers, each different from its default.
SettingsValues Edited() {
  SettingsValues v;
  std::string longTemplate;
  for (int i = 0; i < 2000; ++i) {
    longTemplate += Gbk("<p>第") + std::to_string(i) + Gbk("段 乕乚|\\ #本篇标题#</p>\r\n");
  }
  v.templateTexts = {longTemplate, Gbk("\r\n开头是换行"), "  blanks kept  ", "\"quoted\"",
                     Gbk("模板五")};
  v.selectedTemplate = 3;
  v.titleSource = 2;
  v.stripFirstLine = false;
  v.takeMiddleContent = false;
  v.keepBodyWhenEmpty = false;
  v.useExtension = true;
  v.extension = "html";
  v.makeIndex = true;
  v.pageSizeText = "30abc";
  v.directoryFilter = "*.htm";
  v.fileEncoding = 1;
  v.replaceTitle = true;
  v.useRegex = false;
  v.matchPattern = "";
  v.replacementText = Gbk("标题|题目");
  return v;
}

void ExpectSameSaved(const SettingsValues& a, const SettingsValues& b) {
  for (int i = 0; i < generation::kTemplateCount; ++i) {
    EXPECT_EQ(a.templateTexts[i], b.templateTexts[i]) << "template " << i + 1;
  }
  EXPECT_EQ(a.selectedTemplate, b.selectedTemplate);
  EXPECT_EQ(a.titleSource, b.titleSource);
  EXPECT_EQ(a.stripFirstLine, b.stripFirstLine);
  EXPECT_EQ(a.takeMiddleContent, b.takeMiddleContent);
  EXPECT_EQ(a.keepBodyWhenEmpty, b.keepBodyWhenEmpty);
  EXPECT_EQ(a.useExtension, b.useExtension);
  EXPECT_EQ(a.extension, b.extension);
  EXPECT_EQ(a.makeIndex, b.makeIndex);
  EXPECT_EQ(a.pageSizeText, b.pageSizeText);
  EXPECT_EQ(a.directoryFilter, b.directoryFilter);
  EXPECT_EQ(a.fileEncoding, b.fileEncoding);
  EXPECT_EQ(a.replaceTitle, b.replaceTitle);
  EXPECT_EQ(a.useRegex, b.useRegex);
  EXPECT_EQ(a.matchPattern, b.matchPattern);
  EXPECT_EQ(a.replacementText, b.replacementText);
}

// Records what loading did, and the values at the moment the enablement rules ran.
class RecordingWindow : public ValuesSettingsWindow {
 public:
  explicit RecordingWindow(SettingsValues& v) : ValuesSettingsWindow(v), values_(v) {}
  void SetCaption(std::string_view c) override { caption = std::string(c); }
  void ApplyEnablementRules() override {
    ++rulesApplied;
    atRules = values_;
  }
  std::string caption;
  int rulesApplied = 0;
  SettingsValues atRules;

 private:
  SettingsValues& values_;
};

class SettingsLoadSaveTest : public ::testing::Test {
 protected:
  SettingsLoadSaveTest() { store.SetFile(kPath); }
  std::string& File() { return files.files[kPath]; }

  MemoryFileSystem files;
  ConfigStore store{files};
};

TEST_F(SettingsLoadSaveTest, FirstSaveWritesTheSectionAndTheDefaultsInTableOrder) {
  SettingsValues defaults;
  ValuesSettingsWindow window(defaults);
  ASSERT_TRUE(SaveSettings(store, window));
  std::string template1 = Utf8(generation::DefaultTemplate1());
  for (std::size_t at; (at = template1.find("\r\n")) != std::string::npos;) {
    template1.replace(at, 2, "┊*┊");
  }
  EXPECT_EQ(Utf8(File()),
            "[基本配置]\r\n"
            "模板1=" + template1 + "\r\n"
            "模板2=<title>#本篇标题#</title>┊*┊<body>┊*┊#导入的文件内容#┊*┊</body>\r\n"
            "模板3=\r\n"
            "模板4=\r\n"
            "模板5=\r\n"
            "模板序号=0\r\n"
            "标题来源=1\r\n"
            "去掉首行=真\r\n"
            "截取中间内容=真\r\n"
            "截取为空时返回原内容=真\r\n"
            "生成文件的扩展名：=假\r\n"
            "扩展名=htm\r\n"
            "生成文章系统首页：=假\r\n"
            "分页=50\r\n"
            "目录过滤=*.txt\r\n"
            "文件编码=0\r\n"
            "替换标题=假\r\n"
            "使用正则=真\r\n"
            "匹配式=(.+)[_-].*\r\n"
            "替换式=$1\r\n");
  EXPECT_EQ(files.replacements, 1);  // one atomic replacement for the 20 keys
}

TEST_F(SettingsLoadSaveTest, EverySavedSettingComesBackAfterARestart) {
  SettingsValues saved = Edited();
  saved.middleLeftMarker = "<div>";  // the markers are not saved
  ValuesSettingsWindow window(saved);
  ASSERT_TRUE(SaveSettings(store, window));
  EXPECT_EQ(text::Find(File(), "<div>"), text::npos);

  SettingsValues loaded;
  RecordingWindow fresh(loaded);
  EXPECT_TRUE(LoadSettings(store, fresh));
  ExpectSameSaved(loaded, Edited());
  EXPECT_EQ(loaded.middleLeftMarker, "<body>");

  // The rules run once, last, on the loaded values; the caption is the one at rest.
  EXPECT_EQ(fresh.rulesApplied, 1);
  ExpectSameSaved(fresh.atRules, Edited());
  EXPECT_EQ(fresh.caption, text::kRestCaption);

  // Saving what was loaded leaves the file byte for byte, and so needs no write.
  const std::string before = File();
  ASSERT_TRUE(SaveSettings(store, fresh));
  EXPECT_EQ(File(), before);
  EXPECT_EQ(files.replacements, 1);
}

TEST_F(SettingsLoadSaveTest, MissingKeysLeaveTheControlsAsTheyAre) {
  File() = Gbk("[基本配置]\r\n扩展名=php\r\n");
  SettingsValues values = Edited();
  values.templateTexts[2] = "  blanks";  // a default's trailing spaces are not kept
  ValuesSettingsWindow window(values);
  EXPECT_TRUE(LoadSettings(store, window));
  SettingsValues expected = Edited();
  expected.templateTexts[2] = "  blanks";
  expected.extension = "php";
  ExpectSameSaved(values, expected);
}

TEST_F(SettingsLoadSaveTest, HandEditedValuesLoadAsTheRulesSay) {
  struct Case {
    const char* line;  // UTF-8
    bool useRegex;
    int selectedTemplate;
  };
  const Case cases[] = {
      {"使用正则=真\r\n模板序号=2", true, 2},
      {"使用正则=假\r\n模板序号=2.9", false, 2},
      {"使用正则=是\r\n模板序号=x", false, 0},        // not a number reads as 0
      {"使用正则=true\r\n模板序号=7", false, 0},      // no such tab: the tab stays where it was
      {"使用正则=\r\n模板序号=-1", false, 0},
      {"使用正则= 真 \r\n模板序号=２", true, 2},
  };
  for (const auto& c : cases) {
    File() = Gbk(std::string("[基本配置]\r\n") + c.line + "\r\n");
    SettingsValues values;
    ValuesSettingsWindow window(values);
    LoadSettings(store, window);
    EXPECT_EQ(values.useRegex, c.useRegex) << c.line;
    EXPECT_EQ(values.selectedTemplate, c.selectedTemplate) << c.line;
  }
}

TEST_F(SettingsLoadSaveTest, SavingKeepsEverythingElseInTheFile) {
  const std::string head = Gbk("; 手写的注释\r\n[其他]\r\n键=值\r\n\r\n[基本配置]\r\n旧键=1\r\n");
  const std::string tail = Gbk(";尾注\r\n[末节]\r\nx = 1 \r\n");
  File() = head + Gbk("模板序号=4\r\n") + tail;
  SettingsValues values;
  ValuesSettingsWindow window(values);
  ASSERT_TRUE(SaveSettings(store, window));
  const std::string file = File();
  EXPECT_EQ(file.substr(0, head.size()), head);
  EXPECT_EQ(file.substr(file.size() - tail.size()), tail);
  EXPECT_EQ(text::Count(file, Gbk("模板序号=")), 1u);
  EXPECT_NE(text::Find(file, Gbk("模板序号=0\r\n")), text::npos);
  // The new keys go after the section's last key, so every row is in the section it belongs to.
  SettingsValues reloaded = Edited();
  ValuesSettingsWindow again(reloaded);
  LoadSettings(store, again);
  ExpectSameSaved(reloaded, SettingsValues{});
}

TEST_F(SettingsLoadSaveTest, LoneLineBreaksCannotPutLinesIntoTheFile) {
  SettingsValues values;
  values.templateTexts[2] = Gbk("a\n[其他]\n模板序号=4\rb");
  ValuesSettingsWindow window(values);
  ASSERT_TRUE(SaveSettings(store, window));
  SettingsValues loaded;
  ValuesSettingsWindow fresh(loaded);
  LoadSettings(store, fresh);
  EXPECT_EQ(loaded.templateTexts[2], Gbk("a\r\n[其他]\r\n模板序号=4\r\nb"));
  EXPECT_EQ(loaded.selectedTemplate, 0);
  EXPECT_EQ(loaded.templateTexts[3], "");
}

TEST_F(SettingsLoadSaveTest, AFailedSaveReportsItAndLeavesTheOldFileWhole) {
  File() = Gbk("[基本配置]\r\n模板序号=4\r\n");
  const std::string before = File();
  SettingsValues values;
  ValuesSettingsWindow window(values);

  files.failWrites = true;
  EXPECT_FALSE(SaveSettings(store, window));
  EXPECT_EQ(File(), before);

  files.failWrites = false;
  files.unreadable.insert(kPath);
  EXPECT_FALSE(SaveSettings(store, window));
  EXPECT_FALSE(LoadSettings(store, window));
  EXPECT_EQ(File(), before);
}

TEST_F(SettingsLoadSaveTest, SettingsFileFunctionsMatchTheWindowLoadAndSave) {
  const SettingsValues edited = Edited();
  ASSERT_TRUE(SaveSettingsFile(files, kPath, edited));

  // The lines shown are the section's body as saved, with LF line ends.
  std::string body = File().substr(File().find("\r\n") + 2);
  std::string lfBody;
  for (std::size_t i = 0; i < body.size(); ++i) {
    if (body.compare(i, 2, "\r\n") == 0) ++i;
    lfBody.push_back(body[i]);
  }
  EXPECT_EQ(SettingsLines(edited), lfBody);

  SettingsValues loaded;
  EXPECT_EQ(LoadSettingsFile(files, kPath, loaded), SettingsFileLoad::Loaded);
  ExpectSameSaved(loaded, edited);

  SettingsValues untouched = edited;
  EXPECT_EQ(LoadSettingsFile(files, "/nowhere.ini", untouched), SettingsFileLoad::Missing);
  ExpectSameSaved(untouched, edited);
  files.unreadable.insert(kPath);
  EXPECT_EQ(LoadSettingsFile(files, kPath, untouched), SettingsFileLoad::Unreadable);
  EXPECT_FALSE(SaveSettingsFile(files, kPath, edited));
}

TEST(SettingsFile, SavesOnRealFilesWithoutLeavingATemporaryBehind) {
  char folder[] = "/tmp/lanzhou-settings-XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  const std::string path = std::string(folder) + "/程序配置.ini";  // file names are UTF-8 here
  platform::LocalFileSystem files;
  ASSERT_TRUE(files.WriteWholeFile(path, Gbk("[其他]\r\nk=v")));
  const SettingsValues edited = Edited();
  ASSERT_TRUE(SaveSettingsFile(files, path, edited));
  SettingsValues loaded;
  EXPECT_EQ(LoadSettingsFile(files, path, loaded), SettingsFileLoad::Loaded);
  ExpectSameSaved(loaded, edited);
  const auto entries = files.ListFolder(folder);
  ASSERT_TRUE(entries.has_value());
  EXPECT_EQ(entries->size(), 1u);
  const std::string head = Gbk("[其他]\r\nk=v\r\n[基本配置]\r\n");
  EXPECT_EQ(files.ReadWholeFile(path)->substr(0, head.size()), head);
  ::unlink(path.c_str());
  ::rmdir(folder);
}

TEST(SettingsLines, ShowTheDefaultsAsTheFileHoldsThem) {
  const std::string lines = Utf8(SettingsLines(SettingsValues{}));
  EXPECT_EQ(lines.substr(lines.find("模板3=")),
            "模板3=\n模板4=\n模板5=\n模板序号=0\n标题来源=1\n去掉首行=真\n截取中间内容=真\n"
            "截取为空时返回原内容=真\n生成文件的扩展名：=假\n扩展名=htm\n生成文章系统首页：=假\n"
            "分页=50\n目录过滤=*.txt\n文件编码=0\n替换标题=假\n使用正则=真\n"
            "匹配式=(.+)[_-].*\n替换式=$1\n");
}

}  // namespace
}  // namespace lanzhou::settings
