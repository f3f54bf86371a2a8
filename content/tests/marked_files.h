#pragma once
// The start of the run tests of the line modes: two listed, marked files "a.txt" and
// "b.txt" holding three LF lines, and a change counter left at 7 by an earlier run.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fileset/batch_run.h"
#include "fileset/file_list.h"
#include "platform/error.h"
#include "platform/testing/recording_host.h"
#include "platform/testing/temp_folder.h"

namespace content::testing {

inline constexpr const char* kThreeLines = "1\n2\n3\n";

class MarkedFilesRun : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"a.txt", "b.txt"}) {
      temp_.Write(name, kThreeLines);
      files_.AppendFileRow(
          {name, temp_.Path(), "6", "2020-01-01 00:00:00", "2020-01-02 00:00:00", ".txt"});
      files_.SetMark(files_.RowCount() - 1, true);
    }
    host_.WriteCounter(platform::Counter::Change, 7);
  }

  // Nothing on disk changed, and the counter still shows its old value.
  void ExpectUntouched() {
    EXPECT_EQ(temp_.Read("a.txt"), kThreeLines);
    EXPECT_EQ(temp_.Read("b.txt"), kThreeLines);
    EXPECT_FALSE(temp_.Exists("a.txt.bak"));
    EXPECT_FALSE(temp_.Exists("b.txt.bak"));
    EXPECT_EQ(host_.Count(platform::Counter::Change), 7);
  }

  // A run that must end before any file is touched: with the box `box` and the focus
  // on `focus`, or, when `box` is null, with the CommandError `error`, thrown before the
  // start button is disabled or, `afterDisabling`, once it was (and given back).
  template <typename Run>
  void ExpectRefused(Run run, const char* box, const char* error, const char* focus,
                     bool afterDisabling = false) {
    host_.boxes.clear();
    host_.commandEnabled.clear();
    if (box != nullptr) {
      EXPECT_EQ(run().focus, focus);
      EXPECT_EQ(host_.boxes, std::vector<std::string>{box});
      EXPECT_TRUE(host_.commandEnabled.empty());
    } else {
      try {
        run();
        ADD_FAILURE() << "no error";
      } catch (const platform::CommandError& thrown) {
        EXPECT_EQ(std::string(thrown.what()), error);
      }
      EXPECT_TRUE(host_.boxes.empty());
      const std::vector<bool> buttonStates =
          afterDisabling ? std::vector<bool>{false, true} : std::vector<bool>{};
      EXPECT_EQ(host_.commandEnabled, buttonStates);
    }
    ExpectUntouched();
  }

  platform::testing::TempFolder temp_;
  fileset::FileList files_;
  platform::testing::RecordingHost host_;
};

}  // namespace content::testing
