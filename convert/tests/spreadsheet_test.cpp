#include "convert/spreadsheet.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "convert/libreoffice.h"
#include "platform/code_page.h"
#include "platform/testing/temp_folder.h"

namespace convert {
namespace {

using platform::NativePath;
using platform::testing::TempFolder;

// Writes every call as a line; the call named `failAt` throws instead of being carried out.
class RecordingFactory : public SpreadsheetFactory {
 public:
  std::vector<std::string> calls;
  std::string failAt;
  bool createFails = false;
  std::vector<bool> answers;  // what Finish says of the saves
  int finishes = 0;

  std::unique_ptr<SpreadsheetApplication> Create() override;
  std::vector<bool> Finish() override {
    ++finishes;
    return answers;
  }
  void Call(const std::string& text) {
    calls.push_back(text);
    if (!failAt.empty() && text.starts_with(failAt)) throw SpreadsheetError(text);
  }
};

class RecordingApplication : public SpreadsheetApplication {
 public:
  explicit RecordingApplication(RecordingFactory& factory) : f_(factory) {}
  void SetVisible(bool on) override { f_.Call("Visible " + std::to_string(on)); }
  void SetDisplayAlerts(bool on) override { f_.Call("Alerts " + std::to_string(on)); }
  void OpenWorkbook(const NativePath& source, SheetSource as) override {
    f_.Call("Open " + source.bytes() + (as == SheetSource::Workbook ? " workbook" : " csv"));
  }
  void ActivateWorkbook() override { f_.Call("Activate"); }
  void SaveAs(const NativePath& target, std::optional<int> format, std::string_view ext) override {
    f_.Call("SaveAs " + target.bytes() + " " + (format ? std::to_string(*format) : "-") + " " +
            std::string(ext));
  }
  void CloseWorkbook() override { f_.Call("Close"); }
  void Quit() override { f_.Call("Quit"); }

