#include "jni/native_shapes.h"

#include <mutex>
#include <unordered_map>

namespace kelbridge {
namespace {

template <class Shape>
struct ShapeTable {
  std::mutex lock;
  std::unordered_map<uint32_t, Shape> shapes;

  void remember(uint32_t reference, const Shape& shape) {
    std::lock_guard guard(lock);
    shapes[reference] = shape;
  }
  std::optional<Shape> find(uint32_t reference) {
    std::lock_guard guard(lock);
    const auto found = shapes.find(reference);
    if (found == shapes.end()) return std::nullopt;
    return found->second;
  }
  void forget(uint32_t reference) {
    std::lock_guard guard(lock);
    shapes.erase(reference);
  }
};

ShapeTable<ModelShape>& models() {
  static auto* table = new ShapeTable<ModelShape>();
  return *table;
}

ShapeTable<TextureShape>& textures() {
  static auto* table = new ShapeTable<TextureShape>();
  return *table;
}

}  // namespace

void rememberModel(uint32_t reference, const ModelShape& shape) { models().remember(reference, shape); }
std::optional<ModelShape> modelShape(uint32_t reference) { return models().find(reference); }
void forgetModel(uint32_t reference) { models().forget(reference); }

void setGeneratedNormals(uint32_t reference, uint32_t count) {
  std::lock_guard guard(models().lock);
  const auto found = models().shapes.find(reference);
  if (found != models().shapes.end()) found->second.generatedNormals = count;
}

void rememberTexture(uint32_t reference, const TextureShape& shape) { textures().remember(reference, shape); }
std::optional<TextureShape> textureShape(uint32_t reference) { return textures().find(reference); }
void forgetTexture(uint32_t reference) { textures().forget(reference); }

}  // namespace kelbridge
