#include "support/gdi_objects.h"

#include <gtest/gtest.h>

#include <vector>

#include "forms/handles.h"

namespace {

TEST(GdiObjects, CountRegionsCreatedAndDeleted) {
  constexpr int kRegions = 150;
  const auto before = support::CountGdiObjects(::GetCurrentProcess());
  ASSERT_TRUE(before);
  ASSERT_GT(before->total, 0) << "the stock objects at least";
  std::vector<forms::UniqueRegion> regions;
  for (int i = 0; i < kRegions; ++i) regions.emplace_back(::CreateRectRgn(0, 0, i + 1, 1));
  const auto held = support::CountGdiObjects(::GetCurrentProcess());
  regions.clear();
  const auto after = support::CountGdiObjects(::GetCurrentProcess());
  ASSERT_TRUE(held && after);
  EXPECT_EQ(held->Of(support::GdiObjectType::Region) - before->Of(support::GdiObjectType::Region), kRegions);
  EXPECT_EQ(held->total - before->total, kRegions);
  EXPECT_EQ(after->Of(support::GdiObjectType::Region), before->Of(support::GdiObjectType::Region));
  EXPECT_EQ(after->total, before->total);
}

TEST(GdiObjects, CountBitmapsAsBitmaps) {
  const auto before = support::CountGdiObjects(::GetCurrentProcess());
  forms::UniqueBitmap bitmap(::CreateBitmap(4, 4, 1, 32, nullptr));
  const auto held = support::CountGdiObjects(::GetCurrentProcess());
  ASSERT_TRUE(before && held);
  EXPECT_EQ(held->Of(support::GdiObjectType::Bitmap) - before->Of(support::GdiObjectType::Bitmap), 1);
}

}  // namespace
