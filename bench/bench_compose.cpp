// Composing the command lines of a full roll: 64000 holes in the "Zelvoor"
// format with the calibration values 1010 (paper) and 1250 (arm).
#include "format/holecommandcomposer.h"
#include "format/outputformat.h"
#include "prt/holelist.h"

#include <benchmark/benchmark.h>

#include <memory>

using namespace velmora;

namespace {

// A plausible roll: holes advancing along the paper in small steps, spread
// over 88 tracks across it, each a few millimetres long.
std::unique_ptr<HoleList> makeRoll()
{
    auto list = std::make_unique<HoleList>();
    qint32 x = 200;
    for (int i = 0; i < HoleList::Capacity; ++i) {
        x += (i * 7) % 23;
        const qint32 track = (i * 37) % 88;
        Hole hole;
        hole.xBegin = x;
        hole.keynum = 21 + track;
        hole.xEnd = x + 20 + (i * 13) % 300;
        hole.yPos = 150 + track * 32;
        hole.keywidth = 20;
        hole.tracknum = track + 1;
        list->append(hole);
    }
    return list;
}

void BM_ComposeRoll(benchmark::State &state)
{
    const auto list = makeRoll();
    HoleCommandComposer composer(*list);
    composer.setFormat(
        OutputFormat::fromTexts(u"00050701****************", u"01040404****************"));
    composer.setXCalibration(1010.0f);
    composer.setYCalibration(1250.0f);
    for (auto _ : state) {
        for (int i = 1; i <= list->holeCount(); ++i) {
            ComposedLine line = composer.composeHoleCommand(i);
            benchmark::DoNotOptimize(line);
        }
    }
    state.SetItemsProcessed(state.iterations() * list->holeCount());
}

} // namespace

BENCHMARK(BM_ComposeRoll)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
