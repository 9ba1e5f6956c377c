// Where Hookmod.dll finds the program's window on Windows: a 4-byte
// paging-file mapping named per session, which the program creates with
// CreateFileMappingA and into which it writes its window handle (the low 32
// bits; window handles fit in 32 bits and are sign-extended back). The
// library reads it again for every key event. The messages themselves are
// those of hookmod/HookMessages.h, posted to that window.
#pragma once

namespace hookmsg::windows {

inline constexpr char kHookMappingName[] = "Local\\TestHook";

}  // namespace hookmsg::windows
