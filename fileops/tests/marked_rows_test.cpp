#include "fileops/marked_rows.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace fileops {
namespace {

TEST(WalkMarkedRows, DoesEachFolderOncePerRunOfRows) {
  struct Case {
    const char* rows;     // the folder of each row; "-" before it: unmarked, "~": empty cell
    const char* results;  // folder calls that fail ("n") or succeed, in order; then success
    const char* calls;    // "fN" for row N, then the folder paths asked for
  } const cases[] = {
      {"/a /a /a", "", "f1 /a f2 f3"},
      {"/a /b /a", "", "f1 /a f2 /b f3 /a"},  // only the last folder is remembered
      {"/a /a /a", "n", "f1 /a f2 /a f3"},    // a failed folder is tried again
      {"/a /b /a", "yn", "f1 /a f2 /b f3"},   // a failure keeps the folder done before
      {"/a -/b /a", "", "f1 /a f3"},          // unmarked rows do not part a run
      {"/a/B /a/b", "", "f1 /a/B f2 /a/b"},   // exact comparison
      {"~ ~", "", "f1 / f2"},                 // the root's rows keep an empty folder cell
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rows);
    fileset::FileList files;
    std::istringstream rows(c.rows);
    for (std::string folder; rows >> folder;) {
      const bool marked = folder.front() != '-';
      if (!marked) folder.erase(0, 1);
      files.AppendFileRow({"f", folder == "~" ? "" : folder, "0", "", "", ""});
      files.SetMark(files.RowCount() - 1, marked);
    }
    std::string calls;
    const std::string_view results = c.results;
    std::size_t folderCall = 0;
    WalkMarkedRows(
        files, true, [&](int row) { calls += " f" + std::to_string(row); },
        [&](std::string_view path) {
          calls += " " + std::string(path);
          return folderCall >= results.size() || results[folderCall++] != 'n';
        });
    EXPECT_EQ(calls.substr(1), c.calls);
  }
}

TEST(WalkMarkedRows, ReadsTheMarksAgainAtEveryRowAndSkipsFoldersWhenNotAsked) {
  fileset::FileList files;
  for (int i = 0; i < 3; ++i) files.AppendFileRow({"f", "/a", "0", "", "", ""});
  files.SetMark(1, true);
  files.SetMark(2, true);
  std::string calls;
  // A click during the run moves a mark from row 2 to row 3.
  WalkMarkedRows(
      files, false,
      [&](int row) {
        calls += " f" + std::to_string(row);
        files.SetMark(2, false);
        files.SetMark(3, true);
      },
      [&](std::string_view path) {
        calls += " " + std::string(path);
        return true;
      });
  EXPECT_EQ(calls, " f1 f3");
}

}  // namespace
}  // namespace fileops