 private:
  RecordingFactory& f_;
};

std::unique_ptr<SpreadsheetApplication> RecordingFactory::Create() {
  calls.push_back("Create");
  if (createFails) return nullptr;
  return std::make_unique<RecordingApplication>(*this);
}

TEST(SpreadsheetRun, SavesInTheFormatTheExtensionSelects) {
  constexpr auto W = SheetSource::Workbook;
  constexpr auto C = SheetSource::CommaSeparated;
  struct Case {
    const char* source;
    const char* argument;
    SheetSource from;
    const char* save;
  } const cases[] = {
      {"/d/book.xls", "csv", W, "SaveAs /d/book.csv 6 csv"},
      {"/d/list.csv", "xls", C, "SaveAs /d/list.xls -4143 xls"},
      {"/d/book.xls", ".HTM", W, "SaveAs /d/book.htm 44 htm"},
      {"/d/list.csv", " .HTM ", C, "SaveAs /d/list.htm 44 htm"},
      {"/d/book.xls", "txt", W, "SaveAs /d/book.txt -4158 txt"},
      {"/d/list.csv", "TXT", C, "SaveAs /d/list.txt -4158 txt"},
      {"/d/book.xls", "xml", W, "SaveAs /d/book.xml 46 xml"},
      {"/d/list.csv", "xml", C, "SaveAs /d/list.xml 46 xml"},
      // Not in the converter's table: the application chooses by the extension.
      {"/d/book.xlsx", "xls", W, "SaveAs /d/book.xls - xls"},
      {"/d/list.csv", "csv", C, "SaveAs /d/list.csv - csv"},
      {"/d/book.xls", "ods", W, "SaveAs /d/book.ods - ods"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.source) + " " + c.argument);
    RecordingFactory factory;
    SpreadsheetRun run(factory);
    EXPECT_EQ(run.Add(NativePath(c.source), c.argument, c.from), SpreadsheetRun::Started::Queued);
    const std::string open = std::string("Open ") + c.source + (c.from == W ? " workbook" : " csv");
    EXPECT_EQ(factory.calls, (std::vector<std::string>{"Create", "Visible 0", "Alerts 0", open,
                                                       "Activate", c.save, "Close", "Quit"}));
  }
}

TEST(SpreadsheetRun, AFailureSkipsTheRestOfTheBlockButNotCloseAndQuit) {
  using S = SpreadsheetRun::Started;
  using Calls = std::vector<std::string>;
  const std::string open = "Open /d/b.xls workbook", save = "SaveAs /d/b.csv 6 csv";
  struct Case {
    const char* name;
    const char* argument;
    bool createFails;
    std::string failAt;
    S started;
    Calls calls;
  } const cases[] = {
      {"no extension", " . ", false, "", S::NoExtension, {}},
      {"no application", "csv", true, "", S::CannotStart, {"Create"}},
      {"hiding fails", "csv", false, "Visible", S::Queued, {"Create", "Visible 0", "Quit"}},
      {"open fails",
       "csv",
       false,
       "Open",
       S::Queued,
       {"Create", "Visible 0", "Alerts 0", open, "Quit"}},
      {"activate fails",
       "csv",
       false,
       "Activate",
       S::Queued,
       {"Create", "Visible 0", "Alerts 0", open, "Activate", "Close", "Quit"}},
      {"save fails",
       "csv",
       false,
       "SaveAs",
       S::Queued,
       {"Create", "Visible 0", "Alerts 0", open, "Activate", save, "Close", "Quit"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RecordingFactory factory;
    factory.createFails = c.createFails;
    factory.failAt = c.failAt;
    SpreadsheetRun run(factory);
    EXPECT_EQ(run.Add(NativePath("/d/b.xls"), c.argument, SheetSource::Workbook), c.started);
    EXPECT_EQ(factory.calls, c.calls);
    // A row that was not queued, or whose save never returned, does not count.
    factory.answers = {};
    EXPECT_EQ(run.Finish(), std::vector<bool>(c.started == S::Queued ? 1 : 0, false));
  }
}

TEST(SpreadsheetRun, ARowCountsOnlyWhenItsSaveWroteAFileThatIsThere) {
  TempFolder dir;
  RecordingFactory factory;
  SpreadsheetRun run(factory);
  const auto add = [&](const char* name, const char* failAt) {
    factory.failAt = failAt;
    run.Add(NativePath(dir.Path(name)), "csv", SheetSource::Workbook);
  };
  add("written.xls", "");
  add("unreadable.xls", "Open");  // no save asked: the factory does not answer for it
  add("vanished.xls", "");        // said to be written, but no file is there
  add("older.xls", "");           // a file is there, from before: not written now
  add("also.xls", "");
  dir.Write("written.csv", "new");
  dir.Write("older.csv", "old");
  dir.Write("also.csv", "new");
  factory.answers = {true, true, false, true};
  EXPECT_EQ(run.Finish(), (std::vector<bool>{true, false, false, false, true}));
  // The rows were handed over: the next Finish answers for nothing before it.
  EXPECT_EQ(run.Finish(), std::vector<bool>{});
  EXPECT_EQ(factory.finishes, 2);
}

// PATH for one test.
class PathSetting {
 public:
  explicit PathSetting(const std::string& path)
      : old_(std::getenv("PATH") ? std::getenv("PATH") : "") {
    setenv("PATH", path.c_str(), 1);
  }
  ~PathSetting() { setenv("PATH", old_.c_str(), 1); }

 private:
  std::string old_;
};

TEST(LibreOffice, NoSofficeOnPathCannotStart) {
  TempFolder dir;
  const PathSetting path(dir.MakeFolder("empty"));
  const std::unique_ptr<SpreadsheetFactory> factory = MakeLibreOfficeFactory();
  SpreadsheetRun run(*factory);
  EXPECT_EQ(run.Add(NativePath(dir.Write("a.xls", "x")), "csv", SheetSource::Workbook),
            SpreadsheetRun::Started::CannotStart);
  EXPECT_EQ(run.Finish(), std::vector<bool>{});
}

// A stand-in soffice: writes "x" as every output, then does what `then` says. What
// LibreOffice itself does in these cases cannot be brought about on purpose.
TEST(LibreOffice, TrustsNoOutputOfAStartThatFailed) {
  struct Case {
    const char* name;
    const char* then;
    std::vector<bool> written;
  } const cases[] = {
      {"an error names an output",
       "echo \"Error: store <file://$out/j1.csv> failed\"",
       {true, false}},
      // Ends badly when given both files, well with one: each is tried on its own.
      {"a start with two files crashes", "[ $# -gt 1 ] && exit 134", {true, true}},
      {"every start crashes", "exit 1", {false, false}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder dir;
    dir.Write(
        "bin/soffice",
        std::string("#!/bin/sh\n"
                    "while [ \"$1\" != --outdir ]; do shift; done\n"
                    "out=$2; shift 2; /bin/mkdir -p \"$out\"\n"
                    "for f in \"$@\"; do b=${f##*/}; printf x > \"$out/${b%.*}.csv\"; done\n") +
            c.then + "\nexit 0\n");
    chmod(dir.Path("bin/soffice").c_str(), 0755);
    const PathSetting path(dir.Path("bin"));
    const std::unique_ptr<SpreadsheetFactory> factory = MakeLibreOfficeFactory();
    SpreadsheetRun run(*factory);
    for (const char* name : {"a.xls", "b.xls"})
      run.Add(NativePath(dir.Write(name, "book")), "csv", SheetSource::Workbook);
    EXPECT_EQ(run.Finish(), c.written);
    EXPECT_EQ(dir.Exists("a.csv"), c.written[0]);
    EXPECT_EQ(dir.Exists("b.csv"), c.written[1]);
  }
}

// The real LibreOffice, on workbooks it made itself from comma-separated text.
constexpr char kBook[] = "名称,数量,备注\n苹果,3,\"红色, 甜\"\n𠀀字,5,€\n";
constexpr char kBookTabs[] = "名称\t数量\t备注\n苹果\t3\t红色, 甜\n𠀀字\t5\t€\n";
constexpr char kOther[] = "城市,人口\n北京,2189\n";
// Cells that a workbook would keep only as numbers, changed.
constexpr char kIds[] =
    "姓名,身份证,编号,电话,数量\n张三,110101199003071234,007,+8613800000000,3\n";
constexpr char kShown[] = "日期,金额,比例\n1/2/2024,1.50,50%\n";

class RealLibreOffice : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!FindSoffice()) return;
    samples_ = new TempFolder;
    samples_->Write("book.csv", kBook);
    samples_->Write("other.csv", kOther);
    const std::string soffice = "soffice --headless --norestore -env:UserInstallation=file://" +
                                samples_->Path("profile") + " ";
    const std::string to = " --outdir " + samples_->Path() + " ";
    ASSERT_EQ(std::system((soffice + "--infilter=CSV:44,34,76,1 --convert-to xls" + to +
                           samples_->Path("book.csv") + " " + samples_->Path("other.csv") +
                           " >/dev/null 2>&1")
                              .c_str()),
              0);
    ASSERT_EQ(std::system((soffice + "--convert-to xlsx" + to + samples_->Path("other.xls") +
                           " >/dev/null 2>&1")
                              .c_str()),
              0);
  }
  static void TearDownTestSuite() {
    delete samples_;
    samples_ = nullptr;
  }
  void SetUp() override {
    if (samples_ == nullptr) GTEST_SKIP() << "no soffice on PATH";
    factory_ = MakeLibreOfficeFactory();
  }
  // Copies a sample made in the suite's set-up to `relative`; returns its path.
  NativePath Sample(const char* sample, const std::string& relative) {
    return NativePath(dir_.Write(relative, samples_->Read(sample)));
  }
  std::vector<bool> Convert(
      const std::vector<std::tuple<NativePath, const char*, SheetSource>>& rows) {
    SpreadsheetRun run(*factory_);
    for (const auto& [source, extension, from] : rows)
      EXPECT_EQ(run.Add(source, extension, from), SpreadsheetRun::Started::Queued);
    return run.Finish();
  }

  static TempFolder* samples_;
  TempFolder dir_;
  std::unique_ptr<SpreadsheetFactory> factory_;
};
TempFolder* RealLibreOffice::samples_ = nullptr;

constexpr auto kWorkbook = SheetSource::Workbook;
constexpr auto kCsv = SheetSource::CommaSeparated;

TEST_F(RealLibreOffice, WritesEveryFormatOfBothTables) {
  const std::string gb = platform::Utf8ToEngine(kBook);
  const NativePath xls = Sample("book.xls", "w/book.xls");
  const NativePath xlsx = Sample("other.xlsx", "x/sheet.xlsx");
  const NativePath csv(dir_.Write("c/list.csv", gb));
  const NativePath utf8(dir_.Write("u/list.csv", kBook));
  const NativePath shown(dir_.Write("c/shown.csv", platform::Utf8ToEngine(kShown)));
  EXPECT_EQ(Convert({{xls, "txt", kWorkbook},
                     {xls, "csv", kWorkbook},
                     {xls, "htm", kWorkbook},
                     {xls, "xml", kWorkbook},
                     {xlsx, "csv", kWorkbook},
                     {xlsx, "xls", kWorkbook},
                     {csv, "txt", kCsv},
                     {csv, "xls", kCsv},
                     {csv, "htm", kCsv},
                     {csv, "xml", kCsv},
                     {utf8, "csv", kCsv},
                     {shown, "txt", kCsv}}),
            std::vector<bool>(12, true));
  const std::string tabs = platform::Utf8ToEngine(kBookTabs);
  EXPECT_EQ(dir_.Read("w/book.txt"), tabs);
  EXPECT_EQ(dir_.Read("c/list.txt"), tabs);
  EXPECT_EQ(dir_.Read("c/shown.txt"),
            platform::Utf8ToEngine("日期\t金额\t比例\n1/2/2024\t1.50\t50%\n"));
  EXPECT_EQ(dir_.Read("w/book.csv"), gb);
  EXPECT_EQ(dir_.Read("x/sheet.csv"), platform::Utf8ToEngine(kOther));
  EXPECT_EQ(dir_.Read("u/list.csv"), gb);  // rewritten in place, in the engine code page
  for (const char* web : {"w/book.htm", "c/list.htm"}) {
    SCOPED_TRACE(web);
    EXPECT_NE(dir_.Read(web).find("<td"), std::string::npos);
    EXPECT_NE(dir_.Read(web).find("红色, 甜"), std::string::npos);
  }
  for (const char* xml : {"w/book.xml", "c/list.xml"}) {
    SCOPED_TRACE(xml);
    EXPECT_NE(dir_.Read(xml).find("urn:schemas-microsoft-com:office:spreadsheet"),
              std::string::npos);
    EXPECT_NE(dir_.Read(xml).find("𠀀字"), std::string::npos);
  }
  for (const char* book : {"x/sheet.xls", "c/list.xls"}) {
    SCOPED_TRACE(book);
    EXPECT_TRUE(dir_.Read(book).starts_with("\xD0\xCF\x11\xE0"));  // a compound document
  }
}

TEST_F(RealLibreOffice, ChineseTextAndDigitStringsSurviveCsvToWorkbookAndBack) {
  const std::string gb = platform::Utf8ToEngine(kBook);
  const NativePath fromGb(dir_.Write("gb.csv", gb));
  const NativePath fromUtf8(dir_.Write("u8.csv", kBook));
  const NativePath ids(dir_.Write("ids.csv", kIds));
  ASSERT_EQ(Convert({{fromGb, "xls", kCsv}, {fromUtf8, "xls", kCsv}, {ids, "xls", kCsv}}),
            (std::vector<bool>{true, true, true}));
  for (const char* name : {"gb.csv", "u8.csv", "ids.csv"}) dir_.Write(name, "");
  EXPECT_EQ(Convert({{NativePath(dir_.Path("gb.xls")), "csv", kWorkbook},
                     {NativePath(dir_.Path("u8.xls")), "csv", kWorkbook},
                     {NativePath(dir_.Path("ids.xls")), "csv", kWorkbook}}),
            (std::vector<bool>{true, true, true}));
  EXPECT_EQ(dir_.Read("gb.csv"), gb);
  EXPECT_EQ(dir_.Read("u8.csv"), gb);
  EXPECT_EQ(dir_.Read("ids.csv"), platform::Utf8ToEngine(kIds));
}

TEST_F(RealLibreOffice, SameNamesInTwoFoldersGbkNamesAndOneTargetTwiceInOneRun) {
  const std::string gbkName = "\xb1\xed";  // 表 in GBK bytes
  EXPECT_EQ(Convert({{Sample("book.xls", "a/data.xls"), "csv", kWorkbook},
                     {Sample("other.xls", "b/data.xls"), "csv", kWorkbook},
                     {Sample("other.xls", "c/" + gbkName + ".xls"), "csv", kWorkbook},
                     // Two rows, one new file: the later row's stays, as when done one by one.
                     {Sample("book.xls", "d/dup.xls"), "csv", kWorkbook},
                     {Sample("other.xlsx", "d/dup.xlsx"), "csv", kWorkbook}}),
            (std::vector<bool>{true, true, true, true, true}));
  EXPECT_EQ(dir_.Read("a/data.csv"), platform::Utf8ToEngine(kBook));
  EXPECT_EQ(dir_.Read("b/data.csv"), platform::Utf8ToEngine(kOther));
  EXPECT_EQ(dir_.Read("c/" + gbkName + ".csv"), platform::Utf8ToEngine(kOther));
  EXPECT_EQ(dir_.Read("d/dup.csv"), platform::Utf8ToEngine(kOther));
}

TEST_F(RealLibreOffice, AFailedConversionLeavesNoFileAndKeepsAnOlderOne) {
  const NativePath broken(dir_.Write("broken.xlsx", "PK\x03\x04 not a workbook"));
  const NativePath brokenOverOld(dir_.Write("old.xlsx", "PK\x03\x04 not a workbook"));
  dir_.Write("old.csv", "older file");
  const NativePath readOnlyTarget = Sample("book.xls", "kept.xls");
  dir_.Write("kept.csv", "read-only file");
  chmod(dir_.Path("kept.csv").c_str(), 0444);
  const NativePath good = Sample("book.xls", "good.xls");
  EXPECT_EQ(Convert({{broken, "csv", kWorkbook},
                     {brokenOverOld, "csv", kWorkbook},
                     {readOnlyTarget, "csv", kWorkbook},
                     {NativePath(dir_.Path("gone.xls")), "csv", kWorkbook},
                     {good, "csv", kWorkbook},
                     {good, "nosuchformat", kWorkbook}}),
            (std::vector<bool>{false, false, false, false, true, false}));
  EXPECT_FALSE(dir_.Exists("broken.csv"));
  EXPECT_EQ(dir_.Read("old.csv"), "older file");
  EXPECT_EQ(dir_.Read("kept.csv"), "read-only file");
  EXPECT_FALSE(dir_.Exists("good.nosuchformat"));
  EXPECT_EQ(dir_.Read("good.csv"), platform::Utf8ToEngine(kBook));
}

}  // namespace
}  // namespace convert
