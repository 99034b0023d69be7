/* The stack protector's canary and failure handlers for every Windows binary, in place of
 * libssp's: libssp seeds the canary through a CryptoAPI provider, which loads and starts
 * a cryptographic provider library each time a DLL carrying it loads (about 3 ms under
 * Wine), and the language manager loads vnMUIDLL.dll for every text. The system's random
 * generator gives the seed without that. Linked into every binary by the top CMakeLists;
 * the checked string functions (__memcpy_chk and others) still come from libssp. */
#include <windows.h>
#include <ntsecapi.h>
#include <stdint.h>

#define STATUS_STACK_BUFFER_OVERRUN_CODE 0xC0000409u

uintptr_t __stack_chk_guard = (uintptr_t)0x2B992DDFA232ull;

/* Runs with the constructors, before DllMain and main; no protected frame encloses it. */
/* Not protected itself: its canary would change under it. */
static void __attribute__((constructor, no_stack_protector)) SeedStackGuard(void)
{
    uintptr_t seed = 0;
    if (RtlGenRandom(&seed, sizeof(seed)) && seed != 0)
        __stack_chk_guard = seed;
}

/* A smashed stack or an overflowing checked copy: end at once, as the system's own check does. */
__attribute__((noreturn)) void __stack_chk_fail(void)
{
    TerminateProcess(GetCurrentProcess(), STATUS_STACK_BUFFER_OVERRUN_CODE);
    __builtin_unreachable();
}

__attribute__((noreturn)) void __chk_fail(void)
{
    TerminateProcess(GetCurrentProcess(), STATUS_STACK_BUFFER_OVERRUN_CODE);
    __builtin_unreachable();
}
