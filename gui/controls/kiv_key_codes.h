#pragma once
#include <cstdint>

// The virtual key codes the standard controls react to (the window system's numbering).
namespace KivKeyCode {
inline constexpr uint32_t kBackspace = 8;
inline constexpr uint32_t kTab = 9;
inline constexpr uint32_t kEnter = 13;
inline constexpr uint32_t kEscape = 27;
inline constexpr uint32_t kSpace = 32;
inline constexpr uint32_t kPageUp = 33;
inline constexpr uint32_t kPageDown = 34;
inline constexpr uint32_t kEnd = 35;
inline constexpr uint32_t kHome = 36;
inline constexpr uint32_t kLeft = 37;
inline constexpr uint32_t kUp = 38;
inline constexpr uint32_t kRight = 39;
inline constexpr uint32_t kDown = 40;
inline constexpr uint32_t kDelete = 46;
}  // namespace KivKeyCode
