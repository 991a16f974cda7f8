#include "QXDrawerSound/player/ui/MyQuickDrawView.h"

#include "platform/resources/ResourceLocator.h"

#include <QPainter>

#include <algorithm>
#include <cstdio>

namespace nupo {

namespace {

constexpr double frameOpacity = 0.4;
constexpr double backgroundOpacity = 0.2;

QString movieResource(const QString& fileName)
{
    return ResourceLocator::firstFileIn(ResourceLocator::resourceFolders(QStringLiteral("movies")), fileName);
}

}  // namespace

MyQuickDrawView::MyQuickDrawView(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(160, 120);
}

MyQuickDrawView::~MyQuickDrawView()
{
    if (qtMovieX == movieObject.get())
        qtMovieX = nullptr;
}

void MyQuickDrawView::fail(const char* message)
{
    std::printf("MyQuickDrawView: %s\n", message);
    std::fflush(stdout);
}

void MyQuickDrawView::awakeFromNib()
{
    movieFrameNumber = 1;
    const QString path = movieResource(QStringLiteral("Sample.mov"));
    if (path.isEmpty()) {
        fail("movie not found in bundle");
        return;
    }
    if (!createQTMovieFromMovieFilePath(path))
        return;
    const QString background = movieResource(QStringLiteral("orvel1.jpg"));
    if (background.isEmpty())
        fail("fileURLWithPath failed");
    else if (!backgroundImage.load(background))
        fail("initWithContentsOfURL failed");
    drawFrame();
}

MediaPlayer* MyQuickDrawView::createQTMovieFromMovieFilePath(const QString& path)
{
    if (path.isEmpty()) {
        fail("nil movie file path");
        return nullptr;
    }
    MediaPlayer::Options options;
    options.audioOutput = false;
    options.frameImages = true;
    auto opened = std::make_unique<MediaPlayer>(options);
    QString error;
    if (!opened->open(path, &error) || !opened->hasVideo()) {
        fail(error.isEmpty() ? "null qtmovie" : error.toLocal8Bit().constData());
        return nullptr;
    }
    if (qtMovieX == movieObject.get())
        qtMovieX = nullptr;
    movieObject = std::move(opened);
    qtMovieX = movieObject.get();
    // A step shows once the movie has decoded the frame it went to.
    movieObject->setFrameCallback([this] {
        drawFrame();
        update();
    });
    movieTime = 0;
    movieFrameNumber = 1;
    movieFrameCount = countMovieFrames();
    normalizeMovieRect();
    srcGWorld = makeGWorldForMovie();
    update();
    return movieObject.get();
}

void MyQuickDrawView::normalizeMovieRect()
{
    if (!movieObject) {
        fail("NULL movie in normalizeMovieRect");
        return;
    }
    movieBox = QRect(0, 0, movieObject->videoWidth(), movieObject->videoHeight());
}

QImage MyQuickDrawView::makeGWorldForMovie() const
{
    QImage world(movieBox.size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    world.fill(Qt::black);  // the picture starts black
    return world;
}

unsigned int MyQuickDrawView::countMovieFrames() const
{
    if (!movieObject) {
        fail("NULL movie in countMovieFrames");
        return 0;
    }
    return static_cast<unsigned int>(movieObject->frameCount()) + 1;
}

void MyQuickDrawView::drawFrame()
{
    if (movieObject && !srcGWorld.isNull())
        movieObject->renderFrame(srcGWorld.bits(), srcGWorld.width(), srcGWorld.height(),
                                 static_cast<std::size_t>(srcGWorld.bytesPerLine()));
}

void MyQuickDrawView::nextFrame()
{
    if (srcGWorld.isNull()) {
        fail("null gworld");
        return;
    }
    if (!movieObject) {
        fail("null movie");
        return;
    }
    // The counter counts steps from 1; the frame count is one more than the video frames. Once the
    // counter has reached it, the step goes back to the beginning.
    if (movieFrameNumber >= movieFrameCount) {
        goToBeginning();
        return;
    }
    // The next video sample: the first step may land on the sample at the movie's time itself (the
    // first frame), every later one goes to the sample after it.
    const long next = movieFrameNumber == 1 ? movieTime : movieTime + 1;
    const long last = static_cast<long>(movieFrameCount) - 2;
    movieTime = std::clamp(next, 0L, std::max(last, 0L));
    movieObject->showFrame(movieTime);
    movieFrameNumber += 1;
}

void MyQuickDrawView::goToBeginning()
{
    movieTime = 0;
    movieFrameNumber = 1;
    if (movieObject)
        movieObject->goToBeginning();
}

QImage MyQuickDrawView::gworldToNSImage(const QImage& world) const
{
    if (world.isNull()) {
        fail("nil gWorldPtr");
        return {};
    }
    return world.convertToFormat(QImage::Format_ARGB32);
}

void MyQuickDrawView::freeAllocatedObjects()
{
    backgroundImage = QImage();
}

void MyQuickDrawView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect area = rect();
    painter.fillRect(area, Qt::black);
    if (!srcGWorld.isNull()) {
        painter.drawImage(area, srcGWorld);
        const QImage image = gworldToNSImage(srcGWorld);
        painter.setOpacity(frameOpacity);
        painter.drawImage(area, image);
        painter.setOpacity(1.0);
    }
    drawFrameCounter(painter);
    drawBackgroundImage(painter);
}

void MyQuickDrawView::drawFrameCounter(QPainter& painter) const
{
    QFont font = painter.font();
    font.setPixelSize(12);
    painter.setFont(font);
    const QString text = QStringLiteral("Frame #%1").arg(movieFrameNumber);
    // Source copy: the text's box is painted whole, from the top of the view to below the baseline.
    painter.fillRect(QRect(0, 0, painter.fontMetrics().horizontalAdvance(text) + 2, 13), Qt::white);
    painter.setPen(Qt::black);
    painter.drawText(0, 10, text);
}

void MyQuickDrawView::drawBackgroundImage(QPainter& painter) const
{
    if (backgroundImage.isNull())
        return;
    painter.setOpacity(backgroundOpacity);
    painter.drawImage(rect(), backgroundImage);
    painter.setOpacity(1.0);
}

}  // namespace nupo
