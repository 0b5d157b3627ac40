#pragma once
// The core objects of a benchmark's project: a three-format catalogue at 300 dpi, default
// thumbnail settings, the project folder in a private temporary folder.
#include "core/core.h"
#include "lab/formats.h"
#include "lab/vdengine.h"
#include "project/uvdimage.h"
#include "ui/skinner.h"

#include <QTemporaryDir>

#include <memory>

inline constexpr int kFormat10x15 = 1;
inline constexpr int kFormat30x45 = 3;

class TBenchProject {
public:
    TBenchProject();
    ~TBenchProject();
    QString Temp(const QString& name) const { return temp_.filePath(name); }

    TConfig config;
    TFormats formats;
    TEngine engine;
    TSkinner skinner;
    std::unique_ptr<TVDImage> project;

private:
    QTemporaryDir temp_;
};
