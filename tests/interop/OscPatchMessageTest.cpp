#include <gtest/gtest.h>

#include "interop/OscPatchMessage.h"

#include <lo/lo.h>

#include <cmath>
#include <limits>
#include <random>

using namespace nupo;

namespace {

// A datagram built by liblo itself, as a patch environment sends it.
template <class... Adders>
QByteArray datagram(const char* path, Adders... adders)
{
    lo_message m = lo_message_new();
    (adders(m), ...);
    std::size_t size = lo_message_length(m, path);
    QByteArray bytes(qsizetype(size), '\0');
    lo_message_serialise(m, path, bytes.data(), &size);
    lo_message_free(m);
    return bytes;
}
auto i32(int v)
{
    return [v](lo_message m) { lo_message_add_int32(m, v); };
}
auto f32(float v)
{
    return [v](lo_message m) { lo_message_add_float(m, v); };
}
auto f64(double v)
{
    return [v](lo_message m) { lo_message_add_double(m, v); };
}
auto str(const char* v)
{
    return [v](lo_message m) { lo_message_add_string(m, v); };
}

std::optional<PatchMessage> decode(const QByteArray& bytes, QString* error = nullptr)
{
    return decodePatchDatagram(bytes.constData(), std::size_t(bytes.size()), error);
}

}  // namespace

TEST(OscPatchMessage, ReadsNumbersOfEveryKindAndWritesFloats)
{
    const auto m = decode(datagram("/nupo4/bargraph/redComponentY", f32(0.25f), i32(-7), f64(1e9)));
    ASSERT_TRUE(m);
    EXPECT_EQ(m->address, "/nupo4/bargraph/redComponentY");
    EXPECT_EQ(m->values, (std::vector<double>{0.25, -7.0, 1e9}));
    const auto empty = decode(datagram("/nupo4/rawdata/ARawwavePP"));
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->values.empty());

    const QByteArray written =
        encodePatchMessage("/nupo4/rawdata/boundsRawwave", {1.5f, 2.0f, 300.0f, -4.0f});
    EXPECT_EQ(written,
              datagram("/nupo4/rawdata/boundsRawwave", f32(1.5f), f32(2.0f), f32(300.0f), f32(-4.0f)));
    const auto back = decode(written);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->values, (std::vector<double>{1.5, 2.0, 300.0, -4.0}));
    EXPECT_TRUE(encodePatchMessage("no-slash", {}).isEmpty());
}

TEST(OscPatchMessage, RefusesWhatIsNotAPatchMessageAndSaysWhy)
{
    auto refused = [](const QByteArray& bytes) {
        QString error;
        EXPECT_FALSE(decode(bytes, &error));
        return error;
    };
    EXPECT_TRUE(refused(QByteArray(1025, '/')).startsWith("oversized"));
    EXPECT_TRUE(refused(QByteArray()).startsWith("malformed"));
    EXPECT_TRUE(refused(QByteArray("/abc\0\0\0\0,i\0\0", 12)).startsWith("malformed"));  // int missing
    EXPECT_TRUE(refused(QByteArray("/ab", 3)).startsWith("malformed"));
    EXPECT_TRUE(refused(QByteArray("#bundle\0\0\0\0\0\0\0\0\1", 16)).contains("bundle"));
    EXPECT_TRUE(refused(datagram("/x", str("hello"))).contains("kind 's'"));
    EXPECT_TRUE(refused(datagram("/x", i32(1), i32(2), i32(3), i32(4), i32(5))).contains("5 arguments"));
    EXPECT_TRUE(refused(datagram("/x", f32(std::numeric_limits<float>::quiet_NaN()))).contains("finite"));
    EXPECT_TRUE(refused(datagram("/x", f64(std::numeric_limits<double>::infinity()))).contains("finite"));
    // An unterminated address.
    QByteArray open = datagram("/abcdefg", i32(1));
    for (int i = 8; i < 12; ++i)
        open[i] = 'x';
    EXPECT_FALSE(decode(open));
}

TEST(OscPatchMessage, RandomAndMutatedDatagramsDecodeOrAreRefusedWithoutHarm)
{
    std::mt19937 random(21);
    const QByteArray seed = datagram("/nupo4/waterfall/inputRX", f64(0.5), i32(3));
    int decoded = 0;
    for (int n = 0; n < 20000; ++n) {
        QByteArray bytes;
        if (n % 2 == 0) {
            bytes = seed;
            for (int flips = 1 + int(random() % 4); flips > 0; --flips)
                bytes[int(random() % std::uint32_t(bytes.size()))] = char(random());
            if (n % 8 == 0)
                bytes.truncate(int(random() % std::uint32_t(bytes.size() + 1)) & ~3);
        } else {
            bytes.resize(int(random() % 64) * 4);
            for (char& c : bytes)
                c = char(random());
            if (!bytes.isEmpty())
                bytes[0] = '/';
        }
        QString error;
        const auto m = decode(bytes, &error);
        if (m) {
            ++decoded;
            EXPECT_TRUE(m->address.startsWith('/'));
            EXPECT_LE(m->values.size(), std::size_t(maxPatchArguments));
            for (double v : m->values)
                EXPECT_TRUE(std::isfinite(v));
        } else {
            EXPECT_FALSE(error.isEmpty());
        }
    }
    EXPECT_GT(decoded, 0);  // some mutations only change values
}
