#include "platform/viewhost/ui/GLRenderThread.h"

#include "platform/appkit/MainThread.h"
#include "platform/appkit/MemoryReturn.h"
#include "platform/appkit/ThreadSanitizerBuild.h"
#include "platform/gl/OffscreenGLContext.h"

#include <GL/gl.h>
#include <QCoreApplication>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <utility>
#include <vector>

namespace nupo {

namespace {

std::atomic<int> framesInFlight{0};
std::atomic<int> mainThreadWaits{0};
std::atomic<std::int64_t> mainThreadWaitNanoseconds{0};

std::vector<GLRenderThread*>& renderThreads()  // main thread only
{
    static auto* threads = new std::vector<GLRenderThread*>;  // never destroyed, for members ending late
    return *threads;
}

// The framebuffer's colour as it lies there, bottom row first (see finishFrame).
QImage readFrame(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, size.width(), size.height(), GL_BGRA, GL_UNSIGNED_BYTE, image.bits());
    return image;
}

// The frame read as a picture, top row first, opaque: a window shows the framebuffer's colour whatever the
// drawing left in its alpha channel (blending leaves less than full alpha where a view blends, e.g. at a
// texture's clamped edges). A picture with that alpha would be painted over whatever the widget's backing
// store held before (the widget paints opaque, nothing is erased under it). Needs no GL.
void finishFrame(QImage& image)
{
    if (image.isNull())
        return;
    image.mirror();
    auto* pixel = reinterpret_cast<quint32*>(image.bits());
    for (qsizetype i = 0, count = qsizetype(image.width()) * image.height(); i < count; ++i)
        pixel[i] |= 0xff000000u;
}

// Mesa's software drivers (llvmpipe, whose contexts of one driver instance share one rasteriser, softpipe,
// swrast) crash now and then with several threads drawing in contexts of one instance at once, llvmpipe
// inside glBitmap or while a frame is read back. Drawing threads whose context shares its instance with
// others therefore take turns, each still off the main thread, and in the order they asked, so that no
// window waits behind the others' frames twice.
std::atomic<bool> anyTakesTurns{false};

class Turns {
public:
    using Clock = std::chrono::steady_clock;
    static Turns& queue()
    {
        static auto* turns = new Turns;  // lives to process end: a thread left to a stuck frame holds a turn
        return *turns;
    }
    // Waits for this thread's turn until the deadline; false (the turn given up) when it did not come.
    bool take(Clock::time_point deadline)
    {
        std::unique_lock lock(mutex_);
        const unsigned ticket = next_++;
        const auto served = [&] { return serving_ == ticket; };
        if (deadline == Clock::time_point::max()) {
            changed_.wait(lock, served);
            return true;
        }
        if (changed_.wait_until(lock, deadline, served))
            return true;
        givenUp_.push_back(ticket);
        return false;
    }
    void pass()
    {
        {
            std::lock_guard lock(mutex_);
            ++serving_;
            // Turns given up are skipped.
            for (auto it = std::find(givenUp_.begin(), givenUp_.end(), serving_); it != givenUp_.end();
                 it = std::find(givenUp_.begin(), givenUp_.end(), serving_)) {
                givenUp_.erase(it);
                ++serving_;
            }
        }
        changed_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    unsigned next_ = 0;
    unsigned serving_ = 0;
    std::vector<unsigned> givenUp_;
};

// A drawing thread's turn, where it needs one, while it holds it. A frame waits for its turn as long as
// it takes (its stall clock starts once it has it); a job the main thread waits for gives its turn up at
// a deadline.
class Turn {
public:
    explicit Turn(bool needed, Turns::Clock::time_point deadline = Turns::Clock::time_point::max())
    {
        if (needed) {
            held_ = Turns::queue().take(deadline);
            refused_ = !held_;
        }
    }
    ~Turn() { release(); }
    Turn(const Turn&) = delete;
    Turn& operator=(const Turn&) = delete;
    // The turn was needed and did not come by the deadline.
    bool refused() const { return refused_; }
    void release()
    {
        if (std::exchange(held_, false))
            Turns::queue().pass();
    }

private:
    bool held_ = false;
    bool refused_ = false;
};

// Built for ThreadSanitizer, a drawing thread makes its context and draws a first, hidden picture in
// turns with the others. LLVM, with which llvmpipe compiles its shaders, makes its process-wide objects
// the first time they are asked for and publishes them through atomics of its own that ThreadSanitizer
// does not see; in turns, every thread's first compiling comes after the one before. The views' own
// frames then draw at once, so that our drawing code stays checked for what views of several kinds share.
#if defined(NUPO_THREAD_SANITIZER)
constexpr bool warmUpInTurns = true;
#else
constexpr bool warmUpInTurns = false;
#endif

// With a context current: lit, depth-tested geometry and a bitmap, read back, leaving the state as it was.
void drawHiddenPicture()
{
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glBegin(GL_TRIANGLES);
    glNormal3f(0.0f, 0.0f, 1.0f);
    glVertex2f(-1.0f, -1.0f);
    glVertex2f(1.0f, -1.0f);
    glVertex2f(0.0f, 1.0f);
    glEnd();
    glDisable(GL_LIGHTING);
    const GLubyte bit = 0x80;
    glRasterPos2f(0.0f, 0.0f);
    glBitmap(1, 1, 0.0f, 0.0f, 0.0f, 0.0f, &bit);
    GLubyte pixel[4] = {};
    glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    glPopAttrib();
}

// With a context current: whether it is one of Mesa's software drivers (or says nothing of itself).
bool isSoftwareDriver()
{
    const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    const QByteArray name = QByteArray(renderer ? renderer : "").toLower();
    return name.isEmpty() || name.contains("llvmpipe") || name.contains("softpipe") ||
           name.contains("swrast");
}

std::atomic<std::int64_t> stallNanoseconds{2'000'000'000};

// The deadline of a job that the main thread waits for on a drawing thread.
Turns::Clock::time_point jobDeadline()
{
    return Turns::Clock::now() + GLRenderThread::stallTime();
}

}  // namespace

struct GLRenderThread::Shared : std::enable_shared_from_this<GLRenderThread::Shared> {
    std::unique_ptr<OffscreenGLContext> context;  // made, used and freed on the thread
    bool takesTurns = false;                      // thread only: its driver instance is shared

