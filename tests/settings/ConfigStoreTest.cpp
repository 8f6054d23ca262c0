#include "settings/ConfigStore.h"

#include <gtest/gtest.h>

#include "MemoryFileSystem.h"
#include "TestText.h"
#include "platform/ProgramPath.h"

namespace lanzhou::settings {
namespace {

const std::string kPath = "/cfg/a.ini";

struct FakeCheckBox : CheckableControl {
  std::string caption;
  bool checked = false;
  FakeCheckBox(std::string c, bool on) : caption(std::move(c)), checked(on) {}
  std::string Caption() const override { return caption; }
  bool Checked() const override { return checked; }
  void SetChecked(bool on) override { checked = on; }
};

struct FakeText : TextControl {
  std::string text;
  explicit FakeText(std::string t) : text(std::move(t)) {}
  std::string Text() const override { return text; }
  void SetText(std::string_view t) override { text = std::string(t); }
};

struct FakeWindow : WindowGeometry {
  int state = 0, left = 50, top = 50, width = 629, height = 675;
  int moves = 0;
  int PlacementState() const override { return state; }
  void SetPlacementState(int s) override { state = s; }
  int Left() const override { return left; }
  int Top() const override { return top; }
  int Width() const override { return width; }
  int Height() const override { return height; }
  void Move(int l, int t, int w, int h) override {
    left = l, top = t, width = w, height = h;
    ++moves;
  }
};

class ConfigStoreTest : public ::testing::Test {
 protected:
  ConfigStoreTest() {
    store.SetFile(kPath);
    store.SetSection(section);
  }
  std::string& File() { return files.files[kPath]; }
  void SetFileText(std::string_view utf8) { File() = Gbk(utf8); }
  std::string FileText() { return Utf8(File()); }

