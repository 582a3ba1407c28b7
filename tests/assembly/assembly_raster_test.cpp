// Queue records as the 8-8-8 rasterizers draw them: the rows and columns a
// triangle covers follow from its edge fields, a triangle clipped to the view
// volume never reaches past the image, and the triangles of a mesh cover each
// pixel inside it exactly once.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <map>
#include <numbers>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "context/context.h"
#include "pipeline/assembly.h"
#include "pipeline/assembly_frame.h"
#include "raster/raster.h"

namespace {

constexpr uint32_t RED = 0x00FF0000;
constexpr uint32_t GUARD = 0xA5A5A5A5;

class AssemblyRaster : public ::testing::Test {
 protected:
  // A 32-bit context of width x height pixels with guard rows above and
  // below its colour buffer.
  void create(uint32_t width, uint32_t height) {
    this->width = width;
    memory.assign(width * (height + 2), GUARD);
    std::fill(memory.begin() + width, memory.end() - width, 0u);
    RukDeviceDescriptor screen{};
    screen.depth = 32;
    screen.redMask = 0xFF0000;
    screen.greenMask = 0xFF00;
    screen.blueMask = 0xFF;
    ASSERT_EQ(createContext(nullptr, &context, &screen, width, height,
                            reinterpret_cast<uint8_t*>(memory.data() + width), 0, nullptr, nullptr),
              RUK_OK);
    ASSERT_EQ(beginRendering(context), RUK_OK);
  }
  void TearDown() override { freeContext(context); }

  void flush() {
    const RasterTarget target = makeRasterTarget(context);
    flushRasterQueue(context->rasterState, &target, 0);
  }
  uint32_t pixel(uint32_t row, uint32_t column) const { return memory[(row + 1) * width + column]; }
  bool guardsIntact() const {
    for (uint32_t i = 0; i < width; ++i) {
      if (memory[i] != GUARD || memory[memory.size() - 1 - i] != GUARD) return false;
    }
    return true;
  }

