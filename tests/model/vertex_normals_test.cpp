// Crease-angle vertex normals and handing them back.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>
#include <vector>

#include "model/model.h"

namespace {

struct ModelDeleter {
  void operator()(RukModel* model) const { destroyModel(model); }
};
using ModelPtr = std::unique_ptr<RukModel, ModelDeleter>;

// A closed cube of 12 counter-clockwise triangles on the 8 corners
// (+-1, +-1, +-1); vertex i has x > 0 when bit 0 is set, y bit 1, z bit 2.
struct Cube {
  std::vector<float> vertices;
  std::vector<uint32_t> indices;
  std::vector<float> faceNormals;
  ModelPtr model;

  Cube() {
    for (uint32_t i = 0; i < 8; ++i) {
      vertices.push_back(i & 1 ? 1.0f : -1.0f);
      vertices.push_back(i & 2 ? 1.0f : -1.0f);
      vertices.push_back(i & 4 ? 1.0f : -1.0f);
    }
    const uint32_t quads[6][4] = {{4, 5, 7, 6}, {0, 2, 3, 1}, {1, 3, 7, 5}, {0, 4, 6, 2}, {2, 6, 7, 3}, {0, 1, 5, 4}};
    for (const auto& q : quads) indices.insert(indices.end(), {q[0], q[1], q[2], q[0], q[2], q[3]});
    model.reset(createModel(0, 12, 8, 0, 0, 0, 0, 0, vertices.data()));
    faceNormals.resize(36);
    EXPECT_TRUE(generateFaceNormals(model.get(), vertices.data(), indices.data(), faceNormals.data()));
  }

  int32_t generate(float angle) {
    int32_t count = -1;
    EXPECT_TRUE(generateVertexNormals(model.get(), angle, vertices.data(), indices.data(), faceNormals.data(), &count));
    return count;
  }
};

TEST(VertexNormals, CubeFaceNormalsPointOutward) {
  Cube cube;
  // Quads in order +z, -z, +x, -x, +y, -y, two triangles each.
  const float expected[6][3] = {{0, 0, 1}, {0, 0, -1}, {1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}};
  for (int t = 0; t < 12; ++t) {
    for (int axis = 0; axis < 3; ++axis) EXPECT_EQ(cube.faceNormals[3 * t + axis], expected[t / 2][axis]) << t;
  }
}

TEST(VertexNormals, CubeWithNarrowCreaseHasOneNormalPerFaceAndCorner) {
  Cube cube;
  EXPECT_EQ(cube.generate(0.5f), 24);  // the buffer of 8 grew three times
  EXPECT_EQ(cube.model->normalCount, 24u);
  EXPECT_EQ(cube.model->normalBinding, BINDING_PER_CORNER);
  std::map<std::pair<uint32_t, uint32_t>, uint32_t> byVertexAndFace;
  std::set<uint32_t> used;
  for (uint32_t c = 0; c < 36; ++c) {
    const uint32_t index = cube.model->normalIndices[c];
    ASSERT_LT(index, 24u);
    used.insert(index);
    const auto key = std::make_pair(cube.indices[c], c / 6);
    const auto [it, inserted] = byVertexAndFace.emplace(key, index);
    EXPECT_EQ(it->second, index) << "both triangles of a face share the corner's normal";
    for (int axis = 0; axis < 3; ++axis) {
      EXPECT_EQ(cube.model->normals[3 * index + axis], cube.faceNormals[3 * (c / 3) + axis]);
    }
  }
  EXPECT_EQ(used.size(), 24u);
  EXPECT_EQ(byVertexAndFace.size(), 24u);
}

TEST(VertexNormals, CubeWithWideCreaseSharesOneNormalPerVertex) {
  Cube cube;
  EXPECT_EQ(cube.generate(2.0f), 8);
  std::map<uint32_t, uint32_t> byVertex;
  for (uint32_t c = 0; c < 36; ++c) {
    const uint32_t v = cube.indices[c];
    const uint32_t index = cube.model->normalIndices[c];
    ASSERT_LT(index, 8u);
    const auto [it, inserted] = byVertex.emplace(v, index);
    EXPECT_EQ(it->second, index);
    // The normal leans out of the cube on every axis, and is a unit vector.
    const float* n = cube.model->normals + 3 * index;
    for (int axis = 0; axis < 3; ++axis) EXPECT_GT(n[axis] * cube.vertices[3 * v + axis], 0.0f);
    EXPECT_NEAR(n[0] * n[0] + n[1] * n[1] + n[2] * n[2], 1.0f, 1e-6f);
  }
  EXPECT_EQ(byVertex.size(), 8u);
}

TEST(VertexNormals, CoplanarTrianglesShareTheirEdgeCorners) {
  const std::vector<float> v = {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0};
  const std::vector<uint32_t> indices = {0, 1, 2, 0, 2, 3};
  const std::vector<float> faces = {0, 0, 1, 0, 0, 1};
  ModelPtr model(createModel(0, 2, 4, 0, 0, 0, 0, 0, v.data()));
  int32_t count = -1;
  ASSERT_TRUE(generateVertexNormals(model.get(), 0.1f, v.data(), indices.data(), faces.data(), &count));
  EXPECT_EQ(count, 4);
  const uint32_t expected[6] = {0, 1, 2, 0, 2, 3};
  for (int c = 0; c < 6; ++c) EXPECT_EQ(model->normalIndices[c], expected[c]) << c;
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(model->normals[3 * i + 2], 1.0f);
  }
}

