#include "WindowAudit.h"

#include "ui/ComCtrls.h"
#include "ui/ExtCtrls.h"
#include "ui/StdCtrls.h"
#include "ui/win32/Win32Platform.h"
// After the library's headers: it brings <windows.h>, whose macros rename their names.
#include "probe_support.h"

#include <windows.h>
// After windows.h, which it needs:
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace audit {

namespace {

using probe::ClientOnScreen;
using probe::ScreenRect;

std::string ClassOf(HWND hwnd) {
    char name[64] = {};
    GetClassNameA(hwnd, name, sizeof(name));
    return name;
}

bool IsClass(HWND hwnd, const char* name) {
    return lstrcmpiA(ClassOf(hwnd).c_str(), name) == 0;
}

std::string TextOf(HWND hwnd) {
    char text[1024] = {};
    GetWindowTextA(hwnd, text, sizeof(text));
    return text;
}

// The text as a control with mnemonics draws it: "&&" is one "&", a single "&" underlines.
std::string WithoutPrefix(const std::string& text) {
    std::string shown;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) ++i;
        shown += text[i];
    }
    return shown;
}

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

std::string RectText(const RECT& r) {
    char text[64];
    std::snprintf(text, sizeof(text), "(%ld,%ld)-(%ld,%ld)", static_cast<long>(r.left),
                  static_cast<long>(r.top), static_cast<long>(r.right),
                  static_cast<long>(r.bottom));
    return text;
}

// The size of `text` in the font the window draws with, and that font's line height.
struct TextSize {
    SIZE extent{0, 0};
    int lineHeight = 0;
};

HFONT FontOf(HWND hwnd) {
    auto font = reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0));
    return font ? font : static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
}

TextSize Measure(HWND hwnd, const std::string& text) {
    TextSize size;
    HDC dc = GetDC(hwnd);
    HGDIOBJ old = SelectObject(dc, FontOf(hwnd));
    if (!text.empty())
        GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size.extent);
    TEXTMETRICA metrics;
    GetTextMetricsA(dc, &metrics);
    size.lineHeight = metrics.tmHeight;
    SelectObject(dc, old);
    ReleaseDC(hwnd, dc);
    return size;
}

