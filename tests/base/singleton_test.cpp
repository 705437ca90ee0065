#include "base/singleton.h"

#include <gtest/gtest.h>

namespace {

struct Counted final : GenericSingleton<Counted> {
  static inline int constructed = 0;
  static inline int destroyed = 0;
  Counted() { ++constructed; }
  ~Counted() { ++destroyed; }
};

TEST(GenericSingleton, CreatesOnFirstUseAndStartsAnewAfterDestroy) {
  EXPECT_FALSE(Counted::Exists());
  Counted* first = Counted::Instance();
  EXPECT_EQ(first, Counted::Instance());
  EXPECT_EQ(Counted::constructed, 1);
  Counted::Destroy();
  EXPECT_EQ(Counted::destroyed, 1);
  EXPECT_FALSE(Counted::Exists());
  Counted::Destroy();  // nothing left to destroy
  EXPECT_EQ(Counted::destroyed, 1);
  Counted::Instance();
  EXPECT_EQ(Counted::constructed, 2);
  Counted::Destroy();
}

}  // namespace
