// The three start-up messages of the hook library link (UTF-8), shown in an
// error box when loading the hook library fails.
#pragma once

#include <string_view>

namespace capture {

// The hook library was not found or could not be loaded.
inline constexpr std::string_view kHookLibraryNotFoundText = "未发现键盘钩子DLL";
// The hook library lacks HookOn or HookOff.
inline constexpr std::string_view kHookFunctionsMissingText = "在给定的 DLL中未发现所需的函数";
// The shared block for the window id could not be created.
inline constexpr std::string_view kHookBlockFailedText = "创建内存映射文件时出错";

}  // namespace capture