// Three triangles meet only at vertex 0; their normals lean 0, 30 and 60
// degrees about x. With a crease of 0.6 rad (34 degrees) the first joins the
// second, and the third, opening its own group, takes the second over.
TEST(VertexNormals, ANeighbourMovesToTheLaterGroup) {
  const float pi = 3.14159265358979f;
  auto leaning = [](float degrees, std::vector<float>& out) {
    const double radians = degrees * 3.14159265358979 / 180.0;
    out.insert(out.end(), {0.0f, static_cast<float>(std::sin(radians)), static_cast<float>(std::cos(radians))});
  };
  std::vector<float> faces;
  leaning(0, faces);
  leaning(30, faces);
  leaning(60, faces);
  const std::vector<uint32_t> indices = {0, 1, 2, 0, 3, 4, 0, 5, 6};
  const std::vector<float> v(21, 0.0f);
  ModelPtr model(createModel(0, 3, 7, 0, 0, 0, 0, 0, v.data()));
  int32_t count = -1;
  ASSERT_TRUE(generateVertexNormals(model.get(), 0.6f, v.data(), indices.data(), faces.data(), &count));
  EXPECT_EQ(count, 8);
  const uint32_t expected[9] = {0, 1, 2, 5, 3, 4, 5, 6, 7};
  for (int c = 0; c < 9; ++c) EXPECT_EQ(model->normalIndices[c], expected[c]) << c;
  // Group 0 still sums the first two (bisecting at 15 degrees), group 5 the
  // last two (45 degrees).
  EXPECT_NEAR(model->normals[1], std::sin(15 * pi / 180), 1e-6f);
  EXPECT_NEAR(model->normals[2], std::cos(15 * pi / 180), 1e-6f);
  EXPECT_NEAR(model->normals[16], std::sin(45 * pi / 180), 1e-6f);
  EXPECT_NEAR(model->normals[17], std::cos(45 * pi / 180), 1e-6f);
}

TEST(VertexNormals, AGroupSummingToZeroGetsX) {
  // Three faces at vertex 0, 120 degrees apart: within a crease of 2.5 rad
  // of the first, they all join and cancel out.
  const std::vector<float> faces = {0, 1, 0, 0, -0.5f, 0.8660254f, 0, -0.5f, -0.8660254f};
  const std::vector<uint32_t> indices = {0, 1, 2, 0, 3, 4, 0, 5, 6};
  const std::vector<float> v(21, 0.0f);
  ModelPtr model(createModel(0, 3, 7, 0, 0, 0, 0, 0, v.data()));
  int32_t count = -1;
  ASSERT_TRUE(generateVertexNormals(model.get(), 2.5f, v.data(), indices.data(), faces.data(), &count));
  EXPECT_EQ(model->normalIndices[0], 0u);
  EXPECT_EQ(model->normalIndices[3], 0u);
  EXPECT_EQ(model->normalIndices[6], 0u);
  EXPECT_EQ(model->normals[0], 1.0f);
  EXPECT_EQ(model->normals[1], 0.0f);
  EXPECT_EQ(model->normals[2], 0.0f);
}

// With fewer than two triangles nothing is generated: the count reported is
// the model's own (0 unless created with per-corner normals).
struct OneTriangleCase {
  int32_t javaNormalBinding;
  uint32_t normalCount;
  int32_t reported;
};
class OneTriangle : public testing::TestWithParam<OneTriangleCase> {};

TEST_P(OneTriangle, SkipsGenerationAndReportsTheModelsCount) {
  const OneTriangleCase& o = GetParam();
  const std::vector<float> v = {0, 0, 0, 1, 0, 0, 0, 1, 0};
  const uint32_t indices[3] = {0, 1, 2};
  const float faces[3] = {0, 0, 1};
  ModelPtr model(createModel(0, 1, 3, o.javaNormalBinding, o.normalCount, 0, 0, 0, v.data()));
  int32_t count = -1;
  ASSERT_TRUE(generateVertexNormals(model.get(), 1.0f, v.data(), indices, faces, &count));
  EXPECT_EQ(count, o.reported);
  EXPECT_EQ(model->normalBinding, BINDING_PER_CORNER);
  EXPECT_EQ(model->normals, nullptr);
  if (count == 0) {
    copyVertexNormals(model.get(), count, nullptr, nullptr);
    EXPECT_EQ(model->normalBinding, BINDING_PER_PRIMITIVE);
  }
}
INSTANTIATE_TEST_SUITE_P(All, OneTriangle, testing::Values(OneTriangleCase{0, 0, 0}, OneTriangleCase{2, 5, 5}));