  RukContext* context = nullptr;
  uint32_t width = 0;
  std::vector<uint32_t> memory;
};

// The whole-row triangle (10, 2), (2, 6), (14, 10): its left edge runs 10 -> 2
// -> 14 and its right edge 10 -> 12 -> 14; row r is sampled at y = r + 1 and
// covers the columns c with c + 1 in (left, right].
TEST_F(AssemblyRaster, TriangleCoversTheRowsAndColumnsOfItsEdges) {
  create(20, 12);
  const AssemblyFrame frame = makeAssemblyFrame(context, 0);
  const ScreenVertex p0{10, 2, 0, 0, 0, 0xFFFF0000, 0};
  const ScreenVertex p1{2, 6, 0, 0, 0, 0xFFFF0000, 0};
  const ScreenVertex p2{14, 10, 0, 0, 0, 0xFFFF0000, 0};
  setupTriangle(context, frame, p0, p1, p2);
  flush();
  // Columns [first, end) of rows 0 to 11.
  const uint32_t spans[12][2] = {{0, 0},  {0, 0},  {8, 10},  {6, 11}, {4, 11}, {2, 12},
                                 {5, 12}, {8, 13}, {11, 13}, {0, 0},  {0, 0},  {0, 0}};
  for (uint32_t row = 0; row < 12; ++row) {
    for (uint32_t column = 0; column < 20; ++column) {
      const bool inside = column >= spans[row][0] && column < spans[row][1];
      EXPECT_EQ(pixel(row, column), inside ? RED : 0u) << "row " << row << " column " << column;
    }
  }
}

// A triangle far larger than the view volume is clipped to it: its pieces
// cover the image from row and column 0 up to 98 (the planes map to 0.05 and
// 99.95) and nothing beyond.
TEST_F(AssemblyRaster, ClippedTriangleStaysInsideTheImage) {
  create(100, 100);
  context->xLimit = 1.0f;
  context->yLimit = 1.0f;
  BatchEntry& entry = context->batch[0];
  entry = BatchEntry{};
  const float corners[3][2] = {{-10, -10}, {10, -10}, {0, 10}};
  entry.clipOr = 0;
  entry.clipAnd = 0xFFFFFFFFu;
  for (int k = 0; k < 3; ++k) {
    BatchVertex& v = entry.corners[k];
    v.x = corners[k][0];
    v.y = corners[k][1];
    v.z = 2;
    v.w = 0.5f;
    v.color = 0xFFFF0000;
    v.clipCode = computeClipCode(context, v.x, v.y, v.z, v.w);
    entry.clipOr |= v.clipCode;
    entry.clipAnd &= v.clipCode;
  }
  context->batchCount = 1;
  ASSERT_NE(entry.clipOr, 0u);
  AssemblyCursor cursor;
  EXPECT_TRUE(assembleTriangles(context, makeAssemblyFrame(context, 0), &cursor));
  flush();
  EXPECT_TRUE(guardsIntact());
  for (uint32_t i = 0; i < 100; ++i) {
    EXPECT_EQ(pixel(99, i), 0u) << "column " << i;
    EXPECT_EQ(pixel(i, 99), 0u) << "row " << i;
  }
  EXPECT_EQ(pixel(0, 0), RED);
  EXPECT_EQ(pixel(0, 98), RED);
  EXPECT_EQ(pixel(98, 0), RED);
  EXPECT_EQ(pixel(98, 98), RED);
  EXPECT_EQ(pixel(50, 50), RED);
}

// ---- Watertight meshes -------------------------------------------------------
//
// A pixel's sample point is its lower right corner (c + 1, r + 1); a triangle
// covers it when it lies below the triangle's top (excluded) and not below its
// bottom, and right of its left edge (excluded) up to its right edge. Each
// triangle is drawn alone and the pixels it wrote are counted and cleared.
// Rasterized edges stray from the exact ones by the 16.16 truncations: the
// start (float positions below 1024 are spaced 2^-14 apart, a few roundings
// of those and one truncation stay within 2^-10) and one truncated step per
// row (under 2^-16 each). A sample within that tolerance of an edge may go
// either way when the edge is on the mesh's outline (or its triangle is
// thinner than 0.02 pixel, which the setup drops below 0.01), but an edge
// that two triangles share gives it to exactly one of them, with no
// tolerance at all. Only a sample within the tolerance of two different
// edges, at a vertex, is left unchecked: there edges that meet without being
// shared drift independently, and the vertex's pixel may be written by none
// or by two of the triangles around it.

struct ScreenMesh {
  std::vector<std::array<float, 2>> points;
  std::vector<std::array<int, 3>> faces;
  bool overlapping = false;  // independent triangles: no per-pixel totals
};

class MeshCoverage : public AssemblyRaster {
 protected:
  static constexpr int kW = 640, kH = 480;
  void SetUp() override { create(kW, kH); }

