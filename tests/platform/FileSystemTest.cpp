#include "platform/FileSystem.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace lanzhou::platform {
namespace {

// Each test gets a fresh folder under the system's temporary folder, removed afterwards.
class LocalFileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") +
                          "/lanzhou-fs-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override {
    if (!dir_.empty()) RemoveTree(dir_);
  }

  std::string Path(const std::string& name) const { return dir_ + "/" + name; }

  static void Put(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }

  // Names in the folder, sorted, so a test can see what else was left there.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    if (DIR* d = ::opendir(dir_.c_str())) {
      while (const dirent* e = ::readdir(d)) {
        const std::string n = e->d_name;
        if (n != "." && n != "..") names.push_back(n);
      }
      ::closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  LocalFileSystem fs_;
  std::string dir_;

 private:
  static void RemoveTree(const std::string& path) {
    struct stat st{};
    if (::lstat(path.c_str(), &st) != 0) return;
    if (S_ISDIR(st.st_mode)) {
      ::chmod(path.c_str(), 0700);
      if (DIR* d = ::opendir(path.c_str())) {
        std::vector<std::string> children;
        while (const dirent* e = ::readdir(d)) {
          const std::string n = e->d_name;
          if (n != "." && n != "..") children.push_back(path + "/" + n);
        }
        ::closedir(d);
        for (const auto& c : children) RemoveTree(c);
      }
      ::rmdir(path.c_str());
    } else {
      ::unlink(path.c_str());
    }
  }
};

TEST_F(LocalFileSystemTest, ReadWholeFileGivesTheBytesOrNothing) {
  const std::string bytes = std::string("\xC0\xB6\r\n\0\x1A", 6) + std::string(200000, 'x');
  Put(Path("a.txt"), bytes);
  Put(Path("empty.txt"), "");
  ASSERT_TRUE(fs_.CreateFolder(Path("sub")));

  EXPECT_EQ(fs_.ReadWholeFile(Path("a.txt")), bytes);  // NUL and 0x1A are data here
  EXPECT_EQ(fs_.ReadWholeFile(Path("empty.txt")), std::string());
  EXPECT_EQ(fs_.ReadWholeFile(Path("missing.txt")), std::nullopt);
  EXPECT_EQ(fs_.ReadWholeFile(Path("sub")), std::nullopt);
  EXPECT_EQ(fs_.ReadWholeFile(Path("a.txt/x")), std::nullopt);
}

TEST_F(LocalFileSystemTest, WriteWholeFileReplacesWhatWasThere) {
  const std::string path = Path("page.htm");
  ASSERT_TRUE(fs_.WriteWholeFile(path, std::string(5000, 'o')));
  ASSERT_TRUE(fs_.WriteWholeFile(path, "new"));
  EXPECT_EQ(fs_.ReadWholeFile(path), "new");  // no tail of the longer old content
  ASSERT_TRUE(fs_.WriteWholeFile(path, ""));
  EXPECT_EQ(fs_.ReadWholeFile(path), std::string());
  EXPECT_EQ(Names(), std::vector<std::string>{"page.htm"});
}

