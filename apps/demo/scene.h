// The demo's scene as a Java program would hold it: models with their
// placement, a texture, lights, material and fog.
#pragma once

#include <string>
#include <vector>

#include "host/kel_ruk.h"
#include "mesh.h"

namespace demo {

struct SceneObject {
  std::string name;
  kel::ruk::KELRendModel model;
  float position[3];
  float axis[3];  // unit rotation axis
  float spin;     // radians per frame
  float angle;    // radians at frame 0
  bool textured = false;
};

struct Scene {
  std::vector<SceneObject> objects;
  kel::ruk::KELRendTexture texture;
};

// Hands a mesh to a new KELRendModel the way the Java class does: init, face
// normals, crease-angle vertex normals, copy-back, ready.
kel::ruk::KELRendModel makeModel(const Mesh& mesh, float creaseAngle);

// The default scene: a textured floor, a smooth sphere, a cube and a torus
// that cut through each other.
Scene buildDefaultScene(kel::ruk::KELRend3DDevice device);
// One OBJ model in the middle of the view.
Scene buildObjScene(const Mesh& mesh);

// Lights, material and fog shared by both scenes.
void setUpLighting(kel::ruk::KELRendGraphics3D g);

// Places object `o` for frame `frame` on the model matrix stack (pushes).
void placeObject(kel::ruk::KELRendGraphics3D g, const SceneObject& o, int frame);

}  // namespace demo
