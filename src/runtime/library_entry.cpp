// Library entry. On load the library only turns off thread attach and detach
// notifications; every process-wide table is built on first use.
#include "platform/win32.h"

namespace {

__attribute__((constructor)) void onProcessAttach() { DisableThreadLibraryCalls(0); }

}  // namespace
