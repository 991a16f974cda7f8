// Loading a window from any nib file: a nib the form loader cannot build safely is refused with
// "Failed to load <name>.nib" before it gets there; any other builds a window. Nothing crashes.

#include "FuzzSupport.h"

#include "platform/appkit/ui/NibController.h"
#include "platform/appkit/ui/NibLoader.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

using namespace nupo;

namespace {

QString nibPath;

void quiet(QtMsgType, const QMessageLogContext&, const QString&) {}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    new QApplication(*argc, *argv);  // lives to process end, as under libFuzzer
    static QTemporaryDir folder;
    FUZZ_CHECK(folder.isValid());
    NibLoader::addSearchFolder(folder.path());
    nibPath = folder.filePath(QStringLiteral("NupoFuzzNib.ui"));
    qInstallMessageHandler(quiet);  // every refused nib says why
    std::fclose(stdout);            // and "Failed to load"
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    {
        QFile file(nibPath);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_CHECK(file.write(reinterpret_cast<const char*>(data), qint64(size)) == qint64(size));
    }
    NibController* controller = NibLoader::loadNibNamed(QStringLiteral("NupoFuzzNib"));
    delete controller;  // and its window
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return 0;
}
