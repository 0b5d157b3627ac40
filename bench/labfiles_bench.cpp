// Loading the lab's list files at the size limit (kLabFileMaxBytes): a formats file and a shop
// list of short lines, the worst case for per-line work. Both must stay linear in the size.
#include "bench/benchmain.h"
#include "core/log.h"
#include "lab/formats.h"
#include "lab/listfile.h"
#include "lab/shoplist.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <functional>

namespace {

// A file of numbered lines filling the size limit; returns its path.
QString WriteLines(const QTemporaryDir& dir, const std::function<QByteArray(int)>& line)
{
    const QString path = dir.filePath(QStringLiteral("list.txt"));
    QByteArray text;
    for (int i = 0;; ++i) {
        const QByteArray next = line(i) + "\r\n";
        if (text.size() + next.size() > kLabFileMaxBytes)
            break;
        text += next;
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
        return {};
    return path;
}

// Loads a file of lines at the size limit into a fresh List each iteration.
template <typename List>
void LoadAtTheLimit(
    benchmark::State& state, const std::function<QByteArray(int)>& line, bool (List::*load)(const QString&))
{
    QTemporaryDir dir;
    const QString path = WriteLines(dir, line);
    for (auto _ : state) {
        List list;
        if (!(list.*load)(path))
            state.SkipWithError("the file did not load");
        LogStore().Clear();
    }
}

void BM_LoadFormatsAtTheLimit(benchmark::State& state)
{
    LoadAtTheLimit<TFormats>(
        state, [](int i) { return QByteArray::number(i) + "|F|99|102|152"; }, &TFormats::LoadFormats);
}
BENCHMARK(BM_LoadFormatsAtTheLimit)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_LoadShopsAtTheLimit(benchmark::State& state)
{
    LoadAtTheLimit<TShopList>(
        state, [](int i) { return QByteArray::number(i) + "||||||||||"; }, &TShopList::LoadFromFile);
}
BENCHMARK(BM_LoadShopsAtTheLimit)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    return RunBenchmarks<QCoreApplication>(argc, argv);
}
