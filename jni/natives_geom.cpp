// The natives of kel.geom: every argument laid out in its role, the stub
// called, the fields it wrote copied back.
#include "jni/bridge_natives.h"

using kelbridge::word;
using namespace kelbridge::roles;

// Vector3
KELRUK_BRIDGE(jfloat, geom_Vector3_magnitude, (JNIEnv * env, jobject self), call.object(self, kVector))
KELRUK_BRIDGE(jfloat, geom_Vector3_dot, (JNIEnv * env, jobject self, jobject b), call.object(self, kVector),
              call.object(b, kVector))
KELRUK_BRIDGE(void, geom_Vector3_cross, (JNIEnv * env, jobject self, jobject a, jobject b), call.object(self, kVector),
              call.object(a, kVector), call.object(b, kVector))
KELRUK_BRIDGE(jfloat, geom_Vector3_crossmag, (JNIEnv * env, jobject self, jobject b), call.object(self, kVector),
              call.object(b, kVector))
KELRUK_BRIDGE(jfloat, geom_Vector3_doNormalize, (JNIEnv * env, jobject self), call.object(self, kVector))
KELRUK_BRIDGE(jfloat, geom_Vector3_doNormalize2, (JNIEnv * env, jobject self, jobject src), call.object(self, kVector),
              call.object(src, kVector))

// Quaternion
KELRUK_BRIDGE(void, geom_Quaternion_multiply, (JNIEnv * env, jobject self, jobject a, jobject b),
              call.object(self, kQuaternion), call.object(a, kQuaternion), call.object(b, kQuaternion))
KELRUK_BRIDGE(void, geom_Quaternion_preMultiply, (JNIEnv * env, jobject self, jobject q),
              call.object(self, kQuaternion), call.object(q, kQuaternion))
KELRUK_BRIDGE(void, geom_Quaternion_postMultiply, (JNIEnv * env, jobject self, jobject q),
              call.object(self, kQuaternion), call.object(q, kQuaternion))
KELRUK_BRIDGE(jfloat, geom_Quaternion_dot, (JNIEnv * env, jobject self, jobject q), call.object(self, kQuaternion),
              call.object(q, kQuaternion))
KELRUK_BRIDGE(jfloat, geom_Quaternion_doNormalize, (JNIEnv * env, jobject self), call.object(self, kQuaternion))
KELRUK_BRIDGE(jfloat, geom_Quaternion_doNormalize2, (JNIEnv * env, jobject self, jobject src),
              call.object(self, kQuaternion), call.object(src, kQuaternion))
KELRUK_BRIDGE(jfloat, geom_Quaternion_magnitude, (JNIEnv * env, jobject self), call.object(self, kQuaternion))
KELRUK_BRIDGE(void, geom_Quaternion_doRotation,
              (JNIEnv * env, jobject self, jfloat x, jfloat y, jfloat z, jfloat angle), call.object(self, kQuaternion),
              word(x), word(y), word(z), word(angle))

// Matrix4
KELRUK_BRIDGE(void, geom_Matrix4_identity, (JNIEnv * env, jobject self), call.object(self, kMatrix))
KELRUK_BRIDGE(void, geom_Matrix4_doTranslate, (JNIEnv * env, jobject self, jfloat x, jfloat y, jfloat z),
              call.object(self, kMatrix), word(x), word(y), word(z))
KELRUK_BRIDGE(void, geom_Matrix4_doTranslate2, (JNIEnv * env, jobject self, jobject src, jfloat x, jfloat y, jfloat z),
              call.object(self, kMatrix), call.object(src, kMatrix), word(x), word(y), word(z))
KELRUK_BRIDGE(void, geom_Matrix4_doIsoscale, (JNIEnv * env, jobject self, jfloat s), call.object(self, kMatrix),
              word(s))
KELRUK_BRIDGE(void, geom_Matrix4_doIsoscale2, (JNIEnv * env, jobject self, jobject src, jfloat s),
              call.object(self, kMatrix), call.object(src, kMatrix), word(s))
KELRUK_BRIDGE(void, geom_Matrix4_doScale, (JNIEnv * env, jobject self, jfloat x, jfloat y, jfloat z),
              call.object(self, kMatrix), word(x), word(y), word(z))
