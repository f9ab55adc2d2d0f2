// The windows of the drive combo box (a drop-down list of the drives) and of the directory list
// box (a list drawn as a folder tree: a double click or Enter opens a folder).
#include "ui/FileCtrl.h"
#include "ui/win32/Win32Internal.h"

#include <algorithm>

namespace ui::win32 {

namespace {

constexpr int kDropHeight = 160;
constexpr int kItemHeight = 16;
constexpr int kIndent = 10;

// A small folder: a tab and a body, and for an open folder its front flap tilted forward.
void DrawFolder(HDC dc, int left, int top, bool open) {
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(128, 96, 0));
    HBRUSH back = CreateSolidBrush(RGB(224, 176, 48));
    HBRUSH front = CreateSolidBrush(RGB(255, 224, 112));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, back);
    POINT body[] = {{left, top + 2},      {left + 5, top + 2},   {left + 6, top + 4},
                    {left + 13, top + 4}, {left + 13, top + 12}, {left, top + 12}};
    Polygon(dc, body, 6);
    SelectObject(dc, front);
    if (open) {
        POINT flap[] = {
            {left + 2, top + 6}, {left + 15, top + 6}, {left + 13, top + 12}, {left, top + 12}};
        Polygon(dc, flap, 4);
    } else {
        Rectangle(dc, left, top + 5, left + 14, top + 13);
    }
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(front);
    DeleteObject(back);
    DeleteObject(pen);
}

} // namespace

// A drop-down list: a pick goes to the model, which may refuse it (a drive without a disk).
class DriveComboPeer : public WinPeer {
  public:
    DriveComboPeer(Win32Platform& platform, TDriveComboBox& combo)
        : WinPeer(platform, combo), combo_(combo) {}
    void Create() override {
        CreateChild("COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP);
        Sync(true);
    }
    RECT Placement() const override {
        RECT r = WinPeer::Placement();
        r.bottom += kDropHeight;
        return r;
    }
    void OnCommand(WORD code) override {
        if (code != CBN_SELCHANGE || platform_.Quiet()) return;
        int index = static_cast<int>(SendMessageA(hwnd_, CB_GETCURSEL, 0, 0));
        if (index >= 0) platform_.Run([this, index] { combo_.UserSelect(index); });
    }

  protected:
    void Update(Prop prop) override {
        if (prop == Prop::Items || prop == Prop::ItemIndex)
            Sync(prop == Prop::Items);
        else if (prop != Prop::Caption)
            WinPeer::Update(prop);
    }

  private:
    void Sync(bool items) {
        if (!hwnd_) return;
        if (items) {
            SendMessageA(hwnd_, CB_RESETCONTENT, 0, 0);
            for (const std::string& item : combo_.Items())
                SendMessageA(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        }
        SendMessageA(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(combo_.ItemIndex()), 0);
    }

    TDriveComboBox& combo_;
};

// An owner-drawn list of the model's items, each indented by its level behind a folder.
class DirectoryListPeer : public WinPeer {
  public:
    DirectoryListPeer(Win32Platform& platform, TDirectoryListBox& list)
        : WinPeer(platform, list), list_(list) {}
    void Create() override {
        CreateChild("LISTBOX",
                    LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT |
                        WS_VSCROLL | WS_TABSTOP,
                    WS_EX_CLIENTEDGE, "");
        if (!hwnd_) return;
        SendMessageA(hwnd_, LB_SETITEMHEIGHT, 0, kItemHeight);
        Subclass(hwnd_);
        Sync(true);
    }
    void OnCommand(WORD code) override {
        if (platform_.Quiet()) return;
        int index = static_cast<int>(SendMessageA(hwnd_, LB_GETCURSEL, 0, 0));
        if (index < 0) return;
        if (code == LBN_SELCHANGE)
            platform_.Run([this, index] { list_.UserSelect(index); });
        else if (code == LBN_DBLCLK)
            platform_.Run([this, index] { list_.UserOpen(index); });
    }
    bool OnDrawItem(DRAWITEMSTRUCT* item) override {
        if (item->itemID == static_cast<UINT>(-1)) return true;
        const auto& items = list_.Items();
        if (item->itemID >= items.size()) return true;
        const TDirectoryListBox::Item& entry = items[item->itemID];
        bool selected = (item->itemState & ODS_SELECTED) != 0;
        HDC dc = item->hDC;
        RECT r = item->rcItem;
        FillRect(dc, &r, GetSysColorBrush(COLOR_WINDOW));
        int left = r.left + 2 + entry.level * kIndent;
        DrawFolder(dc, left, r.top + 1, entry.open);
        RECT text = r;
        text.left = left + 18;
        SIZE size{0, 0};
        HGDIOBJ oldFont = SelectObject(dc, ControlFont());
        GetTextExtentPoint32A(dc, entry.text.c_str(), static_cast<int>(entry.text.size()), &size);
        text.right = std::min<LONG>(r.right, text.left + size.cx + 4);
        if (selected) FillRect(dc, &text, GetSysColorBrush(COLOR_HIGHLIGHT));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        text.left += 2;
        DrawTextA(dc, entry.text.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        if (item->itemState & ODS_FOCUS) {
            text.left -= 2;
            DrawFocusRect(dc, &text);
        }
        SelectObject(dc, oldFont);
        return true;
    }

  protected:
    // The list's text is the current folder: nothing shows it, but tools that read windows find it.
    void Update(Prop prop) override {
        if (prop == Prop::Items || prop == Prop::ItemIndex)
            Sync(prop == Prop::Items);
        else
            WinPeer::Update(prop);
    }

    LRESULT WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override {
        // Enter opens the highlighted folder instead of going to the window's buttons.
        if (msg == WM_GETDLGCODE && wParam == VK_RETURN)
            return CallOriginal(hwnd, msg, wParam, lParam) | DLGC_WANTMESSAGE;
        if (msg == WM_KEYDOWN && wParam == VK_RETURN) {
            int index = static_cast<int>(SendMessageA(hwnd, LB_GETCURSEL, 0, 0));
            if (index >= 0) platform_.Run([this, index] { list_.UserOpen(index); });
            return 0;
        }
        return CallOriginal(hwnd, msg, wParam, lParam);
    }

  private:
    void Sync(bool items) {
        if (!hwnd_) return;
        if (items) {
            SendMessageA(hwnd_, WM_SETREDRAW, FALSE, 0);
            SendMessageA(hwnd_, LB_RESETCONTENT, 0, 0);
            for (const auto& entry : list_.Items())
                SendMessageA(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.text.c_str()));
            SendMessageA(hwnd_, WM_SETREDRAW, TRUE, 0);
            InvalidateRect(hwnd_, nullptr, TRUE);
        }
        SendMessageA(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(list_.ItemIndex()), 0);
    }

    TDirectoryListBox& list_;
};

std::unique_ptr<WinPeer> MakeFileControlPeer(Win32Platform& platform, Component& component) {
    if (auto* combo = dynamic_cast<TDriveComboBox*>(&component))
        return std::make_unique<DriveComboPeer>(platform, *combo);
    if (auto* list = dynamic_cast<TDirectoryListBox*>(&component))
        return std::make_unique<DirectoryListPeer>(platform, *list);
    return nullptr;
}

} // namespace ui::win32
