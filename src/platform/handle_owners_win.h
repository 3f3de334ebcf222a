#pragma once
// Owners of kernel objects, find searches and registry keys, for the platform and every layer above.
#include <windows.h>

#include "base/owner.h"

namespace kelvaro {

// CreateFile answers INVALID_HANDLE_VALUE, most other calls a null handle: both mean none.
struct KernelHandleKind {
    using Handle = HANDLE;
    static Handle None() { return nullptr; }
    static bool IsNone(Handle handle) { return !handle || handle == INVALID_HANDLE_VALUE; }
    static void Close(Handle handle) { CloseHandle(handle); }
};
using HandleOwner = Owner<KernelHandleKind>;

struct FindHandleKind {
    using Handle = HANDLE;
    static Handle None() { return INVALID_HANDLE_VALUE; }
    static bool IsNone(Handle handle) { return !handle || handle == INVALID_HANDLE_VALUE; }
    static void Close(Handle handle) { FindClose(handle); }
};
using FindOwner = Owner<FindHandleKind>;

struct RegistryKeyKind {
    using Handle = HKEY;
    static Handle None() { return nullptr; }
    static bool IsNone(Handle key) { return !key; }
    static void Close(Handle key) { RegCloseKey(key); }
};
using RegistryKeyOwner = Owner<RegistryKeyKind>;

}  // namespace kelvaro
