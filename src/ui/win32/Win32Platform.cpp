#include "ui/win32/Win32Platform.h"

#include "ui/Application.h"
#include "ui/Form.h"
#include "ui/StdCtrls.h"
#include "ui/win32/Win32Internal.h"
// After the class library's headers, whose names the Windows headers would take as macros:
#include "os/win32/MessageWait.h"

namespace ui {

std::unique_ptr<Platform> CreateWin32Platform() {
    return std::make_unique<win32::Win32Platform>();
}

} // namespace ui

namespace ui::win32 {

namespace {
const char kTimerClass[] = "OrloTimerWindow";
} // namespace

Win32Platform::Win32Platform() : instance_(GetModuleHandleA(nullptr)) {
    // The tab, up-down and progress classes; the common controls of Windows 95 and NT 4 have no
    // call that picks classes.
    InitCommonControls();

    WNDCLASSA wc{};
    wc.lpfnWndProc = TimerWindowProc;
    wc.hInstance = instance_;
    wc.lpszClassName = kTimerClass;
    RegisterClassA(&wc);
    // A window that owns the window timers and never shows: a hidden top-level one, since
    // message-only windows came with Windows 2000.
    timerWindow_ = CreateWindowExA(WS_EX_TOOLWINDOW, kTimerClass, "", WS_POPUP, 0, 0, 0, 0, nullptr,
                                   nullptr, instance_, nullptr);
    SetWindowLongPtrA(timerWindow_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

Win32Platform::~Win32Platform() {
    for (const auto& timer : timers_)
        ::KillTimer(timerWindow_, timer.first);
    if (timerWindow_) {
        SetWindowLongPtrA(timerWindow_, GWLP_USERDATA, 0);
        DestroyWindow(timerWindow_);
    }
}

LRESULT CALLBACK Win32Platform::TimerWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Win32Platform*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self && msg == WM_TIMER) {
        self->FireTimer(wParam);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

void Win32Platform::FireTimer(UINT_PTR id) {
    auto it = timers_.find(static_cast<TimerId>(id));
    if (it == timers_.end()) return;
    // A copy: the handler may kill or restart its own timer.
    std::function<void()> callback = it->second;
    Run(callback);
}

void Win32Platform::Run(const std::function<void()>& code) {
    bool direct = !bases_.empty() && bases_.back() == depth_;
    ++depth_;
    std::exception_ptr error;
    try {
        code();
    } catch (...) {
        error = std::current_exception();
    }
    --depth_;
    if (!error) return;
    if (!direct && app_) {
        // Inside a loop of the system's: show it now, as the dispatching loop would.
        try {
            app_->Guard([&] { std::rethrow_exception(error); });
            return;
        } catch (...) {
            error = std::current_exception();
        }
    }
    if (!pending_) pending_ = error;
}

void Win32Platform::RethrowPending() {
    if (!pending_) return;
    std::exception_ptr error = pending_;
    pending_ = nullptr;
    std::rethrow_exception(error);
}

namespace {

bool EditWantsEnter(HWND hwnd) {
    WinPeer* peer = WinPeer::FromHandle(hwnd);
    auto* edit = peer ? dynamic_cast<TEdit*>(peer->Ctl()) : nullptr;
    return edit && edit->OnKeyPress;
}

} // namespace

bool Win32Platform::PreTranslate(MSG& msg) {
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
    HWND top = RootWindow(msg.hwnd);
    FormPeer* form = FormFromHandle(top);
    if (!form) return false;
    if (msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE)) {
        // An open drop-down list takes the key itself.
        HWND combo = GetParent(msg.hwnd);
        bool dropped = SendMessageA(msg.hwnd, CB_GETDROPPEDSTATE, 0, 0) != 0 ||
                       (combo && SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0) != 0);
        if (!dropped && form->DialogKey(msg.wParam, msg.hwnd)) return true;
        // Without a default button to take it, Enter in an edit with a key handler reaches that
        // handler as the character 13, as the class library passes it on.
        if (msg.wParam == VK_RETURN && EditWantsEnter(msg.hwnd)) return false;
    }
    // Tab and the arrow keys move the focus between the controls.
    return IsDialogMessageA(top, &msg) != FALSE;
}

bool Win32Platform::DispatchOne() {
    MSG msg;
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
    if (msg.message == WM_QUIT) return true;
    bases_.push_back(depth_);
    if (!PreTranslate(msg)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    bases_.pop_back();
    RethrowPending();
    return true;
}

void Win32Platform::Wait(const std::uint32_t* deadline) {
    DWORD timeout = INFINITE;
    if (deadline) {
        auto left = static_cast<std::int32_t>(*deadline - ::GetTickCount());
        timeout = left > 0 ? static_cast<DWORD>(left) : 0;
    }
    os::win32::WaitForQueuedMessage(timeout);
}

std::uint32_t Win32Platform::Now() {
    return ::GetTickCount();
}

TimerId Win32Platform::StartTimer(std::uint32_t interval, std::function<void()> callback) {
    TimerId id = nextTimerId_++;
    if (nextTimerId_ == 0) nextTimerId_ = 1;
    timers_[id] = std::move(callback);
    SetTimer(timerWindow_, id, interval, nullptr);
    return id;
}

void Win32Platform::KillTimer(TimerId id) {
    ::KillTimer(timerWindow_, id);
    timers_.erase(id);
}

int Win32Platform::MessageBox(const std::string& text, const std::string& caption,
                              std::uint32_t type, const Form* ownerForm,
                              const std::function<void(const std::function<bool()>&)>&) {
    // The box belongs to the given form's window, else to the window that is active now: a
    // form, or a box shown before it (so that closing a nested box gives the activation back to
    // the one below). The system runs the box's loop, in which the window timers go on firing.
    HWND owner = ownerForm ? reinterpret_cast<HWND>(ownerForm->Handle()) : GetActiveWindow();
    if (owner && !ownerForm && !IsWindowVisible(owner)) owner = nullptr;
    ++inMessageBox_;
    int answer = ::MessageBoxA(owner, text.c_str(), caption.c_str(), type | MB_TASKMODAL);
    --inMessageBox_;
    if (bases_.empty()) RethrowPending();
    return answer;
}

std::unique_ptr<ControlPeer> Win32Platform::CreatePeer(Component& component) {
    if (!app_) app_ = component.App();
    std::unique_ptr<WinPeer> peer = MakePeer(*this, component);
    if (peer) {
        QuietScope quiet(*this);
        peer->Create();
    }
    return peer;
}

void Win32Platform::SetFocus(Control& control) {
    auto hwnd = reinterpret_cast<HWND>(control.Handle());
    // Focusing a window of an inactive form would activate that form: only the active form's
    // windows take the focus at once.
    if (hwnd && RootWindow(hwnd) == GetActiveWindow()) ::SetFocus(hwnd);
}

void Win32Platform::ScreenCursorChanged() {
    // The system asks a window for its cursor only when the mouse moves over it, and a program
    // that sets the hourglass is about to be busy: ask the window under the mouse now, as the
    // system would, when it is one of ours.
    POINT at;
    if (!GetCursorPos(&at)) return;
    HWND hwnd = WindowFromPoint(at);
    if (!hwnd || GetWindowThreadProcessId(hwnd, nullptr) != GetCurrentThreadId()) return;
    LRESULT hit = SendMessageA(hwnd, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y));
    SendMessageA(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd),
                 MAKELPARAM(static_cast<WORD>(hit), WM_MOUSEMOVE));
}

void Win32Platform::ShowSystemCursor(TCursor cursor) {
    LPCSTR id = cursor == TCursor::crHourGlass  ? IDC_WAIT
                : cursor == TCursor::crAppStart ? IDC_APPSTARTING
                                                : IDC_ARROW;
    SetCursor(LoadCursorA(nullptr, id));
}

void Win32Platform::Trace(const std::string& line) {
    OutputDebugStringA((line + "\n").c_str());
}

FormPeer* Win32Platform::FormFromHandle(HWND hwnd) const {
    if (!hwnd) return nullptr;
    for (FormPeer* form : forms_)
        if (form->Handle() == hwnd) return form;
    return nullptr;
}

} // namespace ui::win32
