// Ray picking: a box test against the model's bounds, then every triangle by
// brute force in model space.
#include <cmath>

#include "context/context.h"
#include "pipeline/pick.h"
#include "pipeline/ray_box.h"

namespace {

// Whether a triangle's three indices all lie below a count.
bool indicesBelow(const uint32_t* indices, uint32_t count) {
  return indices[0] < count && indices[1] < count && indices[2] < count;
}

float dot(const float* a, const float* b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

// The two coordinates of the plane the triangle projects onto with the least
// distortion: the axis the normal points along most is dropped.
struct Projection {
  int p, q;
};

Projection projectionFor(const float* n) {
  const float ax = std::fabs(n[0]);
  const float ay = std::fabs(n[1]);
  const float az = std::fabs(n[2]);
  if (ax > ay && ax > az) return {1, 2};
  if (ay > az) return {0, 2};
  return {0, 1};
}

// Whether the edge from e to f crosses the ray from `point` towards +p in the
// projection plane. An edge counts from its lower q end up to but not
// including its upper one, so a point on a vertex shared by two edges, or on
// an edge shared by two triangles, is counted once.
bool edgeCrosses(const float* e, const float* f, const float* point, Projection axes) {
  const float ep = e[axes.p], eq = e[axes.q];
  const float fp = f[axes.p], fq = f[axes.q];
  const float pp = point[axes.p], pq = point[axes.q];
  if (!(std::fmin(eq, fq) <= pq && pq < std::fmax(eq, fq))) return false;
  if (ep > pp && fp > pp) return true;
  if (ep <= pp && fp <= pp) return false;
  return pp < ep + (pq - eq) * (fp - ep) / (fq - eq);
}

// Texture coordinates at `point` by barycentric weights in the projection
// plane; a triangle that is degenerate there gives 0, 0.
void interpolateTexCoords(const ModelPacket* packet, uint32_t triangle, const float* a, const float* b, const float* c,
                          const float* point, Projection axes, float* u, float* v) {
  *u = 0.0f;
  *v = 0.0f;
  if (packet->texCoordBinding == 0 || packet->texCoords == nullptr || packet->texCoordIndices == nullptr) {
    return;
  }
  const float e1p = b[axes.p] - a[axes.p], e1q = b[axes.q] - a[axes.q];
  const float e2p = c[axes.p] - a[axes.p], e2q = c[axes.q] - a[axes.q];
  const float det = e1p * e2q - e1q * e2p;
  if (std::fabs(det) <= 1e-8f) return;
  const float dp = point[axes.p] - a[axes.p], dq = point[axes.q] - a[axes.q];
  const float wb = (dp * e2q - dq * e2p) / det;
  const float wc = (e1p * dq - e1q * dp) / det;
  const uint32_t* indices = packet->texCoordIndices + 3 * triangle;
  if (!indicesBelow(indices, packet->texCoordCount)) return;
  const float* ta = packet->texCoords + 2 * indices[0];
  const float* tb = packet->texCoords + 2 * indices[1];
  const float* tc = packet->texCoords + 2 * indices[2];
  *u = ta[0] + wb * (tb[0] - ta[0]) + wc * (tc[0] - ta[0]);
  *v = ta[1] + wb * (tb[1] - ta[1]) + wc * (tc[1] - ta[1]);
}

uint32_t pickTriangles(const ModelPacket* packet, const float* origin, const float* direction, RukHitRecord* hit) {
  float tBest = hit->distance;
  float boxDistance = 0.0f;
  if (!intersectRayBox(origin, direction, packet->boundsCentre, packet->boundsHalf, &boxDistance) ||
      boxDistance > tBest) {
    return 0;
  }
  // Without face normals no side of any triangle is known to face the ray.
  if (packet->faceNormals == nullptr || packet->vertices == nullptr || packet->vertexIndices == nullptr) {
    return 0;
  }
  for (uint32_t i = 0; i < packet->primitiveCount; ++i) {
    const float* n = packet->faceNormals + 3 * i;
    const float denom = dot(n, direction);
    if (!(denom <= -1e-6f)) continue;  // edge-on or seen from behind
    const uint32_t* corners = packet->vertexIndices + 3 * i;
    if (!indicesBelow(corners, packet->vertexCount)) continue;
    const float* a = packet->vertices + 3 * corners[0];
    const float* b = packet->vertices + 3 * corners[1];
    const float* c = packet->vertices + 3 * corners[2];
    const float toA[3] = {a[0] - origin[0], a[1] - origin[1], a[2] - origin[2]};
    const float t = dot(n, toA) / denom;
    if (!(t >= 1e-6f && t <= tBest)) continue;
    const float point[3] = {origin[0] + t * direction[0], origin[1] + t * direction[1], origin[2] + t * direction[2]};
    const Projection axes = projectionFor(n);
    const int crossings =
        edgeCrosses(a, b, point, axes) + edgeCrosses(b, c, point, axes) + edgeCrosses(c, a, point, axes);
    if (crossings != 1) continue;
    tBest = t;
    hit->primitive = i;
    for (int k = 0; k < 3; ++k) {
      hit->point[k] = point[k];
      hit->normal[k] = n[k];
    }
    interpolateTexCoords(packet, i, a, b, c, point, axes, &hit->u, &hit->v);
  }
  // A hit at exactly the maximum distance leaves it unchanged: no hit.
  if (hit->distance <= tBest) return 0;
  hit->distance = tBest;
  return 1;
}

}  // namespace

RukStatus pickModel(RukContext* context, const ModelPacket* packet, const float* origin, const float* direction,
                    uint32_t* hitCount, RukHitRecord* hit) {
  *hitCount = 0;
  switch (packet->type) {
    case MODEL_TRIANGLES: *hitCount = pickTriangles(packet, origin, direction, hit); return RUK_OK;
    case MODEL_POINTS:
    case MODEL_LINES: return RUK_ERR_NOT_IMPLEMENTED;
    default: recordError(context, "Bad model type"); return RUK_ERR_BAD_MODEL_TYPE;
  }
}
