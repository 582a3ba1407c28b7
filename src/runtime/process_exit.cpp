// Ending the process, or handing the exit to a harness's hook.
#include "runtime/process_exit.h"

#include <atomic>
#include <cstdlib>

namespace {

std::atomic<RukExitHook> exitHook{nullptr};

}  // namespace

void rukExitProcess(int status) {
  if (RukExitHook hook = exitHook.load(std::memory_order_acquire)) hook(status);
  std::exit(status);
}

void rukSetExitHook(RukExitHook hook) { exitHook.store(hook, std::memory_order_release); }
