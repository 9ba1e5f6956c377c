// What the keyboard hook library sends to the program's window, and where it
// finds that window. Plain C++ with no toolkit or X headers, so that the
// window side, the capture module and the hook library share one definition.
//
// Window id: the program creates the POSIX shared memory block of this user
// and display (PosixHookBlockName.h; at least 4 bytes, owned by the user,
// mode 0600) and stores its X11 window id at the start as a native-endian
// 32-bit number. The library reads it again for every key event; an id of 0,
// a missing block, one shorter than 4 bytes or one that another user owns
// means "no window" and the event is dropped.
//
// Messages: each key event is one X11 ClientMessage event sent to that
// window with
//   type   = the atom interned for kHookAtomName,
//   format = 32,
//   data32 = { message, wParam, lParam, 0, 0 }.
// Sent events arrive with bit 0x80 set in response_type: compare
// (response_type & 0x7f) with XCB_CLIENT_MESSAGE.
//
//   message            key                          wParam
//   kHookKeyMessage    any key but the three below  kKeyDown / kKeyUp
//   kHookLeftWindows   left Windows (Super_L)       kKeyDown / kKeyUp
//   kHookRightWindows  right Windows (Super_R)      kKeyDown / kKeyUp
//   kHookApplication   Application / Menu key       kKeyDown / kKeyUp
//
// lParam is the key data of a PC keyboard message for all four:
//   bits 0..15   repeat count, always 1
//   bits 16..23  set-1 scan code
//   bit  24      extended-key flag (the E0 prefix)
//   bit  30      previous key state: set for a press of a key that was
//                already down (auto-repeat) and for every release
//   bit  31      transition state: set on release
#pragma once

#include <cstdint>

namespace hookmsg {

inline constexpr char kHookAtomName[] = "_VARNOK_HOOK_KEY";
// The block's name before the user and display are added.
inline constexpr char kHookWindowBlockBase[] = "TestHook";
inline constexpr unsigned kHookWindowBlockSize = 4;

inline constexpr std::uint32_t kHookKeyMessage = 0x1400;
inline constexpr std::uint32_t kHookLeftWindows = 0x2400;
inline constexpr std::uint32_t kHookRightWindows = 0x3400;
inline constexpr std::uint32_t kHookApplication = 0x3500;

// One of the four messages the hook library sends.
constexpr bool IsHookMessage(std::uint32_t message) {
    return message == kHookKeyMessage || message == kHookLeftWindows ||
           message == kHookRightWindows || message == kHookApplication;
}

inline constexpr std::uint32_t kKeyDown = 256;
inline constexpr std::uint32_t kKeyUp = 257;

inline constexpr std::uint32_t kRepeatCountMask = 0xFFFFu;
inline constexpr unsigned kScanCodeShift = 16;
inline constexpr std::uint32_t kScanCodeMask = 0xFFu << kScanCodeShift;
inline constexpr std::uint32_t kExtendedBit = 1u << 24;
inline constexpr std::uint32_t kPreviousStateBit = 1u << 30;
inline constexpr std::uint32_t kReleaseBit = 1u << 31;

// Positions in the ClientMessage's data32 array.
inline constexpr int kDataMessage = 0;
inline constexpr int kDataWParam = 1;
inline constexpr int kDataLParam = 2;

}  // namespace hookmsg
