// The window handle block on Windows: a 4-byte paging-file mapping, named per
// session ("Local\TestHook"), made with CreateFileMappingA or reused when
// another instance of the program made it already.
#include <windows.h>

#include <cstring>

#include "capture/WindowIdBlock.h"
#include "capture/windows/WideText.h"
#include "hookmod/HookMessages.h"
#include "hookmod/windows/HookMapping.h"

namespace capture {

WindowIdBlock::~WindowIdBlock() { Close(); }

void WindowIdBlock::Close() {
    if (mapping_ != nullptr) CloseHandle(mapping_);
    mapping_ = nullptr;
}

WindowIdBlock::Result WindowIdBlock::Fail(Result result, std::string detail) {
    detail_ = std::move(detail);
    return result;
}

WindowIdBlock::Result WindowIdBlock::Publish(std::string_view given, std::uint32_t windowId) {
    Close();
    detail_.clear();
    const std::string name = given.empty() ? hookmsg::windows::kHookMappingName : std::string(given);
    HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                        hookmsg::kHookWindowBlockSize, name.c_str());
    if (mapping == nullptr) return Fail(Result::CreateFailed, SystemErrorText(name, GetLastError()));
    mapping_ = mapping;

    void* view = MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, hookmsg::kHookWindowBlockSize);
    if (view == nullptr) return Fail(Result::WriteFailed, SystemErrorText(name, GetLastError()));
    std::memcpy(view, &windowId, sizeof windowId);
    UnmapViewOfFile(view);
    return Result::Ok;
}

}  // namespace capture
