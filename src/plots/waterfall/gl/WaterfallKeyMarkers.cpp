#include "plots/waterfall/gl/WaterfallKeyMarkers.h"

#include "platform/keyboard/gl/VirtualKeyCodes.h"

namespace nupo {

namespace {

// Characters of key codes 0..50 without and with Shift; 0 where the code has none.
constexpr char plain[51] = {'a',  's', 'd', 'f',  'h', 'g', 'z', 'x', 'c', 'v', 0,   'b', 'q',
                            'w',  'e', 'r', 'y',  't', '1', '2', '3', '4', '6', '5', '=', '9',
                            '7',  '-', '8', '0',  ']', 'o', 'u', '[', 'i', 'p', 10,  'l', 'j',
                            '\'', 'k', ';', '\\', ',', '/', 'n', 'm', '.', 0,   ' ', 0};
constexpr char shifted[51] = {'A', 'S', 'D', 'F', 'H', 'G', 'Z', 'X', 'C', 'V', 0,   'B', 'Q',
                              'W', 'E', 'R', 'Y', 'T', '!', '@', '#', '$', '^', '%', '+', '(',
                              '&', '_', '*', ')', '}', 'O', 'U', '{', 'I', 'P', 0,   'L', 'J',
                              '"', 'K', ':', '|', '<', '?', 'N', 'M', '>', 0,   ' ', 0};

int keypad(int code)
{
    switch (code) {
        case 67:
            return '*';
        case 69:
            return '+';
        case 75:
            return '/';
        case 78:
            return '-';
        case 81:
            return '=';
        case 91:
            return '8';
        case 92:
            return '9';
        default:
            return code >= 82 && code <= 89 ? '0' + (code - 82) : 0;
    }
}

}  // namespace

KeyMarkerModifier keyMarkerModifier(unsigned modifierFlags)
{
    int code = 0;
    unsigned mask = 0;
    if (modifierFlags & ModifierFlag::Command) {
        code = 2;
        mask = ModifierFlag::Command;
    }
    if (modifierFlags & ModifierFlag::Control) {
        code = 3;
        mask = ModifierFlag::Control;
    }
    if (modifierFlags & ModifierFlag::Option) {
        code = 4;
        mask = ModifierFlag::Option;
    }
    if (modifierFlags & ModifierFlag::Shift)
        return {1000, ModifierFlag::Shift};
    return {code * 1000, mask};
}

int keyMarker(unsigned short keyCode, unsigned modifierFlags)
{
    return keyMarkerModifier(modifierFlags).code + keyCode;
}

int convertIntToASCII(int marker)
{
    if (marker >= 0 && marker <= 50 && plain[marker] != 0)
        return plain[marker];
    if (marker >= 1000 && marker <= 1050 && shifted[marker - 1000] != 0)
        return shifted[marker - 1000];
    if (const int c = keypad(marker))
        return c;
    return marker;
}

}  // namespace nupo
