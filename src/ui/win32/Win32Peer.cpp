// The base of every control's window, and the forms' top-level windows.
#include "ui/Application.h"
#include "ui/Form.h"
#include "ui/StdCtrls.h"
#include "ui/win32/Win32Internal.h"

#include <algorithm>

namespace ui::win32 {

namespace {
const char kPeerProp[] = "OrloPeer";
const char kFormClass[] = "OrloForm";

// The properties that only change what a window looks like, in the order a window that shows
// again takes them: lists and ranges before the selection and the position within them.
constexpr Prop kLookProps[] = {Prop::Items,     Prop::Range,    Prop::Picture, Prop::Caption,
                               Prop::ItemIndex, Prop::Position, Prop::Checked, Prop::Color,
                               Prop::FontColor, Prop::Frame,    Prop::Chart,   Prop::Other};

constexpr std::uint32_t Bit(Prop prop) {
    return 1u << static_cast<unsigned>(prop);
}
} // namespace

COLORREF ColorRef(TColor color) {
    if (color & 0x80000000u) return GetSysColor(static_cast<int>(color & 0xFF));
    return color & 0xFFFFFF;
}

HWND RootWindow(HWND hwnd) {
    HWND desktop = GetDesktopWindow();
    while (hwnd && (GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD)) {
        HWND parent = GetParent(hwnd);
        if (!parent || parent == desktop) break;
        hwnd = parent;
    }
    return hwnd;
}

bool OnScreen(HWND hwnd) {
    return hwnd && IsWindowVisible(hwnd) && !IsIconic(RootWindow(hwnd));
}

namespace {
// The system's pointing hand, which Windows 98 and 2000 brought (IDC_HAND of newer headers).
const char* const kSystemHand = MAKEINTRESOURCEA(32649);
} // namespace

HCURSOR HandCursor() {
    // Looked up once: the cursors live as long as the program.
    static HCURSOR hand = [] {
        HCURSOR system = LoadCursorA(nullptr, kSystemHand);
        return system ? system : LoadCursorA(GetModuleHandleA(nullptr), "HANDPOINT");
    }();
    return hand;
}

void BringWindowToFront(HWND hwnd) {
    if (!hwnd || !IsWindowVisible(hwnd)) return;
    if (SetForegroundWindow(hwnd) && GetForegroundWindow() == hwnd) return;
    // Above the topmost windows for a moment, then back among the others at their top.
    const UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, flags);
    SetWindowPos(hwnd, HWND_NOTOPMOST, 0, 0, 0, 0, flags);
    FlashWindow(hwnd, TRUE);
}

HCURSOR CursorFor(Application* app, const Control* control) {
    TCursor cursor = app ? app->ScreenCursor() : TCursor::crDefault;
    for (const Control* c = control; cursor == TCursor::crDefault && c; c = c->Parent())
        cursor = c->Cursor();
    switch (cursor) {
    case TCursor::crArrow:
        return LoadCursor(nullptr, IDC_ARROW);
    case TCursor::crAppStart:
        return LoadCursor(nullptr, IDC_APPSTARTING);
    case TCursor::crHourGlass:
        return LoadCursor(nullptr, IDC_WAIT);
    case TCursor::crHandPoint:
        return HandCursor();
    case TCursor::crDefault:
        break;
    }
    return nullptr;
}

// --- WinPeer -------------------------------------------------------------------------------

WinPeer::WinPeer(Win32Platform& platform, Component& component)
    : platform_(platform), component_(component), control_(dynamic_cast<Control*>(&component)) {}

WinPeer::~WinPeer() {
    for (const SubclassEntry& entry : subclassed_) {
        if (!IsWindow(entry.hwnd)) continue;
        SetWindowLongPtrA(entry.hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(entry.original));
        RemovePropA(entry.hwnd, kPeerProp);
    }
    if (hwnd_ && IsWindow(hwnd_)) {
        RemovePropA(hwnd_, kPeerProp);
        DestroyWindow(hwnd_);
    }
    if (brush_) DeleteObject(brush_);
}

