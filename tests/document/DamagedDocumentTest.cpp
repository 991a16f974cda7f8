// Damaged documents: truncated, mutated, random and of the wrong types. None crashes the reader, and a
// refused one changes nothing of the open document and names the file and the place.
#include <gtest/gtest.h>

#include "DocumentTestSupport.h"
#include "GeneratedDamage.h"
#include "midi/common/SetupArray.h"

using namespace nupo;

namespace {

QByteArray validDocument(test::CoreDocument& doc)
{
    test::fillRecording(40);
    setBrainpeakMIDIOpend = 1;
    setBrainrhythmMIDIOpend = 1;
    return doc.document.dataRepresentation();
}

QString refusal(test::CoreDocument& doc, QByteArray text)
{
    QString error;
    EXPECT_FALSE(doc.document.readFromData(text, "bad.nupo4", &error));
    return error;
}

}  // namespace

TEST(DamagedDocument, ThousandsOfTruncatedMutatedAndRandomFilesNeverCrashOrChangeTheOpenDocument)
{
    test::CoreDocument doc;
    const QByteArray valid = validDocument(doc);
    int cases = 0;
    const int refused = test::readGeneratedDamage(doc.document, valid, 2207, &cases);
    EXPECT_GT(cases, 3300);
    EXPECT_GT(refused, cases / 2);
}

TEST(DamagedDocument, WrongTypesHugeTablesAndMismatchedSamplesAreRefusedWithTheirPlace)
{
    test::CoreDocument doc;
    const QByteArray valid = validDocument(doc);
    const auto replaced = [&valid](const QByteArray& from, const QByteArray& to) {
        QByteArray text = valid;
        EXPECT_TRUE(text.contains(from)) << from.toStdString();
        return text.replace(text.indexOf(from), from.size(), to);
    };
    EXPECT_TRUE(refusal(doc, "( 1, 2 )").contains("not a dictionary of sections"));
    EXPECT_TRUE(
        refusal(doc, "{ Format = \"something else\"; Version = 1; }").contains("not a NUPO4 brain-note"));
    EXPECT_TRUE(refusal(doc, replaced("Version = 1;", "Version = 99;")).contains("Version 99"));
    EXPECT_TRUE(refusal(doc, "{ Format = \"NUPO4 brain-note document\"; Version = 1; Display = (1); }")
                    .contains("section Display is not a dictionary"));
    // A number where a number belongs, and a table where a number belongs.
    EXPECT_TRUE(refusal(doc, replaced("GridSize2DBarX = ", "GridSize2DBarX = abc; X = "))
                    .contains("section Display, GridSize2DBarX: \"abc\" is not a number"));
    EXPECT_TRUE(refusal(doc, replaced("ShowText = ", "ShowText = (1); X = ")).contains("ShowText: an array"));
    EXPECT_TRUE(refusal(doc, replaced("ShowText = ", "ShowText = nan; X = ")).contains("is not a number"));
    // A setup table longer than 128 setups; one longer than any table a document holds is refused as it
    // is read, where it passes the bound.
    const auto table = [](int entries) {
        QByteArray text = "(";
        for (int i = 1; i < entries; ++i)
            text += "1,";
        return text + "1)";
    };
    EXPECT_TRUE(refusal(doc, replaced("LowFX: = ", "LowFX: = " + table(200) + "; X = "))
                    .contains("section BrainPeakMIDI, LowFX:: 200 entries, more than the 128"));
    EXPECT_TRUE(refusal(doc, replaced("LowFX: = ", "LowFX: = " + table(5001) + "; X = "))
                    .contains(": an array of more than 4096 entries)"));
    EXPECT_TRUE(refusal(doc, replaced("strX: = ", "strX: = (a, (b)); X = ")).contains("strX:[1]"));
    // Samples that do not match their count, and a count beyond the buffers.
    EXPECT_TRUE(
        refusal(doc, replaced("maxploop = 40;", "maxploop = 39;")).contains("Channel0: 160 bytes, where"));
    EXPECT_TRUE(refusal(doc, replaced("maxploop = 40;", "maxploop = 0;")).contains("holds no samples"));
    EXPECT_TRUE(
        refusal(doc, replaced("Channel3 = <", "Channel3 = \"text\"; X = <")).contains("Channel3: a string"));
    // A parse error names the line and column.
    EXPECT_TRUE(refusal(doc, valid.left(valid.size() / 2)).contains("line "));
}

TEST(DamagedDocument, ValuesOutOfRangeAreClampedAndLongNamesBounded)
{
    test::CoreDocument doc;
    QByteArray text = validDocument(doc);
    // Replaces the array under key by the given entries.
    const auto setArray = [&text](const QByteArray& key, const QByteArray& entries) {
        const qsizetype open = text.indexOf('(', text.indexOf(key + " = ("));
        text.replace(open, text.indexOf(')', open) - open + 1, "(" + entries + ")");
    };
    QByteArray channels = "99, -5";
    QByteArray names = QByteArray(5000, 'n');
    for (int s = 2; s < maxSetupNumber; ++s)
        channels += ", 3";
    for (int s = 1; s < maxSetupNumber; ++s)
        names += ", b";
    setArray("MIDIchannelX:", channels);
    setArray("strX:", names);
    text.replace(" ploop = ", " ploop = 999999; X = ");
    QString error;
    ASSERT_TRUE(doc.document.readFromData(text, "x", &error)) << error.toStdString();
    EXPECT_EQ(MIDIchannelX[0].load(), 15);
    EXPECT_EQ(MIDIchannelX[1].load(), 0);
    EXPECT_EQ(MIDIchannelX[2].load(), 3);
    EXPECT_EQ(strX[0].size(), maxSetupNameLength);
    EXPECT_EQ(ploop.load(), 40);  // within the recording
}
