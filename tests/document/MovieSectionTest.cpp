// The movie's section: the movie window's state and path come back as saved, and a document that had a
// movie window opens it in the window set-up, after the reader's flag is down, with the path in outCHAR;
// damaged movie sections are refused or clamped and change nothing.
#include <gtest/gtest.h>

#include "QXDrawerSound/movie/MovieState.h"
#include "QXDrawerSound/player/SoundSlotTables.h"
#include "document/DocumentTestSupport.h"
#include "document/GeneratedDamage.h"
#include "document/sections/MovieSection.h"
#include "shared/CoreState.h"
#include "shared/Utilities.h"
#include "support/TestSupport.h"

#include <cstring>
#include <vector>

using namespace nupo;

namespace {

struct MovieValues {
    int ploopSync;
    int loopMode;
    std::vector<float> frame;
    float alpha;
    QByteArray path;
    bool operator==(const MovieValues&) const = default;
};

MovieValues current()
{
    return {ploopSyncX.load(), setLoopModeX.load(), std::vector<float>(NomalQTSizeR, NomalQTSizeR + 4),
            WQTAlphaValue, QByteArray(outCHAR)};
}

void set(const MovieValues& v, int open)
{
    ploopSyncX = v.ploopSync;
    setLoopModeX = v.loopMode;
    std::copy(v.frame.begin(), v.frame.end(), NomalQTSizeR);
    WQTAlphaValue = v.alpha;
    std::memset(outCHAR, 0, sizeof outCHAR);
    std::memcpy(outCHAR, v.path.constData(), std::size_t(v.path.size()));
    documentMoviePath = QString::fromUtf8(v.path);  // as a movie window that opened it
    OpenQT = open;
}

QByteArray withMovie(QByteArray text, const QByteArray& section)
{
    const qsizetype at = text.indexOf("Movie = ");
    EXPECT_GE(at, 0);
    const qsizetype end = text.indexOf("\n    };", at);
    return text.replace(at, end + 7 - at, "Movie = " + section + ";");
}

QString refusal(NUPO4DrawDocument& document, const QByteArray& text)
{
    QString error;
    EXPECT_FALSE(document.readFromData(text, "bad.nupo4", &error));
    return error;
}

const MovieValues saved{1, 1, {12.0f, 34.5f, 640.0f, 480.0f}, 0.25f, "/films/Über den Wolken.mov"};

// A short recording, whatever the tests before left: the document stays small and its reads quick.
struct MovieDocument : test::CoreDocument {
    MovieDocument() { test::fillRecording(40); }
};

TEST(MovieSection, StateComesBackAndTheWindowSetUpOpensTheMovieOnce)
{
    MovieDocument doc;
    set(saved, 1);
    const QByteArray text = doc.document.dataRepresentation();

    set({0, 0, {400.0f, 400.0f, 655.0f, 552.0f}, 1.0f, "/elsewhere.mp4"}, 0);
    OpenQTX = 0;
    std::vector<std::pair<QByteArray, MovieValues>> calls;
    int opened = 0;
    doc.document.windowSetup = [&] {
        calls.push_back({"setup flag " + QByteArray::number(startToOpenData.load()) + " OpenQTX " +
                             QByteArray::number(OpenQTX),
                         current()});
        openMovieWindowIfAsked([&] {
            ++opened;
            calls.push_back({"open flag " + QByteArray::number(startToOpenData.load()), current()});
            return true;
        });
        calls.push_back({"after OpenQTX " + QByteArray::number(OpenQTX), current()});
    };
    QString error;
    ASSERT_TRUE(doc.document.readFromData(text, "movie.nupo4", &error)) << error.toStdString();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].first, "setup flag 0 OpenQTX 1");
    EXPECT_EQ(calls[1].first, "open flag 0");
    EXPECT_EQ(calls[1].second, saved);  // the loader finds the path, frame, opacity and modes as saved
    EXPECT_EQ(calls[2].first, "after OpenQTX 0");
    EXPECT_EQ(opened, 1);
    EXPECT_FALSE(openMovieWindowIfAsked([&] {
        ++opened;
        return true;
    }));
    EXPECT_EQ(opened, 1);

    // A document saved without a movie window opens none and keeps its values.
    set(saved, 0);
    const QByteArray closed = doc.document.dataRepresentation();
    EXPECT_TRUE(closed.contains("OpenQT = 0;"));
    set({0, 0, {1.0f, 2.0f, 3.0f, 4.0f}, 0.5f, "/x.mov"}, 0);
    calls.clear();
    ASSERT_TRUE(doc.document.readFromData(closed, "movie.nupo4", &error)) << error.toStdString();
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(current(), saved);
    doc.document.windowSetup = nullptr;
}

