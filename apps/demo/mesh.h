// Meshes as a Java program holds them before handing them to KELRendModel:
// flat arrays of positions, per-corner indices, colours and texture
// coordinates.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace demo {

struct Mesh {
  int32_t primitiveKind = 0;             // 0 triangles, 1 lines, 2 points
  std::vector<float> vertices;           // x, y, z
  std::vector<int32_t> indices;          // one per corner
  std::vector<int32_t> colors;           // one per corner (0x00RRGGBB), or empty
  std::vector<float> texCoords;          // u, v, or empty
  std::vector<int32_t> texCoordIndices;  // one per corner when texCoords is set

  int32_t corners() const { return static_cast<int32_t>(indices.size()); }
  int32_t vertexCount() const { return static_cast<int32_t>(vertices.size() / 3); }
};

// A sphere of `rings` x `segments` quads, coloured by latitude and longitude.
Mesh makeSphere(float radius, int rings, int segments);
// A unit cube centred on the origin with one colour per face.
Mesh makeCube(float half);
// A square in the y = 0 plane, `tiles` texture repeats across, facing up.
Mesh makeFloor(float half, float tiles);
// A torus knot-like ring of triangles, for overlapping depth.
Mesh makeTorus(float major, float minor, int rings, int segments);

// Reads a Wavefront OBJ file (triangulated), centred and scaled to fit a unit
// sphere. False with a message on failure.
bool loadObj(const std::string& path, Mesh* mesh, std::string* error);

}  // namespace demo
