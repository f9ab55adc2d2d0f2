// The window of a chart: a line chart drawn with GDI into a picture of its own, which the window
// shows (no flicker). The picture is drawn again only when what it shows changes, and only while
// the window is visible: a chart hidden in the tray or on another page costs nothing.
#include "ui/Chart.h"
#include "ui/ChartLayout.h"
#include "ui/win32/Win32Internal.h"

#include <cmath>
#include <memory>

namespace ui::win32 {

namespace {

const char kChartClass[] = "OrloChart";
const char kChartFace[] = "Tahoma"; // a TrueType face, which also draws the vertical title
// Posted after a change of the model: one check for a whole run of changes.
constexpr UINT kRefreshMessage = WM_APP + 0x40;
const COLORREF kGridColor = RGB(0xE0, 0xE0, 0xE0);

void FillBox(HDC dc, const chart::Box& box, COLORREF color) {
    RECT r{box.left, box.top, box.right, box.bottom};
    SetBkColor(dc, color);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

void Line(HDC dc, int x0, int y0, int x1, int y1) {
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
}

int TextWidth(HDC dc, const std::string& text) {
    SIZE size{0, 0};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

void Text(HDC dc, int x, int y, const std::string& text) {
    TextOutA(dc, x, y, text.c_str(), static_cast<int>(text.size()));
}

// A pen selected into a device context for as long as it lives.
class ScopedPen {
  public:
    ScopedPen(HDC dc, COLORREF color)
        : dc_(dc), pen_(CreatePen(PS_SOLID, 1, color)), old_(SelectObject(dc, pen_)) {}
    ~ScopedPen() {
        SelectObject(dc_, old_);
        DeleteObject(pen_);
    }
    ScopedPen(const ScopedPen&) = delete;
    ScopedPen& operator=(const ScopedPen&) = delete;

  private:
    HDC dc_;
    HPEN pen_;
    HGDIOBJ old_;
};

} // namespace

class ChartPeer : public WinPeer {
  public:
    ChartPeer(Win32Platform& platform, TChart& chart) : WinPeer(platform, chart), chart_(chart) {}
    ~ChartPeer() override {
        if (picture_) DeleteObject(picture_);
        if (font_) DeleteObject(font_);
        if (verticalFont_) DeleteObject(verticalFont_);
    }

    void Create() override {
        CreateFonts();
        RegisterOwnClass(platform_.Instance(), kChartClass);
        CreateChild(kChartClass, 0, 0, "");
        repaintsSeen_ = chart_.RepaintCount();
    }

    RECT Placement() const override { return AlignedPlacement(*this, chart_.Align); }

  protected:
    void Update(Prop prop) override {
        switch (prop) {
        case Prop::Chart:
        case Prop::Color:
        case Prop::FontColor:
        case Prop::Other:
            ModelChanged();
            break;
        case Prop::Caption:
            break; // a chart shows no caption
        default:
            WinPeer::Update(prop);
            break;
        }
    }

    LRESULT WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override {
        switch (msg) {
        case WM_ERASEBKGND:
            return 1; // the picture covers the whole window
        case WM_PAINT:
            Paint(hwnd);
            return 0;
        case WM_SIZE:
            InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        case kRefreshMessage:
            refreshPosted_ = false;
            if (OnScreen(hwnd_) && Refresh()) InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        default:
            break;
        }
        return OwnClassDefault(hwnd, msg, wParam, lParam);
    }

  private:
    // A change of the model: nothing while the window is not visible (it catches up when it
    // shows); an asked-for repaint draws at once; other changes are checked once the program
    // is idle again, after a whole run of them (a curve is cleared and added point by point).
    void ModelChanged() {
        bool repaint = chart_.RepaintCount() != repaintsSeen_;
        repaintsSeen_ = chart_.RepaintCount();
        if (!OnScreen(hwnd_)) return;
        if (repaint) {
            if (Refresh()) InvalidateRect(hwnd_, nullptr, FALSE);
            UpdateWindow(hwnd_);
        } else if (!refreshPosted_) {
            refreshPosted_ = PostMessageA(hwnd_, kRefreshMessage, 0, 0) != FALSE;
        }
    }

    // Brings the picture up to the model and the window's size; true when it was drawn anew.
    bool Refresh() {
        RECT client;
        GetClientRect(hwnd_, &client);
        SIZE size{client.right, client.bottom};
        chart::ChartState state = chart::StateOf(chart_);
        if (picture_ && size.cx == pictureSize_.cx && size.cy == pictureSize_.cy && state == drawn_)
            return false;
        if (size.cx <= 0 || size.cy <= 0) return false;
        HDC windowDc = GetDC(hwnd_);
        if (!picture_ || size.cx != pictureSize_.cx || size.cy != pictureSize_.cy) {
            if (picture_) DeleteObject(picture_);
            picture_ = CreateCompatibleBitmap(windowDc, size.cx, size.cy);
            pictureSize_ = size;
        }
        HDC dc = CreateCompatibleDC(windowDc);
        ReleaseDC(hwnd_, windowDc);
        if (!picture_ || !dc) {
            if (dc) DeleteDC(dc);
            return false;
        }
        HGDIOBJ oldBitmap = SelectObject(dc, picture_);
        HGDIOBJ oldFont = SelectObject(dc, font_ ? font_ : platform_.Font());
        Draw(dc, state, size.cx, size.cy);
        SelectObject(dc, oldFont);
        SelectObject(dc, oldBitmap);
        DeleteDC(dc);
        drawn_ = std::move(state);
        return true;
    }

    void Paint(HWND hwnd) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        Refresh();
        if (picture_) {
            HDC memory = CreateCompatibleDC(dc);
            HGDIOBJ old = SelectObject(memory, picture_);
            const RECT& r = ps.rcPaint;
            BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, memory, r.left, r.top,
                   SRCCOPY);
            SelectObject(memory, old);
            DeleteDC(memory);
        }
        EndPaint(hwnd, &ps);
    }

