// The sprite tables: pictures loaded into the shared tables' slots, each view's own textures of them drawn
// in its own context, and the slot, path and file checks.
#include "platform/gl/OffscreenGLContext.h"
#include "shared/CoreState.h"
#include "support/TestSupport.h"
#include "views3d/textures/gl/GLBuffer.h"
#include "views3d/textures/gl/ImageSources.h"
#include "views3d/textures/gl/MatrixFrame.h"
#include "views3d/textures/gl/ShadowApp.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QImage>

#include <cstring>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

using namespace nupo;

namespace {

constexpr int kSize = 200;
constexpr int kScale = 40;  // pixels per image pixel

void setPath(char* buffer, const QString& path)
{
    std::strcpy(buffer, path.toUtf8().constData());
}

class SpriteTable : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(context_.isValid()) << context_.errorString().toStdString();
        AppInitAX();
        AppInit();
        // Red, green, blue, white over yellow, cyan, magenta, black.
        QImage image(4, 2, QImage::Format_RGB32);
        const QRgb colours[8] = {qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(0, 0, 255),   qRgb(255, 255, 255),
                                 qRgb(255, 255, 0), qRgb(0, 255, 255), qRgb(255, 0, 255), qRgb(0, 0, 0)};
        for (int i = 0; i < 8; ++i)
            image.setPixel(i % 4, i / 4, colours[i]);
        path_ = QDir(test::tempFolder()).filePath("rgb.png");
        ASSERT_TRUE(image.save(path_));
    }
    void TearDown() override
    {
        sprites_.clear();
        textureInitX();
        textureInitXAX();
    }

    // The view's textures of the 3D table's pictures as they are now, made in the test's context.
    GLSprite* shown(int n)
    {
        EXPECT_TRUE(sprites_.show(shadow_appAX.pictures()));
        return sprites_.sprite(n);
    }

    // A view in image pixels, kScale screen pixels each, origin at the centre, y down.
    QImage drawSlot(int n) { return drawSlotIn(context_, n); }
    QImage drawSlotIn(OffscreenGLContext& context, int n)
    {
        glClearColor(0.2f, 0.2f, 0.2f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glDisable(GL_DEPTH_TEST);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        const double half = kSize / 2.0 / kScale;
        glOrtho(-half, half, half, -half, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        setRenderAX(n);
        return context.readPixels();
    }

    // The colour drawn at image pixel (x, y) of a 4 x 2 image centred in the view.
    static QRgb imagePixel(const QImage& frame, int x, int y)
    {
        return frame.pixel(kSize / 2 + (x - 2) * kScale + kScale / 2,
                           kSize / 2 + (y - 1) * kScale + kScale / 2);
    }

    static void expectColour(QRgb actual, int r, int g, int b)
    {
        EXPECT_NEAR(qRed(actual), r, 8);
        EXPECT_NEAR(qGreen(actual), g, 8);
        EXPECT_NEAR(qBlue(actual), b, 8);
    }

    OffscreenGLContext context_{QSize(kSize, kSize)};
    QString path_;
    // A 3D view's sprites, the table setRenderAX draws from on this thread.
    ViewSprites sprites_{SpriteScene::Spectrum};
    ViewSprites::Drawing drawing_{sprites_};
};

}  // namespace

TEST_F(SpriteTable, ATexturedQuadShowsTheImageInItsColours)
{
    setPath(outCHAR, path_);
    ASSERT_TRUE(textureInitReadSAX());
    // The sprite has the image's size and is centred, mipmapped, filtered at the highest quality.
    ASSERT_NE(shown(0), nullptr);
    GLSprite& sprite = *shown(0);
    EXPECT_EQ(sprite.info.frameWidth, 4.0f);
    EXPECT_EQ(sprite.info.frameHeight, 2.0f);
    EXPECT_EQ(sprite.info.centred, 1);
    EXPECT_EQ(sprite.info.filterQuality, 8.0f);
    EXPECT_EQ(sprite.info.textureMode, 3);

    // At that quality this renderer's anisotropic filter blurs magnified texels a little: each image
    // pixel still shows its own colour most.
    QImage frame = drawSlot(0);
    const int expected[8][3] = {{255, 0, 0},   {0, 255, 0},   {0, 0, 255},   {255, 255, 255},
                                {255, 255, 0}, {0, 255, 255}, {255, 0, 255}, {0, 0, 0}};
    for (int i = 0; i < 8; ++i) {
        const QRgb pixel = imagePixel(frame, i % 4, i / 4);
        const int channels[3] = {qRed(pixel), qGreen(pixel), qBlue(pixel)};
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(channels[c], expected[i][c], 80) << "pixel " << i << " channel " << c;
    }
    expectColour(frame.pixel(5, 5), 51, 51, 51);  // outside the quad

    // The slot's texture stays bound for the meshes drawn next; lighting ends off.
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), sprite.buffer->textureName());
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));

    // Without anisotropy every texel shows exactly.
    sprite.info.filterQuality = 1.0f;
    frame = drawSlot(0);
    for (int i = 0; i < 8; ++i)
        expectColour(imagePixel(frame, i % 4, i / 4), expected[i][0], expected[i][1], expected[i][2]);
}

