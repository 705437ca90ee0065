// The list of steps: names that --only can take, each once, selected in pipeline
// order, and printed one per line.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <sstream>

#include "datagen/pipeline/step_list.h"

namespace {

using datagen::Step;
using datagen::Steps;

TEST(StepList, NamesAreUniqueWordsAndEveryStepBuildsSomething) {
  std::set<std::string> names;
  for (const Step& step : Steps()) {
    const std::string name = step.name;
    EXPECT_TRUE(names.insert(name).second) << name << " twice";
    EXPECT_FALSE(name.empty());
    EXPECT_EQ(name.find_first_not_of("abcdefghijklmnopqrstuvwxyz-"), std::string::npos)
        << "'" << name << "' must survive a comma-separated list on a command line";
    EXPECT_NE(step.build, nullptr) << name;
    EXPECT_GT(std::string(step.description).size(), 0u) << name;
  }
}

TEST(StepList, SelectionFollowsThePipelineOrderAndNamesTheUnknownStep) {
  std::vector<const Step*> selected;
  std::string error;
  ASSERT_TRUE(datagen::SelectSteps({"soundtrack", "materials", "soundtrack"}, selected, error));
  ASSERT_EQ(selected.size(), 2u);
  EXPECT_STREQ(selected[0]->name, "materials");
  EXPECT_STREQ(selected[1]->name, "soundtrack");
  EXPECT_TRUE(selected[1]->ownThread);

  EXPECT_FALSE(datagen::SelectSteps({"materials", "nope", "also-nope"}, selected, error));
  EXPECT_NE(error.find("'nope'"), std::string::npos) << error;
  EXPECT_EQ(error.find("also-nope"), std::string::npos) << error;
}

TEST(StepList, PrintsOneLinePerStepBeginningWithItsName) {
  char* text = nullptr;
  std::size_t size = 0;
  std::FILE* out = open_memstream(&text, &size);
  ASSERT_NE(out, nullptr);
  datagen::PrintSteps(out);
  std::fclose(out);
  std::istringstream lines(std::string(text, size));
  std::free(text);
  std::string line;
  for (const Step& step : Steps()) {
    ASSERT_TRUE(std::getline(lines, line));
    EXPECT_EQ(line.substr(0, line.find(' ')), step.name);
    EXPECT_NE(line.find(step.description), std::string::npos) << line;
  }
  EXPECT_FALSE(std::getline(lines, line)) << "one line per step: " << line;
}

}  // namespace
