// What the end-to-end scenarios share: a program's screen (display, window,
// device, context), models built the way a Java program builds them, the
// screen mapping of the two projections, and the expected look of a colour in
// each pixel format, derived from the formats' layouts and the display's
// widening, never from the renderer's own output.
//
// Everything here goes through the host kit and the display stand-in only.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "host/host_kit.h"
#include "host/kel_ruk.h"
#include "platform/display.h"

namespace e2e {

using kel::geom::BoundingBox3;
using kel::geom::Geom;
using kel::geom::Matrix4;
using kel::geom::Quaternion;
using kel::geom::Ray;
using kel::geom::Vector3;
using kel::ruk::Graphics3DDevice;
using kel::ruk::KELRend3DDevice;
using kel::ruk::KELRendGraphics3D;
using kel::ruk::KELRendModel;
using kel::ruk::KELRendTexture;
using kel::ruk::Light;
using kel::ruk::Material;
using kel::ruk::PickResult;
using kelhost::ByteArray;
using kelhost::FloatArray;
using kelhost::IntArray;

// ---------------------------------------------------------------------------
// Screens.

enum class Format { Rgb32, Rgb24, Rgb16, Rgb555, Indexed8, Indexed8Dithered };

const char* formatName(Format format);
bool isIndexed(Format format);

// The buffer flags of KELRendGraphics3D.init.
inline constexpr int32_t NO_BUFFERS = 0;
inline constexpr int32_t DEPTH_BUFFER = 2;
inline constexpr int32_t ACCUM_BUFFER = 4;
// The buffer mask of clear and doCopyBuffers.
inline constexpr int32_t COLOR = 1;
inline constexpr int32_t DEPTH = 2;
inline constexpr int32_t ACCUM = 8;

// One program's view of the display: the window it paints into, its device
// and its context.
struct Screen {
  Format format = Format::Rgb32;
  int width = 0;
  int height = 0;
  HWND window = 0;
  KELRend3DDevice device;
  KELRendGraphics3D g;
  bool open = false;

  // doPaint into the window (the context names it), then the window's pixels.
  std::vector<uint32_t> paint() const;
  uint32_t at(const std::vector<uint32_t>& pixels, int column, int row) const {
    return pixels[static_cast<std::size_t>(row * width + column)];
  }
};

// A device for a format: direct colour by the format's masks, indexed colour by
// the display's system palette (so palette indexes and system indexes agree).
KELRend3DDevice makeDevice(Format format);

// ---------------------------------------------------------------------------
// The fixture of every scenario: a fresh display per test, open contexts
// disposed at the end, and a record of the stubs the test called,
// checked against the coverage table. The Java heap is never rewound: the
// host kit keeps each thread's operand stack there, made at its first call.

class Scenario : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Sets the display up for the format, makes an active window of the size, a
  // device and a context with these buffer flags; the context paints into the
  // window. Fails the test when init returns false.
  Screen& openScreen(Format format, int width, int height, int32_t bufferFlags);
  // Disposes the context now.
  void closeScreen(Screen& screen);

 private:
  std::vector<std::unique_ptr<Screen>> screens_;
};

// Stubs looked up (and so called) since the current test began.
const std::set<std::string>& calledStubs();

// The coverage table: every native of kel.ruk and kel.geom and the scenario
// ("Suite.Test", without instantiation prefix or parameter suffix) that calls
// it and checks its result.
struct NativeCoverage {
  const char* stub;
  const char* scenario;
};
std::span<const NativeCoverage> coverageTable();

// "Suite.Test" of the running test, with "Prefix/" and "/Param" removed.
std::string currentScenario();

// ---------------------------------------------------------------------------
// Models, as a Java program fills a KELRendModel: arrays first, then init,
// face normals for triangles, then ready.

inline constexpr uint32_t OPAQUE = 0xFF000000u;

// Triangles from vertices (x, y, z each) and corner indices, one colour per
// corner (colour binding 2) when colours are given, texture coordinates per
// corner (index = corner's vertex index) when uv is given.
KELRendModel makeTriangles(std::span<const float> xyz, std::span<const int32_t> indices,
                           std::span<const uint32_t> cornerColors, std::span<const float> uv = {});

// The rectangle x0..x1 by y0..y1 at height z, as two counter-clockwise
// triangles (v0, v1, v2) and (v0, v2, v3) with v0 = (x0, y0), v1 = (x1, y0),
// v2 = (x1, y1), v3 = (x0, y1): it faces +z. Every corner has colour argb;
// with uv, vertex k has the texture coordinates of its corner of the unit
// square.
KELRendModel makeQuad(float x0, float y0, float x1, float y1, float z, uint32_t argb, bool uv = false);
// The same rectangle with one colour per vertex.
KELRendModel makeQuadColored(float x0, float y0, float x1, float y1, float z, const uint32_t vertexArgb[4],
                             bool uv = false);
