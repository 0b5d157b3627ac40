// A program that assembles a project while its saver keeps the project file, and is then
// killed: argv[1] the project file, argv[2] a folder for its thumbnails, argv[3..] the photos.
// It adds the photos and changes them as a customer would (format, crop, corrections, a new
// name, a quantity, a selection, the focus), waits until the file holds all of it, writes each
// thumbnail as thumb_<index>.png, prints "ready" and waits to be killed.
#include "project/projectfile.h"
#include "project/projectinput.h"
#include "project/projectsaver.h"
#include "tests/project/projectfixture.h"

#include <QGuiApplication>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 6)
        return 2;
    const QString path = QFile::decodeName(argv[1]);
    const QString thumbs = QFile::decodeName(argv[2]);
    TProjectFixture f;
    TVDImage& project = *f.project;
    TProjectSaver saver(project, path);
    for (int i = 3; i < argc; ++i)
        if (!project.AddPhoto(QFile::decodeName(argv[i])))
            return 1;
    project.SetFormat(0, kFormat13x18);
    project.SetFormat(1, kFormat10x15);
    Corrections crop = project.GetCorrections(1);
    crop.crop = { 0.125f, 0.2f, 0.5f, 0.6f, 0.625f, 0.8f };
    project.SetCorrections(1, crop);
    Corrections colour = project.GetCorrections(2);
    colour.rotation = 1;
    colour.sepia = 1;
    colour.sat = 40;
    colour.hue1 = -30;
    colour.contr = 25;
    project.SetCorrections(2, colour);
    for (int i = 0; i < project.Count(); ++i)
        project.RefreshThumbnail(i);
    project.Photo(0).name = RenamedName(project.Photo(0).name, QStringLiteral("wesele.jpg"));
    project.Photo(1).quantity = 3;
    project.Photo(0).selected = true;
    project.Photo(2).selected = true;
    project.focus = 1;

    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        const std::optional<TSavedProject> written = ReadProjectFile(path);
        if (!written || *written != SavedState(project))
            return;
        poll.stop();
        for (int i = 0; i < project.Count(); ++i)
            if (!project.Photo(i).thumbnail.save(thumbs + QStringLiteral("/thumb_%1.png").arg(i)))
                std::exit(1);
        std::puts("ready");
        std::fflush(stdout);
    });
    poll.start(50);
    return app.exec();
}
