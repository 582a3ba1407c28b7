// The lighting passes over a transformed batch: flat (one evaluation per
// primitive, at its first corner) and smooth (one per corner, shared through
// the vertex cache). Entries wholly outside one clip plane are skipped.
// A pass collects its evaluations over the batch and runs them four at a
// time in lanes; each lane takes the pass's material with the colour that
// the model's colours replace set to its own.
#include <algorithm>
#include <cstdint>
#include <iterator>

#include "context/context.h"
#include "device/product_table.h"
#include "pipeline/lighting.h"
#include "pipeline/lighting_base.h"
#include "pipeline/lighting_inputs.h"
#include "raster/raster.h"

namespace {

// A back face lit two-sided is lit with its normal reversed.
inline const float* facingNormal(const float* normal, uint32_t facing, float* reversed) {
  if ((facing & FACING_LIT_AS_BACK) == 0) return normal;
  for (int k = 0; k < 3; ++k) reversed[k] = -normal[k];
  return reversed;
}

// The cache key of a normal: its address, with the low bit set when it is
// used reversed, so that a vertex shared by a front face and a two-sided back
// face is not given the other side's colours. The key is only compared.
inline const float* normalKey(const float* normal, uint32_t facing) {
  const uintptr_t reversedBit = (facing & FACING_LIT_AS_BACK) != 0 ? 1u : 0u;
  return reinterpret_cast<const float*>(reinterpret_cast<uintptr_t>(normal) ^ reversedBit);
}

// The colour of the working material that the model's colours replace, or
// null when the model has no colours.
inline uint32_t* substitutedColorOf(RukMaterial* material, const LightingInputs& in, const RukContext* context) {
  if (in.colors == nullptr) return nullptr;
  return substitutedColor(material, context->attributes[ATTR_COLOR_MATERIAL]);
}

// Evaluations collected over a batch and run a few at a time in lanes:
// each gives the colour words of one position and normal, with the model
// colour `value` standing in for the material colour that model colours
// replace and its alpha byte kept.
struct LightingJobs {
  static constexpr uint32_t capacity = BATCH_CAPACITY * 3;
  struct Job {
    const float* position;
    float normal[3];
    uint32_t value;
    uint32_t target;  // what the pass writes the colours into
    uint32_t color, specular;
  };
  Job jobs[capacity];
  uint32_t count = 0;

  // The entries a pass visits: never more than the job list can take, one
  // job per corner.
  static uint32_t entriesOf(const RukContext* context) { return std::min(context->batchCount, BATCH_CAPACITY); }

  // Adds a job; its index.
  uint32_t add(const float* position, const float* normal, uint32_t facing, uint32_t value, uint32_t target) {
    Job& job = jobs[count];
    job.position = position;
    float reversed[3];
    std::copy_n(facingNormal(normal, facing, reversed), 3, job.normal);
    job.value = value;
    job.target = target;
    return count++;
  }

  // Runs every job. `substituted` says whether model colours replace a
  // colour of `material`.
  void evaluate(const RukContext* context, const RukMaterial& material, bool substituted) {
    const uint32_t which = context->attributes[ATTR_COLOR_MATERIAL];
    for (uint32_t first = 0; first < count; first += LIGHTING_LANES) {
      LightingLanes lanes;
      for (uint32_t l = 0; l < LIGHTING_LANES; ++l) {
        // Lanes past the last job repeat it.
        const Job& job = jobs[std::min(first + l, count - 1)];
        for (uint32_t k = 0; k < 3; ++k) {
          lanes.position[k][l] = job.position[k];
          lanes.normal[k][l] = job.normal[k];
        }
        lanes.material[l] = material;
        if (substituted) *substitutedColor(&lanes.material[l], which) = job.value & 0xFFFFFFu;
      }
      uint32_t color[LIGHTING_LANES], specular[LIGHTING_LANES];
      evaluateLightingLanes(context, lanes, color, specular);
      for (uint32_t l = 0; l < LIGHTING_LANES && first + l < count; ++l) {
        Job& job = jobs[first + l];
        job.color = color[l] | (job.value & 0xFF000000u);
        job.specular = specular[l];
      }
    }
  }
};

}  // namespace

