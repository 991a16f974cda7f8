#include <gtest/gtest.h>

#include "app/CommandLine.h"

using nupo::CommandLine;

namespace {

CommandLine parsed(const QList<QByteArray>& arguments)
{
    QList<QByteArray> all{"nupo4"};
    all += arguments;
    return CommandLine(all);
}

std::vector<std::string> notesOf(const CommandLine& commandLine)
{
    std::vector<std::string> notes;
    for (const QString& note : commandLine.notes())
        notes.push_back(note.toStdString());
    return notes;
}

}  // namespace

TEST(CommandLine, OpensOneFileByItsBytesAndNamesWhatItIgnores)
{
    struct Case {
        QList<QByteArray> arguments;
        QByteArray file;
        std::vector<std::string> notes;
    };
    const Case cases[] = {
        {{}, {}, {}},
        {{"rec.dat"}, "rec.dat", {}},
        {{"first.dat", "second.dat", "third.dat"},
         "first.dat",
         {"Only one file opens at start; ignoring second.dat.",
          "Only one file opens at start; ignoring third.dat."}},
        {{"", "rec.dat"}, "rec.dat", {"Ignoring an empty argument: it names no file."}},
        // A name that is not UTF-8 keeps its bytes; the note shows them readably.
        {{"caf\xe9.dat", "\xff.dat"}, "caf\xe9.dat", {"Only one file opens at start; ignoring \\xff.dat."}},
        // Two names that decode to the same text still give their own bytes.
        {{"\xfe.dat", "\xff.dat"}, "\xfe.dat", {"Only one file opens at start; ignoring \\xff.dat."}},
        {{"--", "-named.dat"}, "-named.dat", {}},
    };
    for (const Case& c : cases) {
        const CommandLine commandLine = parsed(c.arguments);
        EXPECT_EQ(commandLine.action(), CommandLine::Action::Run);
        EXPECT_EQ(commandLine.fileToOpen(), c.file);
        EXPECT_EQ(notesOf(commandLine), c.notes) << c.arguments.join(' ').toStdString();
    }
}

TEST(CommandLine, HelpVersionAndUnknownOptions)
{
    EXPECT_EQ(parsed({"--help"}).action(), CommandLine::Action::ShowHelp);
    EXPECT_NE(parsed({"-h"}).helpText().indexOf("[file]"), -1);
    EXPECT_EQ(parsed({"--version"}).action(), CommandLine::Action::ShowVersion);
    const CommandLine unknown = parsed({"--loop", "rec.dat"});
    EXPECT_EQ(unknown.action(), CommandLine::Action::Fail);
    EXPECT_EQ(unknown.errorText().toStdString(), "Unknown option 'loop'.");
    EXPECT_TRUE(unknown.fileToOpen().isEmpty());

    const CommandLine patch = parsed({"--patch-port", "9000", "rec.dat"});
    EXPECT_EQ(patch.action(), CommandLine::Action::Run);
    EXPECT_EQ(patch.patchPort(), 9000);
    EXPECT_EQ(patch.fileToOpen(), "rec.dat");
    EXPECT_EQ(parsed({"rec.dat"}).patchPort(), 0);
    for (const QByteArray& bad : {QByteArray("0"), QByteArray("65536"), QByteArray("port")}) {
        const CommandLine refused = parsed({"--patch-port", bad});
        EXPECT_EQ(refused.action(), CommandLine::Action::Fail);
        EXPECT_EQ(refused.errorText().toStdString(),
                  "--patch-port: '" + bad.toStdString() + "' is not a port (1..65535).");
    }
}
