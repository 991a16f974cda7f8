#pragma once

#include <QString>

#include <sys/types.h>

typedef struct _jack_client jack_client_t;

namespace nupo::test {

// A listening program in a process of its own (the tests' midi_instance program, "listen"): a JACK
// client (by default "restart listener") whose port "in" counts the note-ons it hears, the count read
// from the file it writes. Ended with the object.
class Listener {
public:
    Listener(QString program, QString countFile, QString clientName = QStringLiteral("restart listener"))
        : program(std::move(program)),
          countFile(std::move(countFile)),
          port((clientName + QStringLiteral(":in")).toUtf8()),
          clientName(std::move(clientName))
    {
    }
    ~Listener() { end(); }
    Listener(const Listener&) = delete;
    Listener& operator=(const Listener&) = delete;

    // Starts it (ending the one before) on the server `look` is on and waits until it listens.
    bool start(jack_client_t* look);
    // Note-ons heard; -1 before it listens.
    long long notes() const;
    // The full name of its port ("<client>:in").
    const char* portName() const { return port.constData(); }
    // Whether its port is connected to the port of this full name, as `look` sees it.
    bool connectedTo(jack_client_t* look, const QString& other) const;
    // Ends it as a program that quits does: it closes its client first (while its server lives).
    void end();
    // Ends it as a crashed program does (kill -9): the server finds its client gone.
    void kill();

private:
    QString program;
    QString countFile;
    QByteArray port;
    QString clientName;
    pid_t pid = -1;
};

}  // namespace nupo::test
