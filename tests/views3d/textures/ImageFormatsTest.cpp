// Decoding image files into the sprite pixel buffer, and making their textures.
#include "platform/gl/OffscreenGLContext.h"
#include "support/TestSupport.h"
#include "views3d/textures/gl/Datafile.h"
#include "views3d/textures/gl/DecodeCost.h"
#include "views3d/textures/gl/GLBuffer.h"

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QPdfWriter>

#include <sys/resource.h>

using namespace nupo;

namespace {

// Red, green, blue, white over yellow, cyan, magenta, half-transparent black.
QImage testImage()
{
    QImage image(4, 2, QImage::Format_ARGB32);
    const QRgb colours[8] = {qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(0, 0, 255),   qRgb(255, 255, 255),
                             qRgb(255, 255, 0), qRgb(0, 255, 255), qRgb(255, 0, 255), qRgba(0, 0, 0, 128)};
    for (int i = 0; i < 8; ++i)
        image.setPixel(i % 4, i / 4, colours[i]);
    return image;
}

QString write(const QImage& image, const QString& name)
{
    const QString path = QDir(test::tempFolder()).filePath(name);
    EXPECT_TRUE(image.save(path)) << path.toStdString();
    return path;
}

bool load(GBuffer& buffer, const QString& path)
{
    return buffer.SetImage(path.toUtf8().constData()) && buffer.LoadImage();
}

class ImageFormats : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(context_.isValid()) << context_.errorString().toStdString(); }
    OffscreenGLContext context_{QSize(16, 16)};
};

}  // namespace