WinPeer* WinPeer::FromHandle(HWND hwnd) {
    return hwnd ? static_cast<WinPeer*>(GetPropA(hwnd, kPeerProp)) : nullptr;
}

void WinPeer::Attach(HWND hwnd) {
    hwnd_ = hwnd;
    if (hwnd) SetPropA(hwnd, kPeerProp, this);
}

void WinPeer::Changed(Prop prop) {
    Win32Platform::QuietScope quiet(platform_);
    if (hwnd_ && control_ && WaitsWhileHidden(prop) && !OnScreen(hwnd_)) {
        waiting_ |= Bit(prop);
        return;
    }
    waiting_ &= ~Bit(prop);
    Update(prop);
}

bool WinPeer::WaitsWhileHidden(Prop prop) const {
    return std::find(std::begin(kLookProps), std::end(kLookProps), prop) != std::end(kLookProps);
}

void WinPeer::CatchUp() {
    Win32Platform::QuietScope quiet(platform_);
    if (waiting_) {
        std::uint32_t waiting = waiting_;
        waiting_ = 0;
        for (Prop prop : kLookProps)
            if (waiting & Bit(prop)) CatchUpProp(prop);
    }
    if (!control_) return;
    for (Control* child : control_->Children())
        if (child->Visible())
            if (auto* peer = dynamic_cast<WinPeer*>(child->Peer())) peer->CatchUp();
}

void WinPeer::Update(Prop prop) {
    if (!hwnd_ || !control_) return;
    switch (prop) {
    case Prop::Visible:
        if (control_->Visible()) {
            // What changed while it was hidden first, so that it shows current at once.
            if (OnScreen(ParentHandle())) CatchUp();
            ShowWindow(hwnd_, SW_SHOWNA);
        } else {
            ShowWindow(hwnd_, SW_HIDE);
        }
        break;
    case Prop::Enabled:
        EnableWindow(hwnd_, control_->Enabled());
        break;
    case Prop::Bounds:
        ApplyBounds();
        break;
    case Prop::Caption:
        if (shownCaption_.Change(control_->Caption()))
            SetWindowTextA(hwnd_, control_->Caption().c_str());
        break;
    case Prop::Color:
        if (shownColor_.Change(control_->Color())) InvalidateRect(hwnd_, nullptr, TRUE);
        break;
    case Prop::FontColor:
        if (shownFontColor_.Change(control_->Font().Color)) InvalidateRect(hwnd_, nullptr, TRUE);
        break;
    case Prop::Font: {
        HFONT font = ControlFont();
        if (shownFont_.Change(font)) {
            SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
            // The library's own windows draw their texts themselves.
            InvalidateRect(hwnd_, nullptr, TRUE);
        }
        break;
    }
    case Prop::Other:
        InvalidateRect(hwnd_, nullptr, TRUE);
        break;
    case Prop::TabStop: {
        LONG style = GetWindowLongA(hwnd_, GWL_STYLE);
        LONG stop = control_->TabStop() ? WS_TABSTOP : 0;
        if ((style & WS_TABSTOP) != stop)
            SetWindowLongA(hwnd_, GWL_STYLE, (style & ~WS_TABSTOP) | stop);
        break;
    }
    default:
        break;
    }
}

WinPeer* WinPeer::ParentPeer() const {
    if (!control_ || !control_->Parent()) return nullptr;
    return dynamic_cast<WinPeer*>(control_->Parent()->Peer());
}

HWND WinPeer::ParentHandle() const {
    WinPeer* parent = ParentPeer();
    return parent ? parent->ClientHandle() : nullptr;
}

COLORREF WinPeer::GroundColor() {
    WinPeer* parent = ParentPeer();
    return parent ? parent->GroundColor() : GetSysColor(COLOR_BTNFACE);
}

HBRUSH WinPeer::GroundBrush() {
    WinPeer* parent = ParentPeer();
    return parent ? parent->GroundBrush() : GetSysColorBrush(COLOR_BTNFACE);
}

