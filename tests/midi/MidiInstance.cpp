// A program of its own on the JACK server JACK_DEFAULT_SERVER names, for tests that need another
// process there:
//   midi_instance              another running instance of the program, as far as MIDI goes: starts
//                              MIDI and follows the server through its restarts;
//   midi_instance listen NAME FILE
//                              a listener: a client NAME with a MIDI input port "in", which writes the
//                              number of note-ons it has heard to FILE whenever it changes; ended by
//                              SIGTERM it closes its client first, as a program that quits does.
// Either runs until it is ended by a signal. A listener in a process of its own keeps the test's
// ThreadSanitizer from seeing JACK hand the port buffers between two clients of one process (the
// server's synchronisation is invisible to it).
#include "JackNoteCounter.h"

#include "midi/output/MidiOutput.h"
#include "platform/synth/SynthGraph.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

int listen(const char* clientName, const QString& countFile)
{
    // Taken in turn by the loop below (blocked before libjack starts its threads, which inherit that).
    sigset_t ending;
    sigemptyset(&ending);
    sigaddset(&ending, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &ending, nullptr);
    nupo::test::JackNoteCounter* counter = nupo::test::JackNoteCounter::open(clientName);
    if (counter == nullptr)
        return 1;
    std::uint64_t written = ~std::uint64_t(0);
    const timespec look{0, 10'000'000};
    while (sigtimedwait(&ending, nullptr, &look) != SIGTERM) {
        const std::uint64_t notes = counter->noteOns();
        if (notes != written) {
            QSaveFile file(countFile);
            if (file.open(QIODevice::WriteOnly)) {
                file.write(QByteArray::number(qulonglong(notes)));
                if (file.commit())
                    written = notes;
            }
        }
    }
    counter->close();
    // Without running exit handlers: a client whose server went could not be closed, and its library
    // threads are not ours to join.
    std::_Exit(0);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::strcmp(argv[1], "listen") == 0)
        return listen(argv[2], QString::fromLocal8Bit(argv[3]));
    QCoreApplication app(argc, argv);
    nupo::SynthGraph::setAudioOutputEnabled(false);
    nupo::mainMidi();
    return app.exec();
}
