// Tree view figures: inserting items must take time linear in their count (compare the time
// per item at 10,000 and 100,000), and repainting a tree scrolled to its middle must cost the
// same whatever the item count (compare 1,000 and 100,000 items), well under a 60 Hz frame
// (16.7 ms) at 1280 x 800.
//
//   build/bench/bench_ui --benchmark_counters_tabular=true
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "platform/backends/HeadlessBackend.h"
#include "platform/ui/CTreeCtrl.h"

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 800;
constexpr DWORD kStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
                         TVS_SHOWSELALWAYS;

// Months of days, as the browsers fill their trees: 100 children per top item.
void Fill(CTreeCtrl& tree, int count) {
    const std::vector<std::string> labels = {"2005-04", "01", "02 (3)", "Ch03 (05)"};
    HTREEITEM parent = TVI_ROOT;
    for (int i = 0; i < count; ++i) {
        if (i % 100 == 0) {
            parent = tree.InsertItem(labels[0].c_str(), 0, 0, TVI_ROOT, TVI_LAST);
            continue;
        }
        tree.InsertItem(labels[1 + i % 3].c_str(), 2, 2, parent, TVI_LAST);
    }
}

void BM_InsertItems(benchmark::State& state) {
    HeadlessBackend backend(kWidth, kHeight);
    CWnd frame;
    frame.CreateEx(0, nullptr, "", WS_VISIBLE, CRect(0, 0, kWidth, kHeight), nullptr, 0);
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        CTreeCtrl tree;
        tree.Create(kStyle, CRect(0, 0, kWidth, kHeight), &frame, 1);
        state.ResumeTiming();
        Fill(tree, count);
        benchmark::DoNotOptimize(tree.GetCount());
        state.PauseTiming();
        tree.DestroyWindow();
        state.ResumeTiming();
    }
    state.counters["s_per_item"] = benchmark::Counter(
        static_cast<double>(count) * static_cast<double>(state.iterations()),
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_InsertItems)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_RepaintMiddle(benchmark::State& state) {
    HeadlessBackend backend(kWidth, kHeight);
    CWnd frame;
    frame.CreateEx(0, nullptr, "", WS_VISIBLE, CRect(0, 0, kWidth, kHeight), nullptr, 0);
    CTreeCtrl tree;
    tree.Create(kStyle, CRect(0, 0, kWidth, kHeight), &frame, 1);
    Fill(tree, static_cast<int>(state.range(0)));
    // Everything open, the middle item selected and scrolled into view.
    for (HTREEITEM i = tree.GetRootItem(); i; i = tree.GetNextSiblingItem(i)) tree.Expand(i, TVE_EXPAND);
    HTREEITEM middle = tree.GetRootItem();
    for (UINT skip = tree.GetCount() / 200; skip > 0 && tree.GetNextSiblingItem(middle); --skip) {
        middle = tree.GetNextSiblingItem(middle);
    }
    tree.SelectItem(tree.GetChildItem(middle));
    tree.SetFocus();
    backend.Render();
    for (auto _ : state) {
        tree.Invalidate();
        backend.Render();
    }
    state.counters["rows_shown"] = static_cast<double>(tree.GetVisibleCount());
}
BENCHMARK(BM_RepaintMiddle)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