TEST_F(ImageFormats, PixelsAreNativeARGBWordsInTheTopLeftOfASquaredBuffer)
{
    GLBuffer buffer;
    ASSERT_TRUE(load(buffer, write(testImage(), "rgb.png")));
    EXPECT_EQ(buffer.imageType(), "png");
    EXPECT_EQ(buffer.imageSize(), QSize(4, 2));
    EXPECT_EQ(buffer.bufferSize(), QSize(16, 4));
    EXPECT_EQ(buffer.bufferDepth(), 32);
    EXPECT_EQ(buffer.pixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(buffer.pixel(1, 0), 0xFF00FF00u);
    EXPECT_EQ(buffer.pixel(2, 0), 0xFF0000FFu);
    EXPECT_EQ(buffer.pixel(3, 1), 0x80000000u);
    EXPECT_EQ(buffer.pixel(4, 0), 0u);  // beyond the image: transparent
    EXPECT_EQ(buffer.pixel(0, 2), 0u);

    // The texture's texels come back as R, G, B, A bytes in the right order.
    ASSERT_TRUE(buffer.CreateTexture(0));
    glBindTexture(GL_TEXTURE_2D, buffer.textureName());
    unsigned char texels[16 * 4 * 4];
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
    const unsigned char expected[4][4] = {
        {255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}, {255, 255, 255, 255}};
    for (int x = 0; x < 4; ++x)
        for (int c = 0; c < 4; ++c)
            EXPECT_EQ(texels[x * 4 + c], expected[x][c]) << "texel " << x << " byte " << c;
    EXPECT_EQ(texels[(16 + 3) * 4 + 3], 128);  // the half-transparent one
    EXPECT_FLOAT_EQ(buffer.texelWidth(), 1.0f / 16);
    EXPECT_FLOAT_EQ(buffer.texelHeight(), 1.0f / 4);
}

TEST_F(ImageFormats, EveryDecoderFillsTheBuffer)
{
    QImage big(40, 30, QImage::Format_RGB32);
    big.fill(qRgb(200, 40, 20));
    for (const char* name : {"big.png", "big.bmp", "big.jpg", "big.tif", "big.tiff"}) {
        SCOPED_TRACE(name);
        GLBuffer buffer;
        ASSERT_TRUE(load(buffer, write(big, name)));
        EXPECT_EQ(buffer.bufferSize(), QSize(512, 512));
        const QRgb pixel = buffer.pixel(39, 29);
        EXPECT_NEAR(qRed(pixel), 200, 4);
        EXPECT_NEAR(qGreen(pixel), 40, 4);
        EXPECT_NEAR(qBlue(pixel), 20, 4);
        EXPECT_EQ(buffer.pixel(40, 29), 0u);
    }

    // GIF: Qt reads it but does not write it, so the test writes the file's bytes itself (a 2 x 1 image,
    // red then blue).
    const unsigned char gif[] = {'G', 'I', 'F', '8', '9', 'a', 2, 0, 1, 0, 0x80, 0, 0, 255,  0,    0, 0,  0,
                                 255, ',', 0,   0,   0,   0,   2, 0, 1, 0, 0,    2, 2, 0x44, 0x0A, 0, ';'};
    const QString gifPath = QDir(test::tempFolder()).filePath("two.gif");
    QFile file(gifPath);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(reinterpret_cast<const char*>(gif), sizeof gif);
    file.close();
    GLBuffer buffer;
    ASSERT_TRUE(load(buffer, gifPath));
    EXPECT_EQ(buffer.imageType(), "gif");
    EXPECT_EQ(buffer.bufferSize(), QSize(4, 1));
    EXPECT_EQ(buffer.pixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(buffer.pixel(1, 0), 0xFF0000FFu);
}

TEST_F(ImageFormats, FirstPageOfAPdf)
{
    const QString path = QDir(test::tempFolder()).filePath("page.pdf");
    {
        QPdfWriter writer(path);
        writer.setResolution(72);
        writer.setPageSize(QPageSize(QSizeF(100, 60), QPageSize::Point));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter(&writer);
        painter.fillRect(QRect(0, 0, 100, 60), QColor(0, 0, 255));
        writer.newPage();
        painter.fillRect(QRect(0, 0, 100, 60), QColor(255, 0, 0));
    }
    GLBuffer buffer;
    ASSERT_TRUE(load(buffer, path));
    EXPECT_EQ(buffer.imageType(), "pdf");
    EXPECT_EQ(buffer.imageSize(), QSize(100, 60));
    EXPECT_EQ(buffer.bufferSize(), QSize(512, 512));
    const QRgb pixel = buffer.pixel(50, 30);
    EXPECT_LT(qRed(pixel), 30);
    EXPECT_GT(qBlue(pixel), 220);
    EXPECT_EQ(qAlpha(pixel), 255);
}

TEST_F(ImageFormats, SizesAndMipmapLevels)
{
    QImage wide(640, 480, QImage::Format_RGB32);
    wide.fill(qRgb(10, 20, 30));
    wide.setPixel(511, 479, qRgb(250, 0, 0));
    GLBuffer buffer;
    ASSERT_TRUE(load(buffer, write(wide, "wide.png")));
    EXPECT_EQ(buffer.bufferSize(), QSize(512, 512));
    EXPECT_EQ(buffer.pixel(511, 479), 0xFFFA0000u);  // cut at 512, unscaled
    EXPECT_EQ(buffer.pixel(0, 480), 0u);
    ASSERT_TRUE(buffer.CreateTexture(3));
    glBindTexture(GL_TEXTURE_2D, buffer.textureName());
    GLint maxLevel = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, &maxLevel);
    EXPECT_EQ(maxLevel, 9);
    GLint side = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 9, GL_TEXTURE_WIDTH, &side);
    EXPECT_EQ(side, 1);
    // Level 1 is the whole buffer scaled to 256: the image fills 240 of its rows.
    std::vector<unsigned char> level1(256 * 256 * 4);
    glGetTexImage(GL_TEXTURE_2D, 1, GL_RGBA, GL_UNSIGNED_BYTE, level1.data());
    EXPECT_NEAR(level1[(100 * 256 + 100) * 4 + 2], 30, 2);
    EXPECT_EQ(level1[(250 * 256 + 100) * 4 + 3], 0);

    GLBuffer small;
    ASSERT_TRUE(load(small, write(QImage(16, 8, QImage::Format_RGB32), "small.png")));
    EXPECT_EQ(small.bufferSize(), QSize(256, 64));
    ASSERT_TRUE(small.CreateTexture(3));
    glBindTexture(GL_TEXTURE_2D, small.textureName());
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, &maxLevel);
    EXPECT_EQ(maxLevel, 8);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 8, GL_TEXTURE_HEIGHT, &side);
    EXPECT_EQ(side, 1);
}

