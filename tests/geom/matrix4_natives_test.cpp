// The Matrix4 natives, called through their stubs: each writes what the
// library function it stands for writes, picks the in-place form when the
// source is the receiver, and leaves its sources alone.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "geom_heap.h"

using namespace geom_test;

namespace {

Matrix4 identity() {
  Matrix4 m;
  matrixIdentity(&m);
  return m;
}

// An affine, rigid-free matrix with a translation, and a general one.
Matrix4 affineSample() {
  Matrix4 m = identity();
  matrixRotate(&m, 0.0f, 0.6f, 0.8f, 0.9f);
  matrixScale(&m, 2.0f, -1.5f, 0.5f);
  matrixTranslate(&m, 1.0f, -2.0f, 3.0f);
  return m;
}
Matrix4 generalSample() {
  Matrix4 m = {{4, 1, 0, 0.5f, 0, 3, 1, 0, 1, 0, -5, 0.25f, 2, 1, 1, 2}, 0};
  return m;
}

struct SourceCase {
  const char* native;
  std::function<StubResult(JHandle self, JHandle src)> call;
  std::function<void(const Matrix4& src, Matrix4& dst)> outOfPlace;
  std::function<void(Matrix4& m)> inPlace;
};

const float kQ[4] = {0.0f, 0.6f, 0.0f, 0.8f};

std::vector<SourceCase> sourceCases() {
  return {
      {"doTranslate2",
       [](JHandle s, JHandle src) {
         return callGeom("Matrix4_doTranslate2", {s, src, 1.0f, 2.0f, -3.0f});
       },
       [](const Matrix4& a, Matrix4& b) { matrixTranslate2(&a, &b, 1, 2, -3); },
       [](Matrix4& m) { matrixTranslate(&m, 1, 2, -3); }},
      {"doIsoscale2",
       [](JHandle s, JHandle src) {
         return callGeom("Matrix4_doIsoscale2", {s, src, -2.0f});
       },
       [](const Matrix4& a, Matrix4& b) { matrixIsotropicScale2(&a, &b, -2); },
       [](Matrix4& m) { matrixIsotropicScale(&m, -2); }},
      {"doScale2 general",
       [](JHandle s, JHandle src) {
         return callGeom("Matrix4_doScale2", {s, src, 2.0f, 3.0f, 4.0f});
       },
       [](const Matrix4& a, Matrix4& b) { matrixScale2(&a, &b, 2, 3, 4); },
       [](Matrix4& m) { matrixScale(&m, 2, 3, 4); }},
      {"doScale2 isotropic",
       [](JHandle s, JHandle src) {
         return callGeom("Matrix4_doScale2", {s, src, 3.0f, 3.0f, 3.0f});
       },
       [](const Matrix4& a, Matrix4& b) { matrixIsotropicScale2(&a, &b, 3); },
       [](Matrix4& m) { matrixIsotropicScale(&m, 3); }},
      {"doRotate2",
       [](JHandle s, JHandle src) {
         return callGeom("Matrix4_doRotate2", {s, src, 1.0f, 0.0f, 0.0f, 0.5f});
       },
       [](const Matrix4& a, Matrix4& b) { matrixRotate2(&a, &b, 1, 0, 0, 0.5f); },
       [](Matrix4& m) { matrixRotate(&m, 1, 0, 0, 0.5f); }},
      {"doQuatRotate2",
       [](JHandle s, JHandle src) {
         return callGeom("Matrix4_doQuatRotate2", {s, src, newQuaternion(kQ[0], kQ[1], kQ[2], kQ[3])});
       },
       [](const Matrix4& a, Matrix4& b) { matrixQuatRotate2(&a, &b, kQ); },
       [](Matrix4& m) { matrixQuatRotate(&m, kQ); }},
      {"doTranspose2",
       [](JHandle s, JHandle src) {
         return callGeom("Matrix4_doTranspose2", {s, src});
       },
       [](const Matrix4& a, Matrix4& b) { matrixTranspose2(&a, &b); }, [](Matrix4& m) { matrixTranspose(&m); }},
      {"doInvert2",
       [](JHandle s, JHandle src) {
         return callGeom("Matrix4_doInvert2", {s, src});
       },
       [](const Matrix4& a, Matrix4& b) { matrixInvert2(&a, &b); }, [](Matrix4& m) { matrixInvert(&m); }},
  };
}

TEST(Matrix4Natives, SourceFormsWriteTheReceiverAndSpareTheSource) {
  for (const SourceCase& c : sourceCases()) {
    for (const Matrix4& source : {identity(), affineSample(), generalSample()}) {
      const JHandle src = newMatrix(source);
      Matrix4 junk;
      std::memset(&junk, 0x3C, sizeof junk);
      const JHandle self = newMatrix(junk);
      c.call(self, src);
      Matrix4 expected = junk;
      c.outOfPlace(source, expected);
      EXPECT_TRUE(sameBits(expected, matrixIn(self))) << c.native << " hints " << source.hints;
      EXPECT_TRUE(sameBits(source, matrixIn(src))) << c.native;
    }
  }
}

TEST(Matrix4Natives, SourceFormsOnTheReceiverWorkInPlace) {
  for (const SourceCase& c : sourceCases()) {
    for (const Matrix4& source : {identity(), affineSample(), generalSample()}) {
      const JHandle self = newMatrix(source);
      const StubResult r = c.call(self, self);
      Matrix4 expected = source;
      c.inPlace(expected);
      EXPECT_TRUE(sameBits(expected, matrixIn(self))) << c.native << " hints " << source.hints;
      EXPECT_EQ(r.advanced, std::string(c.native) == "doInvert2" ? 1 : 0) << c.native;
    }
  }
}

TEST(Matrix4Natives, InPlaceFormsMatchTheLibrary) {
  struct Case {
    const char* native;
    std::function<void(JHandle)> call;
    std::function<void(Matrix4&)> library;
  };
  const Case cases[] = {
      {"identity", [](JHandle s) { callVoid("Matrix4_identity", {s}); }, [](Matrix4& m) { matrixIdentity(&m); }},
      {"doTranslate",
       [](JHandle s) {
         callVoid("Matrix4_doTranslate", {s, -1.0f, 0.5f, 8.0f});
       },
       [](Matrix4& m) { matrixTranslate(&m, -1, 0.5f, 8); }},
      {"doIsoscale",
       [](JHandle s) {
         callVoid("Matrix4_doIsoscale", {s, 0.25f});
       },
       [](Matrix4& m) { matrixIsotropicScale(&m, 0.25f); }},
      {"doScale",
       [](JHandle s) {
         callVoid("Matrix4_doScale", {s, 1.0f, 2.0f, 1.0f});
       },
       [](Matrix4& m) { matrixScale(&m, 1, 2, 1); }},
      {"doRotate",
       [](JHandle s) {
         callVoid("Matrix4_doRotate", {s, 0.0f, 0.0f, 1.0f, 2.0f});
       },
       [](Matrix4& m) { matrixRotate(&m, 0, 0, 1, 2); }},
      {"doQuatRotate",
       [](JHandle s) {
         callVoid("Matrix4_doQuatRotate", {s, newQuaternion(kQ[0], kQ[1], kQ[2], kQ[3])});
       },
       [](Matrix4& m) { matrixQuatRotate(&m, kQ); }},
      {"doTranspose", [](JHandle s) { callVoid("Matrix4_doTranspose", {s}); }, [](Matrix4& m) { matrixTranspose(&m); }},
  };
  for (const Case& c : cases) {
    for (const Matrix4& start : {identity(), affineSample(), generalSample()}) {
      const JHandle self = newMatrix(start);
      c.call(self);
      Matrix4 expected = start;
      c.library(expected);
      EXPECT_TRUE(sameBits(expected, matrixIn(self))) << c.native << " hints " << start.hints;
    }
  }
}

TEST(Matrix4Natives, EqualScaleFactorsKeepTheConformalClaim) {
  Matrix4 conformal = identity();
  matrixRotate(&conformal, 1, 0, 0, 0.3f);
  matrixTranslate(&conformal, 1, 2, 3);
  ASSERT_TRUE(conformal.hints & MATRIX_CONFORMAL);

  const JHandle uniform = newMatrix(conformal);
  callVoid("Matrix4_doScale", {uniform, 2.0f, 2.0f, 2.0f});
  EXPECT_TRUE(matrixIn(uniform).hints & MATRIX_CONFORMAL);
  const JHandle stretched = newMatrix(conformal);
  callVoid("Matrix4_doScale", {stretched, 2.0f, 2.0f, 3.0f});
  EXPECT_FALSE(matrixIn(stretched).hints & MATRIX_CONFORMAL);
  // −0 equals 0, so (0, −0, 0) is isotropic too.
  const JHandle zeros = newMatrix(identity());
  callVoid("Matrix4_doScale", {zeros, 0.0f, -0.0f, 0.0f});
  Matrix4 expected = identity();
  matrixIsotropicScale(&expected, 0.0f);
  EXPECT_TRUE(sameBits(expected, matrixIn(zeros)));

  const JHandle out = newMatrix(identity());
  callVoid("Matrix4_doScale2", {out, newMatrix(conformal), 2.0f, 2.0f, 2.0f});
  EXPECT_TRUE(matrixIn(out).hints & MATRIX_CONFORMAL);
}

TEST(Matrix4Natives, MultiplyWithTheReceiverAsEitherOperand) {
  const Matrix4 a = affineSample(), b = generalSample();
  Matrix4 ab, ba, aa;
  matrixMultiply(&a, &b, &ab);
  matrixMultiply(&b, &a, &ba);
  Matrix4 a0 = a;
  matrixPostMultiply(&a0, &a);
  aa = a0;

  const JHandle other = newMatrix(b);
  const JHandle out = newMatrix(identity());
  callVoid("Matrix4_multiply", {out, newMatrix(a), other});
  EXPECT_TRUE(sameBits(ab, matrixIn(out)));

  const JHandle first = newMatrix(a);
  callVoid("Matrix4_multiply", {first, first, other});  // (this, b): this·b
  EXPECT_TRUE(sameBits(ab, matrixIn(first)));
  const JHandle second = newMatrix(a);
  callVoid("Matrix4_multiply", {second, other, second});  // (a, this): a·this
  EXPECT_TRUE(sameBits(ba, matrixIn(second)));
  const JHandle both = newMatrix(a);
  callVoid("Matrix4_multiply", {both, both, both});
  EXPECT_TRUE(sameBits(aa, matrixIn(both)));
  EXPECT_TRUE(sameBits(b, matrixIn(other)));

  const JHandle pre = newMatrix(a), post = newMatrix(a);
  callVoid("Matrix4_preMultiply", {pre, other});    // m·this
  callVoid("Matrix4_postMultiply", {post, other});  // this·m
  EXPECT_TRUE(sameBits(ba, matrixIn(pre)));
  EXPECT_TRUE(sameBits(ab, matrixIn(post)));
}

TEST(Matrix4Natives, InversionReportsSingularityAsFalse) {
  const JHandle m = newMatrix(affineSample());
  EXPECT_TRUE(callBoolean("Matrix4_doInvert", {m}));
  Matrix4 expected = affineSample();
  matrixInvert(&expected);
  EXPECT_TRUE(sameBits(expected, matrixIn(m)));

  Matrix4 flat = identity();
  matrixScale(&flat, 1, 1, 0);
  flat.hints = MATRIX_AFFINE;
  const JHandle singular = newMatrix(flat);
  EXPECT_FALSE(callBoolean("Matrix4_doInvert", {singular}));
  EXPECT_TRUE(sameBits(flat, matrixIn(singular)));
  const JHandle out = newMatrix(generalSample());
  EXPECT_FALSE(callBoolean("Matrix4_doInvert2", {out, singular}));
  EXPECT_TRUE(sameBits(generalSample(), matrixIn(out))) << "the receiver is untouched";
  EXPECT_FALSE(callBoolean("Matrix4_doInvert2", {out, 0u}));
}

TEST(Matrix4Natives, Determinant) {
  Matrix4 m = identity();
  matrixScale(&m, 2, -3, 0.5f);
  EXPECT_EQ(callFloat("Matrix4_determinant", {newMatrix(m)}), -3.0f);
  const Matrix4 general = generalSample();
  EXPECT_EQ(callFloat("Matrix4_determinant", {newMatrix(general)}), matrixDeterminant(&general));
}

TEST(Matrix4Natives, NullArgumentsChangeNothing) {
  const Matrix4 start = affineSample();
  const JHandle m = newMatrix(start);
  callVoid("Matrix4_multiply", {m, 0u, m});
  callVoid("Matrix4_preMultiply", {m, 0u});
  callVoid("Matrix4_postMultiply", {m, 0u});
  callVoid("Matrix4_doQuatRotate", {m, 0u});
  callVoid("Matrix4_doQuatRotate2", {m, m, 0u});
  callVoid("Matrix4_doTranslate2", {m, 0u, 1.0f, 1.0f, 1.0f});
  EXPECT_TRUE(sameBits(start, matrixIn(m)));
}

}  // namespace