TEST_F(SpriteTable, ATransparentColourOrAnEmptySlotDrawsNothing)
{
    setPath(outCHAR, path_);
    ASSERT_TRUE(shadow_appAX.InitAXS(0));
    shown(0)->info.colour.alpha = 0.0f;
    expectColour(imagePixel(drawSlot(0), 0, 0), 51, 51, 51);

    textureInitXAX();
    EXPECT_EQ(shown(0), nullptr);
    expectColour(imagePixel(drawSlot(0), 0, 0), 51, 51, 51);
    for (int n : {5, 999, 1000, 5000})
        expectColour(imagePixel(drawSlot(n), 0, 0), 51, 51, 51);
}

TEST_F(SpriteTable, NegativeImageNumbersDrawSlotZero)
{
    setPath(outCHAR, path_);
    ASSERT_TRUE(shadow_appAX.InitAXS(0));
    shown(0)->info.filterQuality = 1.0f;
    expectColour(imagePixel(drawSlot(-4), 2, 0), 0, 0, 255);
}

TEST_F(SpriteTable, ImageSetsFillTheirNumberedSlots)
{
    setPath(outCHARM[0], path_);
    setPath(outCHARM[255], path_);
    EXPECT_TRUE(ImageInitMXAX(0));
    EXPECT_TRUE(ImageInitMXAX(255));
    EXPECT_TRUE(ImageInitMX(255));
    EXPECT_NE(shadow_appAX.picture(255), nullptr);
    EXPECT_NE(shadow_app.picture(255), nullptr);
    EXPECT_EQ(shadow_app.picture(0), nullptr);
    ASSERT_NE(shown(255), nullptr);
    shown(255)->info.filterQuality = 1.0f;
    expectColour(imagePixel(drawSlot(255), 1, 1), 0, 255, 255);

    // Numbers beyond the path table or the slots are refused.
    testing::internal::CaptureStderr();
    EXPECT_FALSE(ImageInitMXAX(256));
    EXPECT_FALSE(ImageInitMXAX(-1));
    EXPECT_FALSE(shadow_appAX.InitAXS(1000));
    EXPECT_FALSE(shadow_appAX.InitAXS(-1));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("outside"), std::string::npos);
}

TEST_F(SpriteTable, AViewGivesImageZeroOfANewSetItsDrawingFilterAtOnce)
{
    const float maximum = maxAnisotropy();
    if (maximum <= 0.0f)
        GTEST_SKIP() << "no anisotropic filtering here";
    setPath(outCHARM[0], path_);
    setPath(outCHARM[1], path_);
    ASSERT_TRUE(ImageInitMXAX(0));
    ASSERT_TRUE(ImageInitMXAX(1));
    ASSERT_NE(shown(0), nullptr);

    // Image 0 draws mipmapped with the best filtering from the first frame, also where only its texture
    // is bound (the walls and surfaces bind the image they showed last); the others get it when drawn.
    const auto anisotropyOf = [](const GLSprite* sprite) {
        GLfloat value = 0.0f;
        glBindTexture(GL_TEXTURE_2D, sprite->buffer->textureName());
        glGetTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, &value);
        return value;
    };
    EXPECT_FLOAT_EQ(anisotropyOf(shown(0)), maximum);  // quality 8: the most the driver has
    EXPECT_FLOAT_EQ(anisotropyOf(shown(1)), 1.0f);
    glBindTexture(GL_TEXTURE_2D, 0);
}

