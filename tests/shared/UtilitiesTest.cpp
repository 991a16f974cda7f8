#include <gtest/gtest.h>

#include "shared/CoreState.h"
#include "shared/Utilities.h"

#include <cstring>
#include <string>

using namespace nupo;

TEST(NSStringToC, CopiesWholePathsAndRefusesLongerOnes)
{
    char small[8];
    EXPECT_TRUE(NSStringToC(QStringLiteral("/a/b.c"), small, sizeof small));
    EXPECT_STREQ(small, "/a/b.c");
    EXPECT_TRUE(NSStringToC(QStringLiteral("1234567"), small, sizeof small));  // exactly fills with the zero
    EXPECT_STREQ(small, "1234567");
    EXPECT_FALSE(NSStringToC(QStringLiteral("12345678"), small, sizeof small));
    EXPECT_STREQ(small, "");  // refused, not truncated into another path
    char eleven[11];          // a non-ASCII path counts in bytes: 10 and the zero
    EXPECT_TRUE(NSStringToC(QString::fromUtf8("/tmp/\xc3\xa9t\xc3\xa9"), eleven, sizeof eleven));
    EXPECT_STREQ(eleven, "/tmp/\xc3\xa9t\xc3\xa9");
    EXPECT_FALSE(NSStringToC(QString::fromUtf8("/tmp/\xc3\xa9t\xc3\xa9"), small, sizeof small));

    const QString longest(outCHARSize - 1, QLatin1Char('x'));
    EXPECT_TRUE(NSStringToC(longest));
    EXPECT_EQ(std::strlen(outCHAR), std::size_t(outCHARSize - 1));
    EXPECT_FALSE(NSStringToC(longest + "y"));
    EXPECT_EQ(outCHAR[0], 0);
}

TEST(NativePaths, EveryByteOfANameIsKeptAndShownReadably)
{
    char buffer[16];
    EXPECT_TRUE(nativePathToC(QByteArray("/t/caf\xe9"), buffer, sizeof buffer));
    EXPECT_STREQ(buffer, "/t/caf\xe9");  // not turned into U+FFFD
    EXPECT_FALSE(nativePathToC(QByteArray("/t/a\0b", 6), buffer, sizeof buffer));
    EXPECT_STREQ(buffer, "");

    EXPECT_EQ(displayPath("/tmp/\xc3\xa9t\xc3\xa9.dat").toStdString(), "/tmp/\xc3\xa9t\xc3\xa9.dat");
    EXPECT_EQ(displayPath("caf\xe9.dat").toStdString(), "caf\\xe9.dat");
    EXPECT_EQ(displayPath("a\nb\x7f").toStdString(), "a\\x0ab\\x7f");  // controls cannot break the line
    EXPECT_EQ(displayPath("\xc2\x85").toStdString(), "\\xc2\\x85");    // nor C1 controls
    EXPECT_EQ(displayPath("\xed\xa0\x80").toStdString(), "\\xed\\xa0\\x80");  // a surrogate is not UTF-8
    EXPECT_EQ(displayPath("\xe2\x82").toStdString(), "\\xe2\\x82");           // cut short
    EXPECT_EQ(displayPath("\xf0\x9f\x8e\xb5").toStdString(), "\xf0\x9f\x8e\xb5");
}

TEST(PtoCstr2, CopiesLengthPrefixedStringsThatFit)
{
    const unsigned char piano[] = {5, 'P', 'i', 'a', 'n', 'o', '#'};
    char out[256];
    EXPECT_TRUE(PtoCstr2(piano, out, sizeof out));
    EXPECT_STREQ(out, "Piano");

    unsigned char full[256];
    full[0] = 255;
    std::memset(full + 1, 'z', 255);
    EXPECT_TRUE(PtoCstr2(full, out, sizeof out));
    EXPECT_EQ(std::string(out), std::string(255, 'z'));

    char tiny[5];
    EXPECT_FALSE(PtoCstr2(piano, tiny, sizeof tiny));
    EXPECT_STREQ(tiny, "");
    const unsigned char empty[] = {0};
    EXPECT_TRUE(PtoCstr2(empty, tiny, sizeof tiny));
    EXPECT_STREQ(tiny, "");
}

TEST(SimpleRunAppleScript, RunsNothingAndSaysWhy)
{
    AppleScriptON = 0;
    EXPECT_EQ(SimpleRunAppleScript(QStringLiteral("beep")), scriptsSwitchedOff);
    EXPECT_EQ(setBSrectangle(1, 1, 10, 8, 12), -50);
    AppleScriptON = 1;
    EXPECT_EQ(SimpleRunAppleScript(QStringLiteral("beep")), noScriptEngine);
}

TEST(BSrectangle, MapsHzToXAndValuesToYDownward)
{
    auto check = [](float lv, float hv, float lh, float hh, int x, int y, int w, int h) {
        const BSrectangleFrame f = BSrectangleFrameFor(lv, hv, lh, hh);
        EXPECT_EQ(f.x, x);
        EXPECT_EQ(f.y, y);
        EXPECT_EQ(f.width, w);
        EXPECT_EQ(f.height, h);
    };
    check(1, 10, 8, 12, 146, 188, 55, 100);
    check(2.5f, 20, 4, 7.5f, 91, 77, 48, 195);
    // Values below 0.0001 count as zero through their tiny constants; nothing is ever narrower than 1.
    check(0, 0, 0, 0, 36, 299, 1, 1);
    check(-3, -1, -2, 0.00005f, 36, 299, 1, 1);
    // Reversed edges give the minimum size, not a negative one.
    check(5, 2, 12, 8, 201, 277, 1, 1);

    const QString script = BSrectangleScript(3, BSrectangleFrameFor(1, 10, 8, 12));
    EXPECT_TRUE(script.contains(QStringLiteral("application \"NUPO4\"")));
    EXPECT_TRUE(script.contains(QStringLiteral("rectangle 3 of front document")));
    EXPECT_TRUE(script.contains(QStringLiteral("x position: 146, y position: 188, width:  55, height: 100")));
}