    void Draw(HDC dc, const chart::ChartState& state, int width, int height) {
        FillBox(dc, chart::Box{0, 0, width, height}, ColorRef(state.ground));
        TEXTMETRICA metrics{};
        GetTextMetricsA(dc, &metrics);
        chart::TextMeasure measure;
        measure.height = metrics.tmHeight;
        measure.width = [dc](const std::string& text) { return TextWidth(dc, text); };
        chart::Layout layout = chart::LayoutChart(state, width, height, measure);
        const chart::Box& plot = layout.plot;
        const COLORREF ink = ColorRef(state.text);

        if (plot.Width() >= 2 && plot.Height() >= 2) {
            const int right = plot.right - 1, bottom = plot.bottom - 1;
            FillBox(dc, plot, ColorRef(state.wall));
            {
                ScopedPen grid(dc, kGridColor);
                for (const chart::Tick& tick : layout.left)
                    if (tick.pos > plot.top && tick.pos < bottom)
                        Line(dc, plot.left + 1, tick.pos, right, tick.pos);
                for (const chart::Tick& tick : layout.bottom)
                    if (tick.pos > plot.left && tick.pos < right)
                        Line(dc, tick.pos, plot.top + 1, tick.pos, bottom);
            }
            {
                ScopedPen axes(dc, ink);
                POINT frame[] = {{plot.left, plot.top},
                                 {right, plot.top},
                                 {right, bottom},
                                 {plot.left, bottom},
                                 {plot.left, plot.top}};
                Polyline(dc, frame, 5);
                for (const chart::Tick& tick : layout.left)
                    Line(dc, plot.left - chart::kTickLength, tick.pos, plot.left, tick.pos);
                for (const chart::Tick& tick : layout.bottom)
                    Line(dc, tick.pos, plot.bottom, tick.pos, plot.bottom + chart::kTickLength);
            }
            if (layout.scaled) DrawSeries(dc, state, layout);
        }

        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, ink);
        for (const chart::Tick& tick : layout.left)
            Text(dc, tick.label.left, tick.label.top, tick.text);
        for (const chart::Tick& tick : layout.bottom)
            Text(dc, tick.label.left, tick.label.top, tick.text);
        if (!state.bottomTitle.empty()) {
            const chart::Box& box = layout.bottomTitle;
            int x = (box.left + box.right) / 2 - TextWidth(dc, state.bottomTitle) / 2;
            Text(dc, x, box.top, state.bottomTitle);
        }
        if (!state.leftTitle.empty()) {
            // Written upwards: it starts at the bottom, its top towards the window's left edge.
            const chart::Box& box = layout.leftTitle;
            int y = (box.top + box.bottom) / 2 + TextWidth(dc, state.leftTitle) / 2;
            HGDIOBJ old = SelectObject(dc, verticalFont_ ? verticalFont_ : platform_.Font());
            Text(dc, box.left, y, state.leftTitle);
            SelectObject(dc, old);
        }
    }

