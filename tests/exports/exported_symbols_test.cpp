// The shared library exports exactly one stub per Java native of kel.ruk and
// kel.geom and the 27 matrix functions: read from its ELF dynamic symbol
// table, name by name.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "exports/dynamic_symbols.h"

namespace {

// Java natives as Class_method, by package.
const char* const RUK_NATIVES[] = {
    "KELRendGraphics3D_init",
    "KELRendGraphics3D_dispose",
    "KELRendGraphics3D_beginRendering",
    "KELRendGraphics3D_endRendering",
    "KELRendGraphics3D_doPaint",
    "KELRendGraphics3D_doRender",
    "KELRendGraphics3D_doRayPick",
    "KELRendGraphics3D_concatModelMatrix",
    "KELRendGraphics3D_loadModelMatrix",
    "KELRendGraphics3D_popModelMatrix",
    "KELRendGraphics3D_resetModelMatrix",
    "KELRendGraphics3D_translateModel",
    "KELRendGraphics3D_doScaleModel",
    "KELRendGraphics3D_doRotateModel",
    "KELRendGraphics3D_doQuatRotateModel",
    "KELRendGraphics3D_doGetModelMatrix",
    "KELRendGraphics3D_loadTextureMatrix",
    "KELRendGraphics3D_doGetTextureMatrix",
    "KELRendGraphics3D_doSetPerspectiveProjection",
    "KELRendGraphics3D_doSetOrthographicProjection",
    "KELRendGraphics3D_setMaterial",
    "KELRendGraphics3D_setModifiedMaterialColor",
    "KELRendGraphics3D_pushDirectionalLight",
    "KELRendGraphics3D_pushPointLight",
    "KELRendGraphics3D_pushSpotLight",
    "KELRendGraphics3D_popLight",
    "KELRendGraphics3D_resetLights",
    "KELRendGraphics3D_doSetFog",
    "KELRendGraphics3D_setDepthBufferMask",
    "KELRendGraphics3D_doUseTexture",
    "KELRendGraphics3D_doSetTextureCoordinateGeneration",
    "KELRendGraphics3D_enableFeature",
    "KELRendGraphics3D_disableFeature",
    "KELRendGraphics3D_setModelRenderMode",
    "KELRendGraphics3D_setShadeMode",
    "KELRendGraphics3D_setTextureBlendMode",
    "KELRendGraphics3D_setTextureFilter",
    "KELRendGraphics3D_setTextureWrapping",
    "KELRendGraphics3D_clear",
    "KELRendGraphics3D_doSetClearColor",
    "KELRendGraphics3D_setClearDepth",
    "KELRendGraphics3D_enableTwoSidedLighting",
    "KELRendGraphics3D_disableTwoSidedLighting",
    "KELRendGraphics3D_enableBackfaceCulling",
    "KELRendGraphics3D_disableBackfaceCulling",
    "KELRendGraphics3D_doCopyBuffers",
    "KELRendGraphics3D_accumulate",
    "KELRendGraphics3D_accumLoad",
    "KELRendGraphics3D_accumReturn",
    "KELRendGraphics3D_accumMult",
    "KELRend3DDevice_initDirect",
    "KELRend3DDevice_initIndexed",
    "KELRendTexture_init",
    "KELRendTexture_doComplete",
    "KELRendTexture_convertRect32",
    "KELRendTexture_convertRect8",
    "KELRendTexture_dispose",
    "KELRendModel_init",
    "KELRendModel_generateFaceNormals",
    "KELRendModel_generateVertexNormals",
    "KELRendModel_copyVertexNormals",
    "KELRendModel_dispose",
    "Graphics3DDevice_getDeviceClass",
};

const char* const GEOM_NATIVES[] = {
    "Vector3_magnitude",
    "Vector3_dot",
    "Vector3_cross",
    "Vector3_crossmag",
    "Vector3_doNormalize",
    "Vector3_doNormalize2",
    "Quaternion_multiply",
    "Quaternion_preMultiply",
    "Quaternion_postMultiply",
    "Quaternion_dot",
    "Quaternion_doNormalize",
    "Quaternion_doNormalize2",
    "Quaternion_magnitude",
    "Quaternion_doRotation",
    "Matrix4_identity",
    "Matrix4_doTranslate",
    "Matrix4_doTranslate2",
    "Matrix4_doIsoscale",
    "Matrix4_doIsoscale2",
    "Matrix4_doScale",
    "Matrix4_doScale2",
    "Matrix4_doRotate",
    "Matrix4_doRotate2",
    "Matrix4_doQuatRotate",
    "Matrix4_doQuatRotate2",
    "Matrix4_preMultiply",
    "Matrix4_postMultiply",
    "Matrix4_multiply",
    "Matrix4_doTranspose",
    "Matrix4_doTranspose2",
    "Matrix4_doInvert",
    "Matrix4_doInvert2",
    "Matrix4_determinant",
    "BoundingBox3_transform",
    "BoundingBox3_rayIntersection",
    "Geom_doTransformVector",
    "Geom_doTransformNormal",
    "Geom_doTransformPoint",
    "Geom_doTransformBoundingBox",
};

const char* const MATRIX_FUNCTIONS[] = {
    "matrixIdentity",        "matrixTranslate",      "matrixTranslate2",       "matrixQuatRotate",
    "matrixQuatRotate2",     "matrixRotate",         "matrixRotate2",          "matrixScale",
    "matrixScale2",          "matrixIsotropicScale", "matrixIsotropicScale2",  "matrixPostMultiply",
    "matrixPreMultiply",     "matrixMultiply",       "matrixInvert",           "matrixInvert2",
    "matrixTranspose",       "matrixTranspose2",     "matrixDeterminant",      "matrixTransformVector",
    "matrixTransformNormal", "matrixTransformPoint", "matrixTransformVector2", "matrixTransformNormal2",
    "matrixTransformPoint2", "matrixTransformBBox",  "matrixTransformBBox2",
};

std::set<std::string> expectedExports() {
  std::set<std::string> names;
  for (const char* native : RUK_NATIVES) names.insert(std::string("Java_kel_ruk_") + native + "_stub");
  for (const char* native : GEOM_NATIVES) names.insert(std::string("Java_kel_geom_") + native + "_stub");
  for (const char* function : MATRIX_FUNCTIONS) names.insert(function);
  return names;
}

TEST(ExportedSymbols, TheListCoversEveryNativeAndMatrixFunctionOnce) {
  EXPECT_EQ(63u, std::size(RUK_NATIVES));
  EXPECT_EQ(39u, std::size(GEOM_NATIVES));
  EXPECT_EQ(27u, std::size(MATRIX_FUNCTIONS));
  EXPECT_EQ(63u + 39u + 27u, expectedExports().size());
}

TEST(ExportedSymbols, ExactlyTheStubsAndMatrixFunctionsAreExported) {
  const DynamicSymbols exported = readDynamicSymbols(KELRUK_LIBRARY_PATH);
  const std::set<std::string> expected = expectedExports();
  for (const std::string& name : expected) {
    EXPECT_TRUE(exported.functions.count(name)) << "missing: " << name;
  }
  for (const std::string& name : exported.functions) {
    EXPECT_TRUE(expected.count(name)) << "exported but not a native or matrix function: " << name;
  }
  for (const std::string& name : exported.others) {
    ADD_FAILURE() << "exported symbol that is not a global function: " << name;
  }
}

}  // namespace
