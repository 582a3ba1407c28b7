// Ray against box, the BoundingBox3 natives and the static Geom natives.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "geom_heap.h"
#include "pipeline/ray_box.h"

using namespace geom_test;

namespace {

struct RayCase {
  const char* name;
  Vec3 origin, direction;
  int hit;
  float t;
};

// The unit box around (1, 2, 3): x in [0, 2], y in [1, 3], z in [2, 4].
const Vec3 kCentre = {1, 2, 3}, kHalf = {1, 1, 1};

const RayCase kRayCases[] = {
    {"inside", {1, 2, 3}, {0, 0, 0}, 1, 0.0f},
    {"on a face, pointing away", {2, 2, 3}, {1, 0, 0}, 1, 0.0f},
    {"from -x", {-4, 2, 3}, {2, 0, 0}, 1, 2.0f},
    {"from +x", {6, 2.5f, 3}, {-1, 0, 0}, 1, 4.0f},
    {"from -y, slanted", {1, -1, 3}, {0.25f, 1, 0}, 1, 2.0f},
    {"from +z", {1, 2, 10}, {0, 0, -0.5f}, 1, 12.0f},
    {"entry on an edge (inclusive)", {-1, 3, 3}, {1, 0, 0}, 1, 1.0f},
    {"x outside, moving away", {-1, 2, 3}, {-1, 0, 0}, 0, 0},
    {"x outside, parallel", {-1, 2, 3}, {0, 1, 0}, 0, 0},
    {"beside the box", {-1, 5, 3}, {1, 0, 0}, 0, 0},
    {"crosses the x plane outside, then the y plane outside", {-1, -1, 3}, {1, 0.5f, 0}, 0, 0},
    {"enters where the x and y planes meet", {-1, -1, 3}, {1, 2, 0}, 1, 1.0f},
};

TEST(RayBox, EntryParameterOrMiss) {
  for (const RayCase& c : kRayCases) {
    float t = -123.0f;
    EXPECT_EQ(intersectRayBox(c.origin.data(), c.direction.data(), kCentre.data(), kHalf.data(), &t), c.hit) << c.name;
    EXPECT_EQ(t, c.hit ? c.t : -123.0f) << c.name;
  }
}

TEST(BoundingBox3Natives, RayIntersection) {
  const JHandle box = newPair(kCentre, kHalf);
  for (const RayCase& c : kRayCases) {
    EXPECT_EQ(callFloat("BoundingBox3_rayIntersection", {box, newPair(c.origin, c.direction)}), c.hit ? c.t : -1.0f)
        << c.name;
  }
  // An empty box misses whatever the ray, even one starting at its centre.
  const JHandle empty = newPair(kCentre, {-1, 1, 1});
  EXPECT_EQ(callFloat("BoundingBox3_rayIntersection", {empty, newPair(kCentre, {1, 0, 0})}), -1.0f);
  EXPECT_EQ(callFloat("BoundingBox3_rayIntersection", {box, 0u}), -1.0f);
}

Matrix4 quarterTurnAboutZ() {
  Matrix4 m;
  matrixIdentity(&m);
  matrixRotate(&m, 0, 0, 1, std::numbers::pi_v<float> / 2);
  return m;
}

TEST(BoundingBox3Natives, TransformInPlaceUnlessEmpty) {
  Matrix4 move;
  matrixIdentity(&move);
  matrixTranslate(&move, 10, 20, 30);
  const JHandle box = newPair(kCentre, {1, 2, 3});
  callVoid("BoundingBox3_transform", {box, newMatrix(move)});
  EXPECT_TRUE(bitsEqual<3>({11, 22, 33}, firstOf(box)));
  EXPECT_TRUE(bitsEqual<3>({1, 2, 3}, secondOf(box)));

  callVoid("BoundingBox3_transform", {box, newMatrix(quarterTurnAboutZ())});
  const Vec3 half = secondOf(box);
  EXPECT_NEAR(half[0], 2.0f, 1e-6f);
  EXPECT_NEAR(half[1], 1.0f, 1e-6f);

  const JHandle empty = newPair(kCentre, {-1, 2, 3});
  callVoid("BoundingBox3_transform", {empty, newMatrix(move)});
  EXPECT_TRUE(bitsEqual(kCentre, firstOf(empty)));
  EXPECT_TRUE(bitsEqual<3>({-1, 2, 3}, secondOf(empty)));
}

// A non-trivial affine matrix, inverse of nothing in particular.
Matrix4 skewed() {
  Matrix4 m = {{2, 1, 0, 0, 0, 1, 3, 0, 1, 0, 1, 0, 5, 6, 7, 1}, MATRIX_AFFINE};
  return m;
}

TEST(GeomNatives, VectorsPointsAndNormalsWithSeparateAndSharedDestinations) {
  struct Case {
    const char* native;
    void (*library)(const Matrix4*, const float*, float*);
    bool vectorFirst;  // doTransformNormal takes the vector before the matrix
  };
  const Case cases[] = {{"Geom_doTransformVector", matrixTransformVector2, false},
                        {"Geom_doTransformPoint", matrixTransformPoint2, false},
                        {"Geom_doTransformNormal", matrixTransformNormal2, true}};
  const Matrix4 m = skewed();
  const Vec3 v = {1, -2, 3};
  for (const Case& c : cases) {
    Vec3 expected;
    c.library(&m, v.data(), expected.data());
    const JHandle matrix = newMatrix(m), src = newVector(v[0], v[1], v[2]), dst = newVector(0, 0, 0);
    if (c.vectorFirst) {
      callVoid(c.native, {src, matrix, dst});
    } else {
      callVoid(c.native, {matrix, src, dst});
    }
    EXPECT_TRUE(bitsEqual(expected, vectorIn(dst))) << c.native;
    EXPECT_TRUE(bitsEqual(v, vectorIn(src))) << c.native;

    const JHandle same = newVector(v[0], v[1], v[2]);
    if (c.vectorFirst) {
      callVoid(c.native, {same, matrix, same});
    } else {
      callVoid(c.native, {matrix, same, same});
    }
    EXPECT_TRUE(bitsEqual(expected, vectorIn(same))) << c.native << " in place";
    EXPECT_TRUE(sameBits(m, matrixIn(matrix)));
  }
  // The normal rule by hand: n·M₃ᵀ, with (1, 0, 0) picking column 0 of the block.
  const JHandle n = newVector(1, 0, 0);
  callVoid("Geom_doTransformNormal", {n, newMatrix(skewed()), n});
  EXPECT_TRUE(bitsEqual<3>({2, 0, 1}, vectorIn(n)));
}

TEST(GeomNatives, BoundingBoxes) {
  const Matrix4 m = skewed();
  const Vec3 half = {1, 0.5f, 2};
  Vec3 centreOut, halfOut;
  matrixTransformBBox2(&m, kCentre.data(), half.data(), centreOut.data(), halfOut.data());
  // Centre (1, 2, 3)·M₃ + t = (2 + 3, 1 + 2, 6 + 3) + (5, 6, 7); half-extents by |M₃|.
  EXPECT_TRUE(bitsEqual<3>({10, 9, 16}, centreOut));
  EXPECT_TRUE(bitsEqual<3>({4, 1.5f, 3.5f}, halfOut));

  const JHandle matrix = newMatrix(m);
  const JHandle src = newPair(kCentre, half), dst = newPair({0, 0, 0}, {0, 0, 0});
  callVoid("Geom_doTransformBoundingBox", {matrix, src, dst});
  EXPECT_TRUE(bitsEqual(centreOut, firstOf(dst)));
  EXPECT_TRUE(bitsEqual(halfOut, secondOf(dst)));
  EXPECT_TRUE(bitsEqual(kCentre, firstOf(src)));
  EXPECT_TRUE(bitsEqual(half, secondOf(src)));

  callVoid("Geom_doTransformBoundingBox", {matrix, src, src});
  EXPECT_TRUE(bitsEqual(centreOut, firstOf(src)));
  EXPECT_TRUE(bitsEqual(halfOut, secondOf(src)));

  // An empty box passes through unchanged, into a separate destination too.
  const JHandle empty = newPair(kCentre, {-1, 1, 1});
  const JHandle into = newPair({9, 9, 9}, {9, 9, 9});
  callVoid("Geom_doTransformBoundingBox", {matrix, empty, into});
  EXPECT_TRUE(bitsEqual(kCentre, firstOf(into)));
  EXPECT_TRUE(bitsEqual<3>({-1, 1, 1}, secondOf(into)));
  callVoid("Geom_doTransformBoundingBox", {matrix, empty, empty});
  EXPECT_TRUE(bitsEqual(kCentre, firstOf(empty)));
}

TEST(GeomNatives, NullArgumentsChangeNothing) {
  const JHandle v = newVector(1, 2, 3);
  callVoid("Geom_doTransformPoint", {0u, v, v});
  callVoid("Geom_doTransformVector", {newMatrix(skewed()), 0u, v});
  callVoid("Geom_doTransformNormal", {v, newMatrix(skewed()), 0u});
  EXPECT_TRUE(bitsEqual<3>({1, 2, 3}, vectorIn(v)));
  const JHandle box = newPair(kCentre, kHalf);
  callVoid("Geom_doTransformBoundingBox", {newMatrix(skewed()), 0u, box});
  setHandle(box, 1, 0);  // a box without half-extents
  callVoid("Geom_doTransformBoundingBox", {newMatrix(skewed()), box, box});
  callVoid("BoundingBox3_transform", {box, newMatrix(skewed())});
  EXPECT_EQ(callFloat("BoundingBox3_rayIntersection", {box, newPair(kCentre, kHalf)}), -1.0f);
  EXPECT_TRUE(bitsEqual(kCentre, firstOf(box)));
}

}  // namespace
