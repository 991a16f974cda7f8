#pragma once

#include <QString>

#include <sys/types.h>

typedef struct _jack_client jack_client_t;

namespace nupo::test {

// A listening program in a process of its own (the tests' midi_instance program, "listen"): a JACK
// client "restart listener" whose port "in" counts the note-ons it hears, the count read from the file it
// writes. Ended with the object.
class Listener {
public:
    static constexpr const char* portName = "restart listener:in";

    Listener(QString program, QString countFile)
        : program(std::move(program)), countFile(std::move(countFile))
    {
    }
    ~Listener() { end(); }
    Listener(const Listener&) = delete;
    Listener& operator=(const Listener&) = delete;

    // Starts it (ending the one before) on the server `look` is on and waits until it listens.
    bool start(jack_client_t* look);
    // Note-ons heard; -1 before it listens.
    long long notes() const;
    // Whether its port is connected to the port of this full name, as `look` sees it.
    static bool connectedTo(jack_client_t* look, const QString& other);
    void end();

private:
    QString program;
    QString countFile;
    pid_t pid = -1;
};

}  // namespace nupo::test