TEST_F(ImageFormats, BadFilesAreRefusedWithAMessage)
{
    const QString folder = test::tempFolder();
    QImage image(20, 20, QImage::Format_RGB32);
    image.fill(Qt::green);
    const QString good = write(image, "good.png");
    QFile goodFile(good);
    ASSERT_TRUE(goodFile.open(QIODevice::ReadOnly));
    const QByteArray bytes = goodFile.readAll();

    const auto writeBytes = [&](const QString& name, const QByteArray& content) {
        const QString path = QDir(folder).filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return path;
    };
    const QString truncated = writeBytes("truncated.png", bytes.left(bytes.size() / 2));
    const QString corrupt = writeBytes("corrupt.png", QByteArray(300, '\x5a'));
    const QString empty = writeBytes("empty.png", QByteArray());
    const QString missing = QDir(folder).filePath("missing.png");

    for (const QString& path : {truncated, corrupt, empty, missing}) {
        SCOPED_TRACE(path.toStdString());
        GLBuffer buffer;
        testing::internal::CaptureStderr();
        const bool loaded = load(buffer, path) && buffer.CreateTexture(3);
        const std::string log = testing::internal::GetCapturedStderr();
        EXPECT_FALSE(loaded);
        EXPECT_NE(log.find("Log: "), std::string::npos) << log;
        EXPECT_EQ(buffer.textureName(), 0u);
        EXPECT_EQ(GLBuffer::liveTextures(), 0);
    }
}

TEST(Datafile, OpenModes)
{
    const QString folder = test::tempFolder();
    const FSSpec missing{QDir(folder).filePath("new.dat")};
    Datafile file;
    EXPECT_FALSE(file.Open(missing, "w"));
    EXPECT_FALSE(file.Open(missing, "r"));
    EXPECT_FALSE(QFile::exists(missing.path));
    ASSERT_TRUE(file.Open(missing, "W+"));
    EXPECT_TRUE(QFile::exists(missing.path));
    file.file().write("abc");
    file.Close();
    ASSERT_TRUE(file.Open(missing, "a"));
    file.file().write("de");
    file.Close();
    ASSERT_TRUE(file.Open(missing, "R"));
    EXPECT_EQ(file.size(), 5);
    EXPECT_EQ(file.file().readAll(), "abcde");
}