    std::mutex mutex;
    std::condition_variable finished;
    QObject* receiver = nullptr;  // guarded by mutex; none once the thread is left to itself
    bool busy = false;            // guarded by mutex
    // Guarded by mutex: the frame in flight is waiting (queued, for its turn, or for a lock it needs)
    // rather than drawing; its stall clock stands.
    bool waiting = false;
    Clock::time_point started;  // guarded by mutex: when the frame in flight's stall clock started
    // Guarded by mutex: while the frame in flight waits behind another frame (waitBehind), whether that
    // one stalled.
    std::function<bool()> blockerStalled;

    // The moment the frame in flight counts as stalled if it has not ended; the caller holds mutex.
    Clock::time_point stallDeadlineLocked() const
    {
        return (waiting ? Clock::now() : started) + GLRenderThread::stallTime();
    }
    Frame newest;  // guarded by mutex
    // Guarded by mutex: what the frame in flight reads and its owner gave up; released on the main
    // thread as the frame ends.
    std::vector<std::shared_ptr<void>> kept;
};

namespace {

thread_local GLRenderThread::Shared* drawingHere = nullptr;  // while a frame draws on this thread

// On the thread: draws a frame and hands it over.
void drawFrame(GLRenderThread::Shared& shared, QSize size, const std::function<void()>& draw)
{
    QImage image;
    Turn turn(shared.takesTurns);
    // Current, with the framebuffer of that size bound and the viewport over it. Making a framebuffer of a
    // new size (a maximise) is not drawing: the stall clock starts after it.
    const bool sized = shared.context->resize(size);
    {
        std::lock_guard lock(shared.mutex);  // the frame draws from here on
        shared.waiting = false;
        shared.started = GLRenderThread::Clock::now();
    }
    if (sized) {
        drawingHere = &shared;
        draw();
        drawingHere = nullptr;
        image = readFrame(size);
    }
    turn.release();
    finishFrame(image);
    std::vector<std::shared_ptr<void>> kept;
    {
        std::lock_guard lock(shared.mutex);
        if (!image.isNull()) {
            shared.newest = GLRenderThread::Frame{std::move(image), shared.newest.serial + 1};
            // Posted before the frame counts as finished: the receiver outlives every frame it started
            // unless it destroyed this thread meanwhile, and then there is none.
            if (shared.receiver)
                postToMainThread(shared.receiver, new QEvent(GLRenderThread::frameReadyEvent()));
        }
        shared.busy = false;
        kept.swap(shared.kept);
        framesInFlight.fetch_sub(1, std::memory_order_acq_rel);
        shared.finished.notify_all();
    }
    // Released where they were made, on the main thread (the last reference may be this one).
    if (!kept.empty())
        performOnMainThread([kept = std::move(kept)]() mutable { kept.clear(); });
}

// A thread destroyed while it may still have work: it ends on its own (see GLRenderThread::destroy).
// Kept, with what it shares, until it has ended; for good where a frame never ends, so that what that
// frame uses stays reachable.
struct EndingThread {
    std::unique_ptr<WorkerThread> worker;
    std::shared_ptr<GLRenderThread::Shared> shared;
    std::shared_ptr<std::atomic<bool>> ended;  // set by the thread as it finishes
};

std::vector<EndingThread>& endingThreads()  // main thread only
{
    static auto* threads = new std::vector<EndingThread>;  // lives to process end (see above)
    return *threads;
}

// Held by an ending thread while it tells that it has finished, and by the main thread while it picks the
// threads to delete: a thread's telling is over before its thread, and what the telling holds, is deleted.
std::mutex& endingMutex()
{
    static std::mutex mutex;
    return mutex;
}

// Deletes the threads that have ended (their objects are joined at once).
void reapEndedThreads()
{
    auto& threads = endingThreads();
    std::vector<EndingThread> ended;
    std::unique_lock lock(endingMutex());
    for (auto it = threads.begin(); it != threads.end();) {
        // Only once its telling is over (seen under the lock): a thread may count as finished before.
        if (it->ended->load(std::memory_order_acquire)) {
            ended.push_back(std::move(*it));
            it = threads.erase(it);
        } else {
            ++it;
        }
    }
    lock.unlock();
    ended.clear();  // joins each, outside the list
}

// Lets the threads left to end finish: each frame in flight until it ends or would count as stalled,
// then the freeing of the context. Threads whose frame does not end are left to themselves.
void finishEndingThreads()
{
    for (EndingThread& thread : endingThreads()) {
        GLRenderThread::Shared& shared = *thread.shared;
        {
            std::unique_lock lock(shared.mutex);
            const auto ended = [&] { return !shared.busy; };
            if (!shared.finished.wait_until(lock, shared.stallDeadlineLocked(), ended))
                continue;
        }
        thread.worker->qThread()->wait();
    }
    reapEndedThreads();
}

}  // namespace

GLRenderThread::GLRenderThread(QObject* receiver, const QString& name)
    : receiver_(receiver), name_(name), shared_(std::make_shared<Shared>())
{
    renderThreads().push_back(this);
}

GLRenderThread::~GLRenderThread()
{
    destroy();
    auto& threads = renderThreads();
    threads.erase(std::remove(threads.begin(), threads.end(), this), threads.end());
}

bool GLRenderThread::create()
{
    destroy();
    shared_->receiver = receiver_;  // no thread runs yet
    worker_ = std::make_unique<WorkerThread>(name_);
    worker_->start();
    bool made = false;
    Shared& shared = *shared_;
    runOnThreadAndWait([&] {
        const Turn turn(warmUpInTurns, jobDeadline());
        if (turn.refused())
            return;
        // Sized at the first frame.
        auto context =
            std::make_unique<OffscreenGLContext>(QSize(1, 1), OffscreenGLContext::Driver::OwnInstance);
        if (!context->isValid())
            return;
        shared.takesTurns = context->sharesDriver() && isSoftwareDriver();
        if (warmUpInTurns)
            drawHiddenPicture();
        if (shared.takesTurns)
            anyTakesTurns.store(true, std::memory_order_release);
        shared.context = std::move(context);
        made = true;
    });
    if (!made) {
        worker_.reset();
        return false;
    }
    ready_ = true;
    return true;
}

void GLRenderThread::destroy()
{
    reapEndedThreads();
    if (!ready_)
        return;
    ready_ = false;
    std::shared_ptr<Shared> shared = std::exchange(shared_, std::make_shared<Shared>());
    {
        std::lock_guard lock(shared->mutex);
        shared->receiver = nullptr;                      // a frame still in flight posts nothing more
        shared_->newest.serial = shared->newest.serial;  // the next context's frames count on
    }
    EndingThread ending{std::move(worker_), shared, std::make_shared<std::atomic<bool>>(false)};
    WorkerThread* worker = ending.worker.get();
    QObject::connect(worker->qThread(), &QThread::finished, [ended = ending.ended] {  // on the thread
        const std::lock_guard lock(endingMutex());
        ended->store(true, std::memory_order_release);
        performOnMainThread(reapEndedThreads);
    });
    // After the frame in flight, if any.
    worker->runOnThread([shared, worker] {
        const Turn turn(shared->takesTurns, jobDeadline());
        if (turn.refused()) {
            (void)shared->context.release();  // never freed rather than freed beside another's drawing
        } else {
            shared->context.reset();
            // The driver's work for the context (compiling its shaders, on this thread and the
            // renderer's) leaves much memory free in the allocator's arenas, which it keeps: given back
            // here, off the main thread.
            trimFreeMemory();
        }
        worker->stop();  // on the thread itself: ends its loop, without waiting
    });
    endingThreads().push_back(std::move(ending));
    // The application's end lets them finish, before the process's own clean-up (which they may share).
    static const bool finishedAtTheEnd = [] {
        qAddPostRoutine(finishEndingThreads);
        return true;
    }();
    (void)finishedAtTheEnd;
}

bool GLRenderThread::isBusy() const
{
    std::lock_guard lock(shared_->mutex);
    return shared_->busy;
}

bool GLRenderThread::isStalled() const
{
    return timeUntilStalled() < Clock::duration::zero();
}

bool GLRenderThread::isWaitingBehindAStall() const
{
    std::function<bool()> blockerStalled;
    {
        std::lock_guard lock(shared_->mutex);
        if (!shared_->busy)
            return false;
        blockerStalled = shared_->blockerStalled;
    }
    return blockerStalled && blockerStalled();
}

GLRenderThread::Clock::duration GLRenderThread::timeUntilStalled() const
{
    return timeUntilStalled(*shared_);
}

// Negative once the frame in flight stalled; the largest duration with none in flight. A frame waiting
// behind another has the stall time left until that one stalls (or, to bound a wait for it, at most).
GLRenderThread::Clock::duration GLRenderThread::timeUntilStalled(Shared& shared)
{
    std::function<bool()> blockerStalled;
    Clock::duration left{};
    {
        std::lock_guard lock(shared.mutex);
        if (!shared.busy)
            return Clock::duration::max();
        blockerStalled = shared.blockerStalled;
        left = shared.stallDeadlineLocked() - Clock::now();
    }
    // Asked without the lock: the blocker's own state has a lock of its own.
    if (blockerStalled && blockerStalled())
        return Clock::duration(-1);
    return left;
}

namespace {

// On a drawing thread: runs wait with the frame's stall clock stopped (and, behind a blocker, counting as
// stalled whenever the blocker has).
void waitStopped(GLRenderThread::Shared& shared, std::function<bool()> blockerStalled,
                 const std::function<void()>& wait)
{
    using Clock = GLRenderThread::Clock;
    Clock::duration drawn{};
    {
        std::lock_guard lock(shared.mutex);
        drawn = Clock::now() - shared.started;
        shared.waiting = true;
        shared.blockerStalled = std::move(blockerStalled);
    }
    wait();
    std::function<bool()> released;  // destroyed outside the lock
    std::lock_guard lock(shared.mutex);
    shared.waiting = false;
    released.swap(shared.blockerStalled);
    shared.started = Clock::now() - drawn;
}

}  // namespace

void GLRenderThread::waitOffTheClock(const std::function<void()>& wait)
{
    if (Shared* shared = drawingHere)
        waitStopped(*shared, {}, wait);
    else
        wait();
}

void GLRenderThread::waitBehind(std::function<bool()> blockerStalled, const std::function<void()>& wait)
{
    if (Shared* shared = drawingHere)
        waitStopped(*shared, std::move(blockerStalled), wait);
    else
        wait();
}

std::function<bool()> GLRenderThread::stallProbeOfThisFrame()
{
    Shared* shared = drawingHere;
    if (!shared)
        return [] { return false; };
    return [frame = shared->weak_from_this()] {
        const std::shared_ptr<Shared> state = frame.lock();
        return state && timeUntilStalled(*state) < Clock::duration::zero();
    };
}

bool GLRenderThread::isCurrentThread() const
{
    return worker_ && worker_->isCurrentThread();
}

bool GLRenderThread::startFrame(QSize devicePixels, std::function<void()> draw)
{
    if (!ready_ || devicePixels.isEmpty())
        return false;
    {
        std::lock_guard lock(shared_->mutex);
        if (shared_->busy)
            return false;
        shared_->busy = true;
        shared_->waiting = true;  // until the thread begins it
    }
    framesInFlight.fetch_add(1, std::memory_order_acq_rel);
    worker_->runOnThread(
        [shared = shared_, devicePixels, draw = std::move(draw)] { drawFrame(*shared, devicePixels, draw); });
    return true;
}

void GLRenderThread::runOnThreadAndWait(const std::function<void()>& fn)
{
    std::mutex doneMutex;
    std::condition_variable doneSignal;
    bool done = false;
    const bool queued = worker_->runOnThread([&] {
        fn();
        std::lock_guard lock(doneMutex);
        done = true;
        doneSignal.notify_all();
    });
    if (!queued)
        return;
    // A job asked of an idle thread, whose result the caller needs at once (making the context, loading
    // textures): not a frame, which is what may stall.
    std::unique_lock lock(doneMutex);
    doneSignal.wait(lock, [&] { return done; });
}

bool GLRenderThread::runInContextNow(const std::function<void()>& fn)
{
    if (!ready_ || !joinUnlessStalled())
        return false;
    Shared& shared = *shared_;
    bool ran = false;
    runOnThreadAndWait([&] {
        const Turn turn(shared.takesTurns, jobDeadline());
        if (!turn.refused() && shared.context->makeCurrent()) {
            fn();
            ran = true;
        }
    });
    return ran;
}

bool GLRenderThread::join(Clock::duration longest)
{
    std::unique_lock lock(shared_->mutex);
    if (!shared_->busy)
        return true;
    if (longest <= Clock::duration::zero())
        return false;
    mainThreadWaits.fetch_add(1, std::memory_order_relaxed);
    const auto start = Clock::now();
    const bool ended = shared_->finished.wait_until(lock, start + longest, [this] { return !shared_->busy; });
    const Clock::duration waited = Clock::now() - start;
    mainThreadWaitNanoseconds.fetch_add(std::chrono::duration_cast<std::chrono::nanoseconds>(waited).count(),
                                        std::memory_order_relaxed);
    return ended;
}

bool GLRenderThread::joinUnlessStalled()
{
    const Clock::duration left = timeUntilStalled();
    if (left == Clock::duration::max())
        return true;
    return join(left);
}

bool GLRenderThread::drawingTakesTurns()
{
    return anyTakesTurns.load(std::memory_order_acquire);
}

GLRenderThread::Frame GLRenderThread::newestFrame() const
{
    std::lock_guard lock(shared_->mutex);
    return shared_->newest;
}

void GLRenderThread::releaseAfterFrame(std::shared_ptr<void> kept)
{
    std::lock_guard lock(shared_->mutex);
    if (shared_->busy)
        shared_->kept.push_back(std::move(kept));
    // Otherwise released as this returns.
}

bool GLRenderThread::anyFrameInFlight()
{
    return framesInFlight.load(std::memory_order_acquire) > 0;
}

void GLRenderThread::endAtOnceIfAFrameIsStuck(int exitCode)
{
    // Nothing is drawn any more: the frames in flight may end, each until it would count as stalled.
    for (GLRenderThread* thread : renderThreads())
        thread->joinUnlessStalled();
    finishEndingThreads();
    if (!anyFrameInFlight())
        return;
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(exitCode);
}

int GLRenderThread::threadsLeftToEnd()
{
    reapEndedThreads();
    return int(endingThreads().size());
}

int GLRenderThread::waitsForFrames()
{
    return mainThreadWaits.load(std::memory_order_relaxed);
}

double GLRenderThread::secondsWaitedForFrames()
{
    return double(mainThreadWaitNanoseconds.load(std::memory_order_relaxed)) * 1e-9;
}

QEvent::Type GLRenderThread::frameReadyEvent()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

GLRenderThread::Clock::duration GLRenderThread::stallTime()
{
    return std::chrono::nanoseconds(stallNanoseconds.load(std::memory_order_relaxed));
}

void GLRenderThread::setStallTime(Clock::duration time)
{
    stallNanoseconds.store(std::chrono::duration_cast<std::chrono::nanoseconds>(time).count(),
                           std::memory_order_relaxed);
}

}  // namespace nupo