TEST(VertexNormals, OtherKindsAreLeftAlone) {
  const float v[6] = {0, 0, 0, 1, 1, 1};
  const uint32_t indices[4] = {0, 1, 1, 0};
  ModelPtr lines(createModel(1, 2, 2, 0, 0, 0, 0, 0, v));
  int32_t count = -1;
  ASSERT_TRUE(generateVertexNormals(lines.get(), 1.0f, v, indices, nullptr, &count));
  EXPECT_EQ(count, -1);
  EXPECT_EQ(lines->normalBinding, BINDING_NONE);
}

TEST(VertexNormals, AnIndexPastTheVerticesIsRefused) {
  const std::vector<float> v(9, 0.0f);
  const std::vector<uint32_t> indices = {0, 1, 2, 0, 2, 3};
  const std::vector<float> faces = {0, 0, 1, 0, 0, 1};
  ModelPtr model(createModel(0, 2, 3, 0, 0, 0, 0, 0, v.data()));
  int32_t count = -1;
  EXPECT_FALSE(generateVertexNormals(model.get(), 1.0f, v.data(), indices.data(), faces.data(), &count));
  EXPECT_EQ(count, -1);
  EXPECT_EQ(model->normals, nullptr);
  EXPECT_EQ(model->normalIndices, nullptr);
  EXPECT_EQ(model->normalBinding, BINDING_NONE);
}

TEST(VertexNormals, CopyHandsBackAndReleases) {
  Cube cube;
  const int32_t count = cube.generate(2.0f);
  std::vector<float> normals(3 * count, 9.0f);
  std::vector<uint32_t> indices(36, 99);
  const std::vector<float> generated(cube.model->normals, cube.model->normals + 3 * count);
  const std::vector<uint32_t> generatedIndices(cube.model->normalIndices, cube.model->normalIndices + 36);
  copyVertexNormals(cube.model.get(), count, normals.data(), indices.data());
  EXPECT_EQ(normals, generated);
  EXPECT_EQ(indices, generatedIndices);
  EXPECT_EQ(cube.model->normals, nullptr);
  EXPECT_EQ(cube.model->normalIndices, nullptr);
  EXPECT_EQ(cube.model->normalBinding, BINDING_PER_CORNER);
}

TEST(VertexNormals, CopyWithCountZeroSwitchesToFaceNormals) {
  Cube cube;
  cube.generate(2.0f);
  copyVertexNormals(cube.model.get(), 0, nullptr, nullptr);
  EXPECT_EQ(cube.model->normalBinding, BINDING_PER_PRIMITIVE);
  // The pending buffers are released with the model.
}

// Copy-back writes only what the Java arrays are declared to hold: no more
// normals than were generated or the Java count says, no more indices than
// the index array has room for. A negative count declares no normals at
// all: nothing is copied and the generated ones wait for a later copy.
struct CopyCase {
  const char* what;
  int32_t javaCount;
  uint64_t indexRoom;
  std::size_t normalsCopied, indicesCopied;
};
void PrintTo(const CopyCase& c, std::ostream* os) { *os << c.what; }

class CopyBack : public testing::TestWithParam<CopyCase> {};

TEST_P(CopyBack, WritesNoMoreThanTheArraysHold) {
  const CopyCase& c = GetParam();
  Cube cube;
  ASSERT_EQ(cube.generate(2.0f), 8);
  const std::vector<float> generated(cube.model->normals, cube.model->normals + 24);
  const std::vector<uint32_t> generatedIndices(cube.model->normalIndices, cube.model->normalIndices + 36);
  std::vector<float> normals(3 * 20, 9.0f);
  std::vector<uint32_t> indices(40, 99);
  copyVertexNormals(cube.model.get(), c.javaCount, normals.data(), indices.data(), c.indexRoom);
  for (std::size_t i = 0; i < normals.size(); ++i) {
    EXPECT_EQ(normals[i], i < 3 * c.normalsCopied ? generated[i] : 9.0f) << "normal element " << i;
  }
  for (std::size_t i = 0; i < indices.size(); ++i) {
    EXPECT_EQ(indices[i], i < c.indicesCopied ? generatedIndices[i] : 99u) << "index " << i;
  }
  const bool copied = c.javaCount > 0;
  EXPECT_EQ(cube.model->normals == nullptr, copied) << "copied buffers are released, others kept";
  EXPECT_EQ(cube.model->normalBinding, BINDING_PER_CORNER);
}

INSTANTIATE_TEST_SUITE_P(
    Counts, CopyBack,
    testing::Values(CopyCase{"as generated", 8, 36, 8, 36}, CopyCase{"a smaller count", 3, 36, 3, 36},
                    CopyCase{"a larger count", 20, 36, 8, 36}, CopyCase{"room for fewer indices", 8, 6, 8, 6},
                    CopyCase{"no index room", 8, 0, 8, 0}, CopyCase{"a negative count", -1, 36, 0, 0},
                    CopyCase{"the most negative count", INT32_MIN, 36, 0, 0}));

TEST(VertexNormals, RegeneratingReplacesPendingBuffers) {
  Cube cube;
  EXPECT_EQ(cube.generate(0.5f), 24);
  EXPECT_EQ(cube.generate(2.0f), 8);
  EXPECT_EQ(cube.model->normalCount, 8u);
}

}  // namespace