LRESULT WinPeer::OwnClassDefault(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_LBUTTONUP) {
        platform_.Run([this] { control_->UserClick(); });
        return 0;
    }
    if (msg == WM_SETCURSOR) {
        if (HCURSOR cursor = CursorFor(platform_.App(), control_)) {
            SetCursor(cursor);
            return TRUE;
        }
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

HBRUSH WinPeer::OwnBrush() {
    TColor color = control_ ? control_->Color() : clBtnFace;
    if (brush_ && brushColor_ == color) return brush_;
    if (brush_) DeleteObject(brush_);
    brush_ = CreateSolidBrush(ColorRef(color));
    brushColor_ = color;
    return brush_;
}

RECT WinPeer::Placement() const {
    RECT r{0, 0, 0, 0};
    if (!control_) return r;
    r.left = control_->Left();
    r.top = control_->Top();
    r.right = r.left + control_->Width();
    r.bottom = r.top + control_->Height();
    return r;
}

void WinPeer::ApplyBounds() {
    if (!hwnd_) return;
    RECT r = Placement();
    // Where the window lies now, in its parent's client coordinates.
    RECT now;
    GetWindowRect(hwnd_, &now);
    MapWindowPoints(nullptr, GetParent(hwnd_), reinterpret_cast<POINT*>(&now), 2);
    if (!EqualRect(&r, &now))
        SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    LayoutChildren();
}

void WinPeer::LayoutChildren() {
    if (!control_) return;
    Win32Platform::QuietScope quiet(platform_);
    for (Control* child : control_->Children())
        if (auto* peer = dynamic_cast<WinPeer*>(child->Peer())) peer->ApplyBounds();
}

HWND WinPeer::CreateChild(const char* className, DWORD style, DWORD exStyle, const char* text) {
    HWND parent = ParentHandle();
    if (!parent || !control_) return nullptr;
    RECT r = Placement();
    style |= WS_CHILD | WS_CLIPSIBLINGS;
    // Tab and the dialog manager's first focus stop where the model says.
    if (control_->TabStop()) style |= WS_TABSTOP;
    // No creation and destruction notices to the parent: the form may be half destroyed then.
    exStyle |= WS_EX_NOPARENTNOTIFY;
    if (control_->Visible()) style |= WS_VISIBLE;
    if (!control_->Enabled()) style |= WS_DISABLED;
    std::string caption = text ? text : control_->Caption();
    HWND hwnd =
        CreateWindowExA(exStyle, className, caption.c_str(), style, r.left, r.top, r.right - r.left,
                        r.bottom - r.top, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(platform_.NextControlId())),
                        platform_.Instance(), this);
    Attach(hwnd);
    shownCaption_.Change(caption);
    shownColor_.Change(control_->Color());
    shownFontColor_.Change(control_->Font().Color);
    if (hwnd) {
        PlaceInZOrder();
        HFONT font = ControlFont();
        shownFont_.Change(font);
        SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    return hwnd;
}

void WinPeer::PlaceInZOrder() {
    HWND after = HWND_TOP;
    for (Control* sibling : control_->Parent()->Children()) {
        if (sibling == control_) break;
        auto* peer = dynamic_cast<WinPeer*>(sibling->Peer());
        if (peer && peer->hwnd_ && !peer->Graphic() && GetParent(peer->hwnd_) == GetParent(hwnd_))
            after = peer->hwnd_;
    }
    SetWindowPos(hwnd_, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void WinPeer::Subclass(HWND hwnd) {
    if (!hwnd) return;
    auto original = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassThunk)));
    subclassed_.push_back(SubclassEntry{hwnd, original});
    if (hwnd != hwnd_) SetPropA(hwnd, kPeerProp, this);
}

LRESULT CALLBACK WinPeer::SubclassThunk(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    WinPeer* peer = FromHandle(hwnd);
    if (!peer) return DefWindowProcA(hwnd, msg, wParam, lParam);
    return peer->WindowProc(hwnd, msg, wParam, lParam);
}

