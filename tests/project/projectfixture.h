#pragma once
// A photo project with its surroundings for one test: a private temporary folder as the
// user's cache folder (the project folder goes there), a user configuration, a format
// catalogue, a lab configuration and a skin engine reachable through Core(), and photo files
// written on demand.
#include "core/core.h"
#include "lab/formats.h"
#include "lab/vdengine.h"
#include "project/uvdimage.h"
#include "skin/skinner.h"

#include <QImage>
#include <QTemporaryDir>

#include <memory>

// Catalogue of the fixture: id, name, sides in millimetres, price in hundredths.
inline constexpr int kFormat10x15 = 1; // 102 x 152 mm, 1795 x 1205 at 300 dpi, 0.50 zł
inline constexpr int kFormat13x18 = 2; // 127 x 178 mm, 1.20 zł
inline constexpr int kFormat30x45 = 3; // 305 x 457 mm, 15.00 zł

class TProjectFixture {
public:
    TProjectFixture();
    ~TProjectFixture();
    TProjectFixture(const TProjectFixture&) = delete;
    TProjectFixture& operator=(const TProjectFixture&) = delete;

    // The temporary folder standing in for the user's cache folder.
    QString TempFolder() const { return temp_.path(); }
    // A folder for the test's photo files.
    QString PhotoPath(const QString& name) const;

    // A photo with a gradient and a few edges, written as JPEG (quality 95) or through Qt by
    // the extension (".png", ".bmp").
    QString WritePhoto(const QString& name, int width, int height) const;

    TConfig config;
    TFormats formats;
    TEngine engine;
    TSkinner skinner;
    std::unique_ptr<TVDImage> project;

private:
    QTemporaryDir temp_;
    QTemporaryDir photos_;
    QByteArray previousCache_;
};

// A picture with smooth gradients, sharp edges and coloured blocks: every colour operation
// and every resampling error shows in it.
QImage TestPicture(int width, int height);
