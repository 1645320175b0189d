// Reading the largest roll the program takes: 64000 punch holes, both passes.
// The target is well under 20 ms for the file.
//
// The roll is the one scripts/make-big-roll writes. Set VELMORA_BIG_ROLL to
// the path of such a file to use it; otherwise the script writes one into a
// temporary folder first.
#include "bench/bigroll.h"
#include "prt/holelist.h"
#include "prt/prtreader.h"

#include <QFile>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {

using namespace velmora;

HoleList &Holes()
{
    static const auto holes = std::make_unique<HoleList>();
    return *holes;
}

void reportRoll(benchmark::State &state, const PrtReadResult &result)
{
    if (!result.ok() || Holes().holeCount() == 0)
        state.SkipWithError("the roll could not be read");
    state.counters["holes"] = Holes().holeCount();
}

void BM_ReadPrtFile(benchmark::State &state)
{
    const QString path = bigRollPath();
    PrtReadResult result;
    for (auto _ : state) {
        result = PrtReader::readPrtFile(path, Holes());
        benchmark::DoNotOptimize(result);
    }
    reportRoll(state, result);
}
BENCHMARK(BM_ReadPrtFile)->Unit(benchmark::kMillisecond);

void BM_ReadPrtBytes(benchmark::State &state)
{
    QFile file(bigRollPath());
    if (!file.open(QIODevice::ReadOnly)) {
        state.SkipWithError("the roll could not be opened");
        return;
    }
    const QByteArray bytes = file.readAll();
    PrtReadResult result;
    for (auto _ : state) {
        result = PrtReader::readPrtBytes(bytes, Holes());
        benchmark::DoNotOptimize(result);
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
    reportRoll(state, result);
}
BENCHMARK(BM_ReadPrtBytes)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
