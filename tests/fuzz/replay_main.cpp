// kelruk-fuzz-replay: runs fuzz inputs as programs in any build (CTest runs
// the corpus with it in the normal and the sanitizer builds), and counts
// what they reached: the natives that returned, and the slots and routines
// of every rasterizer table that drew.
//
//   kelruk-fuzz-replay [--report] [--require-complete] FILE_OR_DIRECTORY...
//
// --report prints the counts; --require-complete fails unless every native
// returned at least once and every triangle slot, line routine and point
// routine of every pixel format drew.
#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "context/context.h"
#include "fuzz/fuzz_program.h"
#include "raster/raster.h"
#include "raster/raster_isa.h"
#include "raster/raster_tables.h"

namespace {

// --- Which table slots drew ---------------------------------------------------

std::map<const void*, std::set<uint32_t>>& reachedSlots() {
  static std::map<const void*, std::set<uint32_t>> slots;
  return slots;
}

// A routine that notes its table and slot, then draws as the real one does.
template <class Routine>
struct Forward;
template <class... A>
struct Forward<void (*)(A...)> {
  template <const auto* Table, uint32_t Slot>
  static void call(A... args) {
    reachedSlots()[Table].insert(Slot);
    (*Table)[Slot](args...);
  }
};

template <const auto* Table, uint32_t... S>
constexpr auto forwardingTable(std::integer_sequence<uint32_t, S...>) {
  using Routine = typename std::remove_cvref_t<decltype(*Table)>::value_type;
  return std::array<Routine, sizeof...(S)>{&Forward<Routine>::template call<Table, S>...};
}

template <const auto* Table>
inline constexpr auto FORWARDING = forwardingTable<Table>(
    std::make_integer_sequence<uint32_t, std::tuple_size_v<std::remove_cvref_t<decltype(*Table)>>>{});

struct CensusTable {
  const char* name;
  const void* real;    // the table's first routine
  const void* census;  // its forwarding twin
  const void* key;     // the table object the forwarders note
  uint32_t size;
  uint32_t requiredMask;  // slot bits that arise for this kind of primitive
};

#define CENSUS(table, mask) \
  CensusTable { #table, table.data(), FORWARDING < &table>.data(), &table, table.size(), mask }

// Lines carry depth, smooth and blend bits, points depth and blend.
const std::array<CensusTable, 16> CENSUS_TABLES = {
    CENSUS(indexed8TriangleTable, 127), CENSUS(indexed8DitheredTriangleTable, 127),
    CENSUS(rgb555TriangleTable, 127),   CENSUS(rgb16TriangleTable, 127),
    CENSUS(rgb24TriangleTable, 127),    CENSUS(rgb32TriangleTable, 127),
    CENSUS(indexed8LineTable, 15),      CENSUS(rgb555LineTable, 15),
    CENSUS(rgb16LineTable, 15),         CENSUS(rgb24LineTable, 15),
    CENSUS(rgb32LineTable, 15),         CENSUS(indexed8PointTable, 11),
    CENSUS(rgb555PointTable, 11),       CENSUS(rgb16PointTable, 11),
    CENSUS(rgb24PointTable, 11),        CENSUS(rgb32PointTable, 11),
};

template <class Routine>
const Routine* forwarding(const Routine* real) {
  if (real == nullptr) return nullptr;
  for (const CensusTable& t : CENSUS_TABLES) {
    if (t.real == real) return static_cast<const Routine*>(t.census);
  }
  return real;
}

struct Census : fuzz::Observer {
  std::map<std::string, int> returned;
  std::map<const RasterTableSet*, RasterTableSet> twins;
  int programs = 0, ended = 0;

  void nativeReturned(const char* stub) override { ++returned[stub]; }
  void programEnded(int) override { ++ended; }
  // The context draws through forwarding twins of its tables.
  void contextCreated(RukContext* context) override {
    RasterState* state = context->rasterState;
    if (state == nullptr || state->tables == nullptr) return;
    const RasterTableSet* real = state->tables;
    auto [twin, made] = twins.try_emplace(real);
    if (made) {
      twin->second = {forwarding(real->triangles), forwarding(real->ditheredTriangles), forwarding(real->lines),
                      forwarding(real->points), real->setupTriangles};
    }
    const bool dithered = real->ditheredTriangles != nullptr && state->triangleTable == real->ditheredTriangles;
    state->tables = &twin->second;
    state->triangleTable = dithered ? twin->second.ditheredTriangles : twin->second.triangles;
    state->lineTable = twin->second.lines;
    state->pointTable = twin->second.points;
  }
};

// Distinct routines of a table among its required slots, and those drawn.
std::pair<size_t, size_t> routinesReached(const CensusTable& t) {
  const auto* routines = static_cast<const void* const*>(t.real);
  std::set<const void*> all, drawn;
  const std::set<uint32_t>& slots = reachedSlots()[t.key];
  for (uint32_t slot = 0; slot < t.size; ++slot) {
    if ((slot & ~t.requiredMask) != 0) continue;
    all.insert(routines[slot]);
    if (slots.count(slot) != 0) drawn.insert(routines[slot]);
  }
  return {drawn.size(), all.size()};
}

std::vector<uint8_t> readFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

}  // namespace

// Contexts draw with the copy whose tables the census wraps.
bool useCensusCopy() {
  for (uint32_t isa = 0; isa < static_cast<uint32_t>(RasterIsa::Count); ++isa) {
    if (std::string(rasterIsaName(static_cast<RasterIsa>(isa))) == KELRUK_REPLAY_ISA) {
      return forceRasterIsa(static_cast<RasterIsa>(isa));
    }
  }
  return false;
}

int main(int argc, char** argv) {
  if (!useCensusCopy()) {
    std::fprintf(stderr, "the %s copy of the scan converters does not run here\n", KELRUK_REPLAY_ISA);
    return 2;
  }
  bool report = false, requireComplete = false;
  std::vector<std::filesystem::path> inputs;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--report") {
      report = true;
    } else if (arg == "--require-complete") {
      requireComplete = report = true;
    } else if (std::filesystem::is_directory(arg)) {
      std::vector<std::filesystem::path> files;
      for (const auto& entry : std::filesystem::recursive_directory_iterator(arg)) {
        if (entry.is_regular_file()) files.push_back(entry.path());
      }
      std::sort(files.begin(), files.end());
      inputs.insert(inputs.end(), files.begin(), files.end());
    } else {
      inputs.emplace_back(arg);
    }
  }
  if (inputs.empty()) {
    std::fprintf(stderr, "usage: %s [--report] [--require-complete] FILE_OR_DIRECTORY...\n", argv[0]);
    return 2;
  }

  fuzz::prepareProcess();
  Census census;
  for (const auto& path : inputs) {
    const std::vector<uint8_t> bytes = readFile(path);
    fuzz::runProgram(bytes, &census);
    ++census.programs;
  }
  std::fprintf(stderr, "fuzz replay: %d programs, %d ended by a fatal exit\n", census.programs, census.ended);
  if (!report) return 0;

  bool complete = true;
  size_t nativesReturned = 0, natives = 0;
  for (std::string_view name : fuzz::operationNames()) {
    if (name.starts_with("host.")) continue;
    ++natives;
    const std::string stub = name.starts_with("Vector3") || name.starts_with("Quaternion") ||
                                     name.starts_with("Matrix4") || name.starts_with("BoundingBox3") ||
                                     name.starts_with("Geom.")
                                 ? "Java_kel_geom_"
                                 : "Java_kel_ruk_";
    std::string full = stub + std::string(name) + "_stub";
    std::replace(full.begin(), full.end(), '.', '_');
    if (census.returned.count(full) != 0) {
      ++nativesReturned;
    } else {
      std::fprintf(stderr, "  native never returned: %s\n", full.c_str());
    }
  }
  std::fprintf(stderr, "natives returned: %zu of %zu\n", nativesReturned, natives);
  complete = complete && nativesReturned == natives;
  for (const CensusTable& t : CENSUS_TABLES) {
    const std::set<uint32_t>& slots = reachedSlots()[t.key];
    size_t requiredSlots = 0, drawnSlots = 0;
    for (uint32_t slot = 0; slot < t.size; ++slot) {
      if ((slot & ~t.requiredMask) != 0) continue;
      ++requiredSlots;
      drawnSlots += slots.count(slot);
    }
    const auto [drawn, all] = routinesReached(t);
    std::string missing;
    for (uint32_t slot = 0; slot < t.size; ++slot) {
      if ((slot & ~t.requiredMask) == 0 && slots.count(slot) == 0) missing += " " + std::to_string(slot);
    }
    std::fprintf(stderr, "%-30s slots %3zu of %3zu, routines %3zu of %3zu%s%s\n", t.name, drawnSlots, requiredSlots,
                 drawn, all, missing.empty() ? "" : "; never drawn:", missing.c_str());
    complete = complete && drawn == all && (t.requiredMask != 127 || drawnSlots == requiredSlots);
  }
  if (requireComplete && !complete) {
    std::fprintf(stderr, "fuzz replay: the inputs do not reach every native, slot and routine\n");
    return 1;
  }
  return 0;
}
