#pragma once
#include <cstdint>

namespace ostrivane {

// Virtual key codes as the editor's command interpreter reads them.
namespace editor_key {
inline constexpr std::uint16_t Tab = 9;
inline constexpr std::uint16_t Escape = 27;
inline constexpr std::uint16_t A = 65;  // letters run A = 65 … Z = 90
inline constexpr std::uint16_t Z = 90;
inline constexpr std::uint16_t F1 = 112;  // function keys run F1 = 112 … F11 = 122
inline constexpr std::uint16_t F11 = 122;
constexpr std::uint16_t letter(char c) {
    return static_cast<std::uint16_t>(c);
}
constexpr std::uint16_t function(int n) {
    return static_cast<std::uint16_t>(F1 + n - 1);
}
}  // namespace editor_key

// The modifiers held with a key.
struct ShiftState {
    bool shift = false;
    bool alt = false;
    bool ctrl = false;
};

}  // namespace ostrivane
