// Which triangle routine each slot of a triangle table selects.
//
// A slot is the primitive's feature bits after masking:
// slot = depth mode + 4 smooth + 8 blend + 16 texture + 32 specular + 64 fog.
// Every routine is one TriangleVariant: its depth mode and the features its
// colour step applies. The tables of every pixel format are generated from
// triangleSlotVariant, so this one function decides the whole mapping.
#pragma once
#include <cstdint>

#include "raster/raster.h"
#include "runtime/isa_namespace.h"

inline namespace KELRUK_ISA {

// Depth modes: bit 1 test, bit 2 write.
inline constexpr uint32_t DEPTH_NONE = 0;
inline constexpr uint32_t DEPTH_TEST = 1;
inline constexpr uint32_t DEPTH_WRITE = 2;
inline constexpr uint32_t DEPTH_TEST_WRITE = 3;

// The named groups of triangle routines. The combined groups (every blended
// primitive with specular, fog or both) have one member per feature set, so a
// feature whose bit is not in the slot is simply not applied: the result is
// that of a specular colour and fog amount of zero.
enum class TriangleGroup : uint8_t {
  Flat,
  Smooth,
  Blend,
  FlatTextured,
  SmoothTextured,
  FlatTexturedBlend,
  SmoothTexturedBlend,
  Specular,
  SpecularTextured,
  Fog,
  FogTextured,
  FogSpecular,
  FogSpecularTextured,
  CombinedBlend,
  CombinedTexturedBlend,
};

// One triangle routine's identity; also the template argument that generates
// it (a structural type, so equal variants are one routine).
struct TriangleVariant {
  uint32_t depthMode;
  bool interpolated;  // colour interpolated; otherwise constant from the left edge's start
  bool texture;
  bool specular;
  bool blend;
  bool fog;
  friend constexpr bool operator==(const TriangleVariant&, const TriangleVariant&) = default;

  constexpr bool testsDepth() const { return (depthMode & DEPTH_TEST) != 0; }
  constexpr bool writesDepth() const { return (depthMode & DEPTH_WRITE) != 0; }
  constexpr bool carriesDepth() const { return depthMode != DEPTH_NONE; }
};

constexpr TriangleVariant triangleSlotVariant(uint32_t slot) {
  const uint32_t depth = slot & 3;
  const bool smooth = (slot & RF_SMOOTH) != 0;
  const bool blend = (slot & RF_BLEND) != 0;
  const bool texture = (slot & RF_TEXTURE) != 0;
  const bool specular = (slot & RF_SPECULAR) != 0;
  const bool fog = (slot & RF_FOG) != 0;
  // Only the flat, flat textured and flat textured blend groups keep one
  // colour; every other group interpolates. The flat textured blend group has
  // no depth-test-only or depth-write-only member: those slots take the
  // smooth textured blend routine.
  bool interpolated = smooth || specular || fog || (blend && !texture);
  if (blend && texture && !specular && !fog && (depth == DEPTH_TEST || depth == DEPTH_WRITE)) {
    interpolated = true;
  }
  return {depth, interpolated, texture, specular, blend, fog};
}

constexpr TriangleGroup triangleGroupOf(const TriangleVariant& v) {
  if (v.blend) {
    if (v.specular || v.fog) return v.texture ? TriangleGroup::CombinedTexturedBlend : TriangleGroup::CombinedBlend;
    if (!v.texture) return TriangleGroup::Blend;
    return v.interpolated ? TriangleGroup::SmoothTexturedBlend : TriangleGroup::FlatTexturedBlend;
  }
  if (v.fog && v.specular) return v.texture ? TriangleGroup::FogSpecularTextured : TriangleGroup::FogSpecular;
  if (v.fog) return v.texture ? TriangleGroup::FogTextured : TriangleGroup::Fog;
  if (v.specular) return v.texture ? TriangleGroup::SpecularTextured : TriangleGroup::Specular;
  if (v.texture) return v.interpolated ? TriangleGroup::SmoothTextured : TriangleGroup::FlatTextured;
  return v.interpolated ? TriangleGroup::Smooth : TriangleGroup::Flat;
}

// The number of distinct routines in one triangle table: thirteen groups in
// four depth modes, the textured blend group's six members, and the combined
// groups' extra members for specular-only and fog-only blending (two feature
// sets per combined group in four depth modes).
inline constexpr uint32_t TRIANGLE_ROUTINES_PER_TABLE = 13 * 4 + 6 + 2 * 2 * 4;

}  // namespace KELRUK_ISA
