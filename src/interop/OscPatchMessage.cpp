#include "interop/OscPatchMessage.h"

#include <lo/lo.h>

#include <cmath>
#include <memory>

namespace nupo {

namespace {

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

struct MessageFree {
    void operator()(lo_message m) const { lo_message_free(m); }
};
using MessagePtr = std::unique_ptr<std::remove_pointer_t<lo_message>, MessageFree>;

}  // namespace

std::optional<PatchMessage> decodePatchDatagram(const char* data, std::size_t size, QString* error)
{
    if (size > maxPatchDatagramSize) {
        setError(error,
                 QStringLiteral("oversized (%1 bytes, at most %2)").arg(size).arg(maxPatchDatagramSize));
        return std::nullopt;
    }
    if (!data || size < 8 || size % 4 != 0) {
        setError(error, QStringLiteral("malformed (%1 bytes)").arg(size));
        return std::nullopt;
    }
    if (data[0] != '/') {
        setError(error, data[0] == '#' ? QStringLiteral("a bundle (not accepted)")
                                       : QStringLiteral("malformed (no address)"));
        return std::nullopt;
    }
    // liblo reads from a buffer it may keep; it gets its own copy.
    QByteArray copy(data, qsizetype(size));
    const char* path = lo_get_path(copy.data(), ssize_t(size));
    int result = 0;
    MessagePtr message(lo_message_deserialise(copy.data(), size, &result));
    if (!path || !message || result != 0) {
        setError(error, QStringLiteral("malformed (OSC error %1)").arg(result));
        return std::nullopt;
    }
    PatchMessage out;
    out.address = QString::fromUtf8(path);
    const int argc = lo_message_get_argc(message.get());
    if (argc > maxPatchArguments) {
        setError(error, QStringLiteral("%1 arguments (at most %2)").arg(argc).arg(maxPatchArguments));
        return std::nullopt;
    }
    const char* types = lo_message_get_types(message.get());
    lo_arg** argv = lo_message_get_argv(message.get());
    for (int i = 0; i < argc; ++i) {
        const char type = types[i];
        if (type != LO_INT32 && type != LO_FLOAT && type != LO_DOUBLE && type != LO_INT64) {
            setError(error, QStringLiteral("argument %1 of kind '%2' (numbers only)")
                                .arg(i + 1)
                                .arg(QChar::fromLatin1(type)));
            return std::nullopt;
        }
        const double value = double(lo_hires_val(lo_type(type), argv[i]));
        if (!std::isfinite(value)) {
            setError(error, QStringLiteral("argument %1 is not a finite number").arg(i + 1));
            return std::nullopt;
        }
        out.values.push_back(value);
    }
    return out;
}

QByteArray encodePatchMessage(const QString& address, const std::vector<float>& values)
{
    if (!address.startsWith(QLatin1Char('/')))
        return {};
    MessagePtr message(lo_message_new());
    for (float v : values)
        lo_message_add_float(message.get(), v);
    const QByteArray path = address.toUtf8();
    std::size_t size = lo_message_length(message.get(), path.constData());
    QByteArray bytes(qsizetype(size), '\0');
    if (!lo_message_serialise(message.get(), path.constData(), bytes.data(), &size))
        return {};
    bytes.resize(qsizetype(size));
    return bytes;
}

}  // namespace nupo
