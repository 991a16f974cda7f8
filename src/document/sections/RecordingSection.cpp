#include "document/sections/RecordingSection.h"

#include "core/QXSerialPort.h"
#include "plots/waterfall/QX2DSpectrum.h"
#include "shared/CoreState.h"

#include <QtEndian>

#include <algorithm>

namespace nupo {

namespace {

constexpr auto relaxed = std::memory_order_relaxed;
constexpr int sampleBytes = 4;

}  // namespace

std::optional<PlistDictionary> RecordingSection::write()
{
    QXSerialPort& port = QXSerialPort::sharedQXSerialPort();
    const int n =
        std::clamp(maxploop.load(relaxed), 0, std::max(0, port.capacity() - QXSerialPort::spareSamples));
    PlistDictionary section;
    section.insert(QStringLiteral("SampleSpeed"), integerValue(SampleSpeed.load(relaxed)));
    section.insert(QStringLiteral("tlongE"), integerValue(tlongE.load(relaxed)));
    section.insert(QStringLiteral("maxploop"), integerValue(n));
    section.insert(QStringLiteral("ploopStart"), integerValue(ploopStart.load(relaxed)));
    section.insert(QStringLiteral("ploop"), integerValue(ploop.load(relaxed)));
    for (int c = 0; c < QXSerialPort::channelCount; ++c) {
        QByteArray bytes(qsizetype(n) * sampleBytes, Qt::Uninitialized);
        auto* out = reinterpret_cast<uchar*>(bytes.data());
        for (int i = 0; i < n; ++i)
            qToLittleEndian<qint32>(port.getIntFromBuffer(c, i), out + qsizetype(i) * sampleBytes);
        section.insert(channelKey(c), PlistValue::fromData(bytes));
    }
    return section;
}

bool RecordingSection::stage(SectionInput& input)
{
    present = {};
    const int ceiling = std::max(1, MAXbuffer.load(relaxed));
    const std::optional<int> n = input.integer(QStringLiteral("maxploop"), 0, ceiling);
    if (input.failed())
        return false;
    if (!n) {
        input.fail(QStringLiteral("maxploop"), QStringLiteral("missing: the length of the recording"));
        return false;
    }
    if (*n < 1) {
        input.fail(QStringLiteral("maxploop"), QStringLiteral("the recording holds no samples"));
        return false;
    }
    length = *n;
    sampleSpeed = input.integer(QStringLiteral("SampleSpeed"), 1, 1920).value_or(SampleSpeed.load(relaxed));
    replaySpeed = input.integer(QStringLiteral("tlongE"), 0, 9);
    start = input.integer(QStringLiteral("ploopStart"), 0, length).value_or(0);
    position = input.integer(QStringLiteral("ploop"), 0, length).value_or(start);
    for (int c = 0; c < QXSerialPort::channelCount; ++c) {
        std::optional<QByteArray> bytes = input.data(channelKey(c), qsizetype(ceiling) * sampleBytes);
        if (input.failed())
            return false;
        if (!bytes)
            continue;
        if (bytes->size() != qsizetype(length) * sampleBytes) {
            input.fail(channelKey(c), QStringLiteral("%1 bytes, where maxploop %2 needs %3")
                                          .arg(bytes->size())
                                          .arg(length)
                                          .arg(qsizetype(length) * sampleBytes));
            return false;
        }
        channels[std::size_t(c)] = std::move(*bytes);
        present[std::size_t(c)] = true;
    }
    return true;
}

void RecordingSection::apply(const DocumentReadContext&)
{
    QXSerialPort& port = QXSerialPort::sharedQXSerialPort();
    port.initMalloc();
    // The buffers may be smaller than the ceiling the file was checked against (never after initMalloc).
    const int n = std::min(length, port.capacity() - QXSerialPort::spareSamples);
    port.recCleare();
    RecordingBuffers& buffers = RecordingBuffers::sharedRecordingBuffers();
    for (int c = 0; c < QXSerialPort::channelCount; ++c) {
        if (!present[std::size_t(c)])
            continue;
        const auto* in = reinterpret_cast<const uchar*>(channels[std::size_t(c)].constData());
        for (int i = 0; i < n; ++i)
            buffers.putSampleAt(c, i, qFromLittleEndian<qint32>(in + qsizetype(i) * sampleBytes));
        channels[std::size_t(c)] = QByteArray();
    }
    maxploop.store(n, relaxed);
    SampleSpeed.store(sampleSpeed, relaxed);
    // The replay speed, with the row spacing it gives at the recording's rate (as the speed menus set it).
    if (replaySpeed) {
        tlongE.store(*replaySpeed, relaxed);
        tploop.store(replayRowSpacing(*replaySpeed, sampleSpeed), relaxed);
    }
    ploopStart.store(std::min(start, n), relaxed);
    ploop.store(std::min(position, n), relaxed);
    ploopZZZ.store(std::min(position, n), relaxed);
    QX2DSpectrum::sharedQX2DSpectrum().initPositionZ();
}

}  // namespace nupo
