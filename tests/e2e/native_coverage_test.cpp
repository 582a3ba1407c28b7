// Which scenario calls each native of kel.ruk and kel.geom and checks its
// result. Every scenario test verifies, when it ends, that it really called
// the natives listed for it here; the tests below check that the table names
// every exported native exactly once and only scenarios that exist.
#include <set>
#include <string>

#include "e2e/e2e_support.h"
#include "exports/dynamic_symbols.h"

namespace e2e {
namespace {

#define RUK(cls, method) "Java_kel_ruk_" #cls "_" #method "_stub"
#define GEOM(cls, method) "Java_kel_geom_" #cls "_" #method "_stub"

constexpr NativeCoverage kCoverage[] = {
    // kel.ruk.KELRendGraphics3D: lifecycle and frames.
    {RUK(KELRendGraphics3D, init), "LifecycleScenario.InitDisposeLoop"},
    {RUK(KELRendGraphics3D, dispose), "LifecycleScenario.InitDisposeLoop"},
    {RUK(KELRendGraphics3D, beginRendering), "FrameScenario.FilledRectangle"},
    {RUK(KELRendGraphics3D, endRendering), "FrameScenario.FilledRectangle"},
    {RUK(KELRendGraphics3D, doPaint), "LifecycleScenario.PaintIntoWindowAndToolkitSurface"},
    {RUK(KELRendGraphics3D, doRender), "FrameScenario.FilledRectangle"},
    {RUK(KELRendGraphics3D, doRayPick), "PickScenario.RayThroughAPixel"},
    {RUK(KELRendGraphics3D, clear), "FrameScenario.ClearFillsEveryPixel"},
    {RUK(KELRendGraphics3D, doSetClearColor), "FrameScenario.ClearFillsEveryPixel"},
    {RUK(KELRendGraphics3D, setClearDepth), "DepthScenario.ClearDepthHidesFartherGeometry"},
    {RUK(KELRendGraphics3D, setDepthBufferMask), "DepthScenario.MaskOffLetsDrawOrderDecide"},
    {RUK(KELRendGraphics3D, doCopyBuffers), "LifecycleScenario.CopyBuffersBetweenContexts"},
    {RUK(KELRendGraphics3D, accumulate), "AccumulationScenario.TwoFrameBlend"},
    {RUK(KELRendGraphics3D, accumLoad), "AccumulationScenario.TwoFrameBlend"},
    {RUK(KELRendGraphics3D, accumReturn), "AccumulationScenario.TwoFrameBlend"},
    {RUK(KELRendGraphics3D, accumMult), "AccumulationScenario.ScaleTheSum"},
    // Matrices and projection.
    {RUK(KELRendGraphics3D, concatModelMatrix), "ModelMatrixScenario.StackMovesTheRectangle"},
    {RUK(KELRendGraphics3D, loadModelMatrix), "ModelMatrixScenario.StackMovesTheRectangle"},
    {RUK(KELRendGraphics3D, popModelMatrix), "ModelMatrixScenario.StackMovesTheRectangle"},
    {RUK(KELRendGraphics3D, resetModelMatrix), "ModelMatrixScenario.StackMovesTheRectangle"},
    {RUK(KELRendGraphics3D, translateModel), "ModelMatrixScenario.StackMovesTheRectangle"},
    {RUK(KELRendGraphics3D, doScaleModel), "ModelMatrixScenario.StackMovesTheRectangle"},
    {RUK(KELRendGraphics3D, doRotateModel), "ModelMatrixScenario.StackMovesTheRectangle"},
    {RUK(KELRendGraphics3D, doQuatRotateModel), "ModelMatrixScenario.StackMovesTheRectangle"},
    {RUK(KELRendGraphics3D, doGetModelMatrix), "ModelMatrixScenario.StackMovesTheRectangle"},
    {RUK(KELRendGraphics3D, loadTextureMatrix), "TextureScenario.TextureMatrixScalesCoordinates"},
    {RUK(KELRendGraphics3D, doGetTextureMatrix), "TextureScenario.TextureMatrixScalesCoordinates"},
    {RUK(KELRendGraphics3D, doSetPerspectiveProjection), "DepthScenario.NearerWinsInEitherOrder"},
    {RUK(KELRendGraphics3D, doSetOrthographicProjection), "FrameScenario.FilledRectangle"},
    // Material, lights, fog.
    {RUK(KELRendGraphics3D, setMaterial), "FrameScenario.FilledRectangle"},
    {RUK(KELRendGraphics3D, setModifiedMaterialColor), "FrameScenario.FilledRectangle"},
    {RUK(KELRendGraphics3D, pushDirectionalLight), "LightingScenario.LightsOnAFlatRectangle"},
    {RUK(KELRendGraphics3D, pushPointLight), "LightingScenario.LightsOnAFlatRectangle"},
    {RUK(KELRendGraphics3D, pushSpotLight), "LightingScenario.LightsOnAFlatRectangle"},
    {RUK(KELRendGraphics3D, popLight), "LightingScenario.LightsOnAFlatRectangle"},
    {RUK(KELRendGraphics3D, resetLights), "LightingScenario.LightsOnAFlatRectangle"},
    {RUK(KELRendGraphics3D, setShadeMode), "LightingScenario.FlatShadingUsesTheFirstCorner"},
    {RUK(KELRendGraphics3D, doSetFog), "FogScenario.FogOnPointsAndLines"},
    {RUK(KELRendGraphics3D, enableTwoSidedLighting), "LightingScenario.BackFaces"},
    {RUK(KELRendGraphics3D, disableTwoSidedLighting), "LightingScenario.BackFaces"},
    {RUK(KELRendGraphics3D, enableBackfaceCulling), "LightingScenario.BackFaces"},
    {RUK(KELRendGraphics3D, disableBackfaceCulling), "LightingScenario.BackFaces"},
    // Modes and features.
    {RUK(KELRendGraphics3D, setModelRenderMode), "FrameScenario.FilledRectangle"},
    {RUK(KELRendGraphics3D, enableFeature), "FeatureScenario.BlendingSwitch"},
    {RUK(KELRendGraphics3D, disableFeature), "FeatureScenario.BlendingSwitch"},
    // Textures seen from the context.
    {RUK(KELRendGraphics3D, doUseTexture), "TextureScenario.TexturedRectangle"},
    {RUK(KELRendGraphics3D, setTextureBlendMode), "TextureScenario.BlendModeZeroDropsSmoothShading"},
    {RUK(KELRendGraphics3D, setTextureFilter), "TextureScenario.StoredOnlySettingsChangeNothing"},
    {RUK(KELRendGraphics3D, setTextureWrapping), "TextureScenario.StoredOnlySettingsChangeNothing"},
    {RUK(KELRendGraphics3D, doSetTextureCoordinateGeneration), "TextureScenario.StoredOnlySettingsChangeNothing"},
    // kel.ruk.KELRend3DDevice and Graphics3DDevice.
    {RUK(KELRend3DDevice, initDirect), "DeviceProgram.DevicesForEveryScreen"},
    {RUK(KELRend3DDevice, initIndexed), "DeviceProgram.DevicesForEveryScreen"},
    {RUK(Graphics3DDevice, getDeviceClass), "DeviceProgram.DevicesForEveryScreen"},
    // kel.ruk.KELRendTexture.
    {RUK(KELRendTexture, init), "TextureScenario.TexturedRectangle"},
    {RUK(KELRendTexture, doComplete), "TextureScenario.TexturedRectangle"},
    {RUK(KELRendTexture, convertRect32), "TextureScenario.TexturedRectangle"},
    {RUK(KELRendTexture, convertRect8), "TextureScenario.PalettedTexture"},
    {RUK(KELRendTexture, dispose), "TextureScenario.TexturedRectangle"},
    // kel.ruk.KELRendModel.
    {RUK(KELRendModel, init), "ModelProgram.CubeNormals"},
    {RUK(KELRendModel, generateFaceNormals), "ModelProgram.CubeNormals"},
    {RUK(KELRendModel, generateVertexNormals), "ModelProgram.CubeNormals"},
    {RUK(KELRendModel, copyVertexNormals), "ModelProgram.CubeNormals"},
    {RUK(KELRendModel, dispose), "ModelProgram.CubeNormals"},
    // kel.geom.Vector3.
    {GEOM(Vector3, magnitude), "GeomProgram.VectorArithmetic"},
    {GEOM(Vector3, dot), "GeomProgram.VectorArithmetic"},
    {GEOM(Vector3, cross), "GeomProgram.VectorArithmetic"},
    {GEOM(Vector3, crossmag), "GeomProgram.VectorArithmetic"},
    {GEOM(Vector3, doNormalize), "GeomProgram.VectorArithmetic"},
    {GEOM(Vector3, doNormalize2), "GeomProgram.VectorArithmetic"},
    // kel.geom.Quaternion.
    {GEOM(Quaternion, multiply), "GeomProgram.QuaternionArithmetic"},
    {GEOM(Quaternion, preMultiply), "GeomProgram.QuaternionArithmetic"},
    {GEOM(Quaternion, postMultiply), "GeomProgram.QuaternionArithmetic"},
    {GEOM(Quaternion, dot), "GeomProgram.QuaternionArithmetic"},
    {GEOM(Quaternion, doNormalize), "GeomProgram.QuaternionArithmetic"},
    {GEOM(Quaternion, doNormalize2), "GeomProgram.QuaternionArithmetic"},
    {GEOM(Quaternion, magnitude), "GeomProgram.QuaternionArithmetic"},
    {GEOM(Quaternion, doRotation), "GeomProgram.QuaternionArithmetic"},
    // kel.geom.Matrix4.
    {GEOM(Matrix4, identity), "GeomProgram.MatrixBuilding"},
    {GEOM(Matrix4, doTranslate), "GeomProgram.MatrixBuilding"},
    {GEOM(Matrix4, doTranslate2), "GeomProgram.MatrixBuilding"},
    {GEOM(Matrix4, doIsoscale), "GeomProgram.MatrixBuilding"},
    {GEOM(Matrix4, doIsoscale2), "GeomProgram.MatrixBuilding"},
    {GEOM(Matrix4, doScale), "GeomProgram.MatrixBuilding"},
    {GEOM(Matrix4, doScale2), "GeomProgram.MatrixBuilding"},
    {GEOM(Matrix4, doRotate), "GeomProgram.MatrixBuilding"},
    {GEOM(Matrix4, doRotate2), "GeomProgram.MatrixBuilding"},
    {GEOM(Matrix4, doQuatRotate), "GeomProgram.MatrixBuilding"},
    {GEOM(Matrix4, doQuatRotate2), "GeomProgram.MatrixBuilding"},
    {GEOM(Matrix4, preMultiply), "GeomProgram.MatrixProducts"},
    {GEOM(Matrix4, postMultiply), "GeomProgram.MatrixProducts"},
    {GEOM(Matrix4, multiply), "GeomProgram.MatrixProducts"},
    {GEOM(Matrix4, doTranspose), "GeomProgram.MatrixProducts"},
    {GEOM(Matrix4, doTranspose2), "GeomProgram.MatrixProducts"},
    {GEOM(Matrix4, doInvert), "GeomProgram.MatrixProducts"},
    {GEOM(Matrix4, doInvert2), "GeomProgram.MatrixProducts"},
    {GEOM(Matrix4, determinant), "GeomProgram.MatrixProducts"},
    // kel.geom.BoundingBox3 and Geom.
    {GEOM(BoundingBox3, transform), "GeomProgram.TransformsAndBoxes"},
    {GEOM(BoundingBox3, rayIntersection), "GeomProgram.TransformsAndBoxes"},
    {GEOM(Geom, doTransformVector), "GeomProgram.TransformsAndBoxes"},
    {GEOM(Geom, doTransformNormal), "GeomProgram.TransformsAndBoxes"},
    {GEOM(Geom, doTransformPoint), "GeomProgram.TransformsAndBoxes"},
    {GEOM(Geom, doTransformBoundingBox), "GeomProgram.TransformsAndBoxes"},
};

#undef RUK
#undef GEOM

// The natives the library exports: its stubs, read from its dynamic symbol
// table.
std::set<std::string> exportedNatives() {
  std::set<std::string> names;
  for (const std::string& name : readDynamicSymbols(KELRUK_LIBRARY_PATH).functions) {
    const bool stub = name.starts_with("Java_kel_") && name.ends_with("_stub");
    if (stub) names.insert(name);
  }
  return names;
}

// Every test of this program, as "Suite.Test" without prefixes or parameters.
std::set<std::string> registeredScenarios() {
  std::set<std::string> names;
  const ::testing::UnitTest& unit = *::testing::UnitTest::GetInstance();
  for (int i = 0; i < unit.total_test_suite_count(); ++i) {
    const ::testing::TestSuite& suite = *unit.GetTestSuite(i);
    for (int j = 0; j < suite.total_test_count(); ++j) {
      std::string s = suite.name(), t = suite.GetTestInfo(j)->name();
      if (const auto slash = s.rfind('/'); slash != std::string::npos) s.erase(0, slash + 1);
      if (const auto slash = t.find('/'); slash != std::string::npos) t.erase(slash);
      names.insert(s + "." + t);
    }
  }
  return names;
}

TEST(NativeCoverage, TheTableListsEveryExportedNativeOnce) {
  const std::set<std::string> exported = exportedNatives();
  EXPECT_EQ(exported.size(), 102u);
  std::set<std::string> listed;
  for (const NativeCoverage& entry : kCoverage) {
    EXPECT_TRUE(listed.insert(entry.stub).second) << "listed twice: " << entry.stub;
    EXPECT_TRUE(exported.count(entry.stub)) << "not an exported native: " << entry.stub;
  }
  for (const std::string& name : exported) EXPECT_TRUE(listed.count(name)) << "no scenario covers " << name;
  EXPECT_EQ(std::size(kCoverage), 102u);
}

TEST(NativeCoverage, EveryListedNativeResolvesAndEveryScenarioExists) {
  const std::set<std::string> scenarios = registeredScenarios();
  for (const NativeCoverage& entry : kCoverage) {
    EXPECT_NE(kelhost::lookupStub(entry.stub), nullptr) << entry.stub;
    EXPECT_TRUE(scenarios.count(entry.scenario))
        << entry.stub << " names a scenario that does not exist: " << entry.scenario;
  }
}

}  // namespace

std::span<const NativeCoverage> coverageTable() { return kCoverage; }

}  // namespace e2e
