// Every slot of every table holds a routine, and each triangle slot selects
// the group and depth mode that the slot table prescribes.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "device/color_model.h"
#include "raster/raster.h"
#include "raster/triangle_variants.h"

namespace {

using G = TriangleGroup;

// The group each slot selects, written out range by range.
G expectedGroup(uint32_t slot) {
  struct Range {
    uint32_t first, last;
    G group;
  };
  static const Range ranges[] = {
      {0, 3, G::Flat},
      {4, 7, G::Smooth},
      {8, 15, G::Blend},
      {16, 19, G::FlatTextured},
      {20, 23, G::SmoothTextured},
      {24, 24, G::FlatTexturedBlend},
      {25, 26, G::SmoothTexturedBlend},
      {27, 27, G::FlatTexturedBlend},
      {28, 31, G::SmoothTexturedBlend},
      {32, 39, G::Specular},
      {40, 47, G::CombinedBlend},
      {48, 55, G::SpecularTextured},
      {56, 63, G::CombinedTexturedBlend},
      {64, 71, G::Fog},
      {72, 79, G::CombinedBlend},
      {80, 87, G::FogTextured},
      {88, 95, G::CombinedTexturedBlend},
      {96, 103, G::FogSpecular},
      {104, 111, G::CombinedBlend},
      {112, 119, G::FogSpecularTextured},
      {120, 127, G::CombinedTexturedBlend},
  };
  for (const Range& r : ranges) {
    if (slot >= r.first && slot <= r.last) return r.group;
  }
  ADD_FAILURE() << "slot " << slot;
  return G::Flat;
}

TEST(TriangleSlots, SelectTheGroupAndDepthModeOfTheirSlot) {
  for (uint32_t slot = 0; slot < TRIANGLE_TABLE_SIZE; ++slot) {
    const TriangleVariant v = triangleSlotVariant(slot);
    EXPECT_EQ(triangleGroupOf(v), expectedGroup(slot)) << "slot " << slot;
    EXPECT_EQ(v.depthMode, slot & 3) << "slot " << slot;
    // A combined member applies exactly the features of its slot.
    EXPECT_EQ(v.specular, (slot & RF_SPECULAR) != 0);
    EXPECT_EQ(v.fog, (slot & RF_FOG) != 0);
    EXPECT_EQ(v.texture, (slot & RF_TEXTURE) != 0);
    EXPECT_EQ(v.blend, (slot & RF_BLEND) != 0);
  }
}

TEST(TriangleSlots, CountDistinctRoutines) {
  std::set<uint32_t> variants;
  std::set<std::pair<G, uint32_t>> groupMembers;
  for (uint32_t slot = 0; slot < TRIANGLE_TABLE_SIZE; ++slot) {
    const TriangleVariant v = triangleSlotVariant(slot);
    variants.insert(v.depthMode | v.interpolated << 2 | v.texture << 3 | v.specular << 4 | v.blend << 5 | v.fog << 6);
    groupMembers.insert({triangleGroupOf(v), v.depthMode});
  }
  EXPECT_EQ(groupMembers.size(), 58u);  // 13 groups x 4 depth modes + 6 textured blend members
  EXPECT_EQ(variants.size(), TRIANGLE_ROUTINES_PER_TABLE);
  EXPECT_EQ(TRIANGLE_ROUTINES_PER_TABLE, 74u);
}

// Each table slot's routine is the one generated for its variant: slots with
// equal variants share a routine and different variants never do.
void expectRoutinesFollowVariants(const TriangleRoutine* table) {
  std::map<TriangleRoutine, uint32_t> firstSlot;
  for (uint32_t slot = 0; slot < TRIANGLE_TABLE_SIZE; ++slot) {
    ASSERT_NE(table[slot], nullptr) << slot;
    auto [it, inserted] = firstSlot.emplace(table[slot], slot);
    if (!inserted) {
      EXPECT_EQ(triangleSlotVariant(it->second), triangleSlotVariant(slot)) << slot;
    }
  }
  for (uint32_t a = 0; a < TRIANGLE_TABLE_SIZE; ++a) {
    for (uint32_t b = a + 1; b < TRIANGLE_TABLE_SIZE; ++b) {
      if (triangleSlotVariant(a) == triangleSlotVariant(b)) {
        EXPECT_EQ(table[a], table[b]) << a << " " << b;
      }
    }
  }
  EXPECT_EQ(firstSlot.size(), TRIANGLE_ROUTINES_PER_TABLE);
}

TEST(RasterTables, EveryFormatWithScanConvertersHasFullTables) {
  const uint32_t formats[] = {Indexed8, PixelFormatReserved1, Rgb555, Rgb16, Rgb24, Rgb32};
  std::set<const TriangleRoutine*> triangleTables;
  for (uint32_t format : formats) {
    SCOPED_TRACE(format);
    const RasterTableSet* set = rasterTablesFor(format);
    ASSERT_NE(set, nullptr);
    expectRoutinesFollowVariants(set->triangles);
    for (uint32_t slot = 0; slot < LINE_TABLE_SIZE; ++slot) EXPECT_NE(set->lines[slot], nullptr);
    for (uint32_t slot = 0; slot < POINT_TABLE_SIZE; ++slot) EXPECT_NE(set->points[slot], nullptr);
    const bool indexed = format == Indexed8 || format == PixelFormatReserved1;
    EXPECT_EQ(set->ditheredTriangles != nullptr, indexed);
    if (indexed) {
      expectRoutinesFollowVariants(set->ditheredTriangles);
      for (uint32_t slot = 0; slot < TRIANGLE_TABLE_SIZE; ++slot) {
        EXPECT_NE(set->ditheredTriangles[slot], set->triangles[slot]);
      }
    }
    triangleTables.insert(set->triangles);
  }
  EXPECT_EQ(rasterTablesFor(PixelFormatReserved1), rasterTablesFor(Indexed8));
  EXPECT_EQ(triangleTables.size(), 5u);  // the reserved format shares the indexed set
  EXPECT_EQ(rasterTablesFor(6), nullptr);
  EXPECT_EQ(rasterTablesFor(0xFFFFFFFF), nullptr);
}

}  // namespace
