#include "content/content_frame.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/error.h"
#include "platform/testing/recording_host.h"
#include "platform/testing/temp_folder.h"

namespace content {
namespace {

using platform::testing::RecordingHost;
using platform::testing::TempFolder;
using Texts = std::vector<std::string>;

int ModeOf(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 ? static_cast<int>(st.st_mode & 07777) : -1;
}

// Writes each line in upper case and notes what it saw; `during` runs once per file.
class UpperMode final : public ContentMode {
 public:
  explicit UpperMode(Backup backup = Backup::Yes) : ContentMode(backup) {}
  Texts seen;  // "row name: line|line"
  std::function<void(const FileContext&)> during;

  FileResult Build(const FileContext& file, const LineList& source, LineSink& output,
                   platform::Host&) override {
    std::string note = std::to_string(file.row) + " " + std::string(file.name) + ":";
    for (std::string_view line : source) {
      note += std::string(line) + "|";
      std::string upper(line);
      for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      output.Add(upper);
    }
    seen.push_back(note);
    if (during) during(file);
    return file.name == "leave.txt" ? FileResult::Leave : FileResult::Save;
  }
};

class ContentFrame : public ::testing::Test {
 protected:
  // Lists the files, all marked.
  void List(std::initializer_list<std::pair<const char*, const char*>> files) {
    for (const auto& [name, bytes] : files) {
      if (bytes != nullptr) temp_.Write(name, bytes);
      files_.AppendFileRow({name, temp_.Path(), "0", "", "", ".txt"});
      files_.SetMark(files_.RowCount() - 1, true);
    }
  }
  void Run(Backup backup = Backup::Yes) {
    UpperMode mode(backup);
    mode.during = during_;
    RunContentFrame(files_, host_, mode);
    seen_.insert(seen_.end(), mode.seen.begin(), mode.seen.end());
  }
  std::string RunExpectingError() {
    try {
      Run();
    } catch (const platform::CommandError& error) {
      return error.what();
    }
    return "no error";
  }

