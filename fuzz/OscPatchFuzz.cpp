// The patch interface's datagram decoding on any bytes: it reads a message or refuses it with a reason,
// never crashes, and whatever it reads is a well-formed patch message that writes and reads back to the
// same address and values (as floats, where they fit one).

#include "FuzzSupport.h"

#include "interop/OscPatchMessage.h"

#include <cmath>

using namespace nupo;

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QString error;
    const std::optional<PatchMessage> message =
        decodePatchDatagram(reinterpret_cast<const char*>(data), size, &error);
    if (!message) {
        FUZZ_CHECK(!error.isEmpty());
        return 0;
    }
    FUZZ_CHECK(size <= maxPatchDatagramSize);
    FUZZ_CHECK(message->address.startsWith(QLatin1Char('/')));
    FUZZ_CHECK(message->values.size() <= std::size_t(maxPatchArguments));
    std::vector<float> values;
    for (double v : message->values) {
        FUZZ_CHECK(std::isfinite(v));
        if (!std::isfinite(float(v)))
            return 0;  // a double beyond the float range has no float to write back
        values.push_back(float(v));
    }
    const QByteArray written = encodePatchMessage(message->address, values);
    if (written.isEmpty())
        return 0;  // an address liblo will not write (it holds a byte it refuses)
    const std::optional<PatchMessage> reread =
        decodePatchDatagram(written.constData(), std::size_t(written.size()));
    if (written.size() <= qsizetype(maxPatchDatagramSize)) {
        FUZZ_CHECK(reread.has_value());
        FUZZ_CHECK(reread->address == message->address);
        FUZZ_CHECK(reread->values.size() == values.size());
    }
    return 0;
}
