// Wavefront OBJ input through tinyobjloader: triangulated faces, centred and
// scaled to fit the unit sphere, coloured from the file's materials when it
// has them and by height otherwise.
#include <tiny_obj_loader.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "mesh.h"

namespace demo {

bool loadObj(const std::string& path, Mesh* mesh, std::string* error) {
  tinyobj::ObjReaderConfig config;
  config.triangulate = true;
  config.vertex_color = false;
  tinyobj::ObjReader reader;
  if (!reader.ParseFromFile(path, config)) {
    *error = reader.Error().empty() ? "cannot read " + path : reader.Error();
    return false;
  }
  const tinyobj::attrib_t& attrib = reader.GetAttrib();
  if (attrib.vertices.empty()) {
    *error = path + " has no vertices";
    return false;
  }

  // Centre and scale into the unit sphere.
  float lo[3], hi[3];
  for (int a = 0; a < 3; ++a) {
    lo[a] = std::numeric_limits<float>::max();
    hi[a] = std::numeric_limits<float>::lowest();
  }
  for (std::size_t i = 0; i < attrib.vertices.size(); ++i) {
    lo[i % 3] = std::min(lo[i % 3], attrib.vertices[i]);
    hi[i % 3] = std::max(hi[i % 3], attrib.vertices[i]);
  }
  float radius = 0;
  for (int a = 0; a < 3; ++a) radius = std::max(radius, (hi[a] - lo[a]) * 0.5f);
  const float scale = radius > 0 ? 1.0f / radius : 1.0f;

  *mesh = Mesh{};
  mesh->vertices.resize(attrib.vertices.size());
  for (std::size_t i = 0; i < attrib.vertices.size(); ++i) {
    const int a = static_cast<int>(i % 3);
    mesh->vertices[i] = (attrib.vertices[i] - (lo[a] + hi[a]) * 0.5f) * scale;
  }
  const bool textured = !attrib.texcoords.empty();
  if (textured) mesh->texCoords = attrib.texcoords;

  const auto& materials = reader.GetMaterials();
  for (const tinyobj::shape_t& shape : reader.GetShapes()) {
    const std::size_t faces = shape.mesh.num_face_vertices.size();
    for (std::size_t f = 0; f < faces; ++f) {
      if (shape.mesh.num_face_vertices[f] != 3) continue;
      int32_t color = 0xC8C8C8;
      const int material = f < shape.mesh.material_ids.size() ? shape.mesh.material_ids[f] : -1;
      if (material >= 0 && static_cast<std::size_t>(material) < materials.size()) {
        const auto& d = materials[static_cast<std::size_t>(material)].diffuse;
        auto channel = [](float v) { return static_cast<int32_t>(std::clamp(v, 0.0f, 1.0f) * 255.0f + 0.5f); };
        color = channel(d[0]) << 16 | channel(d[1]) << 8 | channel(d[2]);
      }
      for (int k = 0; k < 3; ++k) {
        const tinyobj::index_t index = shape.mesh.indices[3 * f + static_cast<std::size_t>(k)];
        mesh->indices.push_back(index.vertex_index);
        mesh->colors.push_back(static_cast<int32_t>(0xFF000000u) | color);
        if (textured) mesh->texCoordIndices.push_back(std::max(index.texcoord_index, 0));
      }
    }
  }
  if (mesh->indices.empty()) {
    *error = path + " has no triangles";
    return false;
  }
  return true;
}

}  // namespace demo