  TempFolder temp_;
  fileset::FileList files_;
  RecordingHost host_;
  Texts seen_;
  std::function<void(const FileContext&)> during_;
};

TEST_F(ContentFrame, WorksOnMarkedRowsInOrderAndSavesWithCrLf) {
  List({{"a.txt", "a\nb"}, {"skip.txt", "s\n"}, {"c.txt", "c\r\r\n"}, {"e.txt", ""}});
  files_.SetMark(2, false);
  host_.WriteCounter(platform::Counter::Change, 9);
  Run();
  EXPECT_EQ(seen_, (Texts{"1 a.txt:a|b|", "3 c.txt:c||", "4 e.txt:"}));
  EXPECT_EQ(temp_.Read("a.txt"), "A\r\nB\r\n");
  EXPECT_EQ(temp_.Read("skip.txt"), "s\n");
  EXPECT_EQ(temp_.Read("c.txt"), "C\r\n\r\n");
  EXPECT_EQ(temp_.Read("e.txt"), "");
  EXPECT_EQ(temp_.Read("a.txt.bak"), "a\nb");
  EXPECT_EQ(temp_.Read("c.txt.bak"), "c\r\r\n");
  EXPECT_FALSE(temp_.Exists("skip.txt.bak"));
  EXPECT_EQ(host_.Count(platform::Counter::Change), 3);
  EXPECT_EQ(host_.boxes, (Texts{"[info] 成功处理完成,共处理 3 个文件!"}));
  EXPECT_EQ(host_.commandEnabled, (std::vector<bool>{false, true}));
  EXPECT_EQ(host_.messageRuns, 4);  // once per row, marked or not
}

TEST_F(ContentFrame, BackupHoldsTheContentFromBeforeEachRun) {
  List({{"a.txt", "one"}});
  const std::string path = temp_.Path("a.txt");
  chmod(path.c_str(), 0640);
  temp_.Write("a.txt.bak", "very old");
  Run();
  EXPECT_EQ(temp_.Read("a.txt.bak"), "one");
  EXPECT_EQ(ModeOf(path + ".bak"), 0640);
  temp_.Write("a.txt", "two");
  Run();
  EXPECT_EQ(temp_.Read("a.txt.bak"), "two");
  EXPECT_EQ(temp_.Read("a.txt"), "TWO\r\n");
  temp_.Write("a.txt", "three");
  Run(Backup::No);
  EXPECT_EQ(temp_.Read("a.txt.bak"), "two");
}

// Without its ".bak" copy the text from before the run would be lost: the run ends at
// that file, unsaved, and the files before it stay saved.
TEST_F(ContentFrame, ABackupThatCannotBeMadeEndsTheRunWithTheFileUnchanged) {
  struct Case {
    const char* name;
    std::function<void(const TempFolder&)> block;
  } const cases[] = {
      {"read-only copy",
       [](const TempFolder& temp) { chmod(temp.Write("b.txt.bak", "kept").c_str(), 0444); }},
      {"folder in its place", [](const TempFolder& temp) { temp.MakeFolder("b.txt.bak/x"); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder temp;
    fileset::FileList files;
    RecordingHost host;
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) {
      temp.Write(name, name);
      files.AppendFileRow({name, temp.Path(), "0", "", "", ".txt"});
      files.SetMark(files.RowCount() - 1, true);
    }
    c.block(temp);
    UpperMode mode;
    try {
      RunContentFrame(files, host, mode);
      ADD_FAILURE() << "no error";
    } catch (const platform::CommandError& error) {
      EXPECT_EQ(std::string(error.what()), "Cannot create file " + temp.Path("b.txt.bak"));
    }
    EXPECT_EQ(temp.Read("a.txt"), "A.TXT\r\n");
    EXPECT_EQ(temp.Read("b.txt"), "b.txt");
    EXPECT_EQ(temp.Read("c.txt"), "c.txt");
    EXPECT_EQ(host.Count(platform::Counter::Change), 1);
  }
}

// A UTF-16 file or any file with a zero byte is no text: saving the lines before the zero
// byte would cut it. It is left as it is, and the closing message counts it apart.
TEST_F(ContentFrame, AFileWithAZeroByteIsLeftAloneAndCountedApart) {
  const std::string utf16(
      "\xFF\xFE"
      "a\0\r\0\n\0",
      8);
  temp_.Write("u.txt", utf16);
  List({{"a.txt", "a"}, {"u.txt", nullptr}, {"z.txt", std::string("x\n\0y", 4).c_str()}});
  temp_.Write("z.txt", std::string("x\n\0y", 4));
  Run();
  EXPECT_EQ(temp_.Read("a.txt"), "A\r\n");
  EXPECT_EQ(temp_.Read("u.txt"), utf16);
  EXPECT_EQ(temp_.Read("z.txt"), std::string("x\n\0y", 4));
  EXPECT_FALSE(temp_.Exists("u.txt.bak"));
  EXPECT_FALSE(temp_.Exists("z.txt.bak"));
  EXPECT_EQ(host_.Count(platform::Counter::Change), 1);
  EXPECT_EQ(host_.boxes,
            (Texts{"[info] 成功处理完成,共处理 1 个文件!\n2 个文件含有零字节，不是文本，未处理"}));
}

// A leading UTF-8 byte-order mark is no part of line 1, and stays first in the file.
TEST_F(ContentFrame, AByteOrderMarkStaysFirst) {
  List({{"a.txt",
         "\xEF\xBB\xBF"
         "ab\ncd"}});
  Run();
  EXPECT_EQ(seen_, (Texts{"1 a.txt:ab|cd|"}));
  EXPECT_EQ(temp_.Read("a.txt"),
            "\xEF\xBB\xBF"
            "AB\r\nCD\r\n");
  EXPECT_EQ(temp_.Read("a.txt.bak"),
            "\xEF\xBB\xBF"
            "ab\ncd");
}

// A file listed twice, or under two spellings of its path, changes once: the later rows
// are passed over and not counted, although the first save gave the file a new inode.
TEST_F(ContentFrame, AFileListedTwiceChangesOnce) {
  List({{"a.txt", "a"}, {"b.txt", "b"}});
  files_.AppendFileRow({"a.txt", temp_.Path(), "0", "", "", ".txt"});
  files_.AppendFileRow({"a.txt", temp_.Path() + "/.", "0", "", "", ".txt"});
  for (int row = 3; row <= 4; ++row) files_.SetMark(row, true);
  Run();
  EXPECT_EQ(seen_, (Texts{"1 a.txt:a|", "2 b.txt:b|"}));
  EXPECT_EQ(temp_.Read("a.txt.bak"), "a");
  EXPECT_EQ(host_.boxes, (Texts{"[info] 成功处理完成,共处理 2 个文件!"}));
}

TEST_F(ContentFrame, AFileErrorEndsTheRunAndKeepsEarlierFilesSaved) {
  struct Case {
    const char* name;
    const char* failing;
    bool readOnly;  // else missing
    const char* error;
  } const cases[] = {
      {"missing file", "b.txt", false, "Cannot open file "},
      {"read-only file", "b.txt", true, "Cannot create file "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder temp;
    fileset::FileList files;
    RecordingHost host;
    UpperMode mode;
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) {
      if (c.readOnly || std::string_view(name) != c.failing) temp.Write(name, name);
      files.AppendFileRow({name, temp.Path(), "0", "", "", ".txt"});
      files.SetMark(files.RowCount() - 1, true);
    }
    if (c.readOnly) chmod(temp.Path(c.failing).c_str(), 0444);
    try {
      RunContentFrame(files, host, mode);
      ADD_FAILURE() << "no error";
    } catch (const platform::CommandError& error) {
      EXPECT_EQ(std::string(error.what()), c.error + temp.Path(c.failing));
    }
    EXPECT_EQ(temp.Read("a.txt"), "A.TXT\r\n");
    EXPECT_EQ(temp.Read("c.txt"), "c.txt");
    if (c.readOnly) {
      EXPECT_EQ(temp.Read("b.txt"), "b.txt");
    }
    EXPECT_FALSE(temp.Exists("b.txt.bak"));
    EXPECT_FALSE(temp.Exists("c.txt.bak"));
    EXPECT_EQ(host.Count(platform::Counter::Change), 1);
    EXPECT_TRUE(host.boxes.empty());
    EXPECT_EQ(host.commandEnabled, (std::vector<bool>{false, true}));
    // Nothing but the files and the one backup: no temporary sibling is left.
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(temp.Path()))
      ++entries;
    EXPECT_EQ(entries, c.readOnly ? 4 : 3);
  }
}

// A listed file that is no longer a regular file when the run reaches it (a link put in
// its place, a folder) ends the run as a file that cannot be opened; what a link points
// to is never read or written.
TEST_F(ContentFrame, AFileThatIsNoLongerARegularFileEndsTheRun) {
  const std::string elsewhere = temp_.Write("elsewhere/secret.txt", "secret");
  for (const bool link : {true, false}) {
    SCOPED_TRACE(link ? "link" : "folder");
    std::filesystem::remove_all(temp_.Path("b.txt"));
    if (link) {
      ASSERT_EQ(symlink(elsewhere.c_str(), temp_.Path("b.txt").c_str()), 0);
    } else {
      temp_.MakeFolder("b.txt");
    }
    files_.Reset();
    List({{"b.txt", nullptr}});
    EXPECT_EQ(RunExpectingError(), "Cannot open file " + temp_.Path("b.txt"));
    EXPECT_EQ(temp_.Read("elsewhere/secret.txt"), "secret");
    EXPECT_FALSE(temp_.Exists("b.txt.bak"));
  }
}

TEST_F(ContentFrame, MarksChangedDuringTheRunCountForRowsStillToCome) {
  List({{"a.txt", "a"}, {"b.txt", "b"}, {"c.txt", "c"}});
  files_.SetMark(2, false);
  during_ = [this](const FileContext& file) {
    if (file.row == 1) {
      files_.SetMark(2, true);
      files_.SetMark(3, false);
    }
  };
  Run();
  EXPECT_EQ(seen_, (Texts{"1 a.txt:a|", "2 b.txt:b|"}));
  EXPECT_EQ(temp_.Read("c.txt"), "c");
}

TEST_F(ContentFrame, AFileTheModeLeavesIsNeitherSavedNorCounted) {
  List({{"leave.txt", "x"}, {"a.txt", "y"}});
  Run();
  EXPECT_EQ(temp_.Read("leave.txt"), "x");
  EXPECT_FALSE(temp_.Exists("leave.txt.bak"));
  EXPECT_EQ(host_.boxes, (Texts{"[info] 成功处理完成,共处理 1 个文件!"}));
}

// Another program cuts the file short while the mode reads it: the run ends at that
// file as if it could not be read, before any backup or save.
TEST_F(ContentFrame, AFileCutShortWhileReadEndsTheRunUnsaved) {
  std::string text;
  for (int i = 0; i < 3000; ++i) text += "line\n";
  List({{"a.txt", "a"}, {"b.txt", text.c_str()}, {"c.txt", "c"}});
  class CuttingMode final : public ContentMode {
   public:
    CuttingMode() : ContentMode(Backup::Yes) {}
    FileResult Build(const FileContext& file, const LineList& source, LineSink& output,
                     platform::Host&) override {
      if (file.name == "b.txt") truncate(file.fullPath.c_str(), 0);
      for (const std::string_view line : source) output.Add(line);
      return FileResult::Save;
    }
  } cutting;
  try {
    RunContentFrame(files_, host_, cutting);
    ADD_FAILURE() << "no error";
  } catch (const platform::CommandError& error) {
    EXPECT_EQ(std::string(error.what()), "Cannot open file " + temp_.Path("b.txt"));
  }
  EXPECT_EQ(temp_.Read("a.txt"), "a\r\n");
  EXPECT_FALSE(temp_.Exists("b.txt.bak"));
  EXPECT_EQ(temp_.Read("c.txt"), "c");
  EXPECT_EQ(host_.Count(platform::Counter::Change), 1);
}

}  // namespace
}  // namespace content