// The preference file carries the movie window too: read back, it restores the state and path and asks
// for the window (which the start-up then opens).
TEST(MovieSection, ThePreferenceFileCarriesTheMovieWindow)
{
    MovieDocument doc;
    qputenv("XDG_CONFIG_HOME", test::tempFolder().toLocal8Bit());
    const QString path = defaultPreferenceFilePath();
    set(saved, 1);
    ASSERT_TRUE(doc.document.dataRepresentation(true).contains("MoviePath"));
    ASSERT_TRUE(doc.document.writeToFile(path, true));

    set({0, 0, {400.0f, 400.0f, 655.0f, 552.0f}, 1.0f, "/elsewhere.mp4"}, 0);
    OpenQTX = 0;
    QString error;
    ASSERT_TRUE(doc.document.openDataForAllPreference(path, &error)) << error.toStdString();
    EXPECT_EQ(current(), saved);
    EXPECT_EQ(OpenQTX, 1);
    int opened = 0;
    EXPECT_TRUE(openMovieWindowIfAsked([&] {
        ++opened;
        return true;
    }));
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(OpenQTX, 0);

    // Saved without a movie window, the preferences open none.
    set(saved, 0);
    ShowQTWindow = 0;
    ASSERT_TRUE(doc.document.writeToFile(path, true));
    ASSERT_TRUE(doc.document.openDataForAllPreference(path, &error)) << error.toStdString();
    EXPECT_EQ(OpenQTX, 0);
}

// A movie the window set-up could not show (moved away, say) stays named in the document saved again,
// as open and following the recording, whatever an opener chose meanwhile and though the failed opening
// cleared the follow switch; once a document's movie is shown it is forgotten.
TEST(MovieSection, AMovieThatCouldNotBeShownStaysNamedWhenSavedAgain)
{
    MovieDocument doc;
    set(saved, 1);
    const QByteArray text = doc.document.dataRepresentation();
    QString error;
    for (const bool shown : {false, true}) {
        ASSERT_TRUE(doc.document.readFromData(text, "movie.nupo4", &error)) << error.toStdString();
        ASSERT_TRUE(openMovieWindowIfAsked([&] { return shown; }));
        // What a failed opening leaves behind, and an opener's later choice (no movie).
        const QString named = documentMoviePath;
        set({0, 0, {1.0f, 2.0f, 3.0f, 4.0f}, 0.5f, "/sounds/folder"}, 0);
        documentMoviePath = named;
        ShowQTWindow = 0;
        const QByteArray again = doc.document.dataRepresentation();
        EXPECT_EQ(again.contains("OpenQT = 1;"), !shown) << again.toStdString();
        EXPECT_EQ(again.contains("ploopSyncX = 1;"), !shown) << again.toStdString();
        // The document's movie stays named; what the opener chose is none of the document's.
        EXPECT_TRUE(again.contains("Wolken.mov")) << again.toStdString();
        EXPECT_FALSE(again.contains("/sounds/folder")) << again.toStdString();
    }
    // A document read afterwards starts afresh.
    ASSERT_TRUE(doc.document.readFromData(text, "movie.nupo4", &error)) << error.toStdString();
    ASSERT_TRUE(openMovieWindowIfAsked([] { return false; }));
    set(saved, 0);
    ShowQTWindow = 0;
    QByteArray closed = doc.document.dataRepresentation();
    closed.replace("OpenQT = 1;", "OpenQT = 0;");
    ASSERT_TRUE(doc.document.readFromData(closed, "closed.nupo4", &error)) << error.toStdString();
    EXPECT_FALSE(openMovieWindowIfAsked([] { return false; }));
    EXPECT_TRUE(doc.document.dataRepresentation().contains("OpenQT = 0;"));
}

