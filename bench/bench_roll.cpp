// The cost of one preview redraw along a long roll. A redraw follows every
// punched hole, so one at the end of a 64000-hole roll should cost about what
// one at its start does.
#include "prt/holelist.h"
#include "roll/rollgeometry.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace velmora;

// A 64000-hole roll on paper 2500 units wide, X-begin rising by 0 to 60
// units from hole to hole.
const HoleList &longRoll()
{
    static const std::unique_ptr<HoleList> list = [] {
        auto holes = std::make_unique<HoleList>();
        holes->paperWidth = 2500.0f;
        holes->nType = QStringLiteral("P");
        quint32 state = 12345;
        const auto next = [&state](quint32 range) {
            state = state * 1664525u + 1013904223u;
            return qint32((state >> 8) % range);
        };
        qint32 x = 0;
        for (int i = 0; i < HoleList::Capacity; ++i) {
            x += next(61);
            Hole hole;
            hole.xBegin = x;
            hole.xEnd = x + 20 + next(200);
            hole.yPos = 100 + next(2300);
            hole.keywidth = 30 + next(30);
            holes->append(hole);
        }
        return holes;
    }();
    return *list;
}

// Arguments: nextNote, and 1 for the binary search on the ascending list or 0
// for the plain walk from hole 1.
void rollRedraw(benchmark::State &state)
{
    const HoleList &holes = longRoll();
    const RollRequest request{qint32(state.range(0)), 1000, 300, false, false, state.range(1) != 0};
    std::size_t shapes = 0;
    for (auto _ : state) {
        const std::vector<RollShape> drawn = drawRollShapes(holes, request);
        shapes = drawn.size();
        benchmark::DoNotOptimize(drawn.data());
    }
    state.counters["shapes"] = double(shapes);
}

BENCHMARK(rollRedraw)
    ->ArgNames({"nextNote", "search"})
    ->Args({1, 1})
    ->Args({32000, 1})
    ->Args({64000, 1})
    ->Args({64000, 0});

} // namespace

BENCHMARK_MAIN();
