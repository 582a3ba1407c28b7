// The checks the bridge makes before a stub reads or writes Java arrays: the
// library takes element blocks without their lengths, so an array shorter
// than the counts of its model, the rectangle of a conversion or a palette
// would be read or written past its end. Each check throws
// ArrayIndexOutOfBoundsException on the call (which then does not run)
// instead. Counts the library itself refuses (negative, or a native
// reference it does not know) are left for its fatal report.
#pragma once

#include <cstdint>

#include "jni/bridge_call.h"

namespace kelbridge {

// KELRendModel.init: the vertices its vertex count covers.
void checkModelInit(Call& call, JHandle model);
// doRender and doRayPick of a ready model: every array its counts and
// bindings call for.
void checkDrawnModel(Call& call, JHandle model);
// generateFaceNormals and generateVertexNormals: vertices, indices and face
// normals of the triangles the record holds.
void checkNormalSources(Call& call, JHandle model);
// copyVertexNormals: room for the generated normals and their indices.
void checkNormalCopy(Call& call, JHandle model);
// convertRect32 and convertRect8: the source pixels of the part of the
// rectangle inside the texture.
void checkConversionSource(Call& call, JHandle texture, int32_t x, int32_t y, int32_t w, int32_t h, JHandle pixels,
                           int32_t offset, int32_t scansize);

}  // namespace kelbridge
