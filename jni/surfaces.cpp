#include "jni/surfaces.h"

#include <mutex>
#include <unordered_set>
#include <vector>

#include "host/host_kit.h"
#include "platform/display.h"

namespace kelbridge {
namespace {

constexpr std::size_t kRecordWords = 4;

struct Records {
  std::mutex lock;
  std::unordered_set<uint32_t> live;
  std::vector<uint32_t> free;
};

Records& records() {
  static auto* instance = new Records();
  return *instance;
}

uint32_t* words(uint32_t record) { return kelhost::pointer32<uint32_t>(record); }

}  // namespace

uint32_t createSurfaceRecord(int width, int height) {
  const HDC surface = displayCreateSurface(width, height);
  if (surface == 0) return 0;
  Records& r = records();
  std::lock_guard guard(r.lock);
  uint32_t record = 0;
  if (r.free.empty()) {
    record = kelhost::address32(kelhost::heapAllocate(kRecordWords * sizeof(uint32_t)));
  } else {
    record = r.free.back();
    r.free.pop_back();
  }
  words(record)[0] = surface;
  r.live.insert(record);
  return record;
}

bool destroySurfaceRecord(uint32_t record) {
  Records& r = records();
  HDC surface = 0;
  {
    std::lock_guard guard(r.lock);
    if (r.live.erase(record) == 0) return false;
    surface = words(record)[0];
    words(record)[0] = 0;
    r.free.push_back(record);
  }
  displayDestroySurface(surface);
  return true;
}

HDC surfaceOfRecord(uint32_t record) {
  Records& r = records();
  std::lock_guard guard(r.lock);
  return r.live.count(record) != 0 ? words(record)[0] : 0;
}

}  // namespace kelbridge
