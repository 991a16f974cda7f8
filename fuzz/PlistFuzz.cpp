// The property-list reader on any bytes: it reads or refuses without crashing, and whatever it reads, the
// writer writes so that it reads back to the same value.

#include "FuzzSupport.h"

#include "platform/plist/PlistReader.h"
#include "platform/plist/PlistWriter.h"

using namespace nupo;

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray text(reinterpret_cast<const char*>(data), qsizetype(size));
    PlistError error;
    const std::optional<PlistValue> value = PlistReader::parse(text, &error);
    if (!value) {
        FUZZ_CHECK(!error.message.isEmpty() && error.line >= 1 && error.column >= 1);
        return 0;
    }
    const QByteArray written = PlistWriter::write(*value);
    PlistError rereadError;
    const std::optional<PlistValue> reread = PlistReader::parse(written, &rereadError);
    if (!reread)
        std::fprintf(stderr, "written text does not read back: %s\n%s\n", qPrintable(rereadError.toString()),
                     written.left(2000).constData());
    FUZZ_CHECK(reread.has_value());
    FUZZ_CHECK(*reread == *value);
    FUZZ_CHECK(PlistWriter::write(*reread) == written);
    return 0;
}
