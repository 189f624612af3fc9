// Repainting a browser-sized window full of text: a 1280 x 800 surface with a tree of 60
// visible rows (icons, dotted lines, a selected row) and a text pane of 60 lines, drawn with
// the default GUI font, glyph cache warm. Reports frames per second and the frame time as a
// share of one 60 Hz frame (below 1 fits). BM_ClearOnly is the floor: filling the surface.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "host/DefaultHost.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CImageList.h"
#include "platform/gdi/StockObjects.h"

namespace {

constexpr int kWidth = 1280, kHeight = 800, kRows = 60, kRowHeight = 13, kTreeWidth = 512;

class Scene {
public:
    Scene() {
        RegisterDefaultHostResources();
        m_dc.CreateCompatibleDC(nullptr);
        m_bitmap.CreateCompatibleBitmap(&m_dc, kWidth, kHeight);
        m_oldBitmap = m_dc.SelectObject(&m_bitmap);
        LOGFONT f{};
        GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof f, &f);
        m_font.CreateFontIndirect(&f);
        m_oldFont = m_dc.SelectObject(&m_font);
        CBitmap strip;
        strip.LoadBitmap(host::kIconStripBitmap);
        m_icons.Create(16, 16, ILC_COLORDDB | ILC_MASK, 8, 0);
        m_icons.Add(&strip, 0xFF00FF);
        m_dotted.CreatePen(PS_DOT, 1, 0x808080);
        m_oldPen = m_dc.SelectObject(&m_dotted);
        for (int i = 0; i < kRows; ++i) {
            char line[128];
            std::snprintf(line, sizeof line, "%02d:%02d:%02d  Camera %02d motion detected, recording started (pre-alarm 5 s)",
                          i % 24, (i * 7) % 60, (i * 13) % 60, i % 16 + 1);
            m_pane[i] = line;
            std::snprintf(line, sizeof line, i % 8 == 0 ? "2005-%02d" : "%02d:%02d:%02d (%02d)", i / 8 + 1, i % 60, i, i % 17);
            m_tree[i] = line;
        }
    }
    ~Scene() {
        m_dc.SelectObject(m_oldPen);
        m_dc.SelectObject(m_oldFont);
        m_dc.SelectObject(m_oldBitmap);
    }

    void Clear() { m_dc.FillSolidRect(0, 0, kWidth, kHeight, GetSysColor(COLOR_WINDOW)); }

    void Frame() {
        Clear();
        m_dc.SetBkMode(TRANSPARENT);
        for (int i = 0; i < kRows; ++i) TreeRow(i);
        m_dc.Draw3dRect(CRect(kTreeWidth, 0, kWidth, kHeight), GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
        m_dc.SetTextColor(GetSysColor(COLOR_WINDOWTEXT));
        for (int i = 0; i < kRows; ++i) {
            CRect line(kTreeWidth + 4, 2 + i * kRowHeight, kWidth - 20, 2 + (i + 1) * kRowHeight);
            m_dc.DrawText(m_pane[i], &line, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
        }
    }

    CDC& Dc() { return m_dc; }

private:
    void TreeRow(int i) {
        const int y = 2 + i * kRowHeight, indent = i % 8 == 0 ? 4 : 24;
        m_dc.MoveTo(indent - 12, y + kRowHeight / 2);
        m_dc.LineTo(indent, y + kRowHeight / 2);
        m_icons.Draw(&m_dc, i % 8 == 0 ? 0 : 2, CPoint(indent, y - 2), ILD_TRANSPARENT);
        const CSize extent = m_dc.GetTextExtent(m_tree[i]);
        const bool selected = i == 17;
        if (selected) m_dc.FillSolidRect(indent + 18, y, extent.cx + 4, extent.cy, GetSysColor(COLOR_HIGHLIGHT));
        m_dc.SetTextColor(GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        m_dc.TextOut(indent + 20, y, m_tree[i]);
    }

    CDC m_dc;
    CBitmap m_bitmap;
    CBitmap* m_oldBitmap = nullptr;
    CFont m_font;
    CFont* m_oldFont = nullptr;
    CPen m_dotted;
    CPen* m_oldPen = nullptr;
    CImageList m_icons;
    CString m_tree[kRows];
    CString m_pane[kRows];
};

void Report(benchmark::State& state) {
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    // Seconds per frame divided by 1/60 s: the share of one 60 Hz frame a repaint takes.
    state.counters["of_60Hz_frame"] = benchmark::Counter(static_cast<double>(state.iterations()) / 60.0,
                                                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_TextFrame(benchmark::State& state) {
    Scene scene;
    scene.Frame();  // warms the glyph cache
    for (auto _ : state) {
        scene.Frame();
        benchmark::DoNotOptimize(scene.Dc().GetPixel(0, 0));
    }
    Report(state);
}
BENCHMARK(BM_TextFrame)->Unit(benchmark::kMillisecond);

void BM_ClearOnly(benchmark::State& state) {
    Scene scene;
    for (auto _ : state) {
        scene.Clear();
        benchmark::DoNotOptimize(scene.Dc().GetPixel(0, 0));
    }
    Report(state);
}
BENCHMARK(BM_ClearOnly)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
