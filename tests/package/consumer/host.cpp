// A small host on the installed host kit: a 16 x 16 context on a 32-bit
// screen, one red rectangle painted into a toolkit surface; prints the
// centre pixel ("ff0000") and a corner ("000000").
#include <cstdio>

#include "host/kel_ruk.h"
#include "platform/display.h"

#ifndef KELRUK_LIBRARY_PATH
#define KELRUK_LIBRARY_PATH "libkelruk.so"
#endif

int main(int argc, char** argv) {
  kelhost::useStubLibrary(argc > 1 ? argv[1] : KELRUK_LIBRARY_PATH);
  using namespace kel::ruk;
  KELRend3DDevice device = KELRend3DDevice::create();
  device.initDirect(0xFF0000, 0xFF00, 0xFF);
  KELRendGraphics3D g = KELRendGraphics3D::create(device);
  if (!g.init(2, 16, 16)) return 1;
  g.doSetOrthographicProjection(8, 8, 1, 10);
  g.setMaterial(Material::create(0, 0, 0, 0, 0, 255));
  g.setModifiedMaterialColor(0);
  KELRendModel m = KELRendModel::create();
  m.setPrimitiveKind(KELRendModel::TRIANGLES);
  m.setPrimitiveCount(2);
  m.setVertexCount(4);
  m.setVertices(FloatArray::of({-4, -4, -5, 4, -4, -5, 4, 4, -5, -4, 4, -5}));
  m.setVertexIndices(IntArray::of({0, 1, 2, 0, 2, 3}));
  m.setColorBinding(2);
  m.setColors(IntArray::of({-65536, -65536, -65536, -65536, -65536, -65536}));  // 0xFFFF0000
  if (!m.init()) return 1;
  m.setFaceNormals(FloatArray::create(6));
  m.generateFaceNormals();
  m.setReady(1);
  g.beginRendering();
  g.clear(3);
  g.doRender(m);
  g.endRendering();
  const HDC surface = displayCreateSurface(16, 16);
  g.doPaint(kelhost::Graphics::create(surface), 0, 0);
  std::printf("%06x %06x\n", displaySurfacePixel(surface, 8, 8), displaySurfacePixel(surface, 0, 0));
  return 0;
}
