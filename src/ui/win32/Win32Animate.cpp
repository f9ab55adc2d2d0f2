// The AVI animation control: a window of its own that plays a clip of the program's resources
// (type "AVI"). The clip is decoded once and its frames are drawn once over the ground they show
// on (the colour of the first frame's corner pixel is see-through), so that a frame of a play
// costs one copy, on a timer of the window's own thread. Nothing is played out of sight.
#include "ui/AviClip.h"
#include "ui/ComCtrls.h"
#include "ui/win32/Win32Internal.h"

#include <algorithm>
#include <string>

namespace ui::win32 {

namespace {

const char kAnimateClass[] = "OrloAnimate";
constexpr UINT_PTR kFrameTimer = 1;

void RegisterAnimateClass(HINSTANCE instance) {
    WNDCLASSA existing;
    if (GetClassInfoA(instance, kAnimateClass, &existing)) return;
    WNDCLASSA wc{};
    // Frames are drawn between paints: the window keeps a device context of its own.
    wc.style = CS_OWNDC;
    wc.lpfnWndProc = WinPeer::OwnClassProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kAnimateClass;
    RegisterClassA(&wc);
}

} // namespace

class AnimatePeer : public WinPeer {
  public:
    AnimatePeer(Win32Platform& platform, TAnimate& animate)
        : WinPeer(platform, animate), animate_(animate) {}
    ~AnimatePeer() override {
        if (hwnd_) KillTimer(hwnd_, kFrameTimer);
        ReleaseFrames();
    }

    void Create() override {
        RegisterAnimateClass(platform_.Instance());
        CreateChild(kAnimateClass, 0, 0, "");
        Open();
    }

  protected:
    // A play is a pass of frames that the window shows as it comes; played while out of sight,
    // it is not played at all, and the window shows the frame where it ends when seen again.
    void Update(Prop prop) override {
        if (prop == Prop::Frame) {
            Open();
            Play(animate_.LastFromFrame(), animate_.CurrentFrame());
        } else if (prop != Prop::Caption) {
            WinPeer::Update(prop);
        }
    }
    void CatchUpProp(Prop prop) override {
        if (prop != Prop::Frame) return Update(prop);
        Open();
        Seek(animate_.CurrentFrame());
    }

    LRESULT WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override {
        switch (msg) {
        case WM_NCHITTEST:
            // The mouse goes to the window below, as with the system's animation control.
            return HTTRANSPARENT;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd, &ps);
            Paint(dc);
            EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_TIMER:
            if (wParam != kFrameTimer) break;
            Step();
            return 0;
        default:
            break;
        }
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }

  private:
    void Open() {
        if (!hwnd_ || animate_.ResName == opened_) return;
        opened_ = animate_.ResName;
        KillTimer(hwnd_, kFrameTimer);
        ReleaseFrames();
        clip_ = AviClip{};
        frame_ = last_ = 0;
        HINSTANCE instance = platform_.Instance();
        HRSRC resource =
            opened_.empty() ? nullptr : FindResourceA(instance, opened_.c_str(), "AVI");
        HGLOBAL loaded = resource ? LoadResource(instance, resource) : nullptr;
        const void* data = loaded ? LockResource(loaded) : nullptr;
        if (data)
            ReadAviClip(static_cast<const std::uint8_t*>(data), SizeofResource(instance, resource),
                        clip_);
        InvalidateRect(hwnd_, nullptr, TRUE);
    }

    // The clip's frame of a frame number, 1-based as the control counts them.
    int Index(int frame) const {
        int count = static_cast<int>(clip_.frames.size());
        return std::min(std::max(frame, 1), count) - 1;
    }

    // Frames `from` to `to` once, the first at once; a pass that is running ends there.
    void Play(int from, int to) {
        if (!hwnd_ || clip_.frames.empty()) return;
        last_ = Index(to);
        frame_ = std::min(Index(from), last_);
        DrawNow();
        if (frame_ < last_) {
            UINT period = std::max<UINT>(1, clip_.microSecPerFrame / 1000);
            SetTimer(hwnd_, kFrameTimer, period, nullptr);
        } else {
            KillTimer(hwnd_, kFrameTimer);
        }
    }

    // Shows a frame without a pass (drawn when the window paints).
    void Seek(int frame) {
        if (!hwnd_ || clip_.frames.empty()) return;
        KillTimer(hwnd_, kFrameTimer);
        last_ = Index(frame);
        if (frame_ == last_) return;
        frame_ = last_;
        InvalidateRect(hwnd_, nullptr, FALSE);
    }

