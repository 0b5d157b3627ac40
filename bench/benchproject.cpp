#include "bench/benchproject.h"

#include "core/coreobjects.h"

#include <QFile>
#include <QFont>

TBenchProject::TBenchProject()
{
    qputenv("TEMP", QFile::encodeName(temp_.path()));
    config.InitThumbSizes(QFont());
    formats.Add(QStringLiteral("10x15"), kFormat10x15, 102, 152, 50);
    formats.Add(QStringLiteral("13x18"), 2, 127, 178, 120);
    formats.Add(QStringLiteral("30x45"), kFormat30x45, 305, 457, 1500);
    engine.outputdpi = 300;
    engine.min_price = engine.delivery_price = engine.delivery_pricepre = -1;
    project = std::make_unique<TVDImage>();
    Core() = {&config, project.get(), &formats, &engine, &skinner};
}

TBenchProject::~TBenchProject()
{
    project.reset();
    Core() = {};
}