// A rerun rewrites every page: a lone file is written over in place (removing it costs a wait
// for its freed blocks on some file systems), cut to the new length, with no tail left.
TEST_F(LocalFileSystemTest, WriteWholeFileRewritesALoneFileInPlace) {
  const std::string path = Path("page.htm");
  Put(path, std::string(9000, 'o'));
  struct stat before{}, after{};
  ASSERT_EQ(::stat(path.c_str(), &before), 0);
  ASSERT_TRUE(fs_.WriteWholeFile(path, "shorter"));
  ASSERT_EQ(::stat(path.c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_EQ(fs_.ReadWholeFile(path), "shorter");
  ASSERT_TRUE(fs_.WriteWholeFile(path, std::string(10000, 'n')));
  EXPECT_EQ(fs_.ReadWholeFile(path), std::string(10000, 'n'));
}

TEST_F(LocalFileSystemTest, OpenInputFileReadsFromTheStartInPieces) {
  Put(Path("a.txt"), "0123456789");
  ASSERT_TRUE(fs_.CreateFolder(Path("sub")));
  auto file = fs_.OpenInputFile(Path("a.txt"));
  ASSERT_NE(file, nullptr);
  std::string got;
  EXPECT_EQ(file->ReadMore(got, 4), 4u);
  EXPECT_EQ(file->ReadMore(got, 100), 6u);
  EXPECT_EQ(file->ReadMore(got, 100), 0u);
  EXPECT_EQ(got, "0123456789");
  EXPECT_EQ(fs_.OpenInputFile(Path("missing.txt")), nullptr);
  EXPECT_EQ(fs_.OpenInputFile(Path("sub")), nullptr);  // as ReadWholeFile refuses a folder
}

// Rerunning a generation over its own output must work even where an earlier page was made
// read-only: the folder is ours, so the old file is replaced, not written into.
TEST_F(LocalFileSystemTest, WriteWholeFileReplacesAReadOnlyFileInAWritableFolder) {
  const std::string path = Path("page.htm");
  Put(path, "old");
  ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
  EXPECT_TRUE(fs_.WriteWholeFile(path, "new"));
  EXPECT_EQ(fs_.ReadWholeFile(path), "new");
}

// The old file is unlinked, never written through, so data reached by another name (a hard
// link, or the target of a link) keeps its content.
TEST_F(LocalFileSystemTest, WriteWholeFileDoesNotWriteThroughOtherNames) {
  Put(Path("first.htm"), "shared");
  ASSERT_EQ(::link(Path("first.htm").c_str(), Path("second.htm").c_str()), 0);
  ASSERT_EQ(::symlink("first.htm", Path("link.htm").c_str()), 0);

  ASSERT_TRUE(fs_.WriteWholeFile(Path("second.htm"), "mine"));
  ASSERT_TRUE(fs_.WriteWholeFile(Path("link.htm"), "link's own"));

  EXPECT_EQ(fs_.ReadWholeFile(Path("first.htm")), "shared");
  EXPECT_EQ(fs_.ReadWholeFile(Path("second.htm")), "mine");
  EXPECT_EQ(fs_.ReadWholeFile(Path("link.htm")), "link's own");
}

// A pipe waits for its other end, and a device may never end (/dev/zero): neither is read or
// written, and neither is removed. Every call returns at once with its reason; alarm() turns a
// call that would wait for ever into a failed test instead of a hung one.
TEST_F(LocalFileSystemTest, PipesAndDevicesAreNeitherReadNorWrittenAndNeverWaitedOn) {
  const std::string pipe = Path("pipe");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  ASSERT_EQ(::symlink("/dev/zero", Path("zero.txt").c_str()), 0);
  ::alarm(10);
  for (const std::string& path : {pipe, Path("zero.txt"), std::string("/dev/null")}) {
    EXPECT_EQ(fs_.ReadWholeFile(path), std::nullopt) << path;
    EXPECT_EQ(fs_.LastError(), kNotARegularFile) << path;
  }
  EXPECT_FALSE(fs_.WriteWholeFile(pipe, "page"));
  EXPECT_EQ(fs_.LastError(), kNotARegularFile);
  EXPECT_EQ(fs_.CreateOutputFile(pipe), nullptr);
  ::alarm(0);
  struct stat st{};
  ASSERT_EQ(::lstat(pipe.c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

TEST_F(LocalFileSystemTest, FailuresSayWhy) {
  Put(Path("file"), "x");
  EXPECT_EQ(fs_.ReadWholeFile(Path("missing")), std::nullopt);
  EXPECT_EQ(fs_.LastError(), "No such file or directory");
  EXPECT_FALSE(fs_.WriteWholeFile(Path("file/page.htm"), "x"));
  EXPECT_EQ(fs_.LastError(), "Not a directory");
  ASSERT_TRUE(fs_.CreateFolder(Path("sub")));
  EXPECT_FALSE(fs_.WriteWholeFile(Path("sub"), "x"));
  EXPECT_EQ(fs_.LastError(), "Is a directory");
  EXPECT_FALSE(fs_.CreateFolder(Path("file")));
  EXPECT_EQ(fs_.LastError(), "File exists");
  EXPECT_TRUE(fs_.IsFolder(Path("sub")));
  EXPECT_FALSE(fs_.IsFolder(Path("file")));
}

TEST_F(LocalFileSystemTest, IdentifyTellsFilesApartHoweverTheyAreSpelt) {
  Put(Path("a.txt"), "x");
  Put(Path("b.txt"), "x");
  ASSERT_EQ(::link(Path("a.txt").c_str(), Path("hard.txt").c_str()), 0);
  ASSERT_EQ(::symlink("a.txt", Path("soft.txt").c_str()), 0);
  ASSERT_TRUE(fs_.CreateFolder(Path("sub")));
  const auto a = fs_.Identify(Path("a.txt"));
  ASSERT_TRUE(a.has_value());
  EXPECT_EQ(fs_.Identify(Path("sub/../a.txt")), a);
  EXPECT_EQ(fs_.Identify(Path("hard.txt")), a);
  EXPECT_EQ(fs_.Identify(Path("soft.txt")), a);
  EXPECT_NE(fs_.Identify(Path("b.txt")), a);
  EXPECT_EQ(fs_.Identify(Path("missing")), std::nullopt);
}

TEST_F(LocalFileSystemTest, WritesFailWhereNoFileCanBe) {
  ASSERT_TRUE(fs_.CreateFolder(Path("sub")));
  Put(Path("file"), "x");
  for (const std::string& path : {Path("missing/page.htm"), Path("file/page.htm"), Path("sub")}) {
    EXPECT_FALSE(fs_.WriteWholeFile(path, "x")) << path;
    EXPECT_EQ(fs_.CreateOutputFile(path), nullptr) << path;
  }
  EXPECT_EQ(fs_.ReadWholeFile(Path("file")), "x");
  EXPECT_EQ(fs_.ListFolder(Path("sub"))->size(), 0u);  // a folder is never removed to make room
}

TEST_F(LocalFileSystemTest, OutputFileWritesPiecesAndReplacesTheOldFile) {
  const std::string path = Path("index.htm");
  Put(path, std::string(1000, 'o'));
  auto out = fs_.CreateOutputFile(path);
  ASSERT_NE(out, nullptr);
  EXPECT_TRUE(out->Write("<a>"));
  EXPECT_TRUE(out->Write(""));
  EXPECT_TRUE(out->Write(std::string("\xC0\xB6\0", 3)));
  EXPECT_TRUE(out->Close());
  EXPECT_EQ(fs_.ReadWholeFile(path), std::string("<a>\xC0\xB6\0", 6));
  EXPECT_FALSE(out->Write("late"));  // closed is closed
  EXPECT_TRUE(out->Close());

  {
    auto again = fs_.CreateOutputFile(path);
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(again->Write("second"));
  }  // destroying it ends the file
  EXPECT_EQ(fs_.ReadWholeFile(path), "second");
}

TEST_F(LocalFileSystemTest, CreateFolderAndExists) {
  EXPECT_FALSE(fs_.Exists(Path("sub")));
  EXPECT_TRUE(fs_.CreateFolder(Path("sub")));
  EXPECT_TRUE(fs_.Exists(Path("sub")));
  EXPECT_FALSE(fs_.CreateFolder(Path("sub")));  // already there
  EXPECT_FALSE(fs_.CreateFolder(Path("missing/sub")));
  Put(Path("a.txt"), "");
  EXPECT_TRUE(fs_.Exists(Path("a.txt")));
  EXPECT_FALSE(fs_.Exists(Path("a.txt/b")));
}

TEST_F(LocalFileSystemTest, ListFolderGivesNamesAndKindsWithoutDotEntries) {
  Put(Path("b.txt"), "x");
  Put(Path("\xE5\xB2\x9A.htm"), "x");  // 岚.htm, the OS's UTF-8 bytes
  ASSERT_TRUE(fs_.CreateFolder(Path("sub")));
  ASSERT_TRUE(fs_.CreateFolder(Path("sub/inner")));
  ASSERT_EQ(::symlink("sub", Path("to-sub").c_str()), 0);
  ASSERT_EQ(::symlink("nowhere", Path("dangling").c_str()), 0);

  auto entries = fs_.ListFolder(dir_);
  ASSERT_TRUE(entries.has_value());
  std::sort(entries->begin(), entries->end(),
            [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
  std::vector<std::pair<std::string, bool>> got;
  for (const auto& e : *entries) got.emplace_back(e.name, e.isFolder);
  const std::vector<std::pair<std::string, bool>> want = {
      {"b.txt", false}, {"dangling", false}, {"sub", true}, {"to-sub", true},
      {"\xE5\xB2\x9A.htm", false}};
  EXPECT_EQ(got, want);

  EXPECT_EQ(fs_.ListFolder(Path("sub"))->size(), 1u);
  EXPECT_EQ(fs_.ListFolder(Path("missing")), std::nullopt);
  EXPECT_EQ(fs_.ListFolder(Path("b.txt")), std::nullopt);
}

TEST_F(LocalFileSystemTest, ReplaceFileAtomicallySwapsInTheNewContent) {
  const std::string path = Path("settings.ini");
  ASSERT_TRUE(fs_.ReplaceFileAtomically(path, "first"));  // no old file yet
  ASSERT_TRUE(fs_.ReplaceFileAtomically(path, "second"));
  EXPECT_EQ(fs_.ReadWholeFile(path), "second");
  EXPECT_EQ(Names(), std::vector<std::string>{"settings.ini"});  // no temporary left behind
}

// A temporary left by a crash may be anything by now; writing through it would change a file
// that is not ours.
TEST_F(LocalFileSystemTest, ReplaceFileAtomicallyIgnoresAStaleTemporary) {
  const std::string path = Path("settings.ini");
  Put(path, "old");
  Put(Path("other.txt"), "other");
  ASSERT_EQ(::symlink("other.txt", (path + ".new~").c_str()), 0);
  ASSERT_TRUE(fs_.ReplaceFileAtomically(path, "new"));
  EXPECT_EQ(fs_.ReadWholeFile(Path("other.txt")), "other");
  EXPECT_EQ(fs_.ReadWholeFile(path), "new");
  struct stat st{};
  ASSERT_EQ(::lstat(path.c_str(), &st), 0);
  EXPECT_TRUE(S_ISREG(st.st_mode));
  EXPECT_EQ(Names(), (std::vector<std::string>{"other.txt", "settings.ini"}));
}

// A settings file kept as a link to elsewhere, or with its permissions narrowed, keeps both.
TEST_F(LocalFileSystemTest, ReplaceFileAtomicallyKeepsALinkAndTheFilesMode) {
  ASSERT_TRUE(fs_.CreateFolder(Path("real")));
  const std::string target = Path("real/settings.ini");
  Put(target, "old");
  ASSERT_EQ(::chmod(target.c_str(), 0600), 0);
  const std::string link = Path("settings.ini");
  ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
  ASSERT_TRUE(fs_.ReplaceFileAtomically(link, "new"));
  struct stat st{};
  ASSERT_EQ(::lstat(link.c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  EXPECT_EQ(fs_.ReadWholeFile(target), "new");
  ASSERT_EQ(::stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST_F(LocalFileSystemTest, ReplaceFileAtomicallyKeepsTheOldFileWhenItCannotWrite) {
  const std::string path = Path("settings.ini");
  Put(path, "old");
  // The target is a folder: the new content is written, but cannot be renamed over it.
  ASSERT_TRUE(fs_.CreateFolder(Path("busy.ini")));
  Put(Path("busy.ini/keep"), "k");
  EXPECT_FALSE(fs_.ReplaceFileAtomically(Path("busy.ini"), "new"));
  EXPECT_EQ(fs_.ReadWholeFile(Path("busy.ini/keep")), "k");
  // Beside a path whose parent is a file, no temporary can be made at all.
  EXPECT_FALSE(fs_.ReplaceFileAtomically(path + "/x", "new"));
  EXPECT_EQ(fs_.ReadWholeFile(path), "old");
  EXPECT_EQ(Names(), (std::vector<std::string>{"busy.ini", "settings.ini"}));
}

TEST_F(LocalFileSystemTest, ReplaceFileAtomicallyKeepsTheOldFileInAReadOnlyFolder) {
  if (::geteuid() == 0) GTEST_SKIP() << "root ignores folder permissions";
  const std::string path = Path("settings.ini");
  Put(path, "old");
  ASSERT_EQ(::chmod(dir_.c_str(), 0500), 0);
  EXPECT_FALSE(fs_.ReplaceFileAtomically(path, "new"));
  ASSERT_EQ(::chmod(dir_.c_str(), 0700), 0);
  EXPECT_EQ(fs_.ReadWholeFile(path), "old");
}

}  // namespace
}  // namespace lanzhou::platform
