#include "hookmod/windows/HookTarget.h"

#include <cstdint>
#include <cstring>

#include "hookmod/HookMessages.h"
#include "hookmod/windows/HookMapping.h"

namespace hookmod::windows {

HWND ReadTargetWindow() {
    HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, hookmsg::windows::kHookMappingName);
    if (mapping == nullptr) return nullptr;
    std::uint32_t handle = 0;
    if (void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, hookmsg::kHookWindowBlockSize)) {
        std::memcpy(&handle, view, sizeof handle);
        UnmapViewOfFile(view);
    }
    CloseHandle(mapping);
    // Window handles keep their value in 32 bits; sign-extended back.
    return reinterpret_cast<HWND>(static_cast<std::intptr_t>(static_cast<std::int32_t>(handle)));
}

}  // namespace hookmod::windows
