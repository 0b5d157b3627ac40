#include "tools/vendaro-lab/labcommand.h"

#include <QCoreApplication>

#include <cstdio>
#include <map>

namespace {

std::map<QString, const LabCommand*>& Registry()
{
    static std::map<QString, const LabCommand*> commands;
    return commands;
}

void PrintHelp()
{
    LabPrint(QStringLiteral("vendaro-lab: the lab's tool for preparing Vendaro installations.\n\nCommands:"));
    for (const auto& [name, command] : Registry()) {
        LabPrint("  vendaro-lab " + command->usage);
        for (const QString& line : command->help.split(u'\n'))
            LabPrint("      " + line);
    }
    LabPrint(QStringLiteral("  vendaro-lab --help\n      Shows this text."));
}

} // namespace

LabCommand::LabCommand(QString name_, QString usage_, QString help_, std::function<int(const QStringList&)> run_)
    : name(std::move(name_))
    , usage(std::move(usage_))
    , help(std::move(help_))
    , run(std::move(run_))
{
    Registry()[name] = this;
}

int LabFail(const QString& message)
{
    std::fprintf(stderr, "vendaro-lab: %s\n", message.toUtf8().constData());
    return 1;
}

void LabPrint(const QString& text)
{
    std::fprintf(stdout, "%s\n", text.toUtf8().constData());
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty() || args.front() == QLatin1String("--help") || args.front() == QLatin1String("-h")) {
        PrintHelp();
        return args.isEmpty() ? 1 : 0;
    }
    const auto it = Registry().find(args.takeFirst());
    if (it == Registry().end())
        return LabFail("unknown command; see vendaro-lab --help");
    return it->second->run(args);
}
