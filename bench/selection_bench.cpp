// Composing on a 1000 x 1000 map: moving a selection of the whole map by one field and undoing
// that, against one memmove of the grid; copying the whole map, against one memcpy of it; and
// the memory a floating selection of the whole map holds, against the grid's own size.
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

#include "BenchRatio.h"
#include "editor/History.h"
#include "editor/MapDocument.h"
#include "editor/Selection.h"

namespace {

using editor::Document;
constexpr std::size_t kGridBytes = sizeof(std::int32_t) * editor::kFieldsSize * editor::kFieldsSize;

void UseRandomMap() {
    Document = editor::MapDocument{};
    editor::ResetDocument();
    Document.LastFieldX = editor::kFieldsSize - 1;
    Document.LastFieldY = editor::kFieldsSize - 1;
    std::mt19937 random(7);
    for (int x = 0; x < editor::kFieldsSize; ++x) {
        for (int y = 0; y < editor::kFieldsSize; ++y) {
            Document.Fields(x, y) = static_cast<std::int32_t>(random() % 32);
        }
    }
    editor::ResetHistory();
    editor::ResetSelection();
    editor::HistoryClear();
}

// Select all, lift, one field to the right, put down; then undo it.
void MoveWholeMap(benchmark::State& state) {
    UseRandomMap();
    for (auto _ : state) {
        editor::SelectAll();
        editor::Lift();
        editor::MoveFloatingTo(1, 0);
        editor::PutDown(0);
        state.PauseTiming();
        editor::HistoryUndo();
        state.ResumeTiming();
    }
}

void UndoWholeMapMove(benchmark::State& state) {
    UseRandomMap();
    for (auto _ : state) {
        state.PauseTiming();
        editor::SelectAll();
        editor::Lift();
        editor::MoveFloatingTo(1, 0);
        editor::PutDown(0);
        state.ResumeTiming();
        editor::HistoryUndo();
    }
}

void MemmoveGrid(benchmark::State& state) {
    std::vector<std::int32_t> grid(kGridBytes / sizeof(std::int32_t), 1);
    for (auto _ : state) {
        std::memmove(grid.data() + editor::kFieldsSize, grid.data(),
                     kGridBytes - editor::kFieldsSize * sizeof(std::int32_t));
        benchmark::DoNotOptimize(grid.data());
    }
}

void CopyWholeMap(benchmark::State& state) {
    UseRandomMap();
    for (auto _ : state) {
        editor::FieldBlock block = editor::CopyFields({0, 0, 999, 999});
        benchmark::DoNotOptimize(block.Tiles.data());
    }
}

void MemcpyGrid(benchmark::State& state) {
    UseRandomMap();
    for (auto _ : state) {
        std::vector<std::int32_t> copy(kGridBytes / sizeof(std::int32_t));
        std::memcpy(copy.data(), &Document.Fields(0, 0), kGridBytes);
        benchmark::DoNotOptimize(copy.data());
    }
}

}  // namespace

BENCHMARK(MoveWholeMap)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(UndoWholeMapMove)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(MemmoveGrid)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(CopyWholeMap)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(MemcpyGrid)->Unit(benchmark::kMillisecond)->MinTime(2.0);

int main(int argc, char** argv) {
    UseRandomMap();
    editor::SelectAll();
    editor::Lift();
    const std::size_t floating = editor::Selection.Block.Tiles.capacity() * sizeof(std::int32_t);
    std::printf("floating selection of the whole map: %zu bytes, %.2fx the grid (goal 2x)\n",
                floating, static_cast<double>(floating) / static_cast<double>(kGridBytes));
    editor::DropFloating();
    return bench_support::RunWithRatios(argc, argv,
                                        {{"MoveWholeMap", "MemmoveGrid"},
                                         {"UndoWholeMapMove", "MemmoveGrid"},
                                         {"CopyWholeMap", "MemcpyGrid"}},
                                        {20, 20, 2});
}