TEST_F(SpriteTable, UsingAnImageBindsItWithItsFilterAndDrawsNoQuad)
{
    // What the scenes do when their image changes: the slot's texture bound with its drawing filter for
    // the meshes drawn next, lighting off as drawing the sprite leaves it, and no sprite quad in the
    // picture.
    setPath(outCHARM[0], path_);
    setPath(outCHARM[1], path_);
    ASSERT_TRUE(ImageInitMXAX(0));
    ASSERT_TRUE(ImageInitMXAX(1));
    ASSERT_NE(shown(1), nullptr);
    glEnable(GL_LIGHTING);
    glClearColor(0.2f, 0.2f, 0.2f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    useImageAX(1);
    expectColour(imagePixel(context_.readPixels(), 0, 0), 51, 51, 51);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), shown(1)->buffer->textureName());
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    if (const float maximum = maxAnisotropy(); maximum > 0.0f) {
        GLfloat anisotropy = 0.0f;
        glGetTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, &anisotropy);
        EXPECT_FLOAT_EQ(anisotropy, maximum);
    }
    GLint filter = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
    EXPECT_EQ(filter, GL_LINEAR_MIPMAP_LINEAR);
    // An empty slot binds nothing.
    glBindTexture(GL_TEXTURE_2D, 0);
    useImageAX(7);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(bound, 0);
}

TEST_F(SpriteTable, OverlongPathsAreRefused)
{
    // A path longer than a slot accepts, and one with no terminating zero in its entry.
    std::string longPath = "/" + std::string(300, 'a');
    setPath(outCHAR, QString::fromStdString(longPath));
    setPath(outCHARM[3], path_);
    ASSERT_TRUE(ImageInitMXAX(3));
    std::memset(outCHARM[3], 'b', outCHARMSize);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(shadow_appAX.InitAXS(0));
    EXPECT_FALSE(ImageInitMXAX(3));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("too long"), std::string::npos);
    EXPECT_EQ(shadow_appAX.picture(0), nullptr);
    EXPECT_EQ(shadow_appAX.picture(3), nullptr);  // the old image is gone: the slot is empty
    EXPECT_EQ(shown(3), nullptr);
    EXPECT_EQ(GLBuffer::liveTextures(), 0);
}

TEST_F(SpriteTable, AFailedLoadLeavesTheSlotEmpty)
{
    setPath(outCHAR, path_);
    ASSERT_TRUE(shadow_appAX.InitAXS(7));
    setPath(outCHAR, QDir(test::tempFolder()).filePath("none.png"));
    testing::internal::CaptureStderr();
    EXPECT_FALSE(shadow_appAX.InitAXS(7));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("Log: "), std::string::npos);
    EXPECT_EQ(shown(7), nullptr);
    EXPECT_EQ(GLBuffer::liveTextures(), 0);
    expectColour(imagePixel(drawSlot(7), 0, 0), 51, 51, 51);
}

TEST_F(SpriteTable, ReloadingASlotFreesWhatItHeld)
{
    setPath(outCHAR, path_);
    ASSERT_TRUE(shadow_appAX.InitAXS(0));
    for (int i = 0; i < 200; ++i) {
        ASSERT_TRUE(shadow_appAX.InitAXS(0));
        ASSERT_NE(shown(0), nullptr);  // each new set replaces the view's textures of the one before
    }
    EXPECT_EQ(GLBuffer::liveTextures(), 1);
    EXPECT_EQ(blitterAX.liveBuffers(), 1);
    // Only the newest texture exists in the context.
    int textures = 0;
    for (GLuint name = 1; name < 3000; ++name)
        textures += glIsTexture(name) ? 1 : 0;
    EXPECT_EQ(textures, 1);
    EXPECT_TRUE(glIsTexture(shown(0)->buffer->textureName()));

    textureInitXAX();
    EXPECT_EQ(shown(0), nullptr);
    EXPECT_EQ(GLBuffer::liveTextures(), 0);
    EXPECT_EQ(blitterAX.liveBuffers(), 0);
}

