#pragma once

#include <Qt>

// Mouse buttons and modifier keys as the sheet's handlers count them:
// buttons 1 left, 2 right, 4 middle; shift mask 1 Shift, 2 Ctrl, 4 Alt.
namespace inputcodes {

inline int shift_mask(Qt::KeyboardModifiers modifiers)
{
    return ((modifiers & Qt::ShiftModifier) ? 1 : 0) | ((modifiers & Qt::ControlModifier) ? 2 : 0) |
           ((modifiers & Qt::AltModifier) ? 4 : 0);
}

inline int button_code(Qt::MouseButtons buttons)
{
    return ((buttons & Qt::LeftButton) ? 1 : 0) | ((buttons & Qt::RightButton) ? 2 : 0) |
           ((buttons & Qt::MiddleButton) ? 4 : 0);
}

}  // namespace inputcodes
