// The editing keys' source lines in the log.
#include "demo/editing_keys.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "base/log.h"
#include "support/temp_dir.h"

namespace {

class EditingKeysLog : public ::testing::Test {
 protected:
  void SetUp() override { OpenLog(dir.File("log.txt")); }
  void TearDown() override { CloseLog(); }
  std::vector<std::string> Lines() const {
    std::istringstream in(testing_support::ReadFile(dir.File("log.txt")));
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
  testing_support::TempDir dir;
  EditingKeys keys;
};

TEST_F(EditingKeysLog, ClickWritesTheTimeWithAFlagStartingAtOne) {
  keys.Click(1500.0f);
  keys.Click(2000.25f);
  keys.Click(123456.0f);
  EXPECT_EQ(Lines(), (std::vector<std::string>{"changeGreetzProp->SetValue(1, 1.5000);",
                                               "changeGreetzProp->SetValue(0, 2.0003);",
                                               "changeGreetzProp->SetValue(1, 123.4560);"}));
}

TEST_F(EditingKeysLog, KeyBTogglesItsOwnFlagFirst) {
  const sm::Mat4 view;
  keys.Key('B', 1000.0f, view);
  keys.Click(1000.0f);  // the click's flag is a separate one
  keys.Key('B', 2000.0f, view);
  keys.Key('B', 3000.0f, view);
  EXPECT_EQ(Lines(), (std::vector<std::string>{"m_fovAnim->SetValue(1, 1.0000);",
                                               "changeGreetzProp->SetValue(1, 1.0000);",
                                               "m_fovAnim->SetValue(0, 2.0000);",
                                               "m_fovAnim->SetValue(1, 3.0000);"}));
}

TEST_F(EditingKeysLog, KeyLWritesTheViewMatrixAsEighteenLines) {
  sm::Mat4 view;
  for (int i = 0; i < 16; ++i) view.a[i] = static_cast<float>(i) * 0.5f - 1.0f;
  keys.Key('L', 0.0f, view);
  const std::vector<std::string> lines = Lines();
  ASSERT_EQ(lines.size(), 18u);
  EXPECT_EQ(lines[0], "Light");
  EXPECT_EQ(lines[1], "lightTransform.a[0] = -1.0000f;");
  EXPECT_EQ(lines[16], "lightTransform.a[15] = 6.5000f;");
  EXPECT_EQ(lines[17], "");
}

TEST_F(EditingKeysLog, OtherKeysWriteNothing) {
  const sm::Mat4 view;
  for (int key : {int{'b'}, int{'l'}, int{'A'}, 27, 0, 1000}) keys.Key(key, 0.0f, view);
  EXPECT_TRUE(Lines().empty());
}

}  // namespace