void lightBatchFlat(RukContext* context, uint32_t cornersPerPrimitive, const ModelPacket* packet,
                    uint32_t pipelineFlags) {
  const LightingInputs in = lightingInputsOf(packet);
  RukMaterial material = context->material;
  uint32_t* const substituted = substitutedColorOf(&material, in, context);
  const uint8_t* const alphaRow = productRow(material.alpha);
  BatchEntry* const batch = context->batch;
  LightingJobs jobs;
  for (uint32_t e = 0, entries = LightingJobs::entriesOf(context); e < entries; ++e) {
    const BatchEntry& entry = batch[e];
    if (entry.clipAnd != 0) continue;
    const uint32_t primitive = entry.primitiveIndex;
    const size_t first = size_t{cornersPerPrimitive} * primitive;
    uint32_t value = material.alpha << 24;
    if (in.colors != nullptr) {
      const uint32_t color = cornerColor(in, primitive, first);
      value = static_cast<uint32_t>(alphaRow[color >> 24]) << 24 | (color & 0xFFFFFFu);
    }
    jobs.add(cornerPosition(in, first), cornerNormal(in, primitive, first), entry.facing, value, e);
  }
  jobs.evaluate(context, material, substituted != nullptr);
  for (uint32_t i = 0; i < jobs.count; ++i) {
    BatchEntry& entry = batch[jobs.jobs[i].target];
    for (uint32_t k = 0; k < cornersPerPrimitive; ++k) {
      entry.corners[k].color = jobs.jobs[i].color;
      entry.corners[k].specular = jobs.jobs[i].specular;
    }
  }
  if ((pipelineFlags & RF_FOG) != 0) computeFogAmounts(context, cornersPerPrimitive, pipelineFlags, true);
}

namespace {

// What a corner brings to the smooth pass: its model colour with the
// material's alpha applied, or the material's diffuse colour and alpha.
struct CornerValues {
  const LightingInputs& in;
  const uint8_t* alphaRow;
  uint32_t uncoloured;

  uint32_t of(uint32_t primitive, size_t corner) const {
    if (in.colors == nullptr) return uncoloured;
    const uint32_t color = cornerColor(in, primitive, corner);
    return static_cast<uint32_t>(alphaRow[color >> 24]) << 24 | (color & 0xFFFFFFu);
  }
};

// Calls visit(entry, primitive, j, corner) for corner j of every batch entry
// that is not wholly outside one clip plane; corner is its index in the
// model's corner arrays.
template <uint32_t Corners, class Visit>
inline void visitCorners(RukContext* context, Visit& visit) {
  BatchEntry* const batch = context->batch;
  for (uint32_t e = 0, entries = LightingJobs::entriesOf(context); e < entries; ++e) {
    BatchEntry& entry = batch[e];
    if (entry.clipAnd != 0) continue;
    const uint32_t primitive = entry.primitiveIndex;
    for (uint32_t j = 0; j < Corners; ++j) visit(entry, primitive, j, size_t{Corners} * primitive + j);
  }
}

// The corner loop unrolls for each count of corners per primitive.
template <class Visit>
inline void forEachVisibleCorner(RukContext* context, uint32_t cornersPerPrimitive, Visit&& visit) {
  withCornerCount(cornersPerPrimitive, [&](auto corners) { visitCorners<corners()>(context, visit); });
}

// How the model colour enters an unlit corner's colour.
enum class UnlitColour {
  Constant,    // not at all: the colour is the material's base, the alpha the corner's
  AsEmission,  // as the emission, with no ambient term: the colour is the corner's own
  Computed,    // otherwise
};

template <UnlitColour Mode>
void lightUnlitCorners(RukContext* context, uint32_t cornersPerPrimitive, const CornerValues& values,
                       RukMaterial& material, uint32_t* substituted) {
  bool known = false;
  uint32_t knownValue = 0, litColor = 0;
  if constexpr (Mode == UnlitColour::Constant) {
    int32_t channels[3];
    baseLightingChannels(context, &material, channels);
    litColor = packLightingChannels(channels);
  }
  forEachVisibleCorner(context, cornersPerPrimitive,
                       [&](BatchEntry& entry, uint32_t primitive, uint32_t j, size_t corner) {
                         const uint32_t value = values.of(primitive, corner);
                         uint32_t color;
                         if constexpr (Mode == UnlitColour::Constant) {
                           color = litColor | (value & 0xFF000000u);
                         } else if constexpr (Mode == UnlitColour::AsEmission) {
                           color = value;
                         } else {
                           if (!known || value != knownValue) {
                             *substituted = value & 0xFFFFFFu;
                             int32_t channels[3];
                             baseLightingChannels(context, &material, channels);
                             litColor = packLightingChannels(channels) | (value & 0xFF000000u);
                             knownValue = value;
                             known = true;
                           }
                           color = litColor;
                         }
                         entry.corners[j].color = color;
                         entry.corners[j].specular = 0;
                       });
}

// The smooth pass without lights: a corner's colour is then the emission
// and ambient term of the material with its model colour substituted, with
// no specular part, so neither the vertex cache nor a full evaluation is
// needed.
void lightBatchUnlit(RukContext* context, uint32_t cornersPerPrimitive, const CornerValues& values,
                     RukMaterial& material, uint32_t* substituted) {
  const bool ambientTerm = context->ambientLight != 0;
  if (substituted == &material.emission && !(ambientTerm && material.ambient != 0)) {
    lightUnlitCorners<UnlitColour::AsEmission>(context, cornersPerPrimitive, values, material, substituted);
  } else if (substituted == &material.emission || (substituted == &material.ambient && ambientTerm)) {
    lightUnlitCorners<UnlitColour::Computed>(context, cornersPerPrimitive, values, material, substituted);
  } else {
    lightUnlitCorners<UnlitColour::Constant>(context, cornersPerPrimitive, values, material, substituted);
  }
}

}  // namespace

