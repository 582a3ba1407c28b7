// Clipping one end of a line against one plane.
#include "pipeline/assembly.h"
#include "pipeline/clip_planes.h"
#include "raster/raster.h"

void clipLine(RukContext* context, BatchEntry* line, uint32_t planeBit, uint32_t pipelineFlags) {
  const ClipView view = clipViewOf(context);
  BatchVertex& p = line->corners[0];
  BatchVertex& c = line->corners[1];
  BatchVertex* end = outsidePlane(view, planeBit, p) ? &p : outsidePlane(view, planeBit, c) ? &c : nullptr;
  if (end == nullptr) return;

  const float t = crossingParameter(view, planeBit, p, c);
  const float x = lerp(p.x, c.x, t);
  const float y = lerp(p.y, c.y, t);
  // Near and far put the end on the plane; the side planes interpolate all
  // three coordinates.
  const float z = planeBit == CLIP_NEAR ? view.nearZ : planeBit == CLIP_FAR ? view.farZ : lerp(p.z, c.z, t);
  const uint32_t color = (pipelineFlags & RF_SMOOTH) ? interpolateColorWord(p.color, c.color, t, 0.0f) : p.color;
  const uint32_t specular =
      (pipelineFlags & (RF_SPECULAR | RF_FOG)) ? interpolateColorWord(p.specular, c.specular, t, 0.0f) : p.specular;
  end->x = x;
  end->y = y;
  end->z = z;
  end->w = clipW(view, z);
  end->clipCode = computeClipCode(context, x, y, z, end->w) & ~planeBit;
  end->color = color;
  end->specular = specular;
  line->clipOr = p.clipCode | c.clipCode;
  line->clipAnd = p.clipCode & c.clipCode;
}
