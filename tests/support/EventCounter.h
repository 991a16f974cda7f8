#pragma once

#include <QEvent>
#include <QObject>

namespace nupo {

// Counts the events of one type that reach an object (through the filters installed before it), letting
// every event through.
class EventCounter : public QObject {
public:
    EventCounter(QObject& watched, QEvent::Type type) : type(type) { watched.installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == type)
            ++count;
        return false;
    }

private:
    QEvent::Type type;
};

}  // namespace nupo