KELRUK_BRIDGE(void, geom_Matrix4_doScale2, (JNIEnv * env, jobject self, jobject src, jfloat x, jfloat y, jfloat z),
              call.object(self, kMatrix), call.object(src, kMatrix), word(x), word(y), word(z))
KELRUK_BRIDGE(void, geom_Matrix4_doRotate, (JNIEnv * env, jobject self, jfloat x, jfloat y, jfloat z, jfloat angle),
              call.object(self, kMatrix), word(x), word(y), word(z), word(angle))
KELRUK_BRIDGE(void, geom_Matrix4_doRotate2,
              (JNIEnv * env, jobject self, jobject src, jfloat x, jfloat y, jfloat z, jfloat angle),
              call.object(self, kMatrix), call.object(src, kMatrix), word(x), word(y), word(z), word(angle))
KELRUK_BRIDGE(void, geom_Matrix4_doQuatRotate, (JNIEnv * env, jobject self, jobject q), call.object(self, kMatrix),
              call.object(q, kQuaternion))
KELRUK_BRIDGE(void, geom_Matrix4_doQuatRotate2, (JNIEnv * env, jobject self, jobject src, jobject q),
              call.object(self, kMatrix), call.object(src, kMatrix), call.object(q, kQuaternion))
KELRUK_BRIDGE(void, geom_Matrix4_preMultiply, (JNIEnv * env, jobject self, jobject m), call.object(self, kMatrix),
              call.object(m, kMatrix))
KELRUK_BRIDGE(void, geom_Matrix4_postMultiply, (JNIEnv * env, jobject self, jobject m), call.object(self, kMatrix),
              call.object(m, kMatrix))
KELRUK_BRIDGE(void, geom_Matrix4_multiply, (JNIEnv * env, jobject self, jobject a, jobject b),
              call.object(self, kMatrix), call.object(a, kMatrix), call.object(b, kMatrix))
KELRUK_BRIDGE(void, geom_Matrix4_doTranspose, (JNIEnv * env, jobject self), call.object(self, kMatrix))
KELRUK_BRIDGE(void, geom_Matrix4_doTranspose2, (JNIEnv * env, jobject self, jobject src), call.object(self, kMatrix),
              call.object(src, kMatrix))
KELRUK_BRIDGE(jboolean, geom_Matrix4_doInvert, (JNIEnv * env, jobject self), call.object(self, kMatrix))
KELRUK_BRIDGE(jboolean, geom_Matrix4_doInvert2, (JNIEnv * env, jobject self, jobject src), call.object(self, kMatrix),
              call.object(src, kMatrix))
KELRUK_BRIDGE(jfloat, geom_Matrix4_determinant, (JNIEnv * env, jobject self), call.object(self, kMatrix))

// BoundingBox3
KELRUK_BRIDGE(void, geom_BoundingBox3_transform, (JNIEnv * env, jobject self, jobject m), call.object(self, kBox),
              call.object(m, kMatrix))
KELRUK_BRIDGE(jfloat, geom_BoundingBox3_rayIntersection, (JNIEnv * env, jobject self, jobject ray),
              call.object(self, kBox), call.object(ray, kRay))

// Geom (static)
KELRUK_BRIDGE(void, geom_Geom_doTransformVector, (JNIEnv * env, jclass, jobject m, jobject src, jobject dst),
              call.object(m, kMatrix), call.object(src, kVector), call.object(dst, kVector))
KELRUK_BRIDGE(void, geom_Geom_doTransformNormal, (JNIEnv * env, jclass, jobject src, jobject m, jobject dst),
              call.object(src, kVector), call.object(m, kMatrix), call.object(dst, kVector))
KELRUK_BRIDGE(void, geom_Geom_doTransformPoint, (JNIEnv * env, jclass, jobject m, jobject src, jobject dst),
              call.object(m, kMatrix), call.object(src, kVector), call.object(dst, kVector))
KELRUK_BRIDGE(void, geom_Geom_doTransformBoundingBox, (JNIEnv * env, jclass, jobject m, jobject src, jobject dst),
              call.object(m, kMatrix), call.object(src, kBox), call.object(dst, kBox))