LRESULT WinPeer::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return CallOriginal(hwnd, msg, wParam, lParam);
}

LRESULT WinPeer::CallOriginal(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    for (const SubclassEntry& entry : subclassed_)
        if (entry.hwnd == hwnd) return CallWindowProcA(entry.original, hwnd, msg, wParam, lParam);
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

void WinPeer::RegisterOwnClass(HINSTANCE instance, const char* name) {
    WNDCLASSA existing;
    if (GetClassInfoA(instance, name, &existing)) return;
    WNDCLASSA wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = OwnClassProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = name;
    RegisterClassA(&wc);
}

LRESULT CALLBACK WinPeer::OwnClassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    WinPeer* peer = FromHandle(hwnd);
    if (!peer && msg == WM_NCCREATE) {
        peer = static_cast<WinPeer*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        if (peer) {
            SetPropA(hwnd, kPeerProp, peer);
            if (!peer->hwnd_) peer->hwnd_ = hwnd;
        }
    }
    if (!peer) return DefWindowProcA(hwnd, msg, wParam, lParam);
    return peer->WindowProc(hwnd, msg, wParam, lParam);
}

bool WinPeer::Reflect(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (msg) {
    case WM_COMMAND:
        if (lParam) {
            if (WinPeer* peer = FromHandle(reinterpret_cast<HWND>(lParam))) {
                peer->OnCommand(HIWORD(wParam));
                result = 0;
                return true;
            }
        }
        return false;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        WinPeer* peer = header ? FromHandle(header->hwndFrom) : nullptr;
        return peer && peer->OnNotify(header, result);
    }
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        WinPeer* peer = item && item->CtlType != ODT_MENU ? FromHandle(item->hwndItem) : nullptr;
        if (!peer || !peer->OnDrawItem(item)) return false;
        result = TRUE;
        return true;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
        if (WinPeer* peer = FromHandle(reinterpret_cast<HWND>(lParam))) {
            if (HBRUSH brush = peer->OnCtlColor(msg, reinterpret_cast<HDC>(wParam))) {
                result = reinterpret_cast<LRESULT>(brush);
                return true;
            }
        }
        return false;
    default:
        return false;
    }
}

// --- FormPeer ------------------------------------------------------------------------------

FormPeer::FormPeer(Win32Platform& platform, Form& form) : WinPeer(platform, form), form_(form) {}

FormPeer::~FormPeer() {
    auto& forms = platform_.Forms();
    forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
    for (HWND other : disabledForModal_)
        if (IsWindow(other)) EnableWindow(other, TRUE);
    // The form object is gone already: no message may reach it any more.
    if (hwnd_) RemovePropA(hwnd_, kPeerProp);
}

void FormPeer::Create() {
    HINSTANCE instance = platform_.Instance();
    WNDCLASSA existing;
    if (!GetClassInfoA(instance, kFormClass, &existing)) {
        WNDCLASSA wc{};
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = OwnClassProc;
        wc.hInstance = instance;
        wc.hIcon = LoadIconA(instance, "MAINICON");
        if (!wc.hIcon) wc.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.lpszClassName = kFormClass;
        RegisterClassA(&wc);
    }
    DWORD style = WS_CLIPCHILDREN;
    DWORD exStyle = WS_EX_CONTROLPARENT;
    switch (form_.BorderStyle) {
    case TBorderStyle::bsSingle:
        style |= WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
        break;
    case TBorderStyle::bsDialog:
        style |= WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_DLGFRAME;
        exStyle |= WS_EX_DLGMODALFRAME;
        break;
    case TBorderStyle::bsSizeable:
        style |= WS_OVERLAPPEDWINDOW & ~WS_MAXIMIZEBOX;
        break;
    case TBorderStyle::bsNone:
        style |= WS_POPUP;
        break;
    }
    if (!(form_.BorderIcons & biSystemMenu)) style &= ~static_cast<DWORD>(WS_SYSMENU);
    if (!(form_.BorderIcons & biMinimize)) style &= ~static_cast<DWORD>(WS_MINIMIZEBOX);
    platform_.Forms().push_back(this);
    RECT outer = OuterRect(style, exStyle);
    HWND hwnd = CreateWindowExA(exStyle, kFormClass, form_.Caption().c_str(), style, CW_USEDEFAULT,
                                CW_USEDEFAULT, outer.right - outer.left, outer.bottom - outer.top,
                                nullptr, nullptr, instance, this);
    Attach(hwnd);
    // The system may have added styles of its own that change the frame.
    ApplySize();
    if (form_.Visible() && !form_.Minimized()) ShowNative(true);
}