    void Step() {
        // Gone out of sight during a pass: it ends where it would have ended, undrawn.
        if (frame_ >= last_ || !OnScreen(hwnd_)) {
            frame_ = last_;
            KillTimer(hwnd_, kFrameTimer);
            return;
        }
        ++frame_;
        DrawNow();
        if (frame_ >= last_) KillTimer(hwnd_, kFrameTimer);
    }

    void DrawNow() {
        if (!OnScreen(hwnd_) || !PrepareFrames()) return;
        HDC dc = GetDC(hwnd_);
        BitBlt(dc, 0, 0, clip_.width, clip_.height, framesDc_, 0, frame_ * clip_.height, SRCCOPY);
        ReleaseDC(hwnd_, dc);
    }

    void Paint(HDC dc) {
        RECT client;
        GetClientRect(hwnd_, &client);
        int width = 0, height = 0;
        if (PrepareFrames()) {
            width = clip_.width;
            height = clip_.height;
            BitBlt(dc, 0, 0, width, height, framesDc_, 0, frame_ * height, SRCCOPY);
        }
        // The ground beside and below the clip.
        RECT right{width, 0, client.right, client.bottom};
        RECT below{0, height, width, client.bottom};
        FillRect(dc, &right, GroundBrush());
        FillRect(dc, &below, GroundBrush());
    }

    // Every frame of the clip over the ground, one below the other; made again when the ground
    // has another colour.
    bool PrepareFrames() {
        if (clip_.frames.empty()) return false;
        COLORREF ground = GroundColor();
        if (framesDc_ && ground == framesGround_) return true;
        ReleaseFrames();
        const int width = clip_.width, height = clip_.height;
        const int count = static_cast<int>(clip_.frames.size());
        HDC screen = GetDC(nullptr);
        framesDc_ = CreateCompatibleDC(screen);
        framesBitmap_ = CreateCompatibleBitmap(screen, width, height * count);
        ReleaseDC(nullptr, screen);
        if (!framesDc_ || !framesBitmap_) {
            ReleaseFrames();
            return false;
        }
        framesOld_ = SelectObject(framesDc_, framesBitmap_);
        framesGround_ = ground;

        struct {
            BITMAPINFOHEADER header;
            RGBQUAD colours[256];
        } info{};
        info.header.biSize = sizeof(info.header);
        info.header.biWidth = width;
        info.header.biHeight = -height; // rows from the top
        info.header.biPlanes = 1;
        info.header.biBitCount = 8;
        info.header.biCompression = BI_RGB;
        info.header.biClrUsed = 256;
        const AviClip::Colour clear = clip_.palette[clip_.frames[0][0]];
        for (int i = 0; i < 256; ++i) {
            AviClip::Colour c = clip_.palette[static_cast<std::size_t>(i)];
            bool seeThrough = c.r == clear.r && c.g == clear.g && c.b == clear.b;
            info.colours[i] =
                seeThrough ? RGBQUAD{GetBValue(ground), GetGValue(ground), GetRValue(ground), 0}
                           : RGBQUAD{c.b, c.g, c.r, 0};
        }
        // Rows of a device-independent bitmap are whole words long.
        const int stride = (width + 3) & ~3;
        std::vector<std::uint8_t> rows(static_cast<std::size_t>(stride) * height);
        for (int f = 0; f < count; ++f) {
            const std::vector<std::uint8_t>& pixels = clip_.frames[static_cast<std::size_t>(f)];
            for (int y = 0; y < height; ++y)
                std::copy_n(pixels.begin() + static_cast<std::ptrdiff_t>(y) * width, width,
                            rows.begin() + static_cast<std::ptrdiff_t>(y) * stride);
            StretchDIBits(framesDc_, 0, f * height, width, height, 0, 0, width, height, rows.data(),
                          reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, SRCCOPY);
        }
        return true;
    }

    void ReleaseFrames() {
        if (framesDc_ && framesOld_) SelectObject(framesDc_, framesOld_);
        if (framesBitmap_) DeleteObject(framesBitmap_);
        if (framesDc_) DeleteDC(framesDc_);
        framesDc_ = nullptr;
        framesBitmap_ = nullptr;
        framesOld_ = nullptr;
    }

    TAnimate& animate_;
    std::string opened_;
    AviClip clip_;
    int frame_ = 0; // the clip's frame the window shows
    int last_ = 0;  // where the running pass ends
    HDC framesDc_ = nullptr;
    HBITMAP framesBitmap_ = nullptr;
    HGDIOBJ framesOld_ = nullptr;
    COLORREF framesGround_ = 0;
};

std::unique_ptr<WinPeer> MakeAnimatePeer(Win32Platform& platform, Component& animate) {
    return std::make_unique<AnimatePeer>(platform, static_cast<TAnimate&>(animate));
}

} // namespace ui::win32
