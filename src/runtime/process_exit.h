// The one way the library ends the process: the fatal report, the memory
// wrappers and an exhausted reference table all leave through here.
//
// A harness that runs many programs in one process (the fuzz target) may
// install a hook that is called instead of std::exit; the hook must not
// return (it unwinds back into the harness). Without a hook, which is every
// other build and every host, the process exits with the status.
#pragma once

using RukExitHook = void (*)(int status);

[[noreturn]] void rukExitProcess(int status);

// Installs (or with null removes) the hook. Not exported from the library.
void rukSetExitHook(RukExitHook hook);
