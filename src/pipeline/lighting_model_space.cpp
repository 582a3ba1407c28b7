// Carrying the eye and the lights into the space of the model being drawn,
// so that lighting can use the model's normals and positions as they are.
#include "context/context.h"
#include "pipeline/lighting.h"
#include "pipeline/lighting_vectors.h"

void updateModelSpaceLighting(RukContext* context) {
  const Matrix4* model = currentModelMatrix(context);
  context->modelConformal = (model->hints & MATRIX_CONFORMAL) != 0 ? 1u : 0u;

  Matrix4* inverse = &context->inverseModelMatrix;
  matrixInvert2(model, inverse);
  // The eye sits at the origin of eye space.
  context->eyeInModel[0] = inverse->m[12];
  context->eyeInModel[1] = inverse->m[13];
  context->eyeInModel[2] = inverse->m[14];

  for (uint32_t i = 0; i < context->lightCount; ++i) {
    RukLight* light = &context->lights[i];
    matrixTransformVector2(inverse, light->direction, light->modelDirection);
    matrixTransformPoint2(inverse, light->position, light->modelPosition);
    // Directions are made unit whatever the matrix claims: a conformal
    // matrix with a uniform scale would otherwise shorten them by the scale,
    // and lighting would change when a model is merely scaled.
    if (!normalise3(light->modelDirection)) {
      light->modelDirection[0] = 0.0f;
      light->modelDirection[1] = 0.0f;
      light->modelDirection[2] = 1.0f;
    }
  }
}
