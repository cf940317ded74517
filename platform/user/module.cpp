#include <windows.h>

namespace {
HINSTANCE__ programModule {};
}

HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName)
{
    // The program is the only module there is.
    return moduleName ? nullptr : &programModule;
}
