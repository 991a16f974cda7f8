#pragma once

namespace nupo {

// Classic virtual key codes: the physical key positions of the ANSI keyboard layout, as the views
// receive them in their key events.
namespace VirtualKey {
inline constexpr unsigned short A = 0x00;
inline constexpr unsigned short S = 0x01;
inline constexpr unsigned short D = 0x02;
inline constexpr unsigned short F = 0x03;
inline constexpr unsigned short H = 0x04;
inline constexpr unsigned short G = 0x05;
inline constexpr unsigned short Z = 0x06;
inline constexpr unsigned short X = 0x07;
inline constexpr unsigned short C = 0x08;
inline constexpr unsigned short V = 0x09;
inline constexpr unsigned short B = 0x0B;
inline constexpr unsigned short Q = 0x0C;
inline constexpr unsigned short W = 0x0D;
inline constexpr unsigned short E = 0x0E;
inline constexpr unsigned short R = 0x0F;
inline constexpr unsigned short Y = 0x10;
inline constexpr unsigned short T = 0x11;
inline constexpr unsigned short Digit1 = 0x12;
inline constexpr unsigned short Digit2 = 0x13;
inline constexpr unsigned short Digit3 = 0x14;
inline constexpr unsigned short Digit4 = 0x15;
inline constexpr unsigned short Digit6 = 0x16;
inline constexpr unsigned short Digit5 = 0x17;
inline constexpr unsigned short Equal = 0x18;
inline constexpr unsigned short Digit9 = 0x19;
inline constexpr unsigned short Digit7 = 0x1A;
inline constexpr unsigned short Minus = 0x1B;
inline constexpr unsigned short Digit8 = 0x1C;
inline constexpr unsigned short Digit0 = 0x1D;
inline constexpr unsigned short RightBracket = 0x1E;
inline constexpr unsigned short O = 0x1F;
inline constexpr unsigned short U = 0x20;
inline constexpr unsigned short LeftBracket = 0x21;
inline constexpr unsigned short I = 0x22;
inline constexpr unsigned short P = 0x23;
inline constexpr unsigned short Return = 0x24;
inline constexpr unsigned short L = 0x25;
inline constexpr unsigned short J = 0x26;
inline constexpr unsigned short Quote = 0x27;
inline constexpr unsigned short K = 0x28;
inline constexpr unsigned short Semicolon = 0x29;
inline constexpr unsigned short Backslash = 0x2A;
inline constexpr unsigned short Comma = 0x2B;
inline constexpr unsigned short Slash = 0x2C;
inline constexpr unsigned short N = 0x2D;
inline constexpr unsigned short M = 0x2E;
inline constexpr unsigned short Period = 0x2F;
inline constexpr unsigned short Tab = 0x30;
inline constexpr unsigned short Space = 0x31;
inline constexpr unsigned short Grave = 0x32;
inline constexpr unsigned short Delete = 0x33;
inline constexpr unsigned short Escape = 0x35;
inline constexpr unsigned short Command = 0x37;
inline constexpr unsigned short Shift = 0x38;
inline constexpr unsigned short CapsLock = 0x39;
inline constexpr unsigned short Option = 0x3A;
inline constexpr unsigned short Control = 0x3B;
inline constexpr unsigned short RightOption = 0x3D;
inline constexpr unsigned short F17 = 0x40;
inline constexpr unsigned short KeypadDecimal = 0x41;
inline constexpr unsigned short KeypadMultiply = 0x43;
inline constexpr unsigned short KeypadPlus = 0x45;
inline constexpr unsigned short KeypadClear = 0x47;
inline constexpr unsigned short VolumeUp = 0x48;
inline constexpr unsigned short VolumeDown = 0x49;
inline constexpr unsigned short Mute = 0x4A;
inline constexpr unsigned short KeypadDivide = 0x4B;
inline constexpr unsigned short KeypadEnter = 0x4C;
inline constexpr unsigned short KeypadMinus = 0x4E;
inline constexpr unsigned short F18 = 0x4F;
inline constexpr unsigned short F19 = 0x50;
inline constexpr unsigned short KeypadEquals = 0x51;
inline constexpr unsigned short Keypad0 = 0x52;
inline constexpr unsigned short Keypad1 = 0x53;
inline constexpr unsigned short Keypad2 = 0x54;
inline constexpr unsigned short Keypad3 = 0x55;
inline constexpr unsigned short Keypad4 = 0x56;
inline constexpr unsigned short Keypad5 = 0x57;
inline constexpr unsigned short Keypad6 = 0x58;
inline constexpr unsigned short Keypad7 = 0x59;
inline constexpr unsigned short F20 = 0x5A;
inline constexpr unsigned short Keypad8 = 0x5B;
inline constexpr unsigned short Keypad9 = 0x5C;
inline constexpr unsigned short F5 = 0x60;
inline constexpr unsigned short F6 = 0x61;
inline constexpr unsigned short F7 = 0x62;
inline constexpr unsigned short F3 = 0x63;
inline constexpr unsigned short F8 = 0x64;
inline constexpr unsigned short F9 = 0x65;
inline constexpr unsigned short F11 = 0x67;
inline constexpr unsigned short F13 = 0x69;
inline constexpr unsigned short F16 = 0x6A;
inline constexpr unsigned short F14 = 0x6B;
inline constexpr unsigned short F10 = 0x6D;
inline constexpr unsigned short F12 = 0x6F;
inline constexpr unsigned short F15 = 0x71;
inline constexpr unsigned short Help = 0x72;
inline constexpr unsigned short Home = 0x73;
inline constexpr unsigned short PageUp = 0x74;
inline constexpr unsigned short ForwardDelete = 0x75;
inline constexpr unsigned short F4 = 0x76;
inline constexpr unsigned short End = 0x77;
inline constexpr unsigned short F2 = 0x78;
inline constexpr unsigned short PageDown = 0x79;
inline constexpr unsigned short F1 = 0x7A;
inline constexpr unsigned short LeftArrow = 0x7B;
inline constexpr unsigned short RightArrow = 0x7C;
inline constexpr unsigned short DownArrow = 0x7D;
inline constexpr unsigned short UpArrow = 0x7E;
}  // namespace VirtualKey

// Classic modifier flag bits of key and mouse events.
namespace ModifierFlag {
inline constexpr unsigned Shift = 1u << 17;
inline constexpr unsigned Control = 1u << 18;
inline constexpr unsigned Option = 1u << 19;
inline constexpr unsigned Command = 1u << 20;
}  // namespace ModifierFlag

}  // namespace nupo
