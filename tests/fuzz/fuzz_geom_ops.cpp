// The natives of kel.geom as fuzz program operations. Receivers and
// arguments come from small pools, so a source is often its destination.
#include "fuzz/fuzz_state.h"

namespace fuzz {
namespace {

#define GEOM_STUB(cls, method) "Java_kel_geom_" #cls "_" #method "_stub"

using kel::geom::BoundingBox3;
using kel::geom::Geom;

using AVector = From<&State::vectors>;
using AQuaternion = From<&State::quaternions>;
using AMatrix = From<&State::matrices>;
using ABox = From<&State::boxes>;
using ARay = From<&State::rays>;

template <auto Method, class... Arguments>
constexpr auto onVector = call<Method, &State::vectors, Arguments...>;
template <auto Method, class... Arguments>
constexpr auto onQuaternion = call<Method, &State::quaternions, Arguments...>;
template <auto Method, class... Arguments>
constexpr auto onMatrix = call<Method, &State::matrices, Arguments...>;
template <auto Method, class... Arguments>
constexpr auto onBox = call<Method, &State::boxes, Arguments...>;

constexpr Operation GEOM_OPERATIONS[] = {
    {"Vector3.magnitude", GEOM_STUB(Vector3, magnitude), onVector<&Vector3::magnitude>},
    {"Vector3.dot", GEOM_STUB(Vector3, dot), onVector<&Vector3::dot, AVector>},
    {"Vector3.cross", GEOM_STUB(Vector3, cross), onVector<&Vector3::cross, AVector, AVector>},
    {"Vector3.crossmag", GEOM_STUB(Vector3, crossmag), onVector<&Vector3::crossmag, AVector>},
    {"Vector3.doNormalize", GEOM_STUB(Vector3, doNormalize), onVector<&Vector3::doNormalize>},
    {"Vector3.doNormalize2", GEOM_STUB(Vector3, doNormalize2), onVector<&Vector3::doNormalize2, AVector>},
    {"Quaternion.multiply", GEOM_STUB(Quaternion, multiply),
     onQuaternion<&Quaternion::multiply, AQuaternion, AQuaternion>},
    {"Quaternion.preMultiply", GEOM_STUB(Quaternion, preMultiply), onQuaternion<&Quaternion::preMultiply, AQuaternion>},
    {"Quaternion.postMultiply", GEOM_STUB(Quaternion, postMultiply),
     onQuaternion<&Quaternion::postMultiply, AQuaternion>},
    {"Quaternion.dot", GEOM_STUB(Quaternion, dot), onQuaternion<&Quaternion::dot, AQuaternion>},
    {"Quaternion.magnitude", GEOM_STUB(Quaternion, magnitude), onQuaternion<&Quaternion::magnitude>},
    {"Quaternion.doNormalize", GEOM_STUB(Quaternion, doNormalize), onQuaternion<&Quaternion::doNormalize>},
    {"Quaternion.doNormalize2", GEOM_STUB(Quaternion, doNormalize2),
     onQuaternion<&Quaternion::doNormalize2, AQuaternion>},
    {"Quaternion.doRotation", GEOM_STUB(Quaternion, doRotation),
     onQuaternion<&Quaternion::doRotation, Real, Real, Real, Real>},
    {"Matrix4.identity", GEOM_STUB(Matrix4, identity), onMatrix<&Matrix4::identity>},
    {"Matrix4.doTranslate", GEOM_STUB(Matrix4, doTranslate), onMatrix<&Matrix4::doTranslate, Real, Real, Real>},
    {"Matrix4.doTranslate2", GEOM_STUB(Matrix4, doTranslate2),
     onMatrix<&Matrix4::doTranslate2, AMatrix, Real, Real, Real>},
    {"Matrix4.doIsoscale", GEOM_STUB(Matrix4, doIsoscale), onMatrix<&Matrix4::doIsoscale, Real>},
    {"Matrix4.doIsoscale2", GEOM_STUB(Matrix4, doIsoscale2), onMatrix<&Matrix4::doIsoscale2, AMatrix, Real>},
    {"Matrix4.doScale", GEOM_STUB(Matrix4, doScale), onMatrix<&Matrix4::doScale, Real, Real, Real>},
    {"Matrix4.doScale2", GEOM_STUB(Matrix4, doScale2), onMatrix<&Matrix4::doScale2, AMatrix, Real, Real, Real>},
    {"Matrix4.doRotate", GEOM_STUB(Matrix4, doRotate), onMatrix<&Matrix4::doRotate, Real, Real, Real, Real>},
    {"Matrix4.doRotate2", GEOM_STUB(Matrix4, doRotate2),
     onMatrix<&Matrix4::doRotate2, AMatrix, Real, Real, Real, Real>},
    {"Matrix4.doQuatRotate", GEOM_STUB(Matrix4, doQuatRotate), onMatrix<&Matrix4::doQuatRotate, AQuaternion>},
    {"Matrix4.doQuatRotate2", GEOM_STUB(Matrix4, doQuatRotate2),
     onMatrix<&Matrix4::doQuatRotate2, AMatrix, AQuaternion>},
    {"Matrix4.preMultiply", GEOM_STUB(Matrix4, preMultiply), onMatrix<&Matrix4::preMultiply, AMatrix>},
    {"Matrix4.postMultiply", GEOM_STUB(Matrix4, postMultiply), onMatrix<&Matrix4::postMultiply, AMatrix>},
    {"Matrix4.multiply", GEOM_STUB(Matrix4, multiply), onMatrix<&Matrix4::multiply, AMatrix, AMatrix>},
    {"Matrix4.doTranspose", GEOM_STUB(Matrix4, doTranspose), onMatrix<&Matrix4::doTranspose>},
    {"Matrix4.doTranspose2", GEOM_STUB(Matrix4, doTranspose2), onMatrix<&Matrix4::doTranspose2, AMatrix>},
    {"Matrix4.doInvert", GEOM_STUB(Matrix4, doInvert), onMatrix<&Matrix4::doInvert>},
    {"Matrix4.doInvert2", GEOM_STUB(Matrix4, doInvert2), onMatrix<&Matrix4::doInvert2, AMatrix>},
    {"Matrix4.determinant", GEOM_STUB(Matrix4, determinant), onMatrix<&Matrix4::determinant>},
    {"BoundingBox3.transform", GEOM_STUB(BoundingBox3, transform), onBox<&BoundingBox3::transform, AMatrix>},
    {"BoundingBox3.rayIntersection", GEOM_STUB(BoundingBox3, rayIntersection),
     onBox<&BoundingBox3::rayIntersection, ARay>},
    // Geom's natives are static: every argument may be null.
    {"Geom.doTransformVector", GEOM_STUB(Geom, doTransformVector),
     callStatic<&Geom::doTransformVector, AMatrix, AVector, AVector>},
    {"Geom.doTransformNormal", GEOM_STUB(Geom, doTransformNormal),
     callStatic<&Geom::doTransformNormal, AVector, AMatrix, AVector>},
    {"Geom.doTransformPoint", GEOM_STUB(Geom, doTransformPoint),
     callStatic<&Geom::doTransformPoint, AMatrix, AVector, AVector>},
    {"Geom.doTransformBoundingBox", GEOM_STUB(Geom, doTransformBoundingBox),
     callStatic<&Geom::doTransformBoundingBox, AMatrix, ABox, ABox>},
};

}  // namespace

std::span<const Operation> geomOperations() { return GEOM_OPERATIONS; }

}  // namespace fuzz