TEST_F(SpriteTable, EachViewDrawsItsOwnTexturesOfTheSharedPictures)
{
    setPath(outCHAR, path_);
    ASSERT_TRUE(shadow_appAX.InitAXS(0));
    const SharedPictureSet first = shadow_appAX.pictures();
    ASSERT_NE(shown(0), nullptr);
    shown(0)->info.filterQuality = 1.0f;
    const GLuint ownName = shown(0)->buffer->textureName();

    // A second view in a context of its own makes its own texture of the same picture.
    OffscreenGLContext other(QSize(kSize, kSize));
    ASSERT_TRUE(other.isValid());
    ViewSprites otherSprites(SpriteScene::Spectrum);
    const auto drawOther = [&](const SharedPictureSet& set) {
        EXPECT_TRUE(other.makeCurrent());
        InitGLAX();
        const ViewSprites::Drawing drawingThere(otherSprites);
        EXPECT_TRUE(otherSprites.show(set));
        EXPECT_NE(otherSprites.sprite(0), nullptr);
        if (!otherSprites.sprite(0))
            return QImage();
        EXPECT_TRUE(glIsTexture(otherSprites.sprite(0)->buffer->textureName()));
        otherSprites.sprite(0)->info.filterQuality = 1.0f;
        QImage frame = drawSlotIn(other, 0);
        EXPECT_TRUE(context_.makeCurrent());
        return frame;
    };
    expectColour(imagePixel(drawOther(first), 2, 0), 0, 0, 255);
    EXPECT_EQ(GLBuffer::liveTextures(), 2);

    // A new set in the shared table: the first view still shows, from its own copy, what it showed, and
    // the pictures stay alive while it does.
    const std::weak_ptr<const SpritePictureSet> kept = first;
    QImage green(4, 2, QImage::Format_RGB32);
    green.fill(Qt::green);
    const QString greenPath = QDir(test::tempFolder()).filePath("green.png");
    ASSERT_TRUE(green.save(greenPath));
    setPath(outCHAR, greenPath);
    ASSERT_TRUE(shadow_appAX.InitAXS(0));
    EXPECT_FALSE(kept.expired());
    expectColour(imagePixel(drawSlot(0), 2, 0), 0, 0, 255);

    // The other view takes the new set: its old texture goes in its own context, and the first view's
    // texture in this one stays and still shows the first picture.
    expectColour(imagePixel(drawOther(shadow_appAX.pictures()), 2, 0), 0, 255, 0);
    EXPECT_EQ(GLBuffer::liveTextures(), 2);
    EXPECT_TRUE(glIsTexture(ownName));
    expectColour(imagePixel(drawSlot(0), 2, 0), 0, 0, 255);
    ASSERT_TRUE(other.makeCurrent());
    otherSprites.clear();
    ASSERT_TRUE(context_.makeCurrent());
    EXPECT_EQ(GLBuffer::liveTextures(), 1);
}

TEST(PictureFiles, AreReadWithTheChecksOfEveryFileAndRefusedWithTheirReason)
{
    const QString folder = test::tempFolder();
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(Qt::red);
    const QString good = QDir(folder).filePath("good.png");
    ASSERT_TRUE(image.save(good));
    const QString fifo = QDir(folder).filePath("pipe.png");
    ASSERT_EQ(::mkfifo(fifo.toUtf8().constData(), 0600), 0);
    const QString zero = QDir(folder).filePath("zero.png");
    ASSERT_TRUE(QFile::link("/dev/zero", zero));
    const QString folderNamedPicture = QDir(folder).filePath("folder.png");
    ASSERT_TRUE(QDir().mkpath(folderNamedPicture));
    const QString text = QDir(folder).filePath("text.png");
    {
        QFile file(text);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("no picture");
    }
    const QString huge = QDir(folder).filePath("huge.png");
    {
        QFile file(huge);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(GBuffer::maxImageFileBytes + 1));  // sparse: nothing is written
    }
    const QString missing = QDir(folder).filePath("missing.png");

    std::vector<RefusedPicture> refused;
    const SharedPictureSet set =
        loadPictureSet({good, fifo, zero, folderNamedPicture, text, huge, missing}, &refused);
    ASSERT_EQ(set->pictures.size(), 7u);
    EXPECT_EQ(set->loaded(), 1);
    ASSERT_NE(set->picture(0), nullptr);
    // The picture as a texture takes it: 3 x 2 pixels unscaled in a 9 x 4 buffer, and its mipmap chain.
    EXPECT_EQ(set->picture(0)->imageSize(), QSize(3, 2));
    EXPECT_EQ(set->picture(0)->level(0).bufferSize(), QSize(9, 4));
    EXPECT_EQ(set->picture(0)->level(0).pixel(2, 1), 0xffff0000u);
    EXPECT_EQ(set->picture(0)->level(0).pixel(3, 1), 0u);
    EXPECT_EQ(set->picture(0)->levelCount(), 4);  // 9 x 4, 4 x 2, 2 x 1, 1 x 1
    ASSERT_EQ(refused.size(), 6u);
    const char* reasons[] = {"FIFO", "device", "folder", "no picture", "more than", "no such file"};
    for (std::size_t n = 0; n < refused.size(); ++n) {
        EXPECT_EQ(refused[n].path,
                  (QStringList{fifo, zero, folderNamedPicture, text, huge, missing}[int(n)]));
        EXPECT_TRUE(refused[n].reason.contains(reasons[n], Qt::CaseInsensitive))
            << refused[n].reason.toStdString();
    }
}