// The same rectangle turned away from +z (clockwise as seen from the eye).
KELRendModel makeBackQuad(float x0, float y0, float x1, float y1, float z, uint32_t argb);

// Lines between consecutive pairs of vertices, one colour per corner.
KELRendModel makeLines(std::span<const float> xyz, std::span<const uint32_t> cornerColors);
// One point per vertex, one colour per point.
KELRendModel makePoints(std::span<const float> xyz, std::span<const uint32_t> colors);

// A material that shows a model's own colours unchanged when no light is
// pushed: every material colour 0, alpha 255, model colours replacing the
// emission (setModifiedMaterialColor(0)).
void useColorsAsEmission(KELRendGraphics3D g);

// Starts a frame: beginRendering, the clear colour, a clear of the buffers in
// the mask, and model colours as emission.
void beginFrame(const Screen& s, uint32_t clearRgb, int32_t clearMask);

// ---------------------------------------------------------------------------
// Screen mapping, as primitive assembly maps eye space to 16.16 pixels. The
// pixel index of a coordinate is its floor; the helpers fail the test when a
// coordinate lies too close to a pixel boundary to derive which side it falls.

struct View {
  int width = 0;
  int height = 0;
  bool perspective = false;
  float xLimit = 0;
  float yLimit = 0;

  // doSetOrthographicProjection(width / 2, height / 2, near, far): one model
  // unit is about one pixel.
  static View ortho(int width, int height);
  // The default projection of a new context: fov 0.7853982, aspect
  // width / height.
  static View defaultPerspective(int width, int height);

  double screenX(float x, float depth) const;  // depth = eye distance (> 0)
  double screenY(float y, float depth) const;
  int column(float x, float depth) const;
  int row(float y, float depth) const;
};

// Pixels column0 <= c < column1, row0 <= r < row1.
struct PixelRect {
  int column0, row0, column1, row1;
  bool contains(int c, int r) const { return c >= column0 && c < column1 && r >= row0 && r < row1; }
  int area() const { return (column1 - column0) * (row1 - row0); }
};

// The pixels a rectangle facing the eye fills: columns from the floor of its
// left screen x up to (not including) the floor of its right one, and rows
// likewise from its top to its bottom.
PixelRect quadPixels(const View& view, float x0, float y0, float x1, float y1, float depth);

// The pixels a line of the rasterizer visits from (x0, y0) to (x1, y1), by the
// stepping rule of the line family (the end pixel is not drawn).
std::vector<std::pair<int, int>> linePixels(int x0, int y0, int x1, int y1);

// ---------------------------------------------------------------------------
// Expected colours.

// (a * b + 128) / 255: the rounded product of two intensities.
uint32_t product(uint32_t a, uint32_t b);

// The stored pixel of an opaque colour 0x00RRGGBB drawn without dither (and
// of a clear): direct formats cut each channel to its field; indexed formats
// store the palette index nearest to the colour's 4-bit levels (17 * level).
uint32_t storedPixel(Format format, uint32_t rgb);
// The stored index of a dithered indexed triangle pixel at (row, column) of a
// buffer whose rows are a multiple of 4 bytes apart.
uint32_t ditheredIndex(uint32_t rgb, int row, int column);
// What the display shows for a stored pixel after doPaint: channels widened
// by repeating their bits, indexes through the system palette.
uint32_t shownPixel(Format format, uint32_t stored);

// The window pixel of a colour drawn by a flat triangle at (row, column):
// dithered for Indexed8Dithered, nearest colour otherwise.
uint32_t shownTriangle(Format format, uint32_t rgb, int row, int column);
// The window pixel of a colour drawn by a line, a point or a clear.
inline uint32_t shownFlat(Format format, uint32_t rgb) { return shownPixel(format, storedPixel(format, rgb)); }

// The system palette index nearest to a colour (lowest index among equals).
uint32_t nearestSystemIndex(uint32_t r, uint32_t g, uint32_t b);

// Counts the pixels of a frame that differ from `expected(column, row)` and
// reports the first few.
template <class Expected>
::testing::AssertionResult framePixelsAre(const Screen& s, const std::vector<uint32_t>& pixels, Expected expected) {
  int wrong = 0;
  std::string report;
  for (int r = 0; r < s.height; ++r) {
    for (int c = 0; c < s.width; ++c) {
      const uint32_t want = expected(c, r);
      const uint32_t got = s.at(pixels, c, r);
      if (want != got && ++wrong <= 6) {
        char line[96];
        std::snprintf(line, sizeof line, "\n  (%d, %d): 0x%06X, expected 0x%06X", c, r, got, want);
        report += line;
      }
    }
  }
  if (wrong == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << wrong << " pixel(s) differ" << report;
}

}  // namespace e2e
