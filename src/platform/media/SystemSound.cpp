#include "platform/media/SystemSound.h"

#include "platform/media/MediaPlayer.h"
#include "platform/resources/ResourceLocator.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QStringList>

#include <mutex>
#include <utility>

namespace nupo {

namespace {

// One player for all system sounds, made on first use and closed with the application.
struct SystemSoundPlayer {
    std::mutex mutex;
    MediaPlayer* player = nullptr;
    bool closed = false;

    static SystemSoundPlayer& instance()
    {
        static auto* shared = new SystemSoundPlayer;
        return *shared;
    }

    static void close()
    {
        SystemSoundPlayer& shared = instance();
        std::lock_guard lock(shared.mutex);
        delete std::exchange(shared.player, nullptr);
        shared.closed = true;
    }
};

}  // namespace

QString systemSoundPath(const QString& name)
{
    // A plain name only: nothing that could reach outside the sounds folder.
    static const QRegularExpression plainName(QStringLiteral("^[A-Za-z0-9 _-]+$"));
    if (!plainName.match(name).hasMatch())
        return {};
    return ResourceLocator::firstFileIn(ResourceLocator::resourceFolders(QStringLiteral("sounds")),
                                        name + QStringLiteral(".wav"));
}

bool playSystemSound(const QString& name)
{
    const QString path = systemSoundPath(name);
    if (path.isEmpty() || QCoreApplication::instance() == nullptr)
        return false;
    SystemSoundPlayer& shared = SystemSoundPlayer::instance();
    std::lock_guard lock(shared.mutex);
    if (shared.player == nullptr) {
        if (shared.closed)
            return false;
        shared.player = new MediaPlayer;
        qAddPostRoutine(&SystemSoundPlayer::close);
    }
    shared.player->stop();
    if (shared.player->path() != path && !shared.player->open(path))
        return false;
    shared.player->play();
    return true;
}

}  // namespace nupo
