#include "common/busy.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/fakes/fake_platform.h"

namespace vellumark {
namespace {

using testing::FakeMousePointer;
using Shapes = std::vector<PointerShape>;

TEST(BusyIndicatorTest, OnlyTheOutermostPairChangesThePointer) {
  FakeMousePointer pointer;
  BusyIndicator busy(pointer);
  busy.BeginBusy();
  busy.BeginBusy();
  busy.EndBusy();
  EXPECT_EQ(pointer.shapes, Shapes{PointerShape::Hourglass});
  EXPECT_EQ(busy.Depth(), 1);
  busy.EndBusy();
  EXPECT_EQ(pointer.shapes, (Shapes{PointerShape::Hourglass, PointerShape::Default}));
  EXPECT_EQ(busy.Depth(), 0);
}

TEST(BusyIndicatorTest, EndBusyWhenIdleTouchesNothing) {
  FakeMousePointer pointer;
  BusyIndicator busy(pointer);
  busy.EndBusy();
  EXPECT_TRUE(pointer.shapes.empty());
  EXPECT_EQ(busy.Depth(), 0);
  // The ignored call must not leave a debt that swallows the next pair.
  busy.BeginBusy();
  busy.EndBusy();
  EXPECT_EQ(pointer.shapes, (Shapes{PointerShape::Hourglass, PointerShape::Default}));
}

TEST(BusyScopeTest, EndsOnceWhetherEndedEarlyOrNot) {
  FakeMousePointer pointer;
  BusyIndicator busy(pointer);
  {
    BusyScope outer(busy);
    {
      BusyScope inner(busy);
      inner.End();
      EXPECT_EQ(busy.Depth(), 1);
    }
    EXPECT_EQ(busy.Depth(), 1);
    outer.End();
    EXPECT_EQ(pointer.Current(), PointerShape::Default);
  }
  EXPECT_EQ(pointer.shapes, (Shapes{PointerShape::Hourglass, PointerShape::Default}));
}

}  // namespace
}  // namespace vellumark
