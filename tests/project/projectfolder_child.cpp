// A program with a project folder: makes one holding a file of argv[1] bytes, prints its path
// and keeps it until its standard input closes or it is killed.
#include "project/projectfolder.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const QString folder = CreateProjectFolder();
    QFile copy(folder + "/photo.sbm");
    if (folder.isEmpty() || !copy.open(QIODevice::WriteOnly) || copy.write(QByteArray(atoi(argv[1]), 'x')) < 0)
        return 1;
    copy.close();
    std::puts(QFile::encodeName(folder).constData());
    std::fflush(stdout);
    while (std::getchar() != EOF) { }
    return 0;
}
