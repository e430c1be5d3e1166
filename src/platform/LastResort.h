// What the engine does when it cannot go on at all: memory is exhausted, or the standard
// library met a broken invariant (the engine stub is built without exceptions, so nothing can
// be caught). The run's clean-up still runs: the stub's runtime calls RunLastResort, which hands
// over to the clean-up the application registered.
#pragma once

namespace vesk {

// Runs the clean-up and ends the process; it must not return.
using LastResortHandler = void (*)(void* context);

// Registers the handler (one per process: the application's). Null unregisters it.
void SetLastResort(LastResortHandler handler, void* context);

// Runs the registered handler, once per process; when none is registered, when the handler
// returns, and for any later caller (the clean-up failing in turn), ends the process with
// `exitCode` at once.
[[noreturn]] void RunLastResort(int exitCode);

}  // namespace vesk
