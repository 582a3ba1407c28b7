#include "e2e/e2e_support.h"

#include <cmath>
#include <cstdlib>
#include <memory>

namespace e2e {

// ---------------------------------------------------------------------------
// Screens.

const char* formatName(Format format) {
  switch (format) {
    case Format::Rgb32: return "Rgb32";
    case Format::Rgb24: return "Rgb24";
    case Format::Rgb16: return "Rgb16";
    case Format::Rgb555: return "Rgb555";
    case Format::Indexed8: return "Indexed8";
    case Format::Indexed8Dithered: return "Indexed8Dithered";
  }
  return "?";
}

bool isIndexed(Format format) { return format == Format::Indexed8 || format == Format::Indexed8Dithered; }

namespace {

struct DisplaySetup {
  int depth;
  uint32_t masks[3];  // display masks; zero means Windows' own layout
  int32_t deviceMasks[3];
};

DisplaySetup setupFor(Format format) {
  switch (format) {
    case Format::Rgb32: return {32, {0, 0, 0}, {0xFF0000, 0xFF00, 0xFF}};
    case Format::Rgb24: return {24, {0, 0, 0}, {0xFF0000, 0xFF00, 0xFF}};
    // 5-6-5 must be asked of the display; 16 bits without masks is 5-5-5.
    case Format::Rgb16: return {16, {0xF800, 0x07E0, 0x001F}, {0xF800, 0x07E0, 0x001F}};
    case Format::Rgb555: return {16, {0, 0, 0}, {0x7C00, 0x03E0, 0x001F}};
    case Format::Indexed8:
    case Format::Indexed8Dithered: return {8, {0, 0, 0}, {0, 0, 0}};
  }
  return {32, {0, 0, 0}, {0, 0, 0}};
}

std::set<std::string>& recordedStubs() {
  static std::set<std::string>* names = new std::set<std::string>();
  return *names;
}

// Sees every stub lookup (each call looks its stub up while a router is set)
// and lets the normal lookup answer.
kelhost::StubFunction recordLookup(const char* name) {
  recordedStubs().insert(name);
  return nullptr;
}

}  // namespace

const std::set<std::string>& calledStubs() { return recordedStubs(); }

KELRend3DDevice makeDevice(Format format) {
  KELRend3DDevice device = KELRend3DDevice::create();
  if (isIndexed(format)) {
    ByteArray red = ByteArray::create(256), green = ByteArray::create(256), blue = ByteArray::create(256);
    for (int i = 0; i < 256; ++i) {
      const uint32_t c = displaySystemPaletteEntry(i);
      red[static_cast<std::size_t>(i)] = static_cast<uint8_t>(c >> 16);
      green[static_cast<std::size_t>(i)] = static_cast<uint8_t>(c >> 8);
      blue[static_cast<std::size_t>(i)] = static_cast<uint8_t>(c);
    }
    device.initIndexed(256, red, green, blue);
  } else {
    const DisplaySetup d = setupFor(format);
    device.initDirect(d.deviceMasks[0], d.deviceMasks[1], d.deviceMasks[2]);
  }
  return device;
}

std::vector<uint32_t> Screen::paint() const {
  g.doPaint(kelhost::Graphics::create(0), 0, 0);
  return displayWindowPixels(window);
}

void Scenario::SetUp() {
  recordedStubs().clear();
  kelhost::routeStubs(recordLookup);
  displayReset();
}

Screen& Scenario::openScreen(Format format, int width, int height, int32_t bufferFlags) {
  const DisplaySetup d = setupFor(format);
  displaySetDepth(d.depth);
  displaySetMasks(d.masks[0], d.masks[1], d.masks[2]);
  auto screen = std::make_unique<Screen>();
  screen->format = format;
  screen->width = width;
  screen->height = height;
  screen->window = displayCreateWindow(width, height);
  displayActivateWindow(screen->window);
  screen->device = makeDevice(format);
  screen->g = KELRendGraphics3D::create(screen->device);
  screen->open = screen->g.init(bufferFlags, width, height);
  EXPECT_TRUE(screen->open) << "init of a " << width << "x" << height << " " << formatName(format) << " context";
  EXPECT_NE(screen->g.context(), 0);
  screen->g.setWindow(screen->window);
  if (screen->open && format == Format::Indexed8Dithered) screen->g.enableFeature(4);
  screens_.push_back(std::move(screen));
  return *screens_.back();
}

void Scenario::closeScreen(Screen& screen) {
  if (screen.open) screen.g.dispose();
  screen.open = false;
}

void Scenario::TearDown() {
  for (auto& screen : screens_) closeScreen(*screen);
  screens_.clear();
  kelhost::routeStubs(nullptr);
  displayReset();
  if (IsSkipped() || HasFailure()) return;
  const std::string scenario = currentScenario();
  for (const NativeCoverage& entry : coverageTable()) {
    if (scenario == entry.scenario) {
      EXPECT_TRUE(recordedStubs().count(entry.stub))
          << scenario << " is listed as covering " << entry.stub << " but never called it";
    }
  }
}

std::string currentScenario() {
  const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string suite = info->test_suite_name();
  std::string name = info->name();
  if (const auto slash = suite.rfind('/'); slash != std::string::npos) suite.erase(0, slash + 1);
  if (const auto slash = name.find('/'); slash != std::string::npos) name.erase(slash);
  return suite + "." + name;
}

// ---------------------------------------------------------------------------
// Models.

namespace {

int32_t cornersPerPrimitive(int32_t kind) {
  return kind == KELRendModel::TRIANGLES ? 3 : kind == KELRendModel::LINES ? 2 : 1;
}

KELRendModel makeModel(int32_t kind, std::span<const float> xyz, std::span<const int32_t> indices,
                       std::span<const uint32_t> cornerColors, std::span<const float> uv) {
  const int32_t primitives = static_cast<int32_t>(indices.size()) / cornersPerPrimitive(kind);
  KELRendModel m = KELRendModel::create();
  m.setPrimitiveKind(kind);
  m.setPrimitiveCount(primitives);
  m.setVertexCount(static_cast<int32_t>(xyz.size() / 3));
  m.setVertices(FloatArray::of(xyz));
  m.setVertexIndices(IntArray::of(indices));
  if (!cornerColors.empty()) {
    std::vector<int32_t> words(cornerColors.begin(), cornerColors.end());
    m.setColorBinding(2);
    m.setColors(IntArray::of(std::span<const int32_t>(words)));
  }
  if (!uv.empty()) {
    m.setTexCoordBinding(2);
    m.setTexCoordCount(static_cast<int32_t>(uv.size() / 2));
    m.setTexCoords(FloatArray::of(uv));
    m.setTexCoordIndices(IntArray::of(indices));
  }
  EXPECT_TRUE(m.init());
  EXPECT_NE(m.nativeModel(), 0);
  if (kind == KELRendModel::TRIANGLES) {
    m.setFaceNormals(FloatArray::create(static_cast<std::size_t>(primitives) * 3));
    EXPECT_TRUE(m.generateFaceNormals());
  }
  m.setReady(1);
  return m;
}

}  // namespace

KELRendModel makeTriangles(std::span<const float> xyz, std::span<const int32_t> indices,
                           std::span<const uint32_t> cornerColors, std::span<const float> uv) {
  return makeModel(KELRendModel::TRIANGLES, xyz, indices, cornerColors, uv);
}

KELRendModel makeQuadColored(float x0, float y0, float x1, float y1, float z, const uint32_t vertexArgb[4], bool uv) {
  const float xyz[] = {x0, y0, z, x1, y0, z, x1, y1, z, x0, y1, z};
  const int32_t indices[] = {0, 1, 2, 0, 2, 3};
  const uint32_t colors[] = {vertexArgb[0], vertexArgb[1], vertexArgb[2], vertexArgb[0], vertexArgb[2], vertexArgb[3]};
  const float square[] = {0, 0, 1, 0, 1, 1, 0, 1};
  return makeTriangles(xyz, indices, colors, uv ? std::span<const float>(square) : std::span<const float>());
}

KELRendModel makeQuad(float x0, float y0, float x1, float y1, float z, uint32_t argb, bool uv) {
  const uint32_t colors[4] = {argb, argb, argb, argb};
  return makeQuadColored(x0, y0, x1, y1, z, colors, uv);
}

KELRendModel makeBackQuad(float x0, float y0, float x1, float y1, float z, uint32_t argb) {
  const float xyz[] = {x0, y0, z, x1, y0, z, x1, y1, z, x0, y1, z};
  const int32_t indices[] = {0, 2, 1, 0, 3, 2};
  const uint32_t colors[] = {argb, argb, argb, argb, argb, argb};
  return makeTriangles(xyz, indices, colors);
}

KELRendModel makeLines(std::span<const float> xyz, std::span<const uint32_t> cornerColors) {
  std::vector<int32_t> indices(xyz.size() / 3);
  for (std::size_t i = 0; i < indices.size(); ++i) indices[i] = static_cast<int32_t>(i);
  return makeModel(KELRendModel::LINES, xyz, indices, cornerColors, {});
}

KELRendModel makePoints(std::span<const float> xyz, std::span<const uint32_t> colors) {
  std::vector<int32_t> indices(xyz.size() / 3);
  for (std::size_t i = 0; i < indices.size(); ++i) indices[i] = static_cast<int32_t>(i);
  return makeModel(KELRendModel::POINTS, xyz, indices, colors, {});
}

void useColorsAsEmission(KELRendGraphics3D g) {
  g.setMaterial(Material::create(0, 0, 0, 0, 0.0f, 255));
  g.setModifiedMaterialColor(0);
}

void beginFrame(const Screen& s, uint32_t clearRgb, int32_t clearMask) {
  s.g.beginRendering();
  s.g.doSetClearColor(static_cast<int32_t>(clearRgb));
  s.g.clear(clearMask);
  useColorsAsEmission(s.g);
}

// ---------------------------------------------------------------------------
// Screen mapping.

View View::ortho(int width, int height) {
  View v;
  v.width = width;
  v.height = height;
  v.perspective = false;
  v.xLimit = static_cast<float>(width) / 2.0f;
  v.yLimit = static_cast<float>(height) / 2.0f;
  return v;
}

View View::defaultPerspective(int width, int height) {
  View v;
  v.width = width;
  v.height = height;
  v.perspective = true;
  v.yLimit = static_cast<float>(std::tan(static_cast<double>(0.7853982f) / 2.0));
  v.xLimit = v.yLimit * (static_cast<float>(width) / static_cast<float>(height));
  return v;
}

double View::screenX(float x, float depth) const {
  const float w = perspective ? 1.0f / depth : 1.0f;
  const float scale = ((static_cast<float>(width) - 0.1f) / xLimit) / 2.0f;
  return static_cast<float>(static_cast<float>(width) / 2.0f + w * x * scale);
}

double View::screenY(float y, float depth) const {
  const float w = perspective ? 1.0f / depth : 1.0f;
  const float scale = ((static_cast<float>(height) - 0.1f) / yLimit) / 2.0f;
  return static_cast<float>(static_cast<float>(height) / 2.0f - w * y * scale);
}

namespace {
int pixelOf(double screen) {
  const double fraction = screen - std::floor(screen);
  EXPECT_TRUE(fraction > 0.002 && fraction < 0.998)
      << "screen coordinate " << screen << " lies too close to a pixel boundary to derive its pixel";
  return static_cast<int>(std::floor(screen));
}
}  // namespace

int View::column(float x, float depth) const { return pixelOf(screenX(x, depth)); }
int View::row(float y, float depth) const { return pixelOf(screenY(y, depth)); }

PixelRect quadPixels(const View& view, float x0, float y0, float x1, float y1, float depth) {
  return {view.column(x0, depth), view.row(y1, depth), view.column(x1, depth), view.row(y0, depth)};
}

std::vector<std::pair<int, int>> linePixels(int x0, int y0, int x1, int y1) {
  std::vector<std::pair<int, int>> pixels;
  const int dx = std::abs(x1 - x0), dy = std::abs(y1 - y0);
  const bool xMajor = dy < dx;
  const int n = xMajor ? dx : dy;
  if (n < 1) return pixels;
  const int sx = x1 > x0 ? 1 : -1, sy = y1 > y0 ? 1 : -1;
  int error = -(n >> 1);
  int x = x0, y = y0;
  for (int i = 0; i < n; ++i) {
    pixels.emplace_back(x, y);
    if (xMajor) {
      x += sx;
      error += dy;
      if (error > 0) error -= n, y += sy;
    } else {
      y += sy;
      error += dx;
      if (error > 0) error -= n, x += sx;
    }
  }
  return pixels;
}

// ---------------------------------------------------------------------------
// Expected colours.

uint32_t product(uint32_t a, uint32_t b) { return (a * b + 128) / 255; }

uint32_t nearestSystemIndex(uint32_t r, uint32_t g, uint32_t b) {
  uint32_t best = 0xFFFFFFFFu, bestIndex = 0xFFFFFFFFu;
  for (int i = 0; i < 256; ++i) {
    const uint32_t e = displaySystemPaletteEntry(i);
    const int dr = static_cast<int>((e >> 16) & 0xFF) - static_cast<int>(r);
    const int dg = static_cast<int>((e >> 8) & 0xFF) - static_cast<int>(g);
    const int db = static_cast<int>(e & 0xFF) - static_cast<int>(b);
    const uint32_t distance = static_cast<uint32_t>(dr * dr + dg * dg + db * db);
    if (distance < best) best = distance, bestIndex = static_cast<uint32_t>(i);
  }
  return bestIndex;
}

uint32_t storedPixel(Format format, uint32_t rgb) {
  const uint32_t r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
  switch (format) {
    case Format::Rgb32:
    case Format::Rgb24: return rgb & 0xFFFFFF;
    case Format::Rgb16: return ((r & 0xF8) << 8) | ((g & 0xFC) << 3) | (b >> 3);
    case Format::Rgb555: return ((r & 0xF8) << 7) | ((g & 0xF8) << 2) | (b >> 3);
    case Format::Indexed8:
    case Format::Indexed8Dithered: return nearestSystemIndex(17 * (r >> 4), 17 * (g >> 4), 17 * (b >> 4));
  }
  return 0;
}

uint32_t ditheredIndex(uint32_t rgb, int row, int column) {
  static constexpr int kThresholds[4][4] = {{0, 60, 15, 75}, {40, 20, 55, 35}, {10, 70, 5, 65}, {50, 30, 45, 25}};
  const int d = kThresholds[row & 3][column & 3];
  auto level = [d](uint32_t c) { return c / 85 + (static_cast<int>(c % 85) > d ? 1u : 0u); };
  return nearestSystemIndex(85 * level((rgb >> 16) & 0xFF), 85 * level((rgb >> 8) & 0xFF), 85 * level(rgb & 0xFF));
}

namespace {
// An n-bit channel as the display widens it: its bits repeated from the top.
uint32_t widen(uint32_t value, int bits) {
  return bits == 5 ? (value << 3) | (value >> 2) : (value << 2) | (value >> 4);
}
}  // namespace

uint32_t shownPixel(Format format, uint32_t stored) {
  switch (format) {
    case Format::Rgb32:
    case Format::Rgb24: return stored & 0xFFFFFF;
    case Format::Rgb16:
      return widen((stored >> 11) & 31, 5) << 16 | widen((stored >> 5) & 63, 6) << 8 | widen(stored & 31, 5);
    case Format::Rgb555:
      return widen((stored >> 10) & 31, 5) << 16 | widen((stored >> 5) & 31, 5) << 8 | widen(stored & 31, 5);
    case Format::Indexed8:
    case Format::Indexed8Dithered: return displaySystemPaletteEntry(static_cast<int>(stored));
  }
  return 0;
}

uint32_t shownTriangle(Format format, uint32_t rgb, int row, int column) {
  if (format == Format::Indexed8Dithered) return shownPixel(format, ditheredIndex(rgb, row, column));
  return shownFlat(format, rgb);
}

}  // namespace e2e
