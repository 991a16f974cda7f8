// The command line on any arguments (the input split at zero bytes): it never crashes, opens at most one
// file, which is one of the arguments byte for byte, names every other argument it does not use, and takes
// only a port in 1..65535 for the patch interface.

#include "FuzzSupport.h"

#include "app/CommandLine.h"

#include <QCoreApplication>

using namespace nupo;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv);  // the help text names the program
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QList<QByteArray> arguments{QByteArrayLiteral("nupo4")};
    arguments += QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)).split('\0');
    const CommandLine commandLine(arguments);
    switch (commandLine.action()) {
        case CommandLine::Action::Run: {
            const QByteArray& file = commandLine.fileToOpen();
            FUZZ_CHECK(commandLine.patchPort() >= 0 && commandLine.patchPort() <= 65535);
            FUZZ_CHECK(file.isEmpty() || arguments.indexOf(file, 1) >= 1);
            // Every argument is the file, an option or its value, or told about.
            qsizetype plain = 0;
            bool onlyFiles = false;  // after "--"
            for (qsizetype i = 1; i < arguments.size(); ++i) {
                const QByteArray& argument = arguments[i];
                if (!onlyFiles && argument == "--") {
                    onlyFiles = true;
                } else if (!onlyFiles && argument == "--patch-port") {
                    ++i;  // its value
                } else if (onlyFiles || argument.isEmpty() || argument == "-" || !argument.startsWith('-')) {
                    ++plain;
                }
            }
            FUZZ_CHECK(plain == 0 || !file.isEmpty() || !commandLine.notes().isEmpty());
            break;
        }
        case CommandLine::Action::ShowHelp:
            FUZZ_CHECK(!commandLine.helpText().isEmpty());
            break;
        case CommandLine::Action::Fail:
            FUZZ_CHECK(!commandLine.errorText().isEmpty());
            break;
        case CommandLine::Action::ShowVersion:
            break;
    }
    return 0;
}
