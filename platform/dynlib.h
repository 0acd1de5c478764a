// Dynamic libraries loaded by path: the stand-in for the Windows library loader. On POSIX a
// library may export the optional entry point DynLibEntryPointName, which plays the part of the
// DLL entry point: it is called with DynLibProcessAttach once the library is first loaded into the
// process (a result of 0 refuses the load, which then fails like a library that cannot be loaded),
// and with DynLibProcessDetach before the library's last reference is released.
#pragma once

#include <QString>

// The optional entry point's name and its reasons, the values of the Windows entry point.
inline constexpr char DynLibEntryPointName[] = "DllProcessEntry";
inline constexpr int DynLibProcessDetach = 0;
inline constexpr int DynLibProcessAttach = 1;

// An opaque module handle; null is no module.
using DynLibModule = void *;

// Loads the library at path (resolving all its symbols now) and runs its attach entry point the
// first time the process loads it. Null when the library cannot be loaded or refuses. Loading
// one file again gives the same module and counts one more reference.
DynLibModule DynLibLoad(const QString &path);

// The address of an exported symbol of module, or null when it has none (or module is null).
void *DynLibSymbol(DynLibModule module, const char *name);

// Releases one reference taken by DynLibLoad; the last one runs the detach entry point and
// unloads the library. Null is ignored.
void DynLibUnload(DynLibModule module);