void lightBatchSmooth(RukContext* context, uint32_t cornersPerPrimitive, const ModelPacket* packet,
                      uint32_t pipelineFlags) {
  const LightingInputs in = lightingInputsOf(packet);
  RukMaterial material = context->material;
  uint32_t* const substituted = substitutedColorOf(&material, in, context);
  const CornerValues values{in, productRow(material.alpha), material.alpha << 24 | material.diffuse};
  if (context->lightCount == 0) {
    lightBatchUnlit(context, cornersPerPrimitive, values, material, substituted);
    if ((pipelineFlags & RF_FOG) != 0) computeFogAmounts(context, cornersPerPrimitive, pipelineFlags, false);
    return;
  }

  // The corners go through the vertex cache in order, as one at a time
  // would: a miss claims its slot and becomes a job; corners whose slot
  // holds a job of this pass take that job's colours once the jobs are
  // evaluated, a few at a time in lanes. A slot that several jobs claimed
  // ends with the last one's colours.
  constexpr uint16_t noJob = 0xFFFF;
  struct Waiting {
    BatchVertex* out;
    uint32_t job;
  };
  LightingJobs jobs;
  Waiting waiting[LightingJobs::capacity];
  uint16_t slotJob[VERTEX_CACHE_SIZE];
  std::fill(std::begin(slotJob), std::end(slotJob), noJob);
  uint32_t waitingCount = 0;
  forEachVisibleCorner(
      context, cornersPerPrimitive, [&](BatchEntry& entry, uint32_t primitive, uint32_t j, size_t corner) {
        BatchVertex& out = entry.corners[j];
        const float* normal = cornerNormal(in, primitive, corner);
        const float* key = normalKey(normal, entry.facing);
        const uint32_t value = values.of(primitive, corner);

        const uint32_t vertex = in.vertexIndices[corner];
        const uint32_t slotIndex = vertex & (VERTEX_CACHE_SIZE - 1);
        VertexCacheEntry& slot = context->vertexCache[slotIndex];
        if (slot.tag != vertex || slot.normalRef != key || slot.inColor != value) {
          if (slot.tag != vertex) {
            // The slot now belongs to this vertex: give it this vertex's
            // transformed position too, so that a later batch that finds the
            // tag does not take another vertex's position.
            slot.tag = vertex;
            slot.x = out.x;
            slot.y = out.y;
            slot.z = out.z;
            slot.w = out.w;
            slot.clipCode = out.clipCode;
          }
          slot.normalRef = key;
          slot.inColor = value;
          slotJob[slotIndex] =
              static_cast<uint16_t>(jobs.add(cornerPosition(in, corner), normal, entry.facing, value, slotIndex));
        }
        if (slotJob[slotIndex] != noJob) {
          waiting[waitingCount++] = {&out, slotJob[slotIndex]};
        } else {
          out.color = slot.litColor;
          out.specular = slot.litSpecular;
        }
      });

  jobs.evaluate(context, material, substituted != nullptr);
  for (uint32_t i = 0; i < jobs.count; ++i) {
    VertexCacheEntry& slot = context->vertexCache[jobs.jobs[i].target];
    slot.litColor = jobs.jobs[i].color;
    slot.litSpecular = jobs.jobs[i].specular;
  }
  for (uint32_t i = 0; i < waitingCount; ++i) {
    waiting[i].out->color = jobs.jobs[waiting[i].job].color;
    waiting[i].out->specular = jobs.jobs[waiting[i].job].specular;
  }
  if ((pipelineFlags & RF_FOG) != 0) computeFogAmounts(context, cornersPerPrimitive, pipelineFlags, false);
}
