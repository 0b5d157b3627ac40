// Replays fuzz inputs through a fuzz target outside libFuzzer, as a regression test in the
// normal build: the empty input first (libFuzzer always tries it), then every file named on the
// command line or found in a folder named there, in name order. A folder that does not exist is
// skipped, so a target without seeds or past findings still runs. A crash or a sanitizer report
// ends the process and fails the test.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

QStringList InputFiles(int argc, char** argv)
{
    QStringList files;
    for (int i = 1; i < argc; ++i) {
        const QString name = QFile::decodeName(argv[i]);
        const QFileInfo info(name);
        if (info.isFile()) {
            files << name;
        } else if (info.isDir()) {
            for (const QFileInfo& entry : QDir(name).entryInfoList(QDir::Files | QDir::Hidden, QDir::Name))
                files << entry.filePath();
        }
    }
    return files;
}

} // namespace

int main(int argc, char** argv)
{
    LLVMFuzzerTestOneInput(nullptr, 0);
    const QStringList files = InputFiles(argc, argv);
    for (const QString& name : files) {
        QFile file(name);
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(name));
            return 1;
        }
        const QByteArray bytes = file.readAll();
        std::printf("%s (%lld bytes)\n", qPrintable(name), static_cast<long long>(bytes.size()));
        std::fflush(stdout);
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size()));
    }
    std::printf("replayed %lld inputs and the empty one\n", static_cast<long long>(files.size()));
    return 0;
}