TEST_F(SpriteTable, ImagesAreFoundInTheImagesResources)
{
    const QString folder = test::tempFolder();
    ASSERT_TRUE(QDir(folder).mkpath("resources/Images"));
    ASSERT_TRUE(QFile::copy(path_, folder + "/resources/Images/named.png"));
    qputenv("NUPO_SOURCE_DIR", folder.toUtf8());
    std::strcpy(outCHAR, "named.png");
    EXPECT_TRUE(shadow_appAX.InitAXS(0));
    std::strcpy(outCHAR, "unknown.png");
    testing::internal::CaptureStderr();
    EXPECT_FALSE(shadow_appAX.InitAXS(0));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("no image file named unknown.png"),
              std::string::npos);
}

TEST_F(SpriteTable, SpritePlacementAndFrames)
{
    setPath(outCHAR, path_);
    ASSERT_TRUE(shadow_appAX.InitAXS(0));
    ASSERT_NE(shown(0), nullptr);
    GLSprite& sprite = *shown(0);
    sprite.info.filterQuality = 1.0f;
    // Frames of 2 x 1 image pixels, two to a row: frame 3 is the bottom right pair (magenta, black).
    sprite.info.frameWidth = 2;
    sprite.info.frameHeight = 1;
    sprite.info.columns = 2;
    sprite.info.rows = 2;
    sprite.frame = 2.0f;  // bottom left pair: yellow, cyan
    // Corner at the point (not centred), moved one image pixel left: the frame covers (-1, 0) to (1, 1).
    sprite.info.centred = 0;
    sprite.matrix.position = Vec(-1, 0, 0);
    const QImage frame = drawSlot(0);
    // Sampled on the texel centres, 40 pixels apart, half a pixel down.
    expectColour(frame.pixel(kSize / 2 - 20, kSize / 2 + 20), 255, 255, 0);
    expectColour(frame.pixel(kSize / 2 + 20, kSize / 2 + 20), 0, 255, 255);
    expectColour(frame.pixel(kSize / 2 - 20, kSize / 2 - 20), 51, 51, 51);
    expectColour(frame.pixel(kSize / 2 + 60, kSize / 2 + 20), 51, 51, 51);

    // The transform leaves the modelview matrix as it found it.
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);
}

TEST_F(SpriteTable, MatrixFramesPopOnce)
{
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(1, 2, 3);
    GLfloat before[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, before);
    {
        MatrixFrame frame;
        GLint depth = 0;
        glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
        EXPECT_EQ(depth, 2);
        frame <<= QMatrix();
        GLfloat inside[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, inside);
        for (int i = 0; i < 16; ++i)
            EXPECT_FLOAT_EQ(inside[i], before[i]);
        QMatrix turn;
        turn.rotation = Quat(0.70710678f, 0, 0, 0.70710678f);
        turn.position = Vec(5, 0, 0);
        frame <<= turn;
        glGetFloatv(GL_MODELVIEW_MATRIX, inside);
        EXPECT_NEAR(inside[0], 0, 1e-6);  // x goes to y
        EXPECT_NEAR(inside[1], 1, 1e-6);
        EXPECT_NEAR(inside[12], 6, 1e-6);  // moved by 5 in x on top of 1
        frame.UnFrame();
        frame.UnFrame();
        glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
        EXPECT_EQ(depth, 1);
    }
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);
    GLfloat after[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    for (int i = 0; i < 16; ++i)
        EXPECT_FLOAT_EQ(after[i], before[i]);
}