RECT FormPeer::OuterRect(DWORD style, DWORD exStyle) const {
    RECT r{0, 0, std::max(form_.ClientWidth(), 0), std::max(form_.ClientHeight(), 0)};
    AdjustWindowRectEx(&r, style, FALSE, exStyle);
    return r;
}

void FormPeer::ApplySize() {
    if (!hwnd_) return;
    RECT outer = OuterRect(static_cast<DWORD>(GetWindowLongA(hwnd_, GWL_STYLE)),
                           static_cast<DWORD>(GetWindowLongA(hwnd_, GWL_EXSTYLE)));
    RECT now;
    GetWindowRect(hwnd_, &now);
    int width = outer.right - outer.left, height = outer.bottom - outer.top;
    // The window keeps its place on the screen.
    if (now.right - now.left != width || now.bottom - now.top != height)
        SetWindowPos(hwnd_, nullptr, 0, 0, width, height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

COLORREF FormPeer::GroundColor() {
    return ColorRef(form_.Color());
}

HBRUSH FormPeer::GroundBrush() {
    return OwnBrush();
}

void FormPeer::ShowNative(bool show) {
    if (!hwnd_) return;
    if (show) {
        // Over the main window's centre at every showing while that window is in sight, else in
        // the screen's centre at the first showing.
        Form* main = form_.App().MainForm();
        HWND over = main && main != &form_ ? reinterpret_cast<HWND>(main->Handle()) : nullptr;
        if (form_.Position != TPosition::poMainFormCenter || !over || !IsWindowVisible(over))
            over = nullptr;
        if (over || !shownOnce_) {
            shownOnce_ = true;
            RECT r, area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
            GetWindowRect(hwnd_, &r);
            if (over) GetWindowRect(over, &area);
            int x = area.left + (area.right - area.left - (r.right - r.left)) / 2;
            int y = area.top + (area.bottom - area.top - (r.bottom - r.top)) / 2;
            SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        if (form_.Modal() && disabledForModal_.empty()) {
            // A modal window takes the input from the program's other windows.
            for (FormPeer* other : platform_.Forms()) {
                if (other == this || !other->hwnd_) continue;
                if (IsWindowVisible(other->hwnd_) && IsWindowEnabled(other->hwnd_)) {
                    EnableWindow(other->hwnd_, FALSE);
                    disabledForModal_.push_back(other->hwnd_);
                }
            }
        }
        // What changed while it was hidden first, so that it shows current at once.
        CatchUp();
        ShowWindow(hwnd_, IsIconic(hwnd_) ? SW_RESTORE : SW_SHOW);
        BringWindowToFront(hwnd_);
    } else {
        // Give the input back first, so that the system can activate the window below.
        for (HWND other : disabledForModal_)
            if (IsWindow(other)) EnableWindow(other, TRUE);
        disabledForModal_.clear();
        ShowWindow(hwnd_, SW_HIDE);
    }
}

void FormPeer::Update(Prop prop) {
    if (!hwnd_) return;
    switch (prop) {
    case Prop::Visible:
        if (!form_.Minimized() || !form_.Visible())
            ShowNative(form_.Visible());
        else if (form_.TrayIcon())
            ShowNative(false); // into the tray: no task-bar button
        else if (!IsIconic(hwnd_))
            ShowWindow(hwnd_, SW_SHOWMINNOACTIVE);
        break;
    case Prop::Bounds:
        ApplySize();
        LayoutChildren();
        break;
    default:
        WinPeer::Update(prop);
        break;
    }
}

bool FormPeer::DialogKey(WPARAM key, HWND focus) {
    TButton* target = nullptr;
    if (key == VK_RETURN) {
        if (WinPeer* peer = FromHandle(focus)) target = dynamic_cast<TButton*>(peer->Ctl());
    }
    if (!target) {
        for (Component* component : form_.Components()) {
            auto* button = dynamic_cast<TButton*>(component);
            if (button && (key == VK_RETURN ? button->Default : button->Cancel) &&
                button->Showing() && button->Enabled()) {
                target = button;
                break;
            }
        }
    }
    if (!target) return false;
    platform_.Run([target] { target->UserClick(); });
    return true;
}

LRESULT FormPeer::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    // The form's own window procedure sees every message first (registered messages too).
    TMessage message{msg, wParam, lParam, 0};
    platform_.Run([&] { form_.WndProc(message); });
    LRESULT result = 0;
    switch (msg) {
    case WM_CLOSE:
        platform_.Run([this] { form_.Close(); });
        return 0;
    case WM_QUERYENDSESSION:
    case WM_ENDSESSION:
        // The class library's answer (Form::DefaultHandler).
        return message.Result;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(hwnd, focus)) focus_ = focus;
            break;
        }
        if (HIWORD(wParam)) break; // minimised
        // The keyboard focus goes back where it was, or to the first control that takes it.
        if (!focus_ || !IsWindow(focus_) || !IsChild(hwnd, focus_)) {
            auto active = form_.ActiveControl
                              ? reinterpret_cast<HWND>(form_.ActiveControl->Handle())
                              : nullptr;
            focus_ = active ? active : GetNextDlgTabItem(hwnd, nullptr, FALSE);
        }
        if (focus_) SetFocus(focus_);
        // Activations the user makes; the model activates its forms itself when it shows them
        // and when a message box closes.
        if (!platform_.Quiet() && !platform_.InMessageBox())
            platform_.Run([this] { form_.App().Activate(&form_); });
        return 0;
    case WM_ERASEBKGND: {
        RECT r;
        GetClientRect(hwnd, &r);
        FillRect(reinterpret_cast<HDC>(wParam), &r, OwnBrush());
        return 1;
    }
    case WM_SYSCOMMAND:
        // A minimise or restore the user asks of the system goes through the model, which hides
        // a window with a tray icon into the tray. A window without a minimise box stays.
        switch (wParam & 0xFFF0) {
        case SC_MINIMIZE:
            if (form_.BorderIcons & biMinimize) platform_.Run([this] { form_.UserMinimize(); });
            return 0;
        case SC_RESTORE:
            if (form_.Minimized()) {
                platform_.Run([this] { form_.UserRestore(); });
                return 0;
            }
            break;
        default:
            break;
        }
        break;
    case WM_SIZE:
        if (wParam == SIZE_MINIMIZED) {
            minimized_ = true;
            // Made iconic by another road (another program, the system): the model hears of it.
            if (!platform_.Quiet() && !form_.Minimized())
                platform_.Run([this] { form_.UserMinimize(); });
        } else if (minimized_) {
            // Restored from the minimised state: what changed meanwhile shows now.
            minimized_ = false;
            if (!platform_.Quiet() && form_.Minimized())
                platform_.Run([this] { form_.UserRestore(); });
            CatchUp();
        }
        LayoutChildren();
        break;
    case WM_SETCURSOR:
        if (HCURSOR cursor = CursorFor(platform_.App(), nullptr)) {
            SetCursor(cursor);
            return TRUE;
        }
        break;
    default:
        if (Reflect(msg, wParam, lParam, result)) return result;
        break;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

} // namespace ui::win32
