// The notification-area icon and its popup menu.
#include "ui/Application.h"
#include "ui/Form.h"
#include "ui/Menus.h"
#include "ui/win32/Win32Internal.h"

#include <shellapi.h>

#include <cstring>
#include <string>

namespace ui::win32 {

namespace {
const char kTrayClass[] = "OrloTrayWindow";
constexpr UINT kTrayCallback = WM_APP + 1;
constexpr UINT kTrayIconId = 1;
} // namespace

// A hidden window receives the icon's mouse messages and owns the menu while it is open.
class TrayPeer : public WinPeer {
  public:
    TrayPeer(Win32Platform& platform, TTrayIcon& tray) : WinPeer(platform, tray), tray_(tray) {}
    ~TrayPeer() override {
        if (added_) Notify(NIM_DELETE);
    }

    void Create() override {
        RegisterOwnClass(platform_.Instance(), kTrayClass);
        HWND hwnd = CreateWindowExA(WS_EX_TOOLWINDOW, kTrayClass, "", WS_POPUP, 0, 0, 0, 0, nullptr,
                                    nullptr, platform_.Instance(), this);
        Attach(hwnd);
        taskbarCreated_ = RegisterWindowMessageA("TaskbarCreated");
        icon_ = LoadIconA(platform_.Instance(), "MAINICON");
        if (!icon_) icon_ = LoadIcon(nullptr, IDI_APPLICATION);
        Apply();
    }

  protected:
    void Update(Prop prop) override {
        if (prop == Prop::Visible)
            Apply();
        else if (added_ && shownHint_.Change(Tip()) && !Notify(NIM_MODIFY))
            shownHint_.Forget(); // the hint is a plain field: any notice may bring a new one
    }

    LRESULT WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == kTrayCallback) {
            if (lParam == WM_LBUTTONUP && !platform_.Quiet())
                platform_.Run([this] { tray_.UserLeftClick(); });
            else if (lParam == WM_RBUTTONUP && !platform_.Quiet())
                ShowMenu(hwnd);
            return 0;
        }
        if (msg == taskbarCreated_ && taskbarCreated_ != 0) {
            // The notification area was (re)started: the icon has to be added again.
            added_ = false;
            Apply();
            return 0;
        }
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }

  private:
    // The hint as the notification area takes it: 63 characters at most.
    std::string Tip() const { return tray_.Hint.substr(0, 63); }

    bool Notify(DWORD action) {
        NOTIFYICONDATAA data;
        std::memset(&data, 0, sizeof(data));
        data.cbSize = NOTIFYICONDATAA_V1_SIZE;
        data.hWnd = hwnd_;
        data.uID = kTrayIconId;
        data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
        data.uCallbackMessage = kTrayCallback;
        data.hIcon = icon_;
        std::string tip = Tip();
        std::strncpy(data.szTip, tip.c_str(), sizeof(data.szTip) - 1);
        return Shell_NotifyIconA(action, &data) != FALSE;
    }

    void Apply() {
        if (!hwnd_) return;
        if (tray_.Visible() && !added_) {
            added_ = Notify(NIM_ADD);
            shownHint_.Forget();
            if (added_) shownHint_.Change(Tip());
        } else if (!tray_.Visible() && added_) {
            Notify(NIM_DELETE);
            added_ = false;
        }
    }

    void ShowMenu(HWND hwnd) {
        TPopupMenu* popup = tray_.PopupMenu;
        if (!popup) return;
        HMENU menu = CreatePopupMenu();
        UINT id = 1;
        for (TMenuItem* item : popup->Items) {
            if (item->Caption == "-") {
                AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
            } else {
                UINT flags = MF_STRING;
                if (item->Checked()) flags |= MF_CHECKED;
                if (!item->Enabled) flags |= MF_GRAYED;
                AppendMenuA(menu, flags, id, item->Caption.c_str());
            }
            ++id;
        }
        POINT at;
        GetCursorPos(&at);
        // Without this the menu does not close when the user clicks elsewhere.
        SetForegroundWindow(hwnd);
        UINT picked = static_cast<UINT>(TrackPopupMenu(
            menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, hwnd, nullptr));
        PostMessageA(hwnd, WM_NULL, 0, 0);
        DestroyMenu(menu);
        if (picked == 0 || picked > popup->Items.size()) return;
        TMenuItem* item = popup->Items[picked - 1];
        platform_.Run([item] { item->UserClick(); });
    }

    TTrayIcon& tray_;
    HICON icon_ = nullptr; // loaded once: the icon never changes
    Shown<std::string> shownHint_;
    UINT taskbarCreated_ = 0;
    bool added_ = false;
};

std::unique_ptr<WinPeer> MakeTrayPeer(Win32Platform& platform, Component& trayIcon) {
    return std::make_unique<TrayPeer>(platform, static_cast<TTrayIcon&>(trayIcon));
}

} // namespace ui::win32
