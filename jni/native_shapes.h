// What the bridge remembers of the native records it saw created, so that it
// can check Java arrays against what the library will read: the library keeps
// a model's kind, bindings and counts, and a texture's size, but not the
// lengths of the Java arrays, which only the bridge knows. Keyed by the
// native reference the Java field holds; forgotten at dispose.
#pragma once

#include <cstdint>
#include <optional>

namespace kelbridge {

struct ModelShape {
  uint32_t corners;       // per primitive: 3, 2 or 1
  uint32_t colorBinding;  // 1 per primitive, 2 per corner, 0 none
  uint32_t primitiveCount;
  uint32_t vertexCount;
  uint32_t generatedNormals;  // vertex normals waiting for copyVertexNormals
};

struct TextureShape {
  uint32_t width;
  uint32_t height;
};

void rememberModel(uint32_t reference, const ModelShape& shape);
std::optional<ModelShape> modelShape(uint32_t reference);
void setGeneratedNormals(uint32_t reference, uint32_t count);
void forgetModel(uint32_t reference);

void rememberTexture(uint32_t reference, const TextureShape& shape);
std::optional<TextureShape> textureShape(uint32_t reference);
void forgetTexture(uint32_t reference);

}  // namespace kelbridge