TEST(MovieSection, DamagedMovieSectionsAreRefusedOrClampedAndChangeNothing)
{
    MovieDocument doc;
    set(saved, 1);
    const QByteArray valid = doc.document.dataRepresentation();
    const MovieValues open{0, 1, {5.0f, 6.0f, 700.0f, 500.0f}, 0.75f, "/open/movie.mov"};
    set(open, 0);
    OpenQTX = 0;

    const auto refused = [&](const QByteArray& section) {
        const QString error = refusal(doc.document, withMovie(valid, section));
        EXPECT_EQ(current(), open) << error.toStdString();
        EXPECT_EQ(OpenQTX, 0) << error.toStdString();
        return error;
    };
    EXPECT_EQ(refused("{ OpenQT = 1; NomalQTSizeR = (1, 2, 3); }"),
              "Cannot open bad.nupo4: section Movie, NomalQTSizeR: a frame is four numbers: x, y, width and "
              "height");
    // 600 two-byte characters do not fit the 1024 bytes of outCHAR with its terminating zero.
    EXPECT_EQ(refused("{ OpenQT = 1; MoviePath = \"/" + QString(600, QChar(0xe9)).toUtf8() + "\"; }"),
              "Cannot open bad.nupo4: section Movie, MoviePath: the movie's path is longer than 1023 bytes");
    EXPECT_EQ(refused("{ OpenQT = 1; MoviePath = \"/" + QByteArray(5000, 'a') + "\"; }"),
              "Cannot open bad.nupo4: section Movie, MoviePath: the movie's path is longer than 1023 bytes");
    // A zero byte (written as an octal escape) is no part of any file name.
    EXPECT_EQ(refused("{ OpenQT = 1; MoviePath = \"/movies/a\\000b.mov\"; }"),
              "Cannot open bad.nupo4: section Movie, MoviePath: the movie's path holds a zero byte, which no "
              "file name can");
    EXPECT_TRUE(refused("{ OpenQT = 1; MoviePath = (a, b); }")
                    .startsWith("Cannot open bad.nupo4: section Movie, MoviePath"));
    EXPECT_TRUE(
        refused("{ OpenQT = 1; WQTAlphaValue = nan; }").startsWith("Cannot open bad.nupo4: section Movie"));
    EXPECT_TRUE(refused("{ NomalQTSizeR = { x = 1; }; }")
                    .startsWith("Cannot open bad.nupo4: section Movie, NomalQTSizeR"));

    // Values out of range are clamped; a path of exactly 1023 bytes fits.
    const QByteArray longest = "/" + QByteArray(1022, 'p');
    QString error;
    ASSERT_TRUE(doc.document.readFromData(
        withMovie(valid,
                  "{ OpenQT = 7; ploopSyncX = -3; setLoopModeX = 9; NomalQTSizeR = (-1e9, 1e9, -20, 0.5); "
                  "WQTAlphaValue = 3; MoviePath = \"" +
                      longest + "\"; }"),
        "clamped.nupo4", &error))
        << error.toStdString();
    EXPECT_EQ(current(), (MovieValues{0, 1, {-100000.0f, 100000.0f, 1.0f, 1.0f}, 1.0f, longest}));
    EXPECT_EQ(OpenQTX, 1);
    OpenQTX = 0;

    // And thousands of generated ones.
    set(open, 0);
    int cases = 0;
    const int refusedCount = test::readGeneratedDamage(doc.document, valid, 2026, &cases);
    EXPECT_GT(cases, 3000);
    EXPECT_GT(refusedCount, cases / 2);
    OpenQTX = 0;
}

}  // namespace

TEST(MovieSection, ADocumentWithoutMovieAndSoundsStartsThemFromTheirDefaults)
{
    MovieDocument doc;
    set(saved, 1);
    OpenQTX = 0;
    RowsCountA[0] = 3;
    (*soundPathTable(0))[0] = "/sounds/a.wav";
    PlaymodeA[2] = 0;
    SoundBlockX = 4;
    SoundWindowFrameA[0][2] = 300;
    // The folder of a sound bank opened last is in the shared path, as the browser leaves it.
    ASSERT_TRUE(NSStringToC(QStringLiteral("/sounds")));
    QString error;
    ASSERT_TRUE(doc.document.readFromData(
        "{ Format = \"NUPO4 brain-note document\"; Version = 1; Display = { ShowText = 1; }; }", "bare.nupo4",
        &error))
        << error.toStdString();
    EXPECT_EQ(current(), (MovieValues{0, 0, {400.0f, 400.0f, 655.0f, 552.0f}, 1.0f, ""}));
    EXPECT_EQ(OpenQTX, 0);
    EXPECT_EQ(RowsCountA[0], 0);
    EXPECT_EQ((*soundPathTable(0))[0], " ");
    EXPECT_EQ(PlaymodeA[2], 1);
    EXPECT_EQ(SoundBlockX, 1);
    EXPECT_EQ(SoundWindowFrameA[0][2], 0.0f);
    const QByteArray text = doc.document.dataRepresentation();
    EXPECT_TRUE(text.contains("MoviePath = \"\";")) << text.left(4000).toStdString();
    EXPECT_FALSE(text.contains("PlayMode"));

    // A preference file without them keeps them as they are.
    set(saved, 0);
    RowsCountA[0] = 3;
    ASSERT_TRUE(doc.document.loadDataRepresentation("{ Format = \"NUPO4 preferences\"; Version = 1; }",
                                                    "prefs", true, &error))
        << error.toStdString();
    EXPECT_EQ(current(), saved);
    EXPECT_EQ(RowsCountA[0], 3);
    initSoundTables();
}
