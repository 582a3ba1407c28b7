// The roles in which natives take Java objects: for each, the field numbers
// the natives read (and the arrays they may write), with the objects those
// fields refer to in their own roles. Fields a role leaves out are laid out
// as zero words, which the natives never read. Narrow roles keep the
// frequent calls cheap: a setter only needs the context reference.
#pragma once

#include "jni/java_layout.h"

namespace kelbridge::roles {

inline constexpr FieldUse kVectorUses[] = {{0, Want::Word}, {1, Want::Word}, {2, Want::Word}};
inline const Role kVector{"a Vector3", kVectorUses};

inline constexpr FieldUse kQuaternionUses[] = {{0, Want::Word}, {1, Want::Word}, {2, Want::Word}, {3, Want::Word}};
inline const Role kQuaternion{"a Quaternion", kQuaternionUses};

inline constexpr FieldUse kMatrixUses[] = {
    {0, Want::Word},  {1, Want::Word},  {2, Want::Word},  {3, Want::Word},  {4, Want::Word},  {5, Want::Word},
    {6, Want::Word},  {7, Want::Word},  {8, Want::Word},  {9, Want::Word},  {10, Want::Word}, {11, Want::Word},
    {12, Want::Word}, {13, Want::Word}, {14, Want::Word}, {15, Want::Word}, {16, Want::Word}};
inline const Role kMatrix{"a Matrix4", kMatrixUses};

inline constexpr FieldUse kBoxUses[] = {{0, Want::Object, &kVector}, {1, Want::Object, &kVector}};
inline const Role kBox{"a BoundingBox3", kBoxUses};

inline constexpr FieldUse kRayUses[] = {{0, Want::Object, &kVector}, {1, Want::Object, &kVector}};
inline const Role kRay{"a ray", kRayUses};

// KELRend3DDevice: nativeDevice.
inline constexpr FieldUse kDeviceUses[] = {{0, Want::Word}};
inline const Role kDevice{"a KELRend3DDevice", kDeviceUses};

// KELRendGraphics3D: context only (every native but init and doPaint).
inline constexpr FieldUse kContextUses[] = {{7, Want::Word}};
inline const Role kContext{"a KELRendGraphics3D", kContextUses};
// init: the device, and the context it writes.
inline constexpr FieldUse kContextInitUses[] = {{0, Want::Object, &kDevice}, {7, Want::Word}};
inline const Role kContextInit{"a KELRendGraphics3D", kContextInitUses};
// doPaint: window and context.
inline constexpr FieldUse kContextPaintUses[] = {{6, Want::Word}, {7, Want::Word}};
inline const Role kContextPaint{"a KELRendGraphics3D", kContextPaintUses};

// KELRendTexture: device, complete, nativeTexture.
inline constexpr FieldUse kTextureUses[] = {{0, Want::Object, &kDevice}, {6, Want::Word}, {10, Want::Word}};
inline const Role kTexture{"a KELRendTexture", kTextureUses};
// doUseTexture: complete and nativeTexture.
inline constexpr FieldUse kTextureBindUses[] = {{6, Want::Word}, {10, Want::Word}};
inline const Role kTextureBind{"a KELRendTexture", kTextureBindUses};

// KELRendModel field numbers.
inline constexpr int kModelNative = 0, kModelKind = 1, kModelPrimitives = 2, kModelVertexCount = 3,
                     kModelNormalCount = 5, kModelTexCoordCount = 6, kModelColorBinding = 11, kModelReady = 15,
                     kModelVertices = 16, kModelFaceNormals = 17, kModelNormals = 18, kModelTexCoords = 19,
                     kModelVertexIndices = 20, kModelNormalIndices = 21, kModelTexCoordIndices = 22, kModelColors = 23;

// init: kind, counts, bindings and the vertices (for the bounds).
inline constexpr FieldUse kModelInitUses[] = {
    {0, Want::Word}, {1, Want::Word},  {2, Want::Word},  {3, Want::Word},  {5, Want::Word},
    {6, Want::Word}, {10, Want::Word}, {11, Want::Word}, {12, Want::Word}, {16, Want::FloatArray}};
inline const Role kModelInit{"a KELRendModel", kModelInitUses};

// doRender and doRayPick: the model packet; its arrays only when ready.
inline constexpr FieldUse kModelDrawUses[] = {
    {15, Want::Word},       {0, Want::Word},        {1, Want::Word},        {2, Want::Word},
    {3, Want::Word},        {5, Want::Word},        {6, Want::Word},        {11, Want::Word},
    {16, Want::FloatArray}, {17, Want::FloatArray}, {18, Want::FloatArray}, {19, Want::FloatArray},
    {20, Want::IntArray},   {21, Want::IntArray},   {22, Want::IntArray},   {23, Want::IntArray}};
inline const Role kModelDraw{"a KELRendModel", kModelDrawUses, kModelReady};

// Normal generation and copy-back compare the kind and counts with those of
// init, so that no array is used past the shape it was checked for.
inline constexpr FieldUse kFaceNormalGenerationUses[] = {{0, Want::Word},
                                                         {1, Want::Word},
                                                         {2, Want::Word},
                                                         {3, Want::Word},
                                                         {16, Want::FloatArray},
                                                         {20, Want::IntArray},
                                                         {17, Want::FloatArray, nullptr, true}};
inline const Role kFaceNormalGeneration{"a KELRendModel", kFaceNormalGenerationUses};

inline constexpr FieldUse kVertexNormalGenerationUses[] = {
    {0, Want::Word}, {1, Want::Word},        {2, Want::Word},        {3, Want::Word},
    {5, Want::Word}, {16, Want::FloatArray}, {17, Want::FloatArray}, {20, Want::IntArray}};
inline const Role kVertexNormalGeneration{"a KELRendModel", kVertexNormalGenerationUses};

inline constexpr FieldUse kModelCopyNormalsUses[] = {{0, Want::Word},
                                                     {1, Want::Word},
                                                     {2, Want::Word},
                                                     {5, Want::Word},
                                                     {18, Want::FloatArray, nullptr, true},
                                                     {21, Want::IntArray, nullptr, true}};
inline const Role kModelCopyNormals{"a KELRendModel", kModelCopyNormalsUses};

inline constexpr FieldUse kModelReferenceUses[] = {{0, Want::Word}};
inline const Role kModelReference{"a KELRendModel", kModelReferenceUses};

// setMaterial: four colours, shininess, alpha.
inline constexpr FieldUse kMaterialUses[] = {{0, Want::Word}, {1, Want::Word}, {2, Want::Word},
                                             {3, Want::Word}, {4, Want::Word}, {5, Want::Word}};
inline const Role kMaterial{"a material", kMaterialUses};

// The light pushes.
inline constexpr FieldUse kLightUses[] = {
    {0, Want::Word}, {2, Want::Word}, {3, Want::Object, &kVector}, {4, Want::Word}, {5, Want::Word},
    {6, Want::Word}, {7, Want::Word}, {8, Want::Object, &kVector}, {9, Want::Word}, {10, Want::Word}};
inline const Role kLight{"a light", kLightUses};

// doRayPick's result: request, distance, point, normal, texture coordinates.
inline constexpr FieldUse kTexCoordUses[] = {{0, Want::Word}, {1, Want::Word}};
inline const Role kTexCoord{"a texture-coordinate object", kTexCoordUses};
inline constexpr FieldUse kPickResultUses[] = {{0, Want::Word},
                                               {1, Want::Word},
                                               {2, Want::Object, &kVector},
                                               {3, Want::Object, &kVector},
                                               {4, Want::Object, &kTexCoord}};
inline const Role kPickResult{"a pick result", kPickResultUses};

// doPaint's graphics object: the address of its native graphics record.
inline constexpr FieldUse kGraphicsUses[] = {{0, Want::Word}};
inline const Role kGraphics{"a graphics object", kGraphicsUses};

}  // namespace kelbridge::roles
