// Random matrices of each shape the hint word can describe, each carrying
// exactly the claims that hold for it, and checks that a matrix's claims hold.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <string>

#include "matrix/matrix.h"

namespace matrix_test {

enum class Shape {
  Identity,
  PureTranslation,
  PureScale,
  UniformScale,
  PureRotation,
  Conformal,
  Rigid,
  Affine,
  General
};
inline constexpr Shape kAllShapes[] = {Shape::Identity,     Shape::PureTranslation, Shape::PureScale,
                                       Shape::UniformScale, Shape::PureRotation,    Shape::Conformal,
                                       Shape::Rigid,        Shape::Affine,          Shape::General};

inline Matrix4 identity() {
  Matrix4 m;
  matrixIdentity(&m);
  return m;
}

inline Matrix4 withHints(Matrix4 m, uint32_t hints) {
  m.hints = hints;
  return m;
}

class ShapeGenerator {
 public:
  explicit ShapeGenerator(uint32_t seed) : rng_(seed) {}

  float uniform(float lo, float hi) { return std::uniform_real_distribution<float>(lo, hi)(rng_); }
  bool chance(double p) { return std::bernoulli_distribution(p)(rng_); }
  Shape anyShape() { return kAllShapes[std::uniform_int_distribution<int>(0, 8)(rng_)]; }

  // A factor of magnitude 0.25 to 4 with either sign.
  float factor() { return (chance(0.5) ? -1.0f : 1.0f) * std::exp2(uniform(-2.0f, 2.0f)); }
  float signedMagnitude(float lo, float hi) { return (chance(0.5) ? -1.0f : 1.0f) * uniform(lo, hi); }

  // A random unit vector of n components (a quaternion for n = 4).
  void unitVector(float* out, int n) {
    double v[4], length = 0.0;
    do {
      length = 0.0;
      for (int i = 0; i < n; ++i) {
        v[i] = std::normal_distribution<double>()(rng_);
        length += v[i] * v[i];
      }
    } while (length < 1e-6);
    length = std::sqrt(length);
    for (int i = 0; i < n; ++i) out[i] = static_cast<float>(v[i] / length);
  }
  void unitQuaternion(float* q) { unitVector(q, 4); }
  void unitAxis(float* axis) { unitVector(axis, 3); }

  void point(float* p, float range = 10.0f) {
    for (int i = 0; i < 3; ++i) p[i] = uniform(-range, range);
  }

  // A matrix of the shape, with exactly the claims that hold for it. The
  // shapes with a translation drop it (and claim MATRIX_NO_TRANSLATION) now
  // and then; the general one sometimes has two rows swapped.
  Matrix4 make(Shape shape) {
    Matrix4 m = identity();
    float* e = m.m;
    switch (shape) {
      case Shape::Identity: return m;
      case Shape::PureTranslation:
        point(e + 12);
        m.hints = MATRIX_AFFINE | MATRIX_CONFORMAL | MATRIX_RIGID | MATRIX_PURE_TRANSLATION;
        return m;
      case Shape::PureScale:
        e[0] = factor();
        e[5] = factor();
        e[10] = factor();
        m.hints = MATRIX_NO_TRANSLATION | MATRIX_AFFINE | MATRIX_PURE_SCALE;
        return m;
      case Shape::UniformScale:
        e[0] = e[5] = e[10] = factor();
        m.hints = MATRIX_NO_TRANSLATION | MATRIX_AFFINE | MATRIX_PURE_SCALE | MATRIX_UNIFORM_SCALE | MATRIX_CONFORMAL;
        return m;
      case Shape::PureRotation:
        rotationBlock(e, 1.0f);
        m.hints = MATRIX_NO_TRANSLATION | MATRIX_AFFINE | MATRIX_PURE_ROTATION | MATRIX_CONFORMAL | MATRIX_RIGID;
        return m;
      case Shape::Conformal:
        rotationBlock(e, factor());
        m.hints = MATRIX_AFFINE | MATRIX_CONFORMAL;
        return maybeTranslated(m);
      case Shape::Rigid:
        // Orthonormal, reflections included.
        rotationBlock(e, chance(0.25) ? -1.0f : 1.0f);
        m.hints = MATRIX_AFFINE | MATRIX_CONFORMAL | MATRIX_RIGID;
        return maybeTranslated(m);
      case Shape::Affine:
        // Diagonally dominant, so well conditioned; either sign of determinant.
        for (int row = 0; row < 3; ++row) {
          for (int c = 0; c < 3; ++c) e[4 * row + c] = row == c ? signedMagnitude(3.0f, 6.0f) : uniform(-1.0f, 1.0f);
        }
        m.hints = MATRIX_AFFINE;
        return maybeTranslated(m);
      case Shape::General:
        for (int i = 0; i < 16; ++i) e[i] = i % 5 == 0 ? signedMagnitude(4.0f, 6.0f) : uniform(-1.0f, 1.0f);
        if (chance(0.5)) {
          for (int c = 0; c < 4; ++c) std::swap(e[c], e[4 + c]);
        }
        m.hints = 0;
        return m;
    }
    return m;
  }

  Matrix4 any() { return make(anyShape()); }

