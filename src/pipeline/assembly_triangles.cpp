// Triangle assembly: clipping to the view volume, mapping to the screen and
// the corners' carried fields; the fixed-point setup of the surviving
// triangles runs a batch at a time in the scan converters' copy
// (raster/triangle_batch.h).
#include <algorithm>

#include "pipeline/assembly.h"
#include "pipeline/assembly_frame.h"
#include "pipeline/clip_planes.h"

bool setupTriangle(RukContext* context, const AssemblyFrame& frame, const ScreenVertex& p0, const ScreenVertex& p1,
                   const ScreenVertex& p2) {
  TriangleBatch batch;
  clearTriangleBatch(&batch);
  stageTriangle(frame, &batch, p0, p1, p2);
  RasterState* raster = context->rasterState;
  return raster->setupTriangles(raster, &frame.rules, &batch);
}

namespace {

// Clips an entry that crosses the view volume into the current clip buffer;
// gives the vertex count of the result (below 3 when nothing remains).
uint32_t clipEntry(RukContext* context, const BatchEntry& entry, uint32_t pipelineFlags) {
  std::copy_n(entry.corners, 3, context->clipBufferA);
  context->clipCurrent = context->clipBufferA;
  uint32_t count = 3;
  uint32_t clipOr = entry.clipOr;
  if (clipOr & CLIP_NEAR) {
    count = clipPolygon(context, count, CLIP_NEAR, pipelineFlags);
    // Codes were not computed past the near bit; the polygon now lies beyond
    // the near plane, so the remaining planes are found afresh.
    clipOr = 0;
    for (uint32_t i = 0; i < count; ++i) {
      BatchVertex& v = context->clipCurrent[i];
      v.clipCode = computeClipCode(context, v.x, v.y, v.z, v.w);
      clipOr |= v.clipCode;
    }
  }
  static constexpr uint32_t PLANE_ORDER[] = {CLIP_FAR, CLIP_LEFT, CLIP_RIGHT, CLIP_TOP, CLIP_BOTTOM};
  for (uint32_t plane : PLANE_ORDER) {
    if (count < 3) return count;
    if (clipOr & plane) count = clipPolygon(context, count, plane, pipelineFlags);
  }
  return count;
}

template <class Mode>
bool assembleTrianglesAs(RukContext* context, const AssemblyFrame& frame, AssemblyCursor* cursor) {
  RasterState* raster = context->rasterState;
  if (raster->queuedCount >= raster->queueCapacity) return false;
  // Triangles go to the setup a batch at a time, never more than the queue
  // has room for: then only the batch's last triangle can fill the queue,
  // and assembly stops just past it.
  TriangleBatch batch;
  clearTriangleBatch(&batch);
  const auto queueRoom = [raster] {
    return std::min(TRIANGLE_BATCH_SIZE, raster->queueCapacity - raster->queuedCount);
  };
  uint32_t room = queueRoom();
  // Sets the batch up; true when the queue is full afterwards.
  const auto setUp = [&] {
    const bool full = raster->setupTriangles(raster, &frame.rules, &batch);
    batch.count = 0;
    room = queueRoom();
    return full;
  };
  // Stages a triangle; true when assembly must stop for the queue to be
  // drawn, with the cursor at `after`.
  const auto stage = [&](const BatchEntry& triangle, AssemblyCursor after) {
    stageTriangleAs<Mode>(frame, &batch, triangle);
    if (batch.count < room || !setUp()) return false;
    *cursor = after;
    return true;
  };

  const uint32_t entries = std::min(context->batchCount, context->batchCapacity);
  for (; cursor->entry < entries; ++cursor->entry, cursor->part = 0) {
    const BatchEntry& entry = context->batch[cursor->entry];
    if (entry.clipAnd != 0) continue;
    if (entry.clipOr == 0) {
      if (cursor->part == 0 && stage(entry, {cursor->entry, 1})) return false;
      continue;
    }
    // Clipping is repeated when a fan goes on after the queue was drawn: it
    // gives the same polygon again.
    const uint32_t count = clipEntry(context, entry, frame.rules.pipelineFlags);
    if (count < 3) continue;
    // A fan around the polygon's first vertex.
    const BatchVertex* polygon = context->clipCurrent;
    for (uint32_t k = 0; k + 2 < count; ++k) {
      BatchEntry& fan = context->fanTriangles[k];
      fan.corners[0] = polygon[0];
      fan.corners[1] = polygon[k + 1];
      fan.corners[2] = polygon[k + 2];
      fan.primitiveIndex = entry.primitiveIndex;
      fan.facing = entry.facing;
      fan.clipOr = 0;
      fan.clipAnd = 0;
    }
    for (uint32_t k = cursor->part; k + 2 < count; ++k) {
      if (stage(context->fanTriangles[k], {cursor->entry, k + 1})) return false;
    }
  }
  // The cursor is past the last entry: the next pass ends at once.
  return batch.count == 0 || !setUp();
}

// The assembly of a call's mode: its projection and the fields it stages.
template <bool Perspective>
bool assembleTrianglesIn(RukContext* context, const AssemblyFrame& frame, AssemblyCursor* cursor) {
  const uint32_t flags = frame.rules.pipelineFlags;
  const bool textured = stagesTexture(flags), specular = stagesSpecular(flags);
  if (textured && specular) return assembleTrianglesAs<StagingMode<Perspective, true, true>>(context, frame, cursor);
  if (textured) return assembleTrianglesAs<StagingMode<Perspective, true, false>>(context, frame, cursor);
  if (specular) return assembleTrianglesAs<StagingMode<Perspective, false, true>>(context, frame, cursor);
  return assembleTrianglesAs<StagingMode<Perspective, false, false>>(context, frame, cursor);
}

}  // namespace

bool assembleTriangles(RukContext* context, const AssemblyFrame& frame, AssemblyCursor* cursor) {
  return frame.perspective ? assembleTrianglesIn<true>(context, frame, cursor)
                           : assembleTrianglesIn<false>(context, frame, cursor);
}