  MemoryFileSystem files;
  ConfigStore store{files};
  std::string section = Gbk("基本配置");
};

TEST_F(ConfigStoreTest, TextsAreStoredOnOneLineAndReadBackWithTheirLineBreaks) {
  EXPECT_TRUE(store.WriteText(Gbk("模板2"), Gbk("<b>\r\n</b>")));
  EXPECT_TRUE(store.WriteText("empty", ""));
  EXPECT_EQ(FileText(), "[基本配置]\r\n模板2=<b>┊*┊</b>\r\nempty=\r\n");
  EXPECT_EQ(store.ReadText(Gbk("模板2"), "d"), Gbk("<b>\r\n</b>"));
  EXPECT_EQ(store.ReadText("empty", "d"), "");  // an empty value is not a missing one
  EXPECT_EQ(store.ReadText("missing", "a\r\nb"), "a\r\nb");
}

TEST_F(ConfigStoreTest, LongTextsAreReadWhole) {
  std::string text;
  for (int i = 0; i < 3000; ++i) text += Gbk("第") + std::to_string(i) + Gbk("行模板\r\n");
  ASSERT_GT(text.size(), 20000u);
  EXPECT_TRUE(store.WriteText("long", text));
  EXPECT_EQ(store.ReadText("long", ""), text);
}

TEST_F(ConfigStoreTest, NumbersAndBooleansUseTheirStoredForms) {
  EXPECT_TRUE(store.WriteNumber("two", 2));
  EXPECT_TRUE(store.WriteNumber("half", 0.5));
  EXPECT_TRUE(store.WriteBool("yes", true));
  EXPECT_TRUE(store.WriteBool("no", false));
  EXPECT_EQ(FileText(), "[基本配置]\r\ntwo=2\r\nhalf=0.5\r\nyes=真\r\nno=假\r\n");
  EXPECT_EQ(store.ReadNumber("two", 7), 2);
  EXPECT_EQ(store.ReadNumber("missing", 7.25), 7.25);
  EXPECT_TRUE(store.WriteText("typed", "12ab"));
  EXPECT_EQ(store.ReadNumber("typed", 7), 12);
}

TEST_F(ConfigStoreTest, BooleansReadStrictlyOneWayOrTheOther) {
  struct Case {
    const char* stored;  // nullptr: no such key
    bool def, asBool, asNotFalse;
  };
  const Case cases[] = {
      {"真", false, true, true},    {"假", true, false, false}, {"是", true, false, true},
      {"", true, false, true},      {" 真 ", false, true, true}, {nullptr, true, true, true},
      {nullptr, false, false, false},
  };
  for (const auto& c : cases) {
    File() = c.stored ? Gbk(std::string("[基本配置]\r\nk=") + c.stored + "\r\n") : "";
    EXPECT_EQ(store.ReadBool("k", c.def), c.asBool) << (c.stored ? c.stored : "missing");
    EXPECT_EQ(store.ReadBoolNotFalse("k", c.def), c.asNotFalse)
        << (c.stored ? c.stored : "missing");
  }
}

TEST_F(ConfigStoreTest, TimesRoundTripAndBadDatesReadAsTheYear100) {
  const DateTime t{2026, 1, 2, 3, 4, 0};
  EXPECT_TRUE(store.WriteTime("t", t));
  EXPECT_EQ(FileText(), "[基本配置]\r\nt=2026年1月2日3时4分\r\n");
  EXPECT_EQ(store.ReadTime("t", DateTime{}), t);
  EXPECT_EQ(store.ReadTime("missing", t), t);
  EXPECT_TRUE(store.WriteText("bad", "soon"));
  EXPECT_EQ(store.ReadTime("bad", t), (DateTime{100, 1, 1, 0, 0, 0}));
}

TEST_F(ConfigStoreTest, DefaultLosesOnlyTrailingSpaces) {
  EXPECT_EQ(store.ReadText("missing", "  d  "), "  d");
}

TEST_F(ConfigStoreTest, NamesSkipLeadingControlBytesAndAnEmptyNameReadsAsEmptyText) {
  SetFileText("[基本配置]\r\nk=v\r\n");
  EXPECT_EQ(store.ReadText("\t k", "d"), "v");
  EXPECT_EQ(store.ReadText(" \t", "d"), "");
  store.SetFile(" " + kPath);
  EXPECT_EQ(store.ReadText("k", "d"), "v");
  store.SetSection(" \t");
  EXPECT_EQ(store.ReadText("k", "d"), "");
  EXPECT_FALSE(store.WriteText("k", "x"));

  ConfigStore fresh(files);  // nothing set: no file, no section
  EXPECT_EQ(fresh.ReadText("k", "d"), "");
  EXPECT_FALSE(fresh.WriteText("k", "x"));
  EXPECT_EQ(files.files.size(), 1u);
}

TEST_F(ConfigStoreTest, RegistryFlagIsKeptButTheIniFileIsUsed) {
  store.SetFile(kPath, section, true);
  EXPECT_TRUE(store.useRegistry());
  EXPECT_EQ(store.section(), section);
  EXPECT_EQ(store.registryPrefix(), kPath + "\\" + section + "\\");
  EXPECT_TRUE(store.WriteNumber("k", 1));
  EXPECT_EQ(FileText(), "[基本配置]\r\nk=1\r\n");

  const auto copy = store.Copy();
  EXPECT_EQ(copy->filePath(), kPath);
  EXPECT_EQ(copy->registryPrefix(), store.registryPrefix());
  EXPECT_EQ(copy->ReadNumber("k", 0), 1);
}

TEST_F(ConfigStoreTest, CheckableControlsAreSavedUnderTheirCaptions) {
  FakeCheckBox box(Gbk("使用正则"), true);
  EXPECT_TRUE(store.SaveCheckBox(box));
  FakeCheckBox item(Gbk("菜单项"), false);
  EXPECT_TRUE(store.SaveMenuCheck(item));
  FakeCheckBox toggle("toggle", true);
  EXPECT_TRUE(store.SaveToggle(toggle));
  EXPECT_EQ(FileText(), "[基本配置]\r\n使用正则=真\r\n菜单项=假\r\ntoggle=真\r\n");

  box.checked = false;
  item.checked = true;
  toggle.checked = false;
  EXPECT_TRUE(store.LoadCheckBox(box));
  EXPECT_FALSE(store.LoadMenuCheck(item));
  EXPECT_TRUE(store.LoadToggle(toggle));
  EXPECT_TRUE(box.checked);
  EXPECT_FALSE(item.checked);

  FakeCheckBox renamed(Gbk("新标题"), true);  // no key under this caption: state kept
  EXPECT_TRUE(store.LoadCheckBox(renamed));
}

TEST_F(ConfigStoreTest, EditTextUsesTheBarPairMarkerFoundByCharacters) {
  // "乕|" then a line break then "乚": trail bytes that look like "[", "|" and "]".
  const std::string content = "\x81[|\r\n\x81]";
  FakeText edit(content);
  EXPECT_TRUE(store.SaveEditText("e", edit));
  EXPECT_EQ(File(), Gbk("[基本配置]\r\ne=") + "\x81[|[||]\x81]\r\n");
  EXPECT_EQ(store.ReadText("e", ""), "\x81[|[||]\x81]");
  edit.text.clear();
  EXPECT_EQ(store.LoadEditText("e", edit), content);
  EXPECT_EQ(edit.text, content);

  // Here "[||]" starts inside 乕 (81 5B), so it is no marker.
  EXPECT_TRUE(store.WriteText("e2", "\x81[||]x"));
  EXPECT_EQ(store.LoadEditText("e2", edit), "\x81[||]x");
}

TEST_F(ConfigStoreTest, ControlAndComboTextsAreTexts) {
  FakeText control(Gbk("甲\r\n乙"));
  FakeText combo("UTF-8");
  EXPECT_TRUE(store.SaveControlText("c", control));
  EXPECT_TRUE(store.SaveComboText("combo", combo));
  EXPECT_EQ(FileText(), "[基本配置]\r\nc=甲┊*┊乙\r\ncombo=UTF-8\r\n");
  control.text = "x";
  combo.text = "y";
  EXPECT_EQ(store.LoadControlText("c", control), Gbk("甲\r\n乙"));
  EXPECT_EQ(store.LoadComboText("combo", combo), "UTF-8");
  FakeText untouched("keep");
  EXPECT_EQ(store.LoadControlText("missing", untouched), "keep");
}

TEST_F(ConfigStoreTest, WindowPlacementSkipsTheFrameOfAMaximisedWindow) {
  FakeWindow window;
  window.state = 1;
  EXPECT_TRUE(store.SaveWindowPlacement(window, Gbk("窗口")));
  EXPECT_EQ(store.section(), Gbk("窗口"));
  EXPECT_EQ(FileText(), "[窗口]\r\n位置=1\r\n左边=50\r\n顶边=50\r\n宽度=629\r\n高度=675\r\n");

  window.state = 2;
  window.left = 9;
  File().clear();
  EXPECT_TRUE(store.SaveWindowPlacement(window));
  EXPECT_EQ(FileText(), "[窗口]\r\n位置=2\r\n");

  SetFileText("[窗口]\r\n位置=0\r\n左边=10.7\r\n宽度=-3.9\r\n");
  EXPECT_EQ(files.replacements, 2);
  store.LoadWindowPlacement(window);
  EXPECT_EQ(window.state, 0);
  EXPECT_EQ(window.moves, 1);
  EXPECT_EQ((std::array{window.left, window.top, window.width, window.height}),
            (std::array{10, 50, -3, 675}));

  SetFileText("[窗口]\r\n位置=3\r\n左边=1\r\n");
  store.LoadWindowPlacement(window);
  EXPECT_EQ(window.state, 3);
  EXPECT_EQ(window.moves, 1);  // not moved
}

TEST_F(ConfigStoreTest, DefaultFilePathSitsBesideTheProgram) {
  const std::string folder = platform::ProgramFolder();
  EXPECT_EQ(store.DefaultFilePath("tool.exe", true), folder + "/tool.ini");
  EXPECT_EQ(store.DefaultFilePath("a.b.exe", true), folder + "/a.b.ini");
  EXPECT_EQ(store.DefaultFilePath("plain", true), folder + "/plain.ini");
  EXPECT_EQ(store.DefaultFilePath("ignored.exe"), folder + "/test_settings.ini");
}

TEST_F(ConfigStoreTest, FailedWriteReturnsFalseAndLeavesTheOldFile) {
  SetFileText("[基本配置]\r\nk=old\r\n");
  files.failWrites = true;
  EXPECT_FALSE(store.WriteText("k", "new"));
  EXPECT_EQ(FileText(), "[基本配置]\r\nk=old\r\n");
  // Writing what is already there needs no write at all.
  EXPECT_TRUE(store.WriteText("k", "old"));
}

TEST_F(ConfigStoreTest, AFileThatCannotBeReadIsNeverWrittenOver) {
  files.unreadable.insert(kPath);
  SetFileText("[基本配置]\r\nk=precious\r\n");
  EXPECT_EQ(store.ReadText("k", "d"), "d");
  EXPECT_FALSE(store.WriteText("k", "new"));
  EXPECT_FALSE(store.BeginBatch());
  EXPECT_FALSE(store.WriteText("k", "new"));
  EXPECT_FALSE(store.EndBatch());
  EXPECT_EQ(files.replacements, 0);
  EXPECT_EQ(FileText(), "[基本配置]\r\nk=precious\r\n");
}

TEST_F(ConfigStoreTest, ABatchReadsOnceAndReplacesTheFileOnce) {
  SetFileText("[基本配置]\r\na=1\r\n");
  EXPECT_TRUE(store.BeginBatch());
  EXPECT_TRUE(store.WriteText("a", "2"));
  EXPECT_TRUE(store.WriteNumber("b", 3));
  EXPECT_EQ(store.ReadText("a", ""), "2");  // reads see the writes before them
  EXPECT_TRUE(store.BeginBatch());          // nested: only the outer one writes
  EXPECT_TRUE(store.WriteBool("c", true));
  EXPECT_TRUE(store.EndBatch());
  EXPECT_EQ(files.replacements, 0);
  EXPECT_EQ(FileText(), "[基本配置]\r\na=1\r\n");
  EXPECT_TRUE(store.EndBatch());
  EXPECT_EQ(files.reads, 1);
  EXPECT_EQ(files.replacements, 1);
  EXPECT_EQ(FileText(), "[基本配置]\r\na=2\r\nb=3\r\nc=真\r\n");

  // The same values again change nothing, so nothing is written.
  EXPECT_TRUE(store.BeginBatch());
  EXPECT_TRUE(store.WriteText("a", "2"));
  EXPECT_TRUE(store.EndBatch());
  EXPECT_EQ(files.replacements, 1);
}

TEST_F(ConfigStoreTest, AFailedBatchReportsItAndKeepsTheOldFile) {
  SetFileText("[基本配置]\r\na=1\r\n");
  files.failWrites = true;
  EXPECT_TRUE(store.BeginBatch());
  EXPECT_TRUE(store.WriteText("a", "2"));
  EXPECT_FALSE(store.EndBatch());
  EXPECT_EQ(FileText(), "[基本配置]\r\na=1\r\n");
}

TEST_F(ConfigStoreTest, ABatchWithoutWritesCreatesNoFile) {
  EXPECT_TRUE(store.BeginBatch());
  EXPECT_EQ(store.ReadText("k", "d"), "d");
  EXPECT_TRUE(store.EndBatch());
  EXPECT_TRUE(files.files.empty());
}

}  // namespace
}  // namespace lanzhou::settings
