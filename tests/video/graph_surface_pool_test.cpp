// The streaming thread's surface pool: surfaces come back when their last
// holder lets go. (Holders outliving the pool: GraphFrameTest.)
#include <gtest/gtest.h>

#include <memory>

#include "video/surface_pool.h"

namespace trevanto {
namespace {

TEST(SurfacePoolTest, ASurfaceComesBackWhenEveryHolderLetGo) {
    SurfacePool pool(32, 16);
    std::shared_ptr<Surface> first = pool.Acquire();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->Width(), 32);
    EXPECT_TRUE(first->Format().IsRgb32());
    Surface* const address = first.get();
    std::shared_ptr<const Surface> holder = first;
    first.reset();
    std::shared_ptr<Surface> second = pool.Acquire();
    EXPECT_NE(second.get(), address) << "still held";
    holder.reset();
    second.reset();
    for (int i = 0; i < 100; ++i) {
        const std::shared_ptr<Surface> again = pool.Acquire();
        EXPECT_TRUE(again.get() == address || pool.Created() == 2);
    }
    EXPECT_EQ(pool.Created(), 2) << "steady use makes no new surfaces";
}

}  // namespace
}  // namespace trevanto
