#include "platform/media/SystemSound.h"

#include "platform/media/MediaPlayer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

#include <mutex>

namespace nupo {

namespace {

QStringList soundFolders()
{
    QStringList folders;
    if (QCoreApplication::instance() != nullptr)
        folders << QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("resources/sounds"));
    const QString sourceDir = qEnvironmentVariable("NUPO_SOURCE_DIR");
    if (!sourceDir.isEmpty())
        folders << QDir(sourceDir).filePath(QStringLiteral("resources/sounds"));
#ifdef NUPO_SOURCE_DIR
    folders << QDir(QStringLiteral(NUPO_SOURCE_DIR)).filePath(QStringLiteral("resources/sounds"));
#endif
    return folders;
}

}  // namespace

QString systemSoundPath(const QString& name)
{
    // A plain name only: nothing that could reach outside the sounds folder.
    static const QRegularExpression plainName(QStringLiteral("^[A-Za-z0-9 _-]+$"));
    if (!plainName.match(name).hasMatch())
        return {};
    for (const QString& folder : soundFolders()) {
        const QFileInfo file(QDir(folder).filePath(name + QStringLiteral(".wav")));
        if (file.isFile())
            return file.absoluteFilePath();
    }
    return {};
}

bool playSystemSound(const QString& name)
{
    const QString path = systemSoundPath(name);
    if (path.isEmpty())
        return false;
    static std::mutex mutex;
    static MediaPlayer* player = nullptr;  // one for all system sounds, kept to the end of the process
    std::lock_guard lock(mutex);
    if (player == nullptr)
        player = new MediaPlayer;
    player->stop();
    if (player->path() != path && !player->open(path))
        return false;
    player->play();
    return true;
}

}  // namespace nupo
