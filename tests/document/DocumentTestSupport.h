#pragma once

// A document with the core sections whose MIDI calls are logged instead of reaching the mappers, and a
// recording filled with a known signal.

#include "document/CoreDocumentSections.h"
#include "document/NUPO4DrawDocument.h"
#include "document/sections/MidiDocumentCalls.h"
#include "midi/band/BandSetupTable.h"
#include "midi/peak/PeakSetupTable.h"
#include "shared/CoreState.h"
#include "shared/RecordingBuffers.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <dirent.h>
#include <unistd.h>

namespace nupo::test {

// Logs every call with the flags the readers raise, and keeps the opened flags as the mappers would.
class LoggedMidiCalls : public MidiDocumentCalls {
public:
    QStringList log;

    void note(const QString& call)
    {
        log << QStringLiteral("%1 open=%2").arg(call).arg(startToOpenData.load());
    }
    void init() override { note("init"); }
    void setResetMIDI(int v) override { note(QStringLiteral("setResetMIDI %1").arg(v)); }
    void setBrainpeakMIDIOpend(int v) override
    {
        note(QStringLiteral("setBrainpeakMIDIOpend %1").arg(v));
        nupo::setBrainpeakMIDIOpend = v;
    }
    void setBrainpeakMIDISetName(int v) override
    {
        note(QStringLiteral("setBrainpeakMIDISetName %1").arg(v));
        nupo::setBrainpeakMIDISetName = v;
    }
    void initTempo() override { note("initTempo"); }
    void setProgramChangeToAllSetup() override { note("setProgramChangeToAllSetup"); }
    void convertPortNameToInt() override { note("convertPortNameToInt"); }
    void bandInit() override { note("band init"); }
    void bandSetResetMIDI(int v) override { note(QStringLiteral("band setResetMIDI %1").arg(v)); }
    void setBrainrhythmMIDIOpend(int v) override
    {
        note(QStringLiteral("setBrainrhythmMIDIOpend %1").arg(v));
        nupo::setBrainrhythmMIDIOpend = v;
    }
    void setBrainrhythmMIDISetName(int v) override
    {
        note(QStringLiteral("setBrainrhythmMIDISetName %1").arg(v));
        nupo::setBrainrhythmMIDISetName = v;
    }
    void bandSetGetOutMIDIPort() override { note("band setGetOutMIDIPort"); }
    void bandConvertPortNameToInt() override { note("band convertPortNameToInt"); }
};

struct CoreDocument {
    LoggedMidiCalls calls;
    NUPO4DrawDocument document;

    CoreDocument()
    {
        addCoreDocumentSections(document, calls);
        addRecordingSection(document);
    }
};

// The names in a folder whose name need not be UTF-8 (QDir cannot list it), byte for byte; removes them
// and the folder when asked.
inline QList<QByteArray> filesIn(const QByteArray& folder, bool remove = false)
{
    QList<QByteArray> names;
    if (DIR* listing = ::opendir(folder.constData())) {
        while (const dirent* entry = ::readdir(listing))
            if (entry->d_type == DT_REG)
                names << QByteArray(entry->d_name);
        ::closedir(listing);
    }
    if (remove) {
        for (const QByteArray& name : names)
            ::unlink(QByteArray(folder + '/' + name).constData());
        ::rmdir(folder.constData());
    }
    return names;
}

// A recording of length samples in all five channels: a different ramp with sign changes in each.
inline void fillRecording(int length)
{
    RecordingBuffers& buffers = RecordingBuffers::sharedRecordingBuffers();
    maxploop = length;
    buffers.allocate();
    for (int c = 0; c < RecordingBuffers::channelCount; ++c)
        for (int i = 0; i < length; ++i)
            buffers.putSampleAt(c, i, (i * (c + 3)) % 2049 - 1024 + c * 100000);
}

}  // namespace nupo::test
