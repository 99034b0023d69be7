// The stack guard's test program: "overrun" writes 64 bytes into a 16-byte buffer on its
// stack; "guard" ends with the low 32 bits of its stack guard as its exit code.
#include <cstdint>
#include <cwchar>

extern "C" uintptr_t __stack_chk_guard;

__attribute__((noinline)) static int Overrun(size_t nBytes)
{
    char buffer[16];
    volatile char* pTo = buffer;  // byte by byte: no checked copy sees it coming
    for (size_t i = 0; i < nBytes; ++i)
        pTo[i] = 'x';
    return buffer[1];
}

int wmain(int argc, wchar_t** argv)
{
    if (argc > 1 && std::wcscmp(argv[1], L"guard") == 0)
        return static_cast<int>(static_cast<uint32_t>(__stack_chk_guard));
    return Overrun(64);
}
