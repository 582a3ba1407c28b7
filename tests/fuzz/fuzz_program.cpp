// Running a fuzz input as a program, and releasing what it made.
#include "fuzz/fuzz_program.h"

#include <sanitizer/asan_interface.h>

#include <cstdio>
#include <cstdlib>

#include "device/color_model.h"
#include "fuzz/fuzz_state.h"
#include "model/model.h"
#include "platform/display.h"
#include "runtime/native_refs.h"
#include "runtime/process_exit.h"
#include "share/kel/ruk/java_fields.h"

namespace fuzz {
namespace {

// Thrown by the exit hook: the library has ended the program.
struct ProgramEnded {
  int status;
};

[[noreturn]] void endProgram(int status) { throw ProgramEnded{status}; }

[[noreturn]] void harnessFault(const char* what) {
  std::fprintf(stderr, "fuzz harness: %s\n", what);
  std::abort();
}

const std::vector<Operation>& operations() {
  static const std::vector<Operation> all = [] {
    std::vector<Operation> list;
    for (auto part : {hostOperations(), rukOperations(), geomOperations()})
      list.insert(list.end(), part.begin(), part.end());
    if (list.size() > 256) harnessFault("more operations than an opcode byte names");
    return list;
  }();
  return all;
}

// Where the heap stands between programs: everything a program allocates in
// it is given back when it ends.
kelhost::HeapMark programStart = 0;
DisplayCounts idleCounts{};

// The records a program made, released as the end of a process would.
void releaseEverything(State& s) {
  for (auto& context : s.contexts) {
    for (uint32_t reference : context.issued) {
      if (nativeRefResolve(reference, NativeKind::Context) == nullptr) continue;
      context.object.setContext(static_cast<int32_t>(reference));
      context.object.dispose();
    }
  }
  for (auto& texture : s.textures) {
    for (uint32_t reference : texture.issued) {
      if (nativeRefResolve(reference, NativeKind::Texture) == nullptr) continue;
      // Dispose takes the device along: none, rather than one the program forged.
      texture.object.setDevice({});
      texture.object.setNativeTexture(static_cast<int32_t>(reference));
      texture.object.dispose();
    }
  }
  for (auto& model : s.models) {
    for (uint32_t reference : model.native.issued) {
      if (nativeRefResolve(reference, NativeKind::Model) == nullptr) continue;
      model.native.object.setNativeModel(static_cast<int32_t>(reference));
      model.native.object.dispose();
    }
  }
  // Devices have no dispose: a process keeps them to its end.
  for (auto& device : s.devices) {
    for (uint32_t reference : device.issued) {
      auto* record = nativeRefResolveAs<RukDevice>(reference, NativeKind::Device);
      if (record == nullptr) continue;
      nativeRefRevoke(reference, NativeKind::Device);
      destroyDevice(record);
    }
  }
  for (HWND window : s.windows) {
    if (window != 0) displayDestroyWindow(window);
  }
  for (HDC surface : s.surfaces) {
    if (surface != 0) displayDestroySurface(surface);
  }
}

}  // namespace

State::State(std::span<const uint8_t> input, Observer* observer_) : in(input), observer(observer_) {
  for (int i = 0; i < DEVICES; ++i) devices[i].object = KELRend3DDevice::create();
  for (int i = 0; i < CONTEXTS; ++i) contexts[i].object = KELRendGraphics3D::create(devices[i % DEVICES].object);
  for (int i = 0; i < TEXTURES; ++i) textures[i].object = KELRendTexture::create(devices[i % DEVICES].object);
  for (int i = 0; i < MODELS; ++i) models[i].native.object = KELRendModel::create();
  for (auto& v : vectors) v = Vector3::create(0, 0, 1);
  for (auto& q : quaternions) q = Quaternion::create();
  for (auto& m : matrices) {
    m = Matrix4::create();
    m.identity();
  }
  for (auto& box : boxes) box = kel::geom::BoundingBox3::create(Vector3::create(), Vector3::create(1, 1, 1));
  for (auto& ray : rays) ray = Ray::create(Vector3::create(0, 0, 5), Vector3::create(0, 0, -1));
  for (auto& light : lights) light = Light::create();
  for (auto& material : materials) material = Material::create(0, 0x333333, 0xCCCCCC, 0, 0, 255);
  pick = PickResult::create(7, 100.0f);
  for (auto& g : graphics) g = kelhost::Graphics::create(0);
}

uint64_t nextRandom(uint64_t& seed) {
  seed ^= seed << 13;
  seed ^= seed >> 7;
  seed ^= seed << 17;
  return seed;
}

// Mostly within a few units of the origin, where the default projection
// sees it; now and then one of the special values.
float randomReal(uint64_t& seed) {
  const uint64_t r = nextRandom(seed);
  if ((r & 63) == 0) return SPECIAL_FLOATS[(r >> 8) % 31];
  return static_cast<float>(static_cast<int64_t>((r >> 16) % 8193) - 4096) / 1024.0f;
}

void noteIssued(std::vector<uint32_t>& issued, uint32_t reference) {
  if (reference == 0) return;
  for (uint32_t known : issued) {
    if (known == reference) return;
  }
  issued.push_back(reference);
}

bool mayMakeRecord(State& s) {
  if (s.records >= MAX_RECORDS) {
    s.skipped = true;
    return false;
  }
  ++s.records;
  return true;
}

namespace {

// A poisoned stretch before an array, so that a native reading before the
// array's first element is caught even where the heap holds other objects.
void guardBefore() {
  constexpr std::size_t GUARD_BYTES = 4096;
  void* guard = kelhost::heapAllocate(GUARD_BYTES);
  ASAN_POISON_MEMORY_REGION(guard, GUARD_BYTES);
  (void)guard;
}

std::size_t lengthFor(int64_t count) {
  if (count > MAX_ARRAY_ELEMENTS) harnessFault("array larger than a program may make");
  return count < 0 ? 0 : static_cast<std::size_t>(count);
}

}  // namespace

kelhost::IntArray guardedIntArray(int64_t count) {
  guardBefore();
  return kelhost::IntArray::create(lengthFor(count));
}

kelhost::ByteArray guardedByteArray(int64_t count) {
  guardBefore();
  return kelhost::ByteArray::create(lengthFor(count));
}

void prepareProcess() {
  rukSetExitHook(endProgram);
  displayReset();
  // The operand stack and the product table live for the process; make them
  // before the first mark, so that rewinding never gives them back.
  kelhost::callStub("Java_kel_ruk_Graphics3DDevice_getDeviceClass_stub", {kelhost::newByteArray(24)});
  programStart = kelhost::heapMark();
  idleCounts = displayCounts();
}

void runProgram(std::span<const uint8_t> input, Observer* observer) {
  displayReset();
  {
    State s(input, observer);
    const auto& ops = operations();
    try {
      while (!s.in.done() && kelhost::heapUsed() - programStart < HEAP_BUDGET) {
        const Operation& op = ops[s.in.byte() % ops.size()];
        s.skipped = false;
        op.run(s);
        if (op.stub != nullptr && !s.skipped && observer != nullptr) observer->nativeReturned(op.stub);
      }
    } catch (const ProgramEnded& ended) {
      if (observer != nullptr) observer->programEnded(ended.status);
    }
    try {
      releaseEverything(s);
    } catch (const ProgramEnded&) {
      harnessFault("releasing a program's records ended it");
    }
  }
  const DisplayCounts left = displayCounts();
  if (left.deviceContexts != idleCounts.deviceContexts || left.bitmaps != idleCounts.bitmaps ||
      left.palettes != idleCounts.palettes || left.windows != idleCounts.windows ||
      left.surfaces != idleCounts.surfaces) {
    harnessFault("the program's records left platform objects behind");
  }
  kelhost::heapRewind(programStart);
}

std::span<const std::string_view> operationNames() {
  static const std::vector<std::string_view> names = [] {
    std::vector<std::string_view> list;
    for (const Operation& op : operations()) list.push_back(op.name);
    return list;
  }();
  return names;
}

uint8_t opcodeOf(std::string_view name) {
  const auto names = operationNames();
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (names[i] == name) return static_cast<uint8_t>(i);
  }
  std::fprintf(stderr, "fuzz harness: no operation named %.*s\n", static_cast<int>(name.size()), name.data());
  std::abort();
}

}  // namespace fuzz