  // Draws a mesh and gives the number of faults found (reporting the first).
  int draw(const ScreenMesh& mesh) {
    std::map<std::pair<int, int>, int> uses;
    const auto edge = [](int a, int b) { return std::pair{std::min(a, b), std::max(a, b)}; };
    for (const auto& f : mesh.faces) {
      for (int k = 0; k < 3; ++k) ++uses[edge(f[k], f[(k + 1) % 3])];
    }
    std::vector<uint8_t> writes(kW * kH), inside(kW * kH), nearOutline(kW * kH), nearTwo(kW * kH);
    std::vector<int> nearEdge(kW * kH, -1);
    const AssemblyFrame frame = makeAssemblyFrame(context, 0);
    int faults = 0;
    const auto fault = [&](const char* what, int c, int r) {
      if (faults++ == 0) ADD_FAILURE() << what << " at column " << c << " row " << r;
    };
    for (const auto& f : mesh.faces) {
      std::array<int, 3> t = f;
      std::sort(t.begin(), t.end(), [&](int a, int b) { return mesh.points[a][1] < mesh.points[b][1]; });
      const auto x = [&](int i) { return static_cast<double>(mesh.points[i][0]); };
      const auto y = [&](int i) { return static_cast<double>(mesh.points[i][1]); };
      // x of the edge (a, b) at height h, for a <= h <= b.
      const auto xAt = [&](std::pair<int, int> e, double h) {
        const auto [a, b] = e;
        return x(a) + (h - y(a)) * (x(b) - x(a)) / (y(b) - y(a));
      };
      const bool thin = y(t[2]) > y(t[0]) && std::fabs(xAt(edge(t[0], t[2]), y(t[1])) - x(t[1])) < 0.02;
      setupTriangle(context, frame, at(mesh.points[f[0]]), at(mesh.points[f[1]]), at(mesh.points[f[2]]));
      flush();
      const auto [xMin, xMax] = std::minmax({x(f[0]), x(f[1]), x(f[2])});
      const int lastRow = std::min(kH - 1, static_cast<int>(y(t[2])) + 1);
      const int firstColumn = std::max(0, static_cast<int>(xMin) - 1);
      const int lastColumn = std::min(kW - 1, static_cast<int>(xMax) + 1);
      for (int r = std::max(0, static_cast<int>(y(t[0])) - 1); r <= lastRow; ++r) {
        const double sy = r + 1.0;
        const bool rowIn = sy > y(t[0]) && sy <= y(t[2]);
        // The row's span (xl, xr] between the long edge and a short one.
        std::pair<int, int> left = edge(t[0], t[2]), right = sy <= y(t[1]) ? edge(t[0], t[1]) : edge(t[1], t[2]);
        double xl = rowIn ? xAt(left, sy) : 0, xr = rowIn ? xAt(right, sy) : 0;
        if (xl > xr) std::swap(xl, xr), std::swap(left, right);
        const double tolerance = 1.0 / 1024 + (sy - y(t[0])) / 65536;
        for (int c = firstColumn; c <= lastColumn; ++c) {
          const int i = r * kW + c;
          const bool written = pixel(r, c) != 0;
          memory[(r + 1) * kW + c] = 0;  // cleared for the next triangle
          writes[i] += written;
          const double sx = c + 1.0;
          if (!rowIn || sx < xl - tolerance || sx > xr + tolerance) {
            if (written) fault("pixel outside its triangle", c, r);
            continue;
          }
          const bool nearLeft = std::fabs(sx - xl) <= tolerance, nearRight = std::fabs(sx - xr) <= tolerance;
          if (!nearLeft && !nearRight) {
            if (!written && !thin) fault("pixel inside its triangle missed", c, r);
            ++inside[i];
            continue;
          }
          for (const auto& [near, e] : {std::pair{nearLeft, left}, std::pair{nearRight, right}}) {
            if (!near) continue;
            const int key = e.first * 65536 + e.second;
            nearTwo[i] |= nearEdge[i] >= 0 && nearEdge[i] != key;
            nearEdge[i] = key;
            nearOutline[i] |= thin || uses[e] == 1;
          }
        }
      }
    }
    for (int r = 0; r < kH; ++r) {
      for (int c = 0; c < kW; ++c) {
        if (pixel(r, c) != 0) fault("pixel outside every triangle's box", c, r);
        const int i = r * kW + c;
        if (mesh.overlapping || nearTwo[i]) continue;
        if (writes[i] > 1) fault("pixel written twice", c, r);
        if (writes[i] == 0 && (inside[i] || (nearEdge[i] >= 0 && !nearOutline[i]))) fault("hole", c, r);
      }
    }
    return faults;
  }

  static ScreenVertex at(const std::array<float, 2>& p) { return {p[0], p[1], 0, 0, 0, 0xFFFF0000, 0}; }

