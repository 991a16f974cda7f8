#include "platform/plist/PlistReader.h"
#include "platform/plist/PlistWriter.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>

#include <random>

namespace nupo {
namespace {

// A file that uses every construct of the format.
const char* const everyConstruct = R"(// preference file
{
    zeta = bare_string-1.5/x:y$+;   /* keys stay in file order */
    alpha = "two words";
    escapes = "tab\there\nline \"q\" back\\slash \101\102 \u00e9\U20AC end";
    single = 'it\'s "quoted"';
    empty = "";
    data = <0fbd 7771 00ff>;
    emptyData = <>;
    list = ( one, "two", ( nested, <01> ), {}, (), );
    dict = { inner = { deep = 1; }; };
}
)";

PlistValue parseOrFail(const QByteArray& text)
{
    PlistError error;
    std::optional<PlistValue> value = PlistReader::parse(text, &error);
    EXPECT_TRUE(value.has_value()) << error.toString().toStdString();
    return value.value_or(PlistValue());
}

TEST(Plist, ReadsEveryConstruct)
{
    const PlistValue root = parseOrFail(everyConstruct);
    ASSERT_TRUE(root.isDictionary());
    const PlistDictionary& dict = root.toDictionary();
    EXPECT_EQ(dict.keys(), (QStringList{"zeta", "alpha", "escapes", "single", "empty", "data", "emptyData",
                                        "list", "dict"}));
    EXPECT_EQ(dict.value("zeta").toString(), "bare_string-1.5/x:y$+");
    EXPECT_EQ(dict.value("alpha").toString(), "two words");
    EXPECT_EQ(dict.value("escapes").toString(),
              QString::fromUtf8("tab\there\nline \"q\" back\\slash AB \u00e9\u20ac end"));
    EXPECT_EQ(dict.value("single").toString(), "it's \"quoted\"");
    EXPECT_TRUE(dict.value("empty").isString());
    EXPECT_EQ(dict.value("data").toData(), QByteArray::fromHex("0fbd777100ff"));
    EXPECT_TRUE(dict.value("emptyData").isData());

    const PlistValue::Array& list = dict.value("list").toArray();
    ASSERT_EQ(list.size(), 5u);
    EXPECT_EQ(list[1].toString(), "two");
    EXPECT_EQ(list[2].toArray()[1].toData(), QByteArray(1, '\x01'));
    EXPECT_TRUE(list[3].isDictionary());
    EXPECT_TRUE(list[4].isArray());
    EXPECT_EQ(dict.value("dict").toDictionary().value("inner").toDictionary().value("deep").toString(), "1");
}

TEST(Plist, WriteThenReadGivesTheSameValue)
{
    PlistValue root = parseOrFail(everyConstruct);
    // Strings that must be quoted to survive: spaces, comment openers, controls, non-ASCII, empty.
    PlistDictionary* dict = root.asDictionary();
    ASSERT_NE(dict, nullptr);
    dict->insert("needs quotes",
                 PlistValue::Array{"a b", "//x", "a/*b", "semi;colon", QString(QChar(0)) + "\x01\x7f",
                                   QString::fromUtf8("\u00fc\U0001F600"), ""});
    dict->insert("zeta", "replaced in place");

    const QByteArray text = PlistWriter::write(root);
    for (char c : text)
        EXPECT_TRUE(static_cast<unsigned char>(c) < 0x80) << "non-ASCII byte in output";
    const PlistValue reread = parseOrFail(text);
    EXPECT_EQ(reread, root);
    EXPECT_EQ(reread.toDictionary().keys().front(), "zeta");
    EXPECT_EQ(PlistWriter::write(reread), text);

    // Removing keeps the remaining order.
    EXPECT_TRUE(dict->remove("alpha"));
    EXPECT_FALSE(dict->remove("alpha"));
    EXPECT_EQ(parseOrFail(PlistWriter::write(root)).toDictionary().keys().mid(0, 2),
              (QStringList{"zeta", "escapes"}));
}

TEST(Plist, MalformedTextIsRejectedWithItsPosition)
{
    struct Case {
        const char* text;
        int line;
        int column;
    };
    const Case cases[] = {
        {"", 1, 1},                               // nothing at all
        {"{\n a = b;\n c = d\n}", 4, 1},          // missing ';'
        {"{\n a b;\n}", 2, 4},                    // missing '='
        {"{\n a = b;\n", 1, 1},                   // dictionary not closed: reported where it opens
        {"(\n a,\n b\n c)", 4, 2},                // missing ','
        {"{\n key = \"open\n string;\n}", 2, 8},  // string not closed: where it opens
        {"(a, /* comment\n never closed", 1, 5},  // comment not closed
        {"{ a = <0f1>; }", 1, 11},                // odd hex digits
        {"{\n\n a = <0fzz>; }", 3, 9},            // not a hex digit
        {"{ a = b; } trailing", 1, 12},           // text after the value
        {"(\n a,\n ; )", 3, 2},                   // not a value
        {"( \"\\777\" )", 1, 4},                  // octal escape out of range
        {"( \"\\u\" )", 1, 4},                    // \u without digits
        {"{ = b; }", 1, 3},                       // missing key
    };
    for (const Case& c : cases) {
        PlistError error;
        EXPECT_FALSE(PlistReader::parse(c.text, &error).has_value()) << c.text;
        EXPECT_EQ(error.line, c.line) << c.text << " -> " << error.toString().toStdString();
        EXPECT_EQ(error.column, c.column) << c.text << " -> " << error.toString().toStdString();
        EXPECT_FALSE(error.message.isEmpty());
    }
}

TEST(Plist, NestingIsCappedInsteadOfOverflowingTheStack)
{
    const int depth = 100000;
    PlistError error;
    EXPECT_FALSE(PlistReader::parse(QByteArray(depth, '('), &error).has_value());
    EXPECT_TRUE(error.message.contains("nested")) << error.toString().toStdString();

    // Exactly at the cap still reads.
    const QByteArray atCap = QByteArray(PlistReader::maxDepth, '(') + QByteArray(PlistReader::maxDepth, ')');
    EXPECT_TRUE(PlistReader::parse(atCap).has_value());
    const QByteArray overCap = "(" + atCap + ")";
    EXPECT_FALSE(PlistReader::parse(overCap).has_value());
}

// Each limit holds exactly at its bound and refuses one past it, where it is passed: the message says
// which bound, the place is where reading stopped.
TEST(Plist, LimitsAreCheckedWhileReadingAndRefuseWhereTheyArePassed)
{
    const PlistLimits limits{
        .maxDepth = 3, .maxArrayEntries = 3, .maxDictionaryKeys = 2, .maxStringLength = 5, .maxValues = 12};
    const struct {
        QByteArray text;
        const char* refusal;  // empty: reads
    } cases[] = {
        {"( a, b, c )", ""},
        {"( a, b, c, d )", "line 1, column 12: an array of more than 3 entries"},
        {"{ a = 1; b = 2; }", ""},
        {"{ a = 1;\n b = 2;\n c = 3; }", "line 3, column 2: a dictionary of more than 2 keys"},
        {"( abcde, \"vwxyz\", 'a\\tcd' )", ""},
        {"( abcde, abcdef )", "line 1, column 10: a string of more than 5 characters"},
        {"( x, \"abc\\\"ef\" )", "line 1, column 6: a string of more than 5 characters"},
        {"{ abcdef = 1; }", "line 1, column 3: a string of more than 5 characters"},
        {"( ( a ) )", ""},
        {"( ( ( a ) ) )", "line 1, column 7: values nested deeper than 3 levels"},
        {"( (a, b, c), (d, e, f), (g, h) )", ""},
        {"( (a, b, c), (d, e, f), (g, h, i) )", "line 1, column 32: more than 12 values"},
    };
    for (const auto& c : cases) {
        PlistError error;
        const std::optional<PlistValue> value = PlistReader::parse(c.text, &error, limits);
        EXPECT_EQ(value.has_value(), !*c.refusal) << c.text.toStdString();
        if (*c.refusal) {
            EXPECT_EQ(error.toString(), c.refusal) << c.text.toStdString();
        }
    }

    // A list of a million entries is refused at the entry past the bound, without taking in the rest.
    QByteArray huge = "(";
    for (int i = 0; i < 1000000; ++i)
        huge += "1,";
    huge += ")";
    PlistError error;
    EXPECT_FALSE(PlistReader::parse(huge, &error, PlistLimits{.maxArrayEntries = 1000}).has_value());
    EXPECT_EQ(error.toString(), "line 1, column 2002: an array of more than 1000 entries");
}

// Whatever it is fed, the reader returns; whatever it accepts, the writer writes back to the same value.
void expectSafeAndStable(const QByteArray& input)
{
    PlistError error;
    std::optional<PlistValue> value = PlistReader::parse(input, &error);
    if (!value) {
        EXPECT_GE(error.line, 1);
        return;
    }
    EXPECT_EQ(PlistReader::parse(PlistWriter::write(*value)), value) << input.toStdString();
}

TEST(Plist, AnyInputIsHandledSafely)
{
    const QByteArray valid = everyConstruct;
    for (qsizetype n = 0; n <= valid.size(); ++n)
        expectSafeAndStable(valid.left(n));

    std::mt19937 random(20261207);
    const QByteArray alphabet = "{}()<>=;,\"'\\/*abc019 \n\tu";
    for (int round = 0; round < 3000; ++round) {
        QByteArray bytes(static_cast<qsizetype>(random() % 64), '\0');
        for (char& b : bytes)
            b = (round % 2) ? static_cast<char>(random() & 0xFF) : alphabet[random() % alphabet.size()];
        expectSafeAndStable(bytes);

        QByteArray mutated = valid;
        for (int k = 0; k < 3; ++k)
            mutated[random() % mutated.size()] = alphabet[random() % alphabet.size()];
        expectSafeAndStable(mutated);
    }
}

TEST(Plist, FilesAreWrittenWholeAndReadBack)
{
    const QString path = QDir(test::tempFolder()).filePath("prefs.plist");
    const PlistValue value(PlistDictionary{{"rate", "120"}, {"name", "left channel"}});
    QString writeError;
    ASSERT_TRUE(PlistWriter::writeFile(path, value, &writeError)) << writeError.toStdString();
    EXPECT_EQ(PlistReader::readFile(path), value);

    // A failed write reports why and leaves nothing behind.
    const QString badPath = QDir(test::tempFolder()).filePath("missing/folder/prefs.plist");
    EXPECT_FALSE(PlistWriter::writeFile(badPath, value, &writeError));
    EXPECT_TRUE(writeError.contains("missing/folder"));

    PlistError readError;
    EXPECT_FALSE(PlistReader::readFile(badPath, &readError).has_value());
    EXPECT_EQ(readError.line, 0);
    EXPECT_TRUE(readError.message.contains("prefs.plist"));
}

}  // namespace
}  // namespace nupo
