#include "views3d/spectrum/gl/SpectrumKeys.h"

#include "platform/keyboard/gl/VirtualKeyCodes.h"

namespace nupo {

void applyKey(SceneCamera& camera, int& rotateX, unsigned short keyCode, bool shift)
{
    if (shift) {
        if (keyCode == VirtualKey::DownArrow)
            camera.sdepth += 1.0f;
        else if (keyCode == VirtualKey::UpArrow)
            camera.sdepth -= 1.0f;
        return;
    }
    switch (keyCode) {
        case VirtualKey::Period:
            camera.sdepth += 1.0f;
            break;
        case VirtualKey::Comma:
            camera.sdepth -= 1.0f;
            break;
        case VirtualKey::K:
            rotateX = 1;
            break;
        case VirtualKey::J:
            rotateX = 0;
            break;
        case VirtualKey::RightArrow:
            camera.Xposition += 1.0f;
            break;
        case VirtualKey::LeftArrow:
            camera.Xposition -= 1.0f;
            break;
        case VirtualKey::UpArrow:
            camera.Yposition += 1.0f;
            break;
        case VirtualKey::DownArrow:
            camera.Yposition -= 1.0f;
            break;
        default:
            break;
    }
}

unsigned decisiveModifier(unsigned flags)
{
    unsigned mask = 0;
    for (unsigned flag :
         {ModifierFlag::Command, ModifierFlag::Control, ModifierFlag::Option, ModifierFlag::Shift})
        if (flags & flag)
            mask = flag;
    return mask;
}

}  // namespace nupo
