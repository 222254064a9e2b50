// The KERNEL32 part of the platform layer: module handles and file names,
// shared libraries, the thread's last error. A module handle is the handle
// the dynamic loader gives for the library (or for the executable).
#pragma once

#include <tessiv/platform/windef.h>

constexpr DWORD ERROR_SUCCESS = 0;
constexpr DWORD ERROR_FILE_NOT_FOUND = 2;
constexpr DWORD ERROR_INVALID_HANDLE = 6;
constexpr DWORD ERROR_NOT_ENOUGH_MEMORY = 8;
constexpr DWORD ERROR_INVALID_PARAMETER = 87;
constexpr DWORD ERROR_INSUFFICIENT_BUFFER = 122;
constexpr DWORD ERROR_MOD_NOT_FOUND = 126;
constexpr DWORD ERROR_PROC_NOT_FOUND = 127;
constexpr DWORD ERROR_BUSY = 170;
constexpr DWORD ERROR_INVALID_WINDOW_HANDLE = 1400;
constexpr DWORD ERROR_CLASS_ALREADY_EXISTS = 1410;
constexpr DWORD ERROR_CANNOT_FIND_WND_CLASS = 1407;
constexpr DWORD ERROR_INVALID_PIXEL_FORMAT = 2000;
constexpr DWORD ERROR_DC_NOT_FOUND = 1425;

DWORD GetLastError();
void SetLastError(DWORD error);

// The executable (null module) is read from /proc/self/exe. Copies at most
// size - 1 characters and a terminator; a truncated name returns size and
// sets ERROR_INSUFFICIENT_BUFFER.
DWORD GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size);
// Null name: the executable. Otherwise a library already loaded in the process.
HMODULE GetModuleHandleA(LPCSTR name);
HMODULE LoadLibraryA(LPCSTR file_name);
BOOL FreeLibrary(HMODULE module);
void *GetProcAddress(HMODULE module, LPCSTR name);
// The module whose code or data holds address (the platform's counterpart of
// the module handle a library receives at load time).
HMODULE TessivModuleFromAddress(void const *address);

// Resources of a resource library (a shared library exporting a resource
// table; a null module means the executable). Names and types are numbers
// made with MAKEINTRESOURCE; a module without a valid table, or a number it
// does not hold, gives null. A damaged table is also reported as a
// diagnostic line; a missing table or number only by the loading functions
// (LoadCursorA, LoadMenuA, ...), since FindResourceA is how chains of
// modules are searched. The data stays valid while the module is loaded;
// FreeResource does nothing.
HRSRC FindResourceA(HMODULE module, LPCSTR name, LPCSTR type);
HGLOBAL LoadResource(HMODULE module, HRSRC resource);
LPVOID LockResource(HGLOBAL data);
DWORD SizeofResource(HMODULE module, HRSRC resource);
BOOL FreeResource(HGLOBAL data);
// Whether module itself exports a resource table whose header and entries
// are sound (tables of the libraries it depends on do not count).
BOOL TessivIsResourceLibrary(HMODULE module);
#define FindResource FindResourceA
#define GetModuleFileName GetModuleFileNameA
#define GetModuleHandle GetModuleHandleA
#define LoadLibrary LoadLibraryA