namespace {

// A PDF of one page of side by side points, filled blue, as small as such a file gets.
QByteArray pdfOfOnePage(int side)
{
    const QByteArray content =
        "0 0 1 rg 0 0 " + QByteArray::number(side) + " " + QByteArray::number(side) + " re f";
    const QList<QByteArray> objects = {
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + QByteArray::number(side) + " " +
            QByteArray::number(side) + "] /Contents 4 0 R >>",
        "<< /Length " + QByteArray::number(content.size()) + " >>\nstream\n" + content + "\nendstream",
    };
    QByteArray pdf = "%PDF-1.4\n";
    QList<qsizetype> offsets;
    for (int n = 0; n < objects.size(); ++n) {
        offsets.push_back(pdf.size());
        pdf += QByteArray::number(n + 1) + " 0 obj\n" + objects[n] + "\nendobj\n";
    }
    const qsizetype xref = pdf.size();
    pdf += "xref\n0 " + QByteArray::number(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (qsizetype offset : offsets)
        pdf += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    pdf += "trailer\n<< /Size " + QByteArray::number(objects.size() + 1) + " /Root 1 0 R >>\nstartxref\n" +
           QByteArray::number(xref) + "\n%%EOF\n";
    return pdf;
}

quint32 crc32Of(const QByteArray& bytes)
{
    quint32 crc = 0xffffffffu;
    for (const char byte : bytes) {
        crc ^= quint8(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

QByteArray bigEndian(quint32 value)
{
    QByteArray bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = char(value >> (24 - 8 * i));
    return bytes;
}

// A PNG of width x height pixels of the bit depth and colour type whose image data are rows.
QByteArray pngOf(int width, int height, int depth, int colourType, const QByteArray& rows)
{
    const auto chunk = [&](const QByteArray& type, const QByteArray& data) {
        return bigEndian(quint32(data.size())) + type + data + bigEndian(crc32Of(type + data));
    };
    const QByteArray header = bigEndian(quint32(width)) + bigEndian(quint32(height)) + char(depth) +
                              char(colourType) + QByteArray("\x00\x00\x00", 3);
    const QByteArray zlib = qCompress(rows, 9).mid(4);  // without Qt's length prefix
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", header) + chunk("IDAT", zlib) +
           chunk("IEND", QByteArray());
}

// A valid black-and-white PNG of side x side pixels: a few kilobytes that decode to side² words.
QByteArray pngBomb(int side)
{
    return pngOf(side, side, 1, 0, QByteArray(qsizetype(side) * (1 + (side + 7) / 8), '\0'));
}

QString writeFile(const QString& name, const QByteArray& bytes)
{
    const QString path = QDir(test::tempFolder()).filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
}

qint64 peakResidentBytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return qint64(usage.ru_maxrss) * 1024;
}

// The most the test process may have had resident at any moment: 300 MB, above what a sanitizer's own
// bookkeeping takes where one is built in.
qint64 residentBound()
{
    static const qint64 bound = (qint64(300) << 20) + (test::underSanitizer() ? peakResidentBytes() : 0);
    return bound;
}

// The image as a JPEG, progressive (its scans refine the whole picture) or baseline (one scan, top down).
QByteArray jpegOf(const QImage& image, bool progressive)
{
    QByteArray bytes;
    QBuffer device(&bytes);
    device.open(QIODevice::WriteOnly);
    QImageWriter writer(&device, "jpeg");
    writer.setProgressiveScanWrite(progressive);
    EXPECT_TRUE(writer.write(image));
    return bytes;
}

// The offset of the first marker FF m in a JPEG's bytes (-1 when there is none).
qsizetype markerAt(const QByteArray& jpeg, const QList<int>& markers)
{
    for (qsizetype at = 2; at + 1 < jpeg.size(); ++at)
        if (quint8(jpeg[at]) == 0xFF && markers.contains(quint8(jpeg[at + 1])))
            return at;
    return -1;
}

// The JPEG with its frame header claiming width x height pixels: what follows stays that of the small
// picture, so the file is a few hundred bytes.
QByteArray claiming(QByteArray jpeg, int width, int height)
{
    const qsizetype frame = markerAt(jpeg, {0xC0, 0xC1, 0xC2});
    EXPECT_GT(frame, 0);
    jpeg[frame + 5] = char(height >> 8);
    jpeg[frame + 6] = char(height);
    jpeg[frame + 7] = char(width >> 8);
    jpeg[frame + 8] = char(width);
    return jpeg;
}

// The baseline JPEG with its scan header naming only its first component: a sequential file whose later
// scans would bring the other components, which a decoder keeps the whole picture for.
QByteArray withOneComponentInTheFirstScan(QByteArray jpeg)
{
    const qsizetype scan = markerAt(jpeg, {0xDA});
    EXPECT_GT(scan, 0);
    const int length = quint8(jpeg[scan + 2]) << 8 | quint8(jpeg[scan + 3]);
    const QByteArray first = jpeg.mid(scan + 5, 2);
    const QByteArray header = QByteArray("\xFF\xDA\x00\x08\x01", 5) + first + QByteArray("\x00\x3F\x00", 3);
    return jpeg.replace(scan, 2 + length, header);
}

}  // namespace

// Decoding has the limits reading has: a page or a picture that would take far more memory than the 512 x
// 512 buffer keeps is drawn at the size the buffer takes, or refused with the reason.
TEST_F(ImageFormats, AHugePdfPageIsDrawnAtTheSizeOfTheBuffer)
{
    residentBound();
    const QByteArray pdf = pdfOfOnePage(30000);
    ASSERT_LT(pdf.size(), 500);
    GLBuffer buffer;
    ASSERT_TRUE(load(buffer, writeFile("huge-page.pdf", pdf))) << buffer.failure().toStdString();
    EXPECT_EQ(buffer.imageSize(), QSize(512, 512));
    EXPECT_EQ(buffer.bufferSize(), QSize(512, 512));
    const QRgb corner = buffer.pixel(511, 511);
    EXPECT_GT(qBlue(corner), 220);
    EXPECT_LT(qRed(corner), 30);
    EXPECT_LT(peakResidentBytes(), residentBound());

    // A page of another shape keeps it, fitted into the buffer.
    GLBuffer wide;
    QByteArray widePdf = pdfOfOnePage(20000);
    widePdf.replace("/MediaBox [0 0 20000 20000]", "/MediaBox [0 0 20000 5000]");
    ASSERT_TRUE(load(wide, writeFile("wide-page.pdf", widePdf)));
    EXPECT_EQ(wide.imageSize(), QSize(512, 128));
    EXPECT_LT(peakResidentBytes(), residentBound());
}

TEST_F(ImageFormats, APictureLargerThanTheDecodersLimitIsRefusedWithTheReason)
{
    residentBound();
    GLBuffer buffer;
    EXPECT_FALSE(load(buffer, writeFile("bomb.png", pngBomb(12000))));
    EXPECT_NE(buffer.failure().indexOf(QLatin1String("12000 x 12000")), -1) << buffer.failure().toStdString();
    EXPECT_NE(buffer.failure().indexOf(QLatin1String("too large")), -1);
    EXPECT_EQ(buffer.pixels(), nullptr);
    EXPECT_LT(peakResidentBytes(), residentBound());

    // A large JPEG is read only where the buffer keeps it: its top left corner, unscaled.
    QImage photo(3000, 2000, QImage::Format_RGB32);
    photo.fill(qRgb(0, 0, 250));
    QPainter(&photo).fillRect(QRect(0, 0, 256, 256), qRgb(250, 0, 0));
    const QString path = QDir(test::tempFolder()).filePath("photo.jpg");
    ASSERT_TRUE(photo.save(path, "JPEG", 95));
    photo = QImage();
    GLBuffer jpeg;
    ASSERT_TRUE(load(jpeg, path)) << jpeg.failure().toStdString();
    EXPECT_EQ(jpeg.imageSize(), QSize(3000, 2000));
    EXPECT_EQ(jpeg.bufferSize(), QSize(512, 512));
    EXPECT_GT(qRed(jpeg.pixel(100, 100)), 220);
    EXPECT_GT(qBlue(jpeg.pixel(400, 400)), 220);
    EXPECT_GT(qBlue(jpeg.pixel(511, 511)), 220);
}

// What a decoder will hold is worked out from the header before it decodes: a file of a few hundred bytes
// whose header claims a huge picture the decoder would keep whole is refused by its size, and the test
// process never holds more than the bound. Pictures of a size the decoder can take still load.
TEST(PictureDecodeBound, HeadersClaimingHugePicturesAreRefusedBeforeTheyAreDecoded)
{
    residentBound();
    QImage colour(16, 16, QImage::Format_RGB32);
    colour.fill(qRgb(200, 30, 30));
    const QImage grey = colour.convertToFormat(QImage::Format_Grayscale8);
    const QByteArray progressive = claiming(jpegOf(colour, true), 30000, 30000);
    const QByteArray progressiveGrey = claiming(jpegOf(grey, true), 30000, 30000);
    const QByteArray scansByComponent =
        claiming(withOneComponentInTheFirstScan(jpegOf(colour, false)), 60000, 60000);
    const QByteArray deepPng = pngOf(8192, 4096, 16, 6, QByteArray(1 + 8192 * 8, '\0'));
    struct Case {
        const char* name;
        QByteArray bytes;
        const char* size;
    };
    for (const Case& refused : {Case{"progressive.jpg", progressive, "30000 x 30000"},
                                Case{"progressive-grey.jpg", progressiveGrey, "30000 x 30000"},
                                Case{"scan-per-component.jpg", scansByComponent, "60000 x 60000"},
                                Case{"deep.png", deepPng, "8192 x 4096"}}) {
        SCOPED_TRACE(refused.name);
        EXPECT_LT(refused.bytes.size(), 2000);
        GBuffer buffer;
        EXPECT_TRUE(buffer.SetImage(writeFile(refused.name, refused.bytes).toUtf8().constData()));
        EXPECT_FALSE(buffer.LoadImage());
        EXPECT_NE(buffer.failure().indexOf(QLatin1String(refused.size)), -1)
            << buffer.failure().toStdString();
        EXPECT_NE(buffer.failure().indexOf(QLatin1String("too large")), -1);
        EXPECT_EQ(buffer.pixels(), nullptr);
    }

    // A baseline JPEG is decoded row by row, and only as far as the buffer keeps: its corner is read
    // within the bound whatever size it claims.
    GBuffer baseline;
    ASSERT_TRUE(load(baseline, writeFile("baseline.jpg", claiming(jpegOf(colour, false), 60000, 60000))))
        << baseline.failure().toStdString();
    EXPECT_EQ(baseline.imageSize(), QSize(60000, 60000));
    EXPECT_EQ(baseline.bufferSize(), QSize(512, 512));
    EXPECT_LT(peakResidentBytes(), residentBound());

    // A progressive photo and a 16-bit PNG of ordinary sizes load.
    QImage photo(1600, 1200, QImage::Format_RGB32);
    photo.fill(qRgb(0, 0, 250));
    QPainter(&photo).fillRect(QRect(0, 0, 256, 256), qRgb(250, 0, 0));
    GBuffer progressivePhoto;
    ASSERT_TRUE(load(progressivePhoto, writeFile("photo.jpg", jpegOf(photo, true))))
        << progressivePhoto.failure().toStdString();
    EXPECT_GT(qRed(progressivePhoto.pixel(100, 100)), 220);
    EXPECT_GT(qBlue(progressivePhoto.pixel(400, 400)), 220);
    QImage deep(64, 32, QImage::Format_RGBA64);
    deep.fill(QColor(10, 200, 30));
    GBuffer deepSmall;
    ASSERT_TRUE(load(deepSmall, write(deep, "deep-small.png"))) << deepSmall.failure().toStdString();
    EXPECT_NEAR(qGreen(deepSmall.pixel(63, 31)), 200, 1);
    EXPECT_LT(peakResidentBytes(), residentBound());
}

TEST(PictureDecodeBound, AJpegFrameIsReadFromItsHeaderWithinItsBytes)
{
    QImage colour(40, 24, QImage::Format_RGB32);
    colour.fill(Qt::white);
    const QByteArray baseline = jpegOf(colour, false);
    std::optional<JpegFrame> frame = readJpegFrame(baseline);
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->width, 40);
    EXPECT_EQ(frame->height, 24);
    EXPECT_EQ(frame->components, 3);
    EXPECT_EQ(frame->precision, 8);
    EXPECT_FALSE(frame->progressive);
    EXPECT_FALSE(frame->wholeImage);
    EXPECT_EQ(frame->coefficientBytes(), 0);

    // 30000² at 4:2:0 (Y at twice the chroma's sampling): two bytes a coefficient, 1.5 a pixel.
    frame = readJpegFrame(claiming(jpegOf(colour, true), 30000, 30000));
    ASSERT_TRUE(frame);
    EXPECT_TRUE(frame->progressive);
    EXPECT_TRUE(frame->wholeImage);
    EXPECT_EQ(frame->maxHSampling, 2);
    EXPECT_EQ(frame->coefficientBytes(), (3750LL * 3750 + 2 * 1875LL * 1875) * 128);
    frame = readJpegFrame(
        claiming(jpegOf(colour.convertToFormat(QImage::Format_Grayscale8), true), 65500, 65500));
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->components, 1);
    EXPECT_EQ(frame->coefficientBytes(), 8188LL * 8188 * 128);

    // A header cut short, a segment running past the end, or no JPEG at all holds no frame.
    const qsizetype scan = markerAt(baseline, {0xDA});
    EXPECT_FALSE(readJpegFrame(baseline.left(markerAt(baseline, {0xC0}) + 6)));
    EXPECT_FALSE(readJpegFrame(baseline.left(scan + 3)));
    QByteArray overlong = baseline;
    overlong[markerAt(baseline, {0xC0}) + 2] = char(0x7F);
    EXPECT_FALSE(readJpegFrame(overlong));
    EXPECT_FALSE(readJpegFrame(QByteArray(200, char(0xFF))));
    EXPECT_FALSE(decoderBytes("jpeg", QByteArray("\xFF\xD8\xFF\xD9", 4), QSize(8, 8), 32, QSize(8, 8)));
    // Any other decoder holds the whole picture at the depth it decodes to.
    EXPECT_EQ(decoderBytes("png", {}, QSize(8192, 4096), 64, QSize(512, 512)), 8192LL * 4096 * 8);
    EXPECT_EQ(decoderBytes("gif", {}, QSize(100, 10), 0, QSize(100, 10)), 4000);
}
