// kelruk-fuzz-seeds: writes the seed corpus, programs that between them
// reach every native, every triangle slot of every pixel format and every
// line and point routine, and replay the faults fuzzing found.
//
//   kelruk-fuzz-seeds DIRECTORY          writes the seeds there
//   kelruk-fuzz-seeds --check DIRECTORY  fails unless DIRECTORY holds them
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "fuzz/fuzz_program.h"

namespace {

// Operations by name, with their operands in the order they read them.
struct Program : fuzz::BasicWriter<Program> {
  Program& op(std::string_view name) {
    byte(fuzz::opcodeOf(name));
    return *this;
  }
  Program& g(std::string_view method, uint8_t slot = 0) {
    op(std::string("KELRendGraphics3D.") + std::string(method)).byte(slot);
    return *this;
  }
  Program& intOf(std::string_view method, int32_t value, uint8_t slot = 0) {
    g(method, slot).integer(value);
    return *this;
  }
  Program& reals(std::initializer_list<float> values) {
    for (float v : values) real(v);
    return *this;
  }
};

// Pool indexes as the operations read them: a receiver is `slot`, an
// argument `slot` or, one past the pool, null.
constexpr uint8_t FIRST = 0, SECOND = 1;
constexpr uint8_t NO_TEXTURE = 3;

// A screen of one depth (and masks), a direct device, a 32 x 32 context with
// depth and accumulation buffers, cleared.
void screen(Program& p, uint8_t depthChoice, uint8_t masksChoice) {
  p.op("host.display").byte(depthChoice).byte(masksChoice);
  p.op("KELRend3DDevice.initDirect").byte(FIRST).mask(0xFF0000).mask(0xFF00).mask(0xFF);
  p.g("init").integer(6).integer(32).integer(32);
  p.g("beginRendering");
  p.intOf("clear", 11);
}

// An 8 x 8 texture converted from random pixels and bound.
void boundTexture(Program& p) {
  p.op("KELRendTexture.init").byte(FIRST).byte(3).byte(3);
  p.op("KELRendTexture.convertRect32").byte(FIRST).integer(0).integer(0).integer(8).integer(8);
  p.mask(0xFF0000).mask(0xFF00).mask(0xFF).mask(0xFF000000);
  p.integer(0).integer(8).word(12345).flag(false);
  p.op("host.textureField").byte(FIRST).flag(true).integer(1);
  p.g("doUseTexture").byte(FIRST);
}

// Model FIRST: the square -1..1 at z = -3 as two triangles, one colour per
// corner (the first of each triangle translucent, so that flat shading
// blends too), texture coordinates, face normals, and
// room for vertex normals.
void square(Program& p, uint8_t slot = FIRST) {
  p.op("host.modelSetup").byte(slot);
  p.integer(0).count(2).count(4).count(0).count(4);       // kind, primitives, vertices, normals, uv pairs
  p.integer(0).integer(2).integer(2).byte(1);             // normal, colour, uv bindings; ready
  p.byte(0xFF).word(7).flag(true);                        // every array; seed; elements follow
  p.reals({-1, -1, -3, 1, -1, -3, 1, 1, -3, -1, 1, -3});  // vertices
  p.reals({0, 0, 1, 0, 0, 1});                            // face normals
  p.reals({0, 0, 1, 0, 1, 1, 0, 1});                      // uv pairs
  for (int32_t i : {0, 1, 2, 0, 2, 3}) p.integer(i);      // vertex indices
  for (int k = 0; k < 6; ++k) p.integer(0);               // normal indices (no normals yet)
  for (int32_t i : {0, 1, 2, 0, 2, 3}) p.integer(i);      // uv indices
  for (uint32_t c : {0x80FF0000u, 0xFF00FF00u, 0xFF0000FFu, 0x80FF0000u, 0xFF0000FFu, 0xFFFFFFFFu}) p.colour(c);
  p.op("KELRendModel.init").byte(slot);
}

void render(Program& p) {
  p.intOf("clear", 2);
  p.g("doRender").byte(FIRST);
}

// Visits every combination of the feature bits in Gray-code order, so that
// each step changes one bit; `set(bit, on)` writes the change.
template <class Set>
void everyCombination(Program& p, int bits, Set set) {
  for (uint32_t i = 1; i < (1u << bits); ++i) {
    const uint32_t gray = i ^ (i >> 1), previous = (i - 1) ^ ((i - 1) >> 1);
    const uint32_t changed = gray ^ previous;
    int bit = 0;
    while (((changed >> bit) & 1) == 0) ++bit;
    set(bit, (gray >> bit) & 1, gray);
    render(p);
  }
}

// Slot bits: depth test, depth write, smooth, blend, texture, specular, fog.
void setFeature(Program& p, int bit, bool on, uint32_t slot) {
  switch (bit) {
    case 0:
    case 1: p.intOf("setDepthBufferMask", static_cast<int32_t>(slot & 3)); break;
    case 2: p.intOf("setShadeMode", on ? 1 : 0); break;
    case 3: p.intOf(on ? "enableFeature" : "disableFeature", 0); break;
    case 4: p.intOf(on ? "enableFeature" : "disableFeature", 1); break;
    case 5: p.g("setMaterial").byte(on ? SECOND : FIRST); break;
    default: p.g("doSetFog").integer(on ? 1 : 0).colour(0xFF555555).reals({0, 10, 0.5f}); break;
  }
}

// Every triangle slot, then every line and point slot, of the context's
// format.
Program everySlot(uint8_t depthChoice, uint8_t masksChoice, bool dithered) {
  Program p;
  screen(p, depthChoice, masksChoice);
  if (dithered) p.intOf("enableFeature", 4);
  boundTexture(p);
  square(p);
  // Material SECOND has a specular colour; the model's colours are emitted.
  p.op("host.material").byte(SECOND).colour(0).colour(0xFF555555).colour(0xFFAAAAAA).colour(0xFF555555);
  p.real(8).integer(255);
  p.intOf("setModifiedMaterialColor", 0);
  p.g("disableBackfaceCulling");
  p.intOf("enableFeature", 6);  // fog per pixel
  p.intOf("enableFeature", 7);  // separate specular
  // Slot 0: no depth, flat, no blending, no texture, no specular, no fog.
  p.intOf("setDepthBufferMask", 0).intOf("setShadeMode", 0).intOf("disableFeature", 0).intOf("disableFeature", 1);
  render(p);
  everyCombination(p, 7, [&](int bit, bool on, uint32_t slot) { setFeature(p, bit, on, slot); });
  // Lines (the triangles' edges) and points carry depth, smoothness and
  // blending; the rest is as the last triangle slot left it.
  for (int32_t mode : {1, 2}) {
    p.intOf("setModelRenderMode", mode);
    p.intOf("setDepthBufferMask", 0).intOf("setShadeMode", 0).intOf("disableFeature", 0);
    render(p);
    everyCombination(p, 4, [&](int bit, bool on, uint32_t slot) { setFeature(p, bit, on, slot); });
  }
  return p;
}

// Every native of kel.ruk not drawn by the slot seeds, once, returning.
Program rukNatives() {
  Program p;
  screen(p, 0, 0);
  p.g("init", SECOND).integer(6).integer(32).integer(32);
  boundTexture(p);
  square(p);
  // Devices and the device class.
  p.op("KELRend3DDevice.initIndexed").byte(SECOND).count(16).byte(0).word(99);
  p.op("Graphics3DDevice.getDeviceClass").flag(false);
  // Textures.
  p.op("KELRendTexture.doComplete").byte(FIRST);
  p.op("KELRendTexture.convertRect8").byte(FIRST).integer(1).integer(1).integer(4).integer(4);
  p.integer(16).flag(false).integer(0).integer(4).word(5).flag(false);
  // Matrices and projection.
  p.g("translateModel").reals({0.5f, 0, 0});
  p.g("doScaleModel").reals({2, 2, 2});
  p.g("doRotateModel").reals({0, 0, 1, 0.5f});
  p.g("doQuatRotateModel").byte(FIRST);
  p.g("concatModelMatrix").byte(FIRST);
  p.g("doGetModelMatrix").byte(SECOND);
  p.g("popModelMatrix");
  p.g("loadModelMatrix").byte(SECOND);
  p.g("resetModelMatrix");
  p.g("loadTextureMatrix").byte(FIRST);
  p.g("doGetTextureMatrix").byte(SECOND);
  p.g("doSetOrthographicProjection").reals({2, 2, 1, 100});
  p.g("doSetPerspectiveProjection").real(0.7853982f).reals({1, 1, 100});
  // Lights, material, attributes.
  p.op("host.light").byte(FIRST).colour(0xFFFFFFFF).colour(0xFF555555).byte(0).reals({0, 0, 1}).reals({0, 0, -1});
  p.reals({0, 0, 1}).real(100).reals({0.5f, 0.75f});
  p.g("pushDirectionalLight").byte(FIRST);
  p.g("pushPointLight").byte(FIRST);
  p.g("pushSpotLight").byte(FIRST);
  p.g("popLight");
  p.g("setMaterial").byte(FIRST);
  p.g("doSetTextureCoordinateGeneration").integer(1).integer(1).reals({1, 0, 0, 0, 1, 0});
  p.intOf("setTextureBlendMode", 1).intOf("setTextureFilter", 2);
  p.g("setTextureWrapping").flag(true).flag(false);
  p.g("doSetClearColor").colour(0xFF0055AA);
  p.g("setClearDepth").real(100);
  p.g("enableTwoSidedLighting").g("enableBackfaceCulling");
  p.g("doRender").byte(FIRST);
  p.g("disableTwoSidedLighting").g("resetLights");
  p.g("endRendering");
  // Picking the square through its middle, asking for everything.
  p.op("host.pickResult").integer(7).real(100).byte(0);
  p.g("doRayPick").byte(FIRST).byte(FIRST).flag(false);
  // Buffers: accumulation and a copy to the second context.
  p.g("accumLoad").real(0.5f).g("accumulate").real(0.5f).g("accumMult").real(2).g("accumReturn").real(1);
  p.g("doCopyBuffers").byte(SECOND).integer(11);
  // Presenting into a toolkit surface.
  p.op("host.createSurface").byte(FIRST).count(32).count(32);
  p.op("host.graphicsTarget").byte(FIRST).byte(0).byte(FIRST);
  p.g("doPaint").byte(FIRST).integer(0).integer(0);
  // Normals: face, vertex, copied back.
  p.op("KELRendModel.generateFaceNormals").byte(FIRST);
  p.op("KELRendModel.generateVertexNormals").byte(FIRST).real(0.5f);
  p.op("KELRendModel.copyVertexNormals").byte(FIRST);
  // Releasing everything.
  p.op("KELRendModel.dispose").byte(FIRST);
  p.g("doUseTexture").byte(NO_TEXTURE);
  p.op("KELRendTexture.dispose").byte(FIRST);
  p.g("dispose", SECOND).g("dispose", FIRST);
  return p;
}

// Every native of kel.geom, once.
Program geomNatives() {
  Program p;
  p.op("host.vector").byte(0).reals({1, 2, 3});
  p.op("host.vector").byte(1).reals({0, 1, 0});
  p.op("host.quaternion").byte(0).reals({0, 0, 0.70710677f, 0.70710677f});
  p.op("host.matrix").byte(1).flag(false).word(42).word(0);
  for (const char* v : {"magnitude", "doNormalize"}) p.op(std::string("Vector3.") + v).byte(0);
  for (const char* v : {"dot", "crossmag", "doNormalize2"}) p.op(std::string("Vector3.") + v).byte(0).byte(1);
  p.op("Vector3.cross").byte(2).byte(0).byte(1);
  for (const char* q : {"magnitude", "doNormalize"}) p.op(std::string("Quaternion.") + q).byte(0);
  for (const char* q : {"dot", "preMultiply", "postMultiply", "doNormalize2"}) {
    p.op(std::string("Quaternion.") + q).byte(1).byte(0);
  }
  p.op("Quaternion.multiply").byte(2).byte(0).byte(1);
  p.op("Quaternion.doRotation").byte(1).reals({0, 1, 0, 0.5f});
  p.op("Matrix4.identity").byte(0);
  p.op("Matrix4.doTranslate").byte(0).reals({1, 2, 3});
  p.op("Matrix4.doTranslate2").byte(2).byte(0).reals({1, 0, 0});
  p.op("Matrix4.doIsoscale").byte(0).real(2);
  p.op("Matrix4.doIsoscale2").byte(2).byte(0).real(0.5f);
  p.op("Matrix4.doScale").byte(0).reals({1, 2, 3});
  p.op("Matrix4.doScale2").byte(2).byte(0).reals({2, 2, 2});
  p.op("Matrix4.doRotate").byte(0).reals({0, 0, 1, 0.5f});
  p.op("Matrix4.doRotate2").byte(2).byte(0).reals({1, 0, 0, 0.25f});
  p.op("Matrix4.doQuatRotate").byte(0).byte(0);
  p.op("Matrix4.doQuatRotate2").byte(2).byte(0).byte(0);
  p.op("Matrix4.preMultiply").byte(0).byte(1);
  p.op("Matrix4.postMultiply").byte(0).byte(1);
  p.op("Matrix4.multiply").byte(3).byte(0).byte(1);
  p.op("Matrix4.doTranspose").byte(1);
  p.op("Matrix4.doTranspose2").byte(3).byte(1);
  p.op("Matrix4.doInvert").byte(0);
  p.op("Matrix4.doInvert2").byte(3).byte(1);
  p.op("Matrix4.determinant").byte(1);
  p.op("BoundingBox3.transform").byte(0).byte(0);
  p.op("BoundingBox3.rayIntersection").byte(0).byte(0);
  p.op("Geom.doTransformVector").byte(0).byte(0).byte(1);
  p.op("Geom.doTransformNormal").byte(0).byte(0).byte(1);
  p.op("Geom.doTransformPoint").byte(0).byte(0).byte(1);
  p.op("Geom.doTransformBoundingBox").byte(0).byte(0).byte(1);
  return p;
}

// The faults fuzzing found, as the programs that showed them.
Program textureDisposedWhileBound() {
  Program p;
  screen(p, 0, 0);
  boundTexture(p);
  p.op("KELRendTexture.dispose").byte(FIRST);
  square(p);
  p.g("doRender").byte(FIRST);
  return p;
}

Program copyNormalsWithNegativeCount() {
  Program p;
  square(p);
  p.op("KELRendModel.generateFaceNormals").byte(FIRST);
  p.op("KELRendModel.generateVertexNormals").byte(FIRST).real(0.5f);
  p.op("host.modelField").byte(FIRST).byte(3).count(-1);  // normalCount -1, normals of length 0
  p.op("KELRendModel.copyVertexNormals").byte(FIRST);
  return p;
}

Program convert8(int32_t paletteSize, int32_t offset, int32_t scansize) {
  Program p;
  screen(p, 0, 0);
  p.op("KELRendTexture.init").byte(FIRST).byte(2).byte(2);
  p.op("KELRendTexture.convertRect8").byte(FIRST).integer(0).integer(0).integer(4).integer(4);
  p.integer(paletteSize).flag(false).integer(offset).integer(scansize).word(3).flag(false);
  return p;
}

Program convert32(int32_t offset, int32_t scansize) {
  Program p;
  screen(p, 0, 0);
  p.op("KELRendTexture.init").byte(FIRST).byte(2).byte(2);
  p.op("KELRendTexture.convertRect32").byte(FIRST).integer(0).integer(0).integer(4).integer(4);
  p.mask(0xFF0000).mask(0xFF00).mask(0xFF).mask(0xFF000000).integer(offset).integer(scansize).word(3).flag(false);
  return p;
}

// A model whose counts change after init, then asked for its normals.
Program countsChangedAfterInit() {
  Program p;
  square(p);
  p.op("host.modelField").byte(FIRST).byte(1).count(1);  // primitiveCount 1
  p.op("KELRendModel.generateFaceNormals").byte(FIRST);
  p.op("KELRendModel.generateVertexNormals").byte(FIRST).real(0.5f);
  p.op("host.modelField").byte(FIRST).byte(0).integer(2);  // now points
  p.op("KELRendModel.copyVertexNormals").byte(FIRST);
  p.op("host.modelField").byte(FIRST).byte(1).count(2);
  screen(p, 0, 0);
  p.g("doRender").byte(FIRST);
  return p;
}

// Drawing and accumulating before the first clear, with forged references
// to finish.
Program beforeTheFirstClear() {
  Program p;
  p.op("host.display").byte(0).byte(0);
  p.op("KELRend3DDevice.initDirect").byte(FIRST).mask(0xFF0000).mask(0xFF00).mask(0xFF);
  p.g("init").integer(6).integer(16).integer(16);
  p.g("beginRendering");
  square(p);
  p.g("doRender").byte(FIRST);
  p.g("accumulate").real(1);
  p.g("accumReturn").real(1);
  p.op("host.forgeReference").byte(2).byte(FIRST).byte(1);  // a stale texture
  p.g("doUseTexture").byte(FIRST);
  return p;
}

std::map<std::string, std::vector<uint8_t>> seeds() {
  std::map<std::string, std::vector<uint8_t>> all;
  // Display depth choices: 0 -> 32, 1 -> 16, 2 -> 24, 3 -> 8; masks 1 -> 5-6-5.
  all["slots_rgb32"] = everySlot(0, 0, false).bytes();
  all["slots_rgb24"] = everySlot(2, 0, false).bytes();
  all["slots_rgb16"] = everySlot(1, 1, false).bytes();
  all["slots_rgb555"] = everySlot(1, 0, false).bytes();
  all["slots_indexed8"] = everySlot(3, 0, false).bytes();
  all["slots_indexed8_dithered"] = everySlot(3, 0, true).bytes();
  all["natives_ruk"] = rukNatives().bytes();
  all["natives_geom"] = geomNatives().bytes();
  all["fault_texture_disposed_while_bound"] = textureDisposedWhileBound().bytes();
  all["fault_copy_normals_negative_count"] = copyNormalsWithNegativeCount().bytes();
  all["fault_convert8_negative_palette_size"] = convert8(-1, 0, 4).bytes();
  all["fault_convert8_negative_offset"] = convert8(16, -2054847097, 4).bytes();
  all["fault_convert32_rows_before_the_array"] = convert32(4, -4).bytes();
  all["convert32_bottom_up_rows"] = convert32(12, -4).bytes();
  all["counts_changed_after_init"] = countsChangedAfterInit().bytes();
  all["before_the_first_clear"] = beforeTheFirstClear().bytes();
  return all;
}

std::vector<uint8_t> readFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

}  // namespace

int main(int argc, char** argv) {
  const bool check = argc == 3 && std::string(argv[1]) == "--check";
  if (argc != 2 && !check) {
    std::fprintf(stderr, "usage: %s [--check] DIRECTORY\n", argv[0]);
    return 2;
  }
  const std::filesystem::path directory = argv[argc - 1];
  int stale = 0;
  std::size_t bytes = 0;
  for (const auto& [name, program] : seeds()) {
    const std::filesystem::path path = directory / name;
    bytes += program.size();
    if (check) {
      if (readFile(path) != program) {
        std::fprintf(stderr, "seed %s is not what the writer writes\n", path.c_str());
        ++stale;
      }
      continue;
    }
    std::filesystem::create_directories(directory);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(program.data()), static_cast<std::streamsize>(program.size()));
  }
  std::fprintf(stderr, "%zu seeds, %zu bytes%s\n", seeds().size(), bytes,
               stale != 0 ? " (stale: run kelruk-fuzz-seeds on the directory)" : "");
  return stale == 0 ? 0 : 1;
}
