// Window messages and key codes forwarded by the engine.
//
// The values are the Win32 ones, so handlers written against that API read the same. The engine
// translates the view's events into (message, wParam, lParam) and dispatches them with
// KivEngineAPI::DispatchMessage; the keyboard state at the time of the event (Ctrl, Shift, Alt,
// Caps Lock) is readable meanwhile through KivEngineAPI::IsKeyDown.
//
//   WM_SIZE         lParam = width | height << 16 (client size in pixels)
//   WM_KEYDOWN/UP   wParam = virtual-key code ('0'..'9', 'A'..'Z' or a VK_ value)
//   WM_MOUSEMOVE, WM_xBUTTONDOWN/UP
//                   wParam = MK_ button and modifier flags, lParam = x | y << 16 (client pixels,
//                   signed 16-bit each)
//   WM_MOUSEWHEEL   wParam = MK_ flags | delta << 16 (signed, 120 per notch), lParam as above
//   WM_DROPFILES    wParam = KivDropFiles* (below); the receiver calls KivDragFinish
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

constexpr uint32_t WM_SIZE = 0x0005;
constexpr uint32_t WM_KEYDOWN = 0x0100;
constexpr uint32_t WM_KEYUP = 0x0101;
constexpr uint32_t WM_CHAR = 0x0102;
constexpr uint32_t WM_MOUSEMOVE = 0x0200;
constexpr uint32_t WM_LBUTTONDOWN = 0x0201;
constexpr uint32_t WM_LBUTTONUP = 0x0202;
constexpr uint32_t WM_RBUTTONDOWN = 0x0204;
constexpr uint32_t WM_RBUTTONUP = 0x0205;
constexpr uint32_t WM_MBUTTONDOWN = 0x0207;
constexpr uint32_t WM_MBUTTONUP = 0x0208;
constexpr uint32_t WM_MOUSEWHEEL = 0x020A;
constexpr uint32_t WM_DROPFILES = 0x0233;

constexpr uint32_t MK_LBUTTON = 0x0001;
constexpr uint32_t MK_RBUTTON = 0x0002;
constexpr uint32_t MK_SHIFT = 0x0004;
constexpr uint32_t MK_CONTROL = 0x0008;
constexpr uint32_t MK_MBUTTON = 0x0010;
constexpr int WHEEL_DELTA = 120;

constexpr int VK_BACK = 0x08;
constexpr int VK_TAB = 0x09;
constexpr int VK_RETURN = 0x0D;
constexpr int VK_SHIFT = 0x10;
constexpr int VK_CONTROL = 0x11;
constexpr int VK_MENU = 0x12;     // Alt
constexpr int VK_CAPITAL = 0x14;  // Caps Lock (its toggle state)
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_SPACE = 0x20;
constexpr int VK_PRIOR = 0x21;
constexpr int VK_NEXT = 0x22;
constexpr int VK_END = 0x23;
constexpr int VK_HOME = 0x24;
constexpr int VK_LEFT = 0x25;
constexpr int VK_UP = 0x26;
constexpr int VK_RIGHT = 0x27;
constexpr int VK_DOWN = 0x28;
constexpr int VK_INSERT = 0x2D;
constexpr int VK_DELETE = 0x2E;
constexpr int VK_F1 = 0x70;  // F2 .. F12 follow

// Keyboard state passed with a dispatched message.
constexpr uint32_t kKivKeyShift = 0x1;
constexpr uint32_t kKivKeyControl = 0x2;
constexpr uint32_t kKivKeyAlt = 0x4;
constexpr uint32_t kKivKeyCapsLock = 0x8;

inline uint32_t KivLowWord(intptr_t v) { return static_cast<uint32_t>(v) & 0xFFFFu; }
inline uint32_t KivHighWord(intptr_t v) { return (static_cast<uint32_t>(v) >> 16) & 0xFFFFu; }
inline int KivSignedLow(intptr_t v) { return static_cast<int16_t>(KivLowWord(v)); }
inline int KivSignedHigh(intptr_t v) { return static_cast<int16_t>(KivHighWord(v)); }
inline intptr_t KivMakeLParam(int low, int high) {
    return static_cast<intptr_t>((static_cast<uint32_t>(low) & 0xFFFFu) |
                                 ((static_cast<uint32_t>(high) & 0xFFFFu) << 16));
}

// The files of one drop: local 8-bit paths, owned by the sender for the duration of the message.
struct KivDropFiles {
    const char* const* paths = nullptr;
    uint32_t count = 0;
    bool finished = false;
};

// Copies path `index` into buffer (at most size - 1 bytes and a NUL) and gives its full length;
// 0 and an empty buffer when the index is out of range.
inline size_t KivDragQueryFile(const KivDropFiles* drop, uint32_t index, char* buffer,
                               size_t size) {
    const char* path = drop && index < drop->count ? drop->paths[index] : nullptr;
    size_t length = path ? std::strlen(path) : 0;
    if (buffer && size > 0) {
        size_t n = length < size - 1 ? length : size - 1;
        if (n) std::memcpy(buffer, path, n);
        buffer[n] = '\0';
    }
    return length;
}

// Marks the drop as handled.
inline void KivDragFinish(KivDropFiles* drop) {
    if (drop) drop->finished = true;
}
