// The exported matrix library: 4x4 single-precision matrices with shape hints.
//
// Points and vectors are row vectors multiplied on the left (p' = p·M); element
// (row r, column c) is m[4r + c]; the translation lies in m[12..14]. A·B applies
// A first, then B. Building operations compose the new transform before the
// existing one (M := T·M).
//
// `hints` is a set of claims about the matrix's shape. A claim that is set must
// hold; a clear claim says nothing. Every function tests the claims first and
// takes the cheapest exact path they permit, so hints never change a result.
// The shape claims other than MATRIX_NO_TRANSLATION (pure scale, uniform
// scale, pure rotation, conformal, rigid, pure translation) describe affine
// matrices: the library makes them only together with MATRIX_AFFINE, and code
// that sets them itself must keep m[3] = m[7] = m[11] = 0 and m[15] = 1.
// Out-of-place forms (suffix 2) take the source first; source and destination
// must be different records. Every function reads its inputs before writing,
// so an aliased call still gives the right result.
#pragma once

#include <cstdint>

struct Matrix4 {
  float m[16];
  uint32_t hints;
};
static_assert(sizeof(Matrix4) == 17 * 4, "a Matrix4 is 17 words, like the Java field block");

inline constexpr uint32_t MATRIX_IDENTITY = 0x001;
inline constexpr uint32_t MATRIX_NO_TRANSLATION = 0x002;
inline constexpr uint32_t MATRIX_AFFINE = 0x004;
inline constexpr uint32_t MATRIX_PURE_SCALE = 0x040;
inline constexpr uint32_t MATRIX_UNIFORM_SCALE = 0x080;
inline constexpr uint32_t MATRIX_PURE_ROTATION = 0x100;
inline constexpr uint32_t MATRIX_CONFORMAL = 0x200;
inline constexpr uint32_t MATRIX_RIGID = 0x400;
inline constexpr uint32_t MATRIX_PURE_TRANSLATION = 0x800;
inline constexpr uint32_t MATRIX_ALL_CLAIMS = 0xFC7;  // what the identity claims

#define KELRUK_MATRIX_API extern "C" __attribute__((visibility("default")))

KELRUK_MATRIX_API void matrixIdentity(Matrix4* m);
KELRUK_MATRIX_API void matrixTranslate(Matrix4* m, float x, float y, float z);
KELRUK_MATRIX_API void matrixTranslate2(const Matrix4* src, Matrix4* dst, float x, float y, float z);
KELRUK_MATRIX_API void matrixQuatRotate(Matrix4* m, const float* q);
KELRUK_MATRIX_API void matrixQuatRotate2(const Matrix4* src, Matrix4* dst, const float* q);
KELRUK_MATRIX_API void matrixRotate(Matrix4* m, float x, float y, float z, float angle);
KELRUK_MATRIX_API void matrixRotate2(const Matrix4* src, Matrix4* dst, float x, float y, float z, float angle);
KELRUK_MATRIX_API void matrixScale(Matrix4* m, float x, float y, float z);
KELRUK_MATRIX_API void matrixScale2(const Matrix4* src, Matrix4* dst, float x, float y, float z);
KELRUK_MATRIX_API void matrixIsotropicScale(Matrix4* m, float s);
KELRUK_MATRIX_API void matrixIsotropicScale2(const Matrix4* src, Matrix4* dst, float s);
KELRUK_MATRIX_API void matrixPostMultiply(Matrix4* a, const Matrix4* b);
KELRUK_MATRIX_API void matrixPreMultiply(Matrix4* a, const Matrix4* b);
KELRUK_MATRIX_API void matrixMultiply(const Matrix4* a, const Matrix4* b, Matrix4* c);
KELRUK_MATRIX_API int matrixInvert(Matrix4* m);
KELRUK_MATRIX_API int matrixInvert2(const Matrix4* src, Matrix4* dst);
KELRUK_MATRIX_API void matrixTranspose(Matrix4* m);
KELRUK_MATRIX_API void matrixTranspose2(const Matrix4* src, Matrix4* dst);
KELRUK_MATRIX_API float matrixDeterminant(const Matrix4* m);
KELRUK_MATRIX_API void matrixTransformVector(const Matrix4* m, float* v);
KELRUK_MATRIX_API void matrixTransformNormal(const Matrix4* m, float* n);
KELRUK_MATRIX_API void matrixTransformPoint(const Matrix4* m, float* p);
KELRUK_MATRIX_API void matrixTransformVector2(const Matrix4* m, const float* src, float* dst);
KELRUK_MATRIX_API void matrixTransformNormal2(const Matrix4* m, const float* src, float* dst);
KELRUK_MATRIX_API void matrixTransformPoint2(const Matrix4* m, const float* src, float* dst);
KELRUK_MATRIX_API void matrixTransformBBox(const Matrix4* m, float* centre, float* half);
KELRUK_MATRIX_API void matrixTransformBBox2(const Matrix4* m, const float* centre, const float* half, float* centreOut,
                                            float* halfOut);