  std::mt19937 random{2024};
  float uniform(double a, double b) { return static_cast<float>(std::uniform_real_distribution<double>(a, b)(random)); }
  int integer(int a, int b) { return std::uniform_int_distribution<int>(a, b)(random); }
  // Every fourth mesh has its points moved to whole, half or quarter pixels,
  // so that vertices and edges pass through sample points exactly; unless
  // that would turn a face over (the mesh would fold onto itself).
  void maybeSnap(ScreenMesh& mesh, int n) {
    if (n % 4 != 3) return;
    const float grid[] = {1.0f, 2.0f, 4.0f};
    const float g = grid[n % 3];
    ScreenMesh snapped = mesh;
    for (auto& p : snapped.points) p = {std::round(p[0] * g) / g, std::round(p[1] * g) / g};
    for (const auto& f : mesh.faces) {
      if (!mesh.overlapping && turn(snapped, f) != turn(mesh, f)) return;
    }
    mesh = snapped;
  }
  // The sign of a face's area on the screen: which way it turns.
  static int turn(const ScreenMesh& m, const std::array<int, 3>& f) {
    const auto &a = m.points[f[0]], &b = m.points[f[1]], &c = m.points[f[2]];
    const double area = (static_cast<double>(b[0]) - a[0]) * (static_cast<double>(c[1]) - a[1]) -
                        (static_cast<double>(b[1]) - a[1]) * (static_cast<double>(c[0]) - a[0]);
    return (area > 0) - (area < 0);
  }
};

// Grids of cells from 2 to 40 pixels wide, corners moved by up to a fifth of
// a cell (each cell stays convex), split along either diagonal.
TEST_F(MeshCoverage, JitteredGridsCoverEachPixelOnce) {
  for (int n = 0; n < 16; ++n) {
    ScreenMesh mesh;
    const float cell = uniform(2, 40);
    const int columns = integer(1, std::min(30, static_cast<int>(600 / cell)));
    const int rows = integer(1, std::min(30, static_cast<int>(440 / cell)));
    const float x0 = uniform(20, 620 - columns * cell), y0 = uniform(20, 460 - rows * cell);
    for (int j = 0; j <= rows; ++j) {
      for (int i = 0; i <= columns; ++i) {
        mesh.points.push_back({x0 + cell * (i + uniform(-0.2, 0.2)), y0 + cell * (j + uniform(-0.2, 0.2))});
      }
    }
    for (int j = 0; j < rows; ++j) {
      for (int i = 0; i < columns; ++i) {
        const int a = j * (columns + 1) + i, b = a + 1, c = a + columns + 2, d = a + columns + 1;
        if (integer(0, 1))
          mesh.faces.insert(mesh.faces.end(), {{a, b, c}, {a, c, d}});
        else
          mesh.faces.insert(mesh.faces.end(), {{a, b, d}, {b, c, d}});
      }
    }
    maybeSnap(mesh, n);
    EXPECT_EQ(draw(mesh), 0) << "grid " << n;
  }
}

// Fans of 3 to 48 triangles closing a full turn around a vertex.
TEST_F(MeshCoverage, FansAroundAVertexCoverEachPixelOnce) {
  for (int n = 0; n < 16; ++n) {
    ScreenMesh mesh;
    const float cx = uniform(220, 420), cy = uniform(200, 280);
    mesh.points.push_back({cx, cy});
    const int spokes = integer(3, 48);
    // Spokes less than a half turn apart keep every triangle turning one way.
    std::vector<double> angles;
    do {
      angles.clear();
      for (int k = 0; k < spokes; ++k) angles.push_back(uniform(0, 2 * std::numbers::pi));
      std::sort(angles.begin(), angles.end());
      angles.push_back(angles[0] + 2 * std::numbers::pi);
    } while (std::adjacent_find(angles.begin(), angles.end(),
                                [](double p, double q) { return q - p > 0.9 * std::numbers::pi; }) != angles.end());
    for (int k = 0; k < spokes; ++k) {
      const double radius = uniform(2, 190);
      mesh.points.push_back({static_cast<float>(cx + radius * std::cos(angles[k])),
                             static_cast<float>(cy + radius * std::sin(angles[k]))});
      mesh.faces.push_back({0, 1 + k, 1 + (k + 1) % spokes});
    }
    maybeSnap(mesh, n);
    EXPECT_EQ(draw(mesh), 0) << "fan " << n;
  }
}

// Closed spheres of 4 to 24 rings and 8 to 48 segments, tilted at random and
// seen in perspective; faces turned away from the eye are culled. In every
// other one a meridian lies on a whole column, through sample points.
TEST_F(MeshCoverage, CulledSpheresCoverTheirOutlineOnce) {
  constexpr double pi = std::numbers::pi;
  for (int n = 0; n < 8; ++n) {
    const int rings = integer(4, 24), segments = 4 * integer(2, 12);
    const double distance = uniform(2.5, 8), scale = uniform(20, 220) * distance, tilt = uniform(0, pi);
    const double spin = n % 2 ? 0 : uniform(0, 2 * pi), cx = std::round(uniform(230, 410)) + (n % 2 ? 0 : 0.5);
    const double cy = uniform(220, 260);
    ScreenMesh mesh;
    // Vertex j of ring i; rings 0 and `rings` are the poles, one vertex each.
    const auto vertex = [&](int i, int j) {
      return i == 0 ? 0 : std::min(1 + (i - 1) * segments + j % segments, 1 + (rings - 1) * segments);
    };
    for (int i = 0; i <= rings; ++i) {
      for (int j = 0; j < (i == 0 || i == rings ? 1 : segments); ++j) {
        const double theta = pi * i / rings, phi = spin + 2 * pi * j / segments;
        const double x = std::sin(theta) * std::cos(phi), y = std::sin(theta) * std::sin(phi), z = std::cos(theta);
        const double depth = distance + y * std::sin(tilt) + z * std::cos(tilt);
        mesh.points.push_back({static_cast<float>(cx + scale * x / depth),
                               static_cast<float>(cy - scale * (y * std::cos(tilt) - z * std::sin(tilt)) / depth)});
      }
    }
    for (int i = 0; i < rings; ++i) {
      for (int j = 0; j < segments; ++j) {
        const int a = vertex(i, j), b = vertex(i + 1, j), c = vertex(i + 1, j + 1), d = vertex(i, j + 1);
        for (const std::array<int, 3>& f : {std::array{a, b, c}, std::array{a, c, d}}) {
          if (f[0] != f[2] && f[1] != f[2] && turn(mesh, f) > 0) mesh.faces.push_back(f);
        }
      }
    }
    EXPECT_EQ(draw(mesh), 0) << "sphere " << n;
  }
}

// Lone triangles anywhere, some with corners on whole rows and columns: no
// pixel whose sample point lies outside, none inside left out.
TEST_F(MeshCoverage, LoneTrianglesCoverTheirSamplesOnly) {
  ScreenMesh mesh;
  mesh.overlapping = true;
  for (int k = 0; k < 300; ++k) {
    const float size = k % 10 == 0 ? 600 : uniform(1, 120);
    const float x0 = uniform(1, 639 - std::min(size, 600.0f)), y0 = uniform(1, 479 - std::min(size, 470.0f));
    for (int i = 0; i < 3; ++i) mesh.points.push_back({x0 + uniform(0, size), y0 + uniform(0, std::min(size, 470.0f))});
    mesh.faces.push_back({3 * k, 3 * k + 1, 3 * k + 2});
  }
  maybeSnap(mesh, 3);
  EXPECT_EQ(draw(mesh), 0);
}

// The record a flush draws through: the context's buffers and rows, the
// fog colour taken apart with the colour model's word shifts (red lowest
// here), the bound texture and the inverse maps.
TEST(RasterTargetOfAContext, CarriesBuffersFogTextureAndMaps) {
  std::vector<uint32_t> pixels(6 * 3);
  std::vector<int32_t> depth(5 * 3);
  RukDeviceDescriptor screen{};
  screen.depth = 32;
  screen.redMask = 0x0000FF;
  screen.greenMask = 0x00FF00;
  screen.blueMask = 0xFF0000;
  RukContext* context = nullptr;
  ASSERT_EQ(createContext(nullptr, &context, &screen, 5, 3, reinterpret_cast<uint8_t*>(pixels.data()), 24, depth.data(),
                          nullptr),
            RUK_OK);
  setAttributeColor(context, ATTR_FOG_COLOR, 0x40C020);
  uint32_t texels[8] = {};
  const RukTexture texture{4, 2, 2, 1, texels};
  context->boundTexture = texture;
  const RasterTarget target = makeRasterTarget(context);
  EXPECT_EQ(target.colorBuffer, reinterpret_cast<uint8_t*>(pixels.data()));
  EXPECT_EQ(target.rowBytes, 24u);
  EXPECT_EQ(target.width, 5u);
  EXPECT_EQ(target.depthBuffer, depth.data());
  EXPECT_EQ(target.depthRow, 5u);
  EXPECT_EQ(target.fogRed, 0x20u);
  EXPECT_EQ(target.fogGreen, 0xC0u);
  EXPECT_EQ(target.fogBlue, 0x40u);
  EXPECT_EQ(target.texels, texels);
  EXPECT_EQ(target.log2Width, 2u);
  EXPECT_EQ(target.log2Height, 1u);
  EXPECT_EQ(target.inverseColorMap12, nullptr);  // a direct format has no maps
  EXPECT_EQ(target.inverseColorMap6, nullptr);
  freeContext(context);
}

}  // namespace
