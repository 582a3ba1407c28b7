// Field numbers of the Java objects the kel.ruk natives read and write, in
// the order of each object's field block.
#pragma once

// KELRendGraphics3D
inline constexpr int GRAPHICS3D_DEVICE = 0;   // KELRend3DDevice reference
inline constexpr int GRAPHICS3D_WINDOW = 6;   // window to paint into, 0 for the graphics object's
inline constexpr int GRAPHICS3D_CONTEXT = 7;  // native reference of the RukContext

// KELRend3DDevice
inline constexpr int DEVICE_NATIVE_DEVICE = 0;  // native reference of the RukDevice

// KELRendTexture
inline constexpr int TEXTURE_DEVICE = 0;           // KELRend3DDevice reference
inline constexpr int TEXTURE_COMPLETE = 6;         // nonzero once the image is complete
inline constexpr int TEXTURE_NATIVE_TEXTURE = 10;  // native reference of the RukTexture

// KELRendModel
inline constexpr int MODEL_NATIVE_MODEL = 0;  // native reference of the RukModel
inline constexpr int MODEL_PRIMITIVE_KIND = 1;
inline constexpr int MODEL_PRIMITIVE_COUNT = 2;
inline constexpr int MODEL_VERTEX_COUNT = 3;
inline constexpr int MODEL_NORMAL_COUNT = 5;
inline constexpr int MODEL_TEXCOORD_COUNT = 6;
inline constexpr int MODEL_NORMAL_BINDING = 10;
inline constexpr int MODEL_COLOR_BINDING = 11;
inline constexpr int MODEL_TEXCOORD_BINDING = 12;
inline constexpr int MODEL_READY = 15;
inline constexpr int MODEL_VERTICES = 16;          // float[]
inline constexpr int MODEL_FACE_NORMALS = 17;      // float[] or null
inline constexpr int MODEL_NORMALS = 18;           // float[] or null
inline constexpr int MODEL_TEXCOORDS = 19;         // float[] or null
inline constexpr int MODEL_VERTEX_INDICES = 20;    // int[]
inline constexpr int MODEL_NORMAL_INDICES = 21;    // int[]
inline constexpr int MODEL_TEXCOORD_INDICES = 22;  // int[]
inline constexpr int MODEL_COLORS = 23;            // int[] or null

// Material (argument of setMaterial).
inline constexpr int MATERIAL_EMISSION = 0;
inline constexpr int MATERIAL_AMBIENT = 1;
inline constexpr int MATERIAL_DIFFUSE = 2;
inline constexpr int MATERIAL_SPECULAR = 3;
inline constexpr int MATERIAL_SHININESS = 4;  // float
inline constexpr int MATERIAL_ALPHA = 5;

// Lights (arguments of the light pushes).
inline constexpr int LIGHT_COLOR = 0;
inline constexpr int LIGHT_AMBIENT = 2;
inline constexpr int LIGHT_POSITION = 3;  // Vector3; the direction of a directional light
inline constexpr int LIGHT_QUADRATIC = 4;
inline constexpr int LIGHT_LINEAR = 5;
inline constexpr int LIGHT_CONSTANT = 6;
inline constexpr int LIGHT_RANGE = 7;
inline constexpr int LIGHT_DIRECTION = 8;  // Vector3 of a spot light
inline constexpr int LIGHT_COS_OUTER = 9;
inline constexpr int LIGHT_COS_INNER = 10;

// Ray and pick result (arguments of doRayPick).
inline constexpr int RAY_ORIGIN = 0;     // Vector3
inline constexpr int RAY_DIRECTION = 1;  // Vector3
inline constexpr int PICK_RESULT_REQUEST = 0;
inline constexpr int PICK_RESULT_DISTANCE = 1;   // float: the maximum in, the hit distance out
inline constexpr int PICK_RESULT_POINT = 2;      // Vector3
inline constexpr int PICK_RESULT_NORMAL = 3;     // Vector3
inline constexpr int PICK_RESULT_TEXCOORDS = 4;  // object whose fields 0 and 1 receive u and v

// Graphics object (argument of doPaint): the address of the toolkit's native
// graphics record, whose first word is the device context to paint into.
inline constexpr int GRAPHICS_NATIVE_RECORD = 0;
