// Finding stubs by their exported names and calling them with an operand
// stack below 4 GiB.
#include <dlfcn.h>
#include <sys/mman.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <string>

#include "host/host_kit.h"
#include "platform/low_memory.h"

namespace kelhost {
namespace {

// More than any native takes; the stack is one per thread.
constexpr std::size_t kOperandStackSlots = 64;

struct StubTable {
  std::mutex lock;
  void* library = nullptr;  // null: the running process
  std::string libraryPath;
  std::map<std::string, StubFunction, std::less<>> resolved;
  StubRouter router = nullptr;
};

StubTable& table() {
  static StubTable* instance = new StubTable();
  return *instance;
}

void* processHandle() {
  static void* self = dlopen(nullptr, RTLD_NOW);
  return self;
}

thread_local StubResult lastResult{};

// Mapped apart from the Java heap, so that rewinding the heap past a thread's
// first call never hands the stack's words out again as objects.
JSlot* operandStack() {
  thread_local JSlot* stack = [] {
    void* memory = kelplatform::mapBelow4GiB(kOperandStackSlots * sizeof(JSlot), PROT_READ | PROT_WRITE);
    if (memory == nullptr) {
      std::fprintf(stderr, "kelhost: no room below 4 GiB for an operand stack\n");
      std::exit(1);
    }
    return static_cast<JSlot*>(memory);
  }();
  return stack;
}

}  // namespace

void useStubLibrary(const char* path) {
  StubTable& t = table();
  std::lock_guard guard(t.lock);
  void* library = nullptr;
  if (path != nullptr) {
    library = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
      std::fprintf(stderr, "kelhost: cannot load %s: %s\n", path, dlerror());
      std::fflush(stderr);
      std::abort();
    }
  }
  t.library = library;  // an earlier library stays loaded: natives may still hold its records
  t.libraryPath = path != nullptr ? path : "";
  t.resolved.clear();
}

StubFunction lookupStub(const char* name) {
  StubTable& t = table();
  std::lock_guard guard(t.lock);
  if (t.router != nullptr) {
    if (StubFunction routed = t.router(name)) return routed;
  }
  if (auto found = t.resolved.find(name); found != t.resolved.end()) return found->second;
  void* symbol = dlsym(t.library != nullptr ? t.library : processHandle(), name);
  auto stub = reinterpret_cast<StubFunction>(symbol);
  if (stub != nullptr) t.resolved.emplace(name, stub);
  return stub;
}

void routeStubs(StubRouter router) {
  StubTable& t = table();
  std::lock_guard guard(t.lock);
  t.router = router;
}

StubFunction findStub(const char* name) {
  StubFunction stub = lookupStub(name);
  if (stub == nullptr) {
    std::string where;
    {
      std::lock_guard guard(table().lock);
      where = table().libraryPath.empty() ? "the running process" : table().libraryPath;
    }
    std::fprintf(stderr, "kelhost: no stub named %s in %s\n", name, where.c_str());
    std::fflush(stderr);
    std::abort();
  }
  return stub;
}

StubResult callStub(StubFunction stub, std::initializer_list<JArg> args) {
  if (args.size() > kOperandStackSlots) {
    std::fprintf(stderr, "kelhost: %zu argument words are more than the operand stack holds\n", args.size());
    std::abort();
  }
  JSlot* slots = operandStack();
  std::size_t i = 0;
  for (const JArg& arg : args) slots[i++] = arg.word;
  for (; i < kOperandStackSlots; ++i) slots[i] = 0;
  JSlot* returned = stub(slots, nullptr);
  lastResult = StubResult{slots[0], returned - slots};
  return lastResult;
}

StubResult callStub(const char* name, std::initializer_list<JArg> args) { return callStub(findStub(name), args); }

const StubResult& lastStubResult() { return lastResult; }

}  // namespace kelhost