namespace content {
namespace {

// Marks every line, letting the host's messages run as the modes do.
class PacedMode final : public ContentMode {
 public:
  PacedMode() : ContentMode(Backup::Yes) {}
  FileResult Build(const FileContext&, const LineList& source, LineSink& output,
                   platform::Host& host) override {
    platform::MessagePacer pacer(&host);
    for (const std::string_view line : source) {
      pacer.Step(line);
      output.Add(std::string(line) + "!");
    }
    return FileResult::Save;
  }
};

// A host whose stop button is pressed once `stopAt` files are done, or in the middle of
// a file's lines.
class StoppingHost final : public RecordingHost {
 public:
  std::int64_t stopAt = -1;
  bool stopInFile = false;
  std::int64_t done = 0;
  void RunAt(std::int64_t files, std::string_view) override { done = files; }
  bool StopRequested() override { return (stopInFile && messageRuns > 0) || done == stopAt; }
};

// A stop ends the run at a safe point: between two files, or within a file before any of
// it is saved (no ".bak" copy either); the closing message counts the files changed.
TEST(ContentFrameStop, StopsBetweenFilesOrLeavesTheFileItStoppedIn) {
  struct Case {
    const char* name;
    std::int64_t stopAt;
    bool stopInFile;
    const char* message;
    bool firstSaved;
  } cases[] = {
      {"before the second file", 1, false, "[info] 已停止,共处理 1 个文件!", true},
      {"within the first file", -1, true, "[info] 已停止,共处理 0 个文件!", false},
  };
  std::string lines;
  for (int i = 0; i < 1000; ++i) lines += "line\r\n";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder temp;
    fileset::FileList files;
    for (const char* name : {"a.txt", "b.txt"}) {
      temp.Write(name, lines);
      files.AppendFileRow({name, temp.Path(), "0", "", "", ".txt"});
      files.SetMark(files.RowCount() - 1, true);
    }
    StoppingHost host;
    host.stopAt = c.stopAt;
    host.stopInFile = c.stopInFile;
    PacedMode mode;
    RunContentFrame(files, host, mode);
    EXPECT_EQ(host.boxes, Texts{c.message});
    EXPECT_EQ(host.Count(platform::Counter::Change), c.firstSaved ? 1 : 0);
    EXPECT_EQ(temp.Read("a.txt") != lines, c.firstSaved);
    EXPECT_EQ(temp.Exists("a.txt.bak"), c.firstSaved);
    EXPECT_EQ(temp.Read("b.txt"), lines);
    EXPECT_FALSE(temp.Exists("b.txt.bak"));
    EXPECT_EQ(host.commandEnabled.back(), true);
  }
}

}  // namespace
}  // namespace content