// The height `text` takes broken into lines at `width`.
int WrappedHeight(HWND hwnd, const std::string& text, int width) {
    HDC dc = GetDC(hwnd);
    HGDIOBJ old = SelectObject(dc, FontOf(hwnd));
    RECT r{0, 0, width, 0};
    DrawTextA(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(hwnd, dc);
    return r.bottom - r.top;
}

// Saves what the screen shows of a window as a 24-bit bitmap file.
bool SavePicture(HWND hwnd, const std::string& path) {
    RECT r = ScreenRect(hwnd);
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return false;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    const DWORD stride = ((static_cast<DWORD>(w) * 3 + 3) / 4) * 4;
    const DWORD size = stride * static_cast<DWORD>(h);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info.bmiHeader);
    file.bfSize = file.bfOffBits + size;
    bool saved = false;
    if (FILE* out = std::fopen(path.c_str(), "wb")) {
        saved = std::fwrite(&file, sizeof(file), 1, out) == 1 &&
                std::fwrite(&info.bmiHeader, sizeof(info.bmiHeader), 1, out) == 1 &&
                std::fwrite(bits, size, 1, out) == 1;
        std::fclose(out);
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return saved;
}

// Controls that the user reaches by Tab when their tab stop is on.
bool Focusable(HWND hwnd) {
    if (IsClass(hwnd, "Button")) {
        LONG type = GetWindowLongA(hwnd, GWL_STYLE) & BS_TYPEMASK;
        return type != BS_GROUPBOX;
    }
    return IsClass(hwnd, "Edit") || IsClass(hwnd, "ComboBox") || IsClass(hwnd, UPDOWN_CLASSA) ||
           IsClass(hwnd, WC_TABCONTROLA);
}

// Room for a text inside a control of the system's classes: the client area less what the
// control itself draws there.
struct TextRoom {
    bool applies = false;
    int width = 0, height = 0;
    bool wraps = false;
};

TextRoom RoomFor(HWND hwnd) {
    TextRoom room;
    RECT client;
    GetClientRect(hwnd, &client);
    room.width = client.right;
    room.height = client.bottom;
    LONG style = GetWindowLongA(hwnd, GWL_STYLE);
    if (IsClass(hwnd, "Edit")) {
        RECT format;
        SendMessageA(hwnd, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
        room.applies = true;
        room.width = format.right - format.left;
        room.height = client.bottom;
    } else if (IsClass(hwnd, "Static")) {
        LONG type = style & SS_TYPEMASK;
        room.applies = type == SS_LEFT || type == SS_LEFTNOWORDWRAP || type == SS_CENTER ||
                       type == SS_RIGHT || type == SS_SIMPLE;
        room.wraps = type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT;
    } else if (IsClass(hwnd, "Button")) {
        LONG type = style & BS_TYPEMASK;
        room.applies = true;
        switch (type) {
        case BS_GROUPBOX:
            // The caption sits in the frame's top line, a little in from either side.
            room.width -= 2 * 8;
            room.height = client.bottom;
            break;
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
        case BS_3STATE:
        case BS_AUTO3STATE:
            // The box and the gap before the text.
            room.width -= GetSystemMetrics(SM_CXMENUCHECK) + 4;
            break;
        default:
            // The button's raised edge and the focus rectangle inside it.
            room.width -= 2 * 4;
            room.height -= 2 * 2;
            break;
        }
    }
    return room;
}

} // namespace

void WindowAudit::Fail(const std::string& where, const std::string& what) {
    std::printf("FAIL %s: %s\n", where.c_str(), what.c_str());
    ++failures_;
    ++formFailures_;
}

void WindowAudit::Check(ui::Application& app, const std::string& state) {
    for (const auto& form : app.Forms())
        if (form->Visible() && !form->Minimized()) CheckForm(*form, state);
    std::fflush(stdout);
}

void WindowAudit::Check(ui::Form& form, const std::string& state) {
    if (form.Visible() && !form.Minimized())
        CheckForm(form, state);
    else
        Fail(state + " " + form.Name(), "the window is not shown");
    std::fflush(stdout);
}

void WindowAudit::CheckForm(ui::Form& form, const std::string& state) {
    formFailures_ = 0;
    const std::string label = state + " " + form.Name();
    auto top = reinterpret_cast<HWND>(form.Handle());
    if (!top || !IsWindowVisible(top) || IsIconic(top)) {
        Fail(label, "the model shows the window, the screen does not");
        std::printf("FAIL %s: no window\n", label.c_str());
        return;
    }
    if (!SavePicture(top, pictureFolder_ + "\\" + state + "-" + form.Name() + ".bmp"))
        Fail(label, "no picture saved");
    int controls = 0;
    for (ui::Component* component : form.Components()) {
        auto* control = dynamic_cast<ui::Control*>(component);
        auto hwnd = control ? reinterpret_cast<HWND>(control->Handle()) : nullptr;
        if (!hwnd || hwnd == top) continue;
        const std::string where = label + "." + control->Name();
        const bool modelShows = control->Showing();
        const bool shows = IsWindowVisible(hwnd) != FALSE;
        if (modelShows != shows) {
            Fail(where, std::string("the model ") + (modelShows ? "shows" : "hides") +
                            " it, the window is " + (shows ? "visible" : "hidden"));
            continue;
        }
        if (!shows) continue;
        ++controls;
        if ((IsWindowEnabled(hwnd) != FALSE) != control->Enabled())
            Fail(where, std::string("enabled in the model: ") +
                            (control->Enabled() ? "yes" : "no") + ", on the screen: the other");

        // Inside the parent's client area. A page control may keep its tab row out of sight
        // above it (the installer's wizard): then its pages lie inside.
        RECT self = ScreenRect(hwnd);
        RECT area = ClientOnScreen(GetParent(hwnd));
        if (IsClass(hwnd, WC_TABCONTROLA)) {
            RECT pages = ClientOnScreen(hwnd);
            MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&pages), 2);
            SendMessageA(hwnd, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&pages));
            MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&pages), 2);
            if (self.top < area.top && pages.top >= area.top) self = pages;
        }
        if (!Inside(self, area))
            Fail(where, "lies at " + RectText(self) + ", outside its parent's client area " +
                            RectText(area));

        // The tab stop.
        if (Focusable(hwnd)) {
            bool tabStop = (GetWindowLongA(hwnd, GWL_STYLE) & WS_TABSTOP) != 0;
            if (tabStop != control->TabStop())
                Fail(where, std::string("tab stop on the screen: ") + (tabStop ? "yes" : "no") +
                                ", in the model: the other");
        }

        // The font the window draws with is the model's: its face, weight, slant and height.
        if (auto font = reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0))) {
            LOGFONTA shown{};
            GetObjectA(font, sizeof(shown), &shown);
            const ui::TFont& model = control->Font();
            const bool bold = (model.Style & ui::fsBold) != 0;
            const bool italic = (model.Style & ui::fsItalic) != 0;
            HDC screen = GetDC(nullptr);
            const int height = MulDiv(model.Size, GetDeviceCaps(screen, LOGPIXELSY), 72);
            ReleaseDC(nullptr, screen);
            if ((shown.lfWeight >= FW_BOLD) != bold || (shown.lfItalic != 0) != italic ||
                std::abs(shown.lfHeight) != height)
                Fail(where, "draws with a font of height " + std::to_string(shown.lfHeight) +
                                ", weight " + std::to_string(shown.lfWeight) + ", italic " +
                                std::to_string(shown.lfItalic) + "; the model's is " +
                                std::to_string(model.Size) + " pt" + (bold ? " bold" : "") +
                                (italic ? " italic" : ""));
        }

        // What the control shows of its text, and where that text lies.
        HWND textWindow = hwnd;
        if (IsClass(hwnd, "ComboBox")) textWindow = GetWindow(hwnd, GW_CHILD);
        if (!textWindow) continue;
        std::string text = TextOf(textWindow);
        bool prefixes =
            IsClass(hwnd, "Button") ||
            (IsClass(hwnd, "Static") && !(GetWindowLongA(hwnd, GWL_STYLE) & SS_NOPREFIX));
        std::string shown = prefixes ? WithoutPrefix(text) : text;
        if (auto* edit = dynamic_cast<ui::TEdit*>(control)) {
            if (text != edit->Text())
                Fail(where, "shows '" + text + "', the model holds '" + edit->Text() + "'");
            bool readOnly = (GetWindowLongA(hwnd, GWL_STYLE) & ES_READONLY) != 0;
            if (readOnly != edit->ReadOnly())
                Fail(where, std::string("read-only on the screen: ") + (readOnly ? "yes" : "no") +
                                ", in the model: the other");
        } else if ((IsClass(hwnd, "Static") || IsClass(hwnd, "Button")) &&
                   text != control->Caption()) {
            Fail(where, "shows '" + text + "', the model holds '" + control->Caption() + "'");
        }
        if (shown.empty()) continue;

        TextRoom room = RoomFor(textWindow);
        if (room.applies) {
            TextSize size = Measure(textWindow, shown);
            if (room.wraps) {
                int height = WrappedHeight(textWindow, shown, room.width);
                if (height > room.height)
                    Fail(where, "'" + shown + "' takes " + std::to_string(height) +
                                    " pixels of height in " + std::to_string(room.width) +
                                    " of width, the control has " + std::to_string(room.height));
            } else if (size.extent.cx > room.width) {
                Fail(where, "'" + shown + "' is " + std::to_string(size.extent.cx) +
                                " pixels wide, the control has room for " +
                                std::to_string(room.width));
            }
            if (size.lineHeight > room.height)
                Fail(where, "'" + shown + "' is " + std::to_string(size.lineHeight) +
                                " pixels high, the control has room for " +
                                std::to_string(room.height));
        }
        if (IsClass(textWindow, "Edit")) {
            auto first = SendMessageA(textWindow, EM_GETFIRSTVISIBLELINE, 0, 0);
            if (first != 0)
                Fail(where, "'" + text + "' shows from its character " + std::to_string(first) +
                                ", not from its first");
        }

        // Nothing drawn above the control covers its text: no visible window higher in the
        // z-order, among its siblings and its parents' siblings.
        RECT textRect = ClientOnScreen(textWindow);
        for (HWND level = hwnd; level && level != top; level = GetParent(level)) {
            for (HWND above = GetWindow(level, GW_HWNDPREV); above;
                 above = GetWindow(above, GW_HWNDPREV)) {
                RECT cover = ScreenRect(above), common;
                if (!IsWindowVisible(above) || !IntersectRect(&common, &cover, &textRect)) continue;
                Fail(where, "its text at " + RectText(textRect) + " lies under the " +
                                ClassOf(above) + " '" + TextOf(above) + "' at " + RectText(cover));
            }
        }
    }
    std::printf("%s %s: %d controls, %d failures\n", formFailures_ ? "FAIL" : "ok", label.c_str(),
                controls, formFailures_);
}

Script::Script(ui::Application& app, unsigned interval) : app_(app) {
    timer_ = app_.Platform().StartTimer(interval, [this] { Tick(); });
}

Script::~Script() {
    app_.Platform().KillTimer(timer_);
}

void Script::WaitUntil(std::function<bool()> done) {
    Add([this, done] {
        if (!done()) --next_;
    });
}

void Script::Tick() {
    if (busy_ || next_ >= steps_.size()) return;
    busy_ = true;
    std::function<void()> step = steps_[next_++];
    step();
    busy_ = false;
}

} // namespace audit