    // The line through the points, each stretch in the colour of the point it leads to; a point
    // of no number breaks the line, and the parts beyond the axes are cut off.
    static void DrawSeries(HDC dc, const chart::ChartState& state, const chart::Layout& layout) {
        const auto& points = state.points;
        std::unique_ptr<ScopedPen> pen;
        TColor penColor = 0;
        for (size_t i = 1; i < points.size(); ++i) {
            double x0 = layout.PixelX(points[i - 1].x), y0 = layout.PixelY(points[i - 1].y);
            double x1 = layout.PixelX(points[i].x), y1 = layout.PixelY(points[i].y);
            if (!chart::ClipSegment(x0, y0, x1, y1, layout.plot)) continue;
            if (!pen || penColor != points[i].color) {
                pen.reset(); // the old pen goes before the new one is selected
                pen = std::make_unique<ScopedPen>(dc, ColorRef(points[i].color));
                penColor = points[i].color;
            }
            int ex = static_cast<int>(std::lround(x1)), ey = static_cast<int>(std::lround(y1));
            Line(dc, static_cast<int>(std::lround(x0)), static_cast<int>(std::lround(y0)), ex, ey);
            SetPixelV(dc, ex, ey, ColorRef(points[i].color)); // the line leaves out its end
        }
        if (points.size() == 1) {
            double x = layout.PixelX(points[0].x), y = layout.PixelY(points[0].y), x1 = x, y1 = y;
            if (chart::ClipSegment(x, y, x1, y1, layout.plot))
                SetPixelV(dc, static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y)),
                          ColorRef(points[0].color));
        }
    }

    // The chart's texts: the size of the program's font in a TrueType face, and the same turned
    // upright for the left axis's title.
    void CreateFonts() {
        LOGFONTA face{};
        if (!GetObjectA(platform_.Font(), sizeof(face), &face)) return;
        lstrcpynA(face.lfFaceName, kChartFace, LF_FACESIZE);
        face.lfOutPrecision = OUT_TT_PRECIS;
        font_ = CreateFontIndirectA(&face);
        face.lfEscapement = face.lfOrientation = 900;
        face.lfOutPrecision = OUT_TT_ONLY_PRECIS;
        verticalFont_ = CreateFontIndirectA(&face);
    }

    TChart& chart_;
    HBITMAP picture_ = nullptr;
    SIZE pictureSize_{0, 0};
    chart::ChartState drawn_;
    HFONT font_ = nullptr;
    HFONT verticalFont_ = nullptr;
    int repaintsSeen_ = 0;
    bool refreshPosted_ = false;
};

std::unique_ptr<WinPeer> MakeChartPeer(Win32Platform& platform, Component& component) {
    auto* chart = dynamic_cast<TChart*>(&component);
    if (!chart) return nullptr;
    return std::make_unique<ChartPeer>(platform, *chart);
}

} // namespace ui::win32
