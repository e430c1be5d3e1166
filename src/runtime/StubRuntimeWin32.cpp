// The pieces of the C++ runtime that the engine's programs provide themselves, so that they link
// without the exception machinery: their code is built without exceptions and unwind tables, and
// these definitions keep the library's throwing versions (and with them the unwinder, the type
// information of the exception classes and the demangling terminate handler) out of the link.
// The stub and the uninstaller link this file (a failure ends either with the same code);
// the tests keep the library's own.
#include <windows.h>

#include <cstdlib>
#include <new>
#include <string>

#include "platform/LastResort.h"
#include "runtime/RuntimeFailure.h"

#if defined(__GLIBCXX__)

namespace {

// Memory held back from the start, given up when an allocation fails so that the clean-up has
// room to run.
constexpr std::size_t kReserveSize = 256 * 1024;
void* gReserve = std::malloc(kReserveSize);

// Memory is exhausted or the library met a broken invariant: nothing can be caught, so the
// run ends here, after its clean-up.
[[noreturn]] void CannotGoOn() {
    std::free(gReserve);
    gReserve = nullptr;
    vesk::RunLastResort(vesk::kRuntimeFailureExitCode);
}

void* Allocate(std::size_t size) {
    void* block = std::malloc(size ? size : 1);
    if (!block) CannotGoOn();
    return block;
}

}  // namespace

void* operator new(std::size_t size) {
    return Allocate(size);
}
void* operator new[](std::size_t size) {
    return Allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return std::malloc(size ? size : 1);
}
void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete[](void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept {
    std::free(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept {
    std::free(block);
}

// The library's hooks for the exceptions it would throw (bits/functexcept.h).
namespace std {
void __throw_bad_exception() {
    CannotGoOn();
}
void __throw_bad_alloc() {
    CannotGoOn();
}
void __throw_bad_array_new_length() {
    CannotGoOn();
}
void __throw_bad_cast() {
    CannotGoOn();
}
void __throw_bad_typeid() {
    CannotGoOn();
}
void __throw_logic_error(const char*) {
    CannotGoOn();
}
void __throw_domain_error(const char*) {
    CannotGoOn();
}
void __throw_invalid_argument(const char*) {
    CannotGoOn();
}
void __throw_length_error(const char*) {
    CannotGoOn();
}
void __throw_out_of_range(const char*) {
    CannotGoOn();
}
void __throw_out_of_range_fmt(const char*, ...) {
    CannotGoOn();
}
void __throw_runtime_error(const char*) {
    CannotGoOn();
}
void __throw_range_error(const char*) {
    CannotGoOn();
}
void __throw_overflow_error(const char*) {
    CannotGoOn();
}
void __throw_underflow_error(const char*) {
    CannotGoOn();
}
void __throw_bad_function_call() {
    CannotGoOn();
}
}  // namespace std

// The library's std::string is compiled with exceptions; the stub's own instance is not.
template class std::basic_string<char>;

#endif  // __GLIBCXX__
