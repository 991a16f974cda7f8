#include "platform/keyboard/gl/KeyTranslator.h"
#include "platform/keyboard/gl/VirtualKeyCodes.h"

#include <gtest/gtest.h>
#include <QKeyEvent>

namespace nupo {
namespace {

unsigned short codeOf(int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    const std::optional<unsigned short> code = KeyTranslator::virtualKeyCode(qtKey, modifiers);
    EXPECT_TRUE(code.has_value()) << "Qt key 0x" << std::hex << qtKey;
    return code.value_or(0xFFFF);
}

TEST(KeyTranslator, MainBlockFollowsTheAnsiLayout)
{
    // Codes 0 to 47 by key, in code order (10 is not on the ANSI layout, 36 is Return).
    const char* order = "asdfhgzxcv?bqweryt123465=97-80]ou[ip?lj'k;\\,/nm.";
    for (int code = 0; order[code]; ++code) {
        const char c = order[code];
        if (c == '?')
            continue;
        const int qtKey = (c >= 'a' && c <= 'z') ? Qt::Key_A + (c - 'a') : c;
        EXPECT_EQ(codeOf(qtKey), code) << c;
    }
    EXPECT_EQ(codeOf(Qt::Key_P), 35);
    EXPECT_EQ(codeOf(Qt::Key_Return), 36);
    EXPECT_EQ(codeOf(Qt::Key_Tab), 48);
    EXPECT_EQ(codeOf(Qt::Key_Space), 49);
    EXPECT_EQ(codeOf(Qt::Key_QuoteLeft), 50);
    EXPECT_EQ(codeOf(Qt::Key_Backspace), 51);
    EXPECT_EQ(codeOf(Qt::Key_Escape), 53);
    EXPECT_EQ(codeOf(Qt::Key_Left), 123);
    EXPECT_EQ(codeOf(Qt::Key_Right), 124);
    EXPECT_EQ(codeOf(Qt::Key_Down), 125);
    EXPECT_EQ(codeOf(Qt::Key_Up), 126);
    EXPECT_EQ(codeOf(Qt::Key_Delete), VirtualKey::ForwardDelete);
}

TEST(KeyTranslator, ShiftedSymbolsKeepTheirKey)
{
    const char* plain = "1234567890-=[]\\;',./`";
    const char* shifted = "!@#$%^&*()_+{}|:\"<>?~";
    for (int i = 0; plain[i]; ++i)
        EXPECT_EQ(codeOf(shifted[i], Qt::ShiftModifier), codeOf(plain[i])) << shifted[i];
    EXPECT_EQ(codeOf(Qt::Key_Backtab, Qt::ShiftModifier), VirtualKey::Tab);
}

TEST(KeyTranslator, FunctionKeysAndKeypad)
{
    const unsigned short functionCodes[] = {122, 120, 99, 118, 96, 97, 98, 100, 101, 109, 103, 111};
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(codeOf(Qt::Key_F1 + i), functionCodes[i]) << "F" << i + 1;

    const unsigned short keypadDigits[] = {82, 83, 84, 85, 86, 87, 88, 89, 91, 92};
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(codeOf(Qt::Key_0 + i, Qt::KeypadModifier), keypadDigits[i]);
    EXPECT_EQ(codeOf(Qt::Key_Enter, Qt::KeypadModifier), VirtualKey::KeypadEnter);
    EXPECT_EQ(codeOf(Qt::Key_Plus, Qt::KeypadModifier), VirtualKey::KeypadPlus);
    EXPECT_EQ(codeOf(Qt::Key_Asterisk, Qt::KeypadModifier), VirtualKey::KeypadMultiply);
    EXPECT_EQ(codeOf(Qt::Key_Period, Qt::KeypadModifier), VirtualKey::KeypadDecimal);
    // Keypad arrows (Num Lock off) are the arrow keys.
    EXPECT_EQ(codeOf(Qt::Key_Left, Qt::KeypadModifier), VirtualKey::LeftArrow);
    // The same symbols off the keypad are main-block keys.
    EXPECT_EQ(codeOf(Qt::Key_Plus, Qt::ShiftModifier), VirtualKey::Equal);
    EXPECT_EQ(codeOf(Qt::Key_Asterisk, Qt::ShiftModifier), VirtualKey::Digit8);
}

TEST(KeyTranslator, ModifiersMapAsOnTheClassicPlatform)
{
    EXPECT_EQ(KeyTranslator::modifierFlags(Qt::NoModifier), 0u);
    EXPECT_EQ(KeyTranslator::modifierFlags(Qt::ShiftModifier), 1u << 17);
    EXPECT_EQ(KeyTranslator::modifierFlags(Qt::MetaModifier), 1u << 18);     // Control
    EXPECT_EQ(KeyTranslator::modifierFlags(Qt::AltModifier), 1u << 19);      // Option
    EXPECT_EQ(KeyTranslator::modifierFlags(Qt::ControlModifier), 1u << 20);  // Command
    EXPECT_EQ(KeyTranslator::modifierFlags(Qt::ShiftModifier | Qt::ControlModifier | Qt::KeypadModifier),
              ModifierFlag::Shift | ModifierFlag::Command);
    EXPECT_EQ(codeOf(Qt::Key_Control), VirtualKey::Command);
    EXPECT_EQ(codeOf(Qt::Key_Meta), VirtualKey::Control);
    EXPECT_EQ(codeOf(Qt::Key_Alt), VirtualKey::Option);
    EXPECT_TRUE(KeyTranslator::isModifierKey(Qt::Key_Shift));
    EXPECT_TRUE(KeyTranslator::isModifierKey(Qt::Key_Control));
    EXPECT_FALSE(KeyTranslator::isModifierKey(Qt::Key_A));
}

TEST(KeyTranslator, TranslatesWholeEventsAndRefusesUnknownKeys)
{
    const QKeyEvent press(QEvent::KeyPress, Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier,
                          QStringLiteral("D"), true);
    const std::optional<KeyEvent> event = KeyTranslator::translate(press);
    ASSERT_TRUE(event.has_value());
    EXPECT_EQ(event->keyCode, VirtualKey::D);
    EXPECT_EQ(event->modifierFlags, ModifierFlag::Command | ModifierFlag::Shift);
    EXPECT_EQ(event->characters, QStringLiteral("D"));
    EXPECT_TRUE(event->isRepeat);

    // Unknown keys get no code at all, never code 0 (which is "a").
    EXPECT_FALSE(KeyTranslator::virtualKeyCode(Qt::Key_unknown, Qt::NoModifier).has_value());
    EXPECT_FALSE(KeyTranslator::virtualKeyCode(Qt::Key_Eacute, Qt::NoModifier).has_value());
    EXPECT_FALSE(KeyTranslator::translate(QKeyEvent(QEvent::KeyPress, Qt::Key_LaunchMail, Qt::NoModifier)));
}

}  // namespace
}  // namespace nupo