 private:
  // Upper-left block := scale · R(q) for a random unit quaternion q.
  void rotationBlock(float* e, float scale) {
    float q[4];
    unitQuaternion(q);
    const double x = q[0], y = q[1], z = q[2], w = q[3];
    const double r[9] = {1 - 2 * y * y - 2 * z * z, 2 * x * y + 2 * z * w,     2 * x * z - 2 * y * w,
                         2 * x * y - 2 * z * w,     1 - 2 * x * x - 2 * z * z, 2 * y * z + 2 * w * x,
                         2 * x * z + 2 * y * w,     2 * y * z - 2 * w * x,     1 - 2 * x * x - 2 * y * y};
    for (int row = 0; row < 3; ++row) {
      for (int c = 0; c < 3; ++c) e[4 * row + c] = static_cast<float>(scale * r[3 * row + c]);
    }
  }

  Matrix4 maybeTranslated(Matrix4 m) {
    if (chance(0.2)) {
      m.hints |= MATRIX_NO_TRANSLATION;
    } else {
      point(m.m + 12);
    }
    return m;
  }

  std::mt19937 rng_;
};

inline float largest(const float* v, int n) {
  float r = 0.0f;
  for (int i = 0; i < n; ++i) r = std::max(r, std::fabs(v[i]));
  return r;
}

// Elements agree within `tolerance` times (1 + the larger magnitude present).
inline ::testing::AssertionResult near(const float* expected, const float* actual, int n, float tolerance) {
  const float bound = tolerance * (1.0f + std::max(largest(expected, n), largest(actual, n)));
  for (int i = 0; i < n; ++i) {
    if (!(std::fabs(expected[i] - actual[i]) <= bound)) {
      return ::testing::AssertionFailure()
             << "element " << i << ": expected " << expected[i] << ", got " << actual[i] << " (bound " << bound << ")";
    }
  }
  return ::testing::AssertionSuccess();
}

inline ::testing::AssertionResult nearMatrix(const Matrix4& expected, const Matrix4& actual, float tolerance) {
  return near(expected.m, actual.m, 16, tolerance);
}

inline bool sameBits(const Matrix4& a, const Matrix4& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Checks every claim in m.hints against the elements.
inline ::testing::AssertionResult claimsHold(const Matrix4& m, float tolerance = 1e-5f) {
  const float* e = m.m;
  const float scale = 1.0f + largest(e, 16);
  auto zero = [&](float v) { return std::fabs(v) <= tolerance * scale; };
  auto equal = [&](float a, float b) { return std::fabs(a - b) <= tolerance * scale; };
  const bool affine = zero(e[3]) && zero(e[7]) && zero(e[11]) && equal(e[15], 1.0f);
  const bool noTranslation = zero(e[12]) && zero(e[13]) && zero(e[14]);
  const bool diagonal = zero(e[1]) && zero(e[2]) && zero(e[4]) && zero(e[6]) && zero(e[8]) && zero(e[9]);
  const bool scaleOnly = diagonal && e[0] != 0.0f && e[5] != 0.0f && e[10] != 0.0f && noTranslation;
  // M₃·M₃ᵀ = k·I for some k > 0.
  auto gram = [&](int r, int s) {
    return double(e[4 * r]) * e[4 * s] + double(e[4 * r + 1]) * e[4 * s + 1] + double(e[4 * r + 2]) * e[4 * s + 2];
  };
  const double k = gram(0, 0);
  auto gramIs = [&](double expected) {
    for (int r = 0; r < 3; ++r) {
      for (int s = 0; s < 3; ++s) {
        if (std::fabs(gram(r, s) - (r == s ? expected : 0.0)) > tolerance * 4 * scale * scale) return false;
      }
    }
    return true;
  };
  const bool orthonormal = gramIs(1.0);
  const bool identityBlock = equal(e[0], 1) && equal(e[5], 1) && equal(e[10], 1) && diagonal;

  struct Claim {
    uint32_t bit;
    bool holds;
    const char* name;
  };
  const Claim table[] = {
      {MATRIX_IDENTITY, identityBlock && affine && noTranslation, "identity"},
      {MATRIX_NO_TRANSLATION, noTranslation, "no translation"},
      {MATRIX_AFFINE, affine, "affine"},
      {MATRIX_PURE_SCALE, scaleOnly && affine, "pure scale"},
      {MATRIX_UNIFORM_SCALE, scaleOnly && affine && equal(e[0], e[5]) && equal(e[0], e[10]), "uniform scale"},
      {MATRIX_PURE_ROTATION, orthonormal && noTranslation && affine, "pure rotation"},
      {MATRIX_CONFORMAL, k > 0 && gramIs(k) && affine, "conformal"},
      {MATRIX_RIGID, orthonormal && affine, "rigid"},
      {MATRIX_PURE_TRANSLATION, identityBlock && affine, "pure translation"},
  };
  if (m.hints & ~MATRIX_ALL_CLAIMS) return ::testing::AssertionFailure() << "unknown hint bits " << std::hex << m.hints;
  for (const Claim& c : table) {
    if ((m.hints & c.bit) && !c.holds) return ::testing::AssertionFailure() << "claims " << c.name << " falsely";
  }
  return ::testing::AssertionSuccess();
}

}  // namespace matrix_test
