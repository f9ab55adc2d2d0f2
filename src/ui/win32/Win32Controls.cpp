// The windows of the controls: containers, page controls, standard and common controls.
#include "ui/Application.h"
#include "ui/ComCtrls.h"
#include "ui/ExtCtrls.h"
#include "ui/Form.h"
#include "ui/Menus.h"
#include "ui/StdCtrls.h"
#include "ui/win32/Win32Internal.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace ui::win32 {

namespace {

const char kPanelClass[] = "OrloPanel";
const char kImageClass[] = "OrloImage";
const char kBevelClass[] = "OrloBevel";

// Text and ground of a control drawn on its parent's ground (labels, check boxes).
HBRUSH ParentGround(WinPeer& peer, HDC dc) {
    Control* control = peer.Ctl();
    SetTextColor(dc, ColorRef(control->Font().Color));
    SetBkMode(dc, TRANSPARENT);
    SetBkColor(dc, peer.GroundColor());
    return peer.GroundBrush();
}

// Typing in an edit or a combo box: each typed character goes to the model, which may discard
// it and sets the text itself; the window's own editing behind the model's back (delete, cut,
// undo) is refused. Other control characters (copy, select all) stay with the window. True when
// the message is handled here.
bool HandleTyping(Win32Platform& platform, UINT msg, WPARAM wParam,
                  const std::function<void(char)>& keyPress) {
    switch (msg) {
    case WM_CHAR: {
        char key = static_cast<char>(wParam);
        auto code = static_cast<unsigned char>(key);
        if (code < 32 && key != '\b' && key != '\r' && key != 27) return false;
        platform.Run([&keyPress, key] { keyPress(key); });
        return true;
    }
    case WM_KEYDOWN:
        return wParam == VK_DELETE;
    case WM_CUT:
    case WM_CLEAR:
    case WM_UNDO:
        return true;
    default:
        return false;
    }
}

// Draws `size` of the picture selected into `picture` stretched over `dest` of `dc`, except its
// pixels of colour `seeThrough`, where what `dc` shows stays. A monochrome mask marks those
// pixels; the picture is combined off screen with what lies below it (XOR, mask, XOR), so the
// window shows the result at once. Only BitBlt and StretchBlt: no system's own transparent copy.
void DrawTransparent(HDC dc, const RECT& dest, HDC picture, SIZE size, COLORREF seeThrough) {
    const int w = dest.right - dest.left, h = dest.bottom - dest.top;
    HDC mask = CreateCompatibleDC(dc);
    HBITMAP maskBits = CreateBitmap(size.cx, size.cy, 1, 1, nullptr);
    HGDIOBJ oldMask = SelectObject(mask, maskBits);
    // Colour to monochrome: the source's background colour turns white, every other black.
    COLORREF oldPictureBk = SetBkColor(picture, seeThrough);
    BitBlt(mask, 0, 0, size.cx, size.cy, picture, 0, 0, SRCCOPY);
    SetBkColor(picture, oldPictureBk);

    HDC work = CreateCompatibleDC(dc);
    HBITMAP workBits = CreateCompatibleBitmap(dc, w, h);
    HGDIOBJ oldWork = SelectObject(work, workBits);
    BitBlt(work, 0, 0, w, h, dc, dest.left, dest.top, SRCCOPY);
    // Monochrome to colour: white turns the background colour, black the text colour.
    SetBkColor(work, RGB(255, 255, 255));
    SetTextColor(work, RGB(0, 0, 0));
    // The same pixels dropped from the picture and from the mask when shrunk.
    SetStretchBltMode(work, COLORONCOLOR);
    StretchBlt(work, 0, 0, w, h, picture, 0, 0, size.cx, size.cy, SRCINVERT);
    StretchBlt(work, 0, 0, w, h, mask, 0, 0, size.cx, size.cy, SRCAND);
    StretchBlt(work, 0, 0, w, h, picture, 0, 0, size.cx, size.cy, SRCINVERT);
    BitBlt(dc, dest.left, dest.top, w, h, work, 0, 0, SRCCOPY);

    SelectObject(work, oldWork);
    DeleteObject(workBits);
    DeleteDC(work);
    SelectObject(mask, oldMask);
    DeleteObject(maskBits);
    DeleteDC(mask);
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

} // namespace

// --- alignment: a control glued to an edge of its parent, or filling it -------------------

RECT AlignedPlacement(const WinPeer& peer, TPanel::TAlign align) {
    RECT r = peer.WinPeer::Placement();
    Control* control = peer.Ctl();
    HWND parent = peer.ParentHandle();
    if (!control || align == TPanel::TAlign::alNone || !parent) return r;
    RECT client;
    GetClientRect(parent, &client);
    int height = r.bottom - r.top;
    r.left = 0;
    r.right = client.right;
    switch (align) {
    case TPanel::TAlign::alTop: {
        // Top-aligned panels stack in their order below the visible ones before them.
        int top = 0;
        for (Control* sibling : control->Parent()->Children()) {
            if (sibling == control) break;
            auto* above = dynamic_cast<TPanel*>(sibling);
            if (above && above->Visible() && above->Align == TPanel::TAlign::alTop)
                top += above->Height();
        }
        r.top = top;
        r.bottom = top + height;
        break;
    }
    case TPanel::TAlign::alBottom:
        r.top = client.bottom - height;
        r.bottom = client.bottom;
        break;
    default:
        r = client;
        break;
    }
    return r;
}

// --- containers: panels, tab sheets and controls without a window class of their own --------

class ContainerPeer : public WinPeer {
  public:
    using WinPeer::WinPeer;
    void Create() override {
        RegisterOwnClass(platform_.Instance(), kPanelClass);
        CreateChild(kPanelClass, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, "");
    }
    COLORREF GroundColor() override { return ColorRef(control_->Color()); }
    HBRUSH GroundBrush() override { return OwnBrush(); }

    RECT Placement() const override {
        auto* panel = dynamic_cast<TPanel*>(control_);
        return AlignedPlacement(*this, panel ? panel->Align : TPanel::TAlign::alNone);
    }

  protected:
    void Update(Prop prop) override {
        if (prop != Prop::Caption) {
            WinPeer::Update(prop);
        } else if (hwnd_ && shownCaption_.Change(control_->Caption())) {
            // Paint draws the caption.
            SetWindowTextA(hwnd_, control_->Caption().c_str());
            InvalidateRect(hwnd_, nullptr, TRUE);
        }
    }

    LRESULT WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override {
        LRESULT result = 0;
        if (Reflect(msg, wParam, lParam, result)) return result;
        switch (msg) {
        case WM_ERASEBKGND: {
            RECT r;
            GetClientRect(hwnd, &r);
            FillRect(reinterpret_cast<HDC>(wParam), &r, OwnBrush());
            return 1;
        }
        case WM_PAINT:
            Paint(hwnd);
            return 0;
        case WM_SIZE:
            LayoutChildren();
            return 0;
        default:
            break;
        }
        return OwnClassDefault(hwnd, msg, wParam, lParam);
    }

  private:
    void Paint(HWND hwnd) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        auto* panel = dynamic_cast<TPanel*>(control_);
        if (panel) {
            RECT r;
            GetClientRect(hwnd, &r);
            if (!panel->BevelOuterNone) DrawEdge(dc, &r, BDR_RAISEDOUTER, BF_RECT);
            if (!panel->Caption().empty()) {
                HGDIOBJ old = SelectObject(dc, ControlFont());
                SetBkMode(dc, TRANSPARENT);
                SetTextColor(dc, ColorRef(panel->Font().Color));
                DrawTextA(dc, panel->Caption().c_str(), -1, &r,
                          DT_CENTER | DT_VCENTER | DT_SINGLELINE);
                SelectObject(dc, old);
            }
        }
        EndPaint(hwnd, &ps);
    }
};

class PageControlPeer;

class TabSheetPeer : public ContainerPeer {
  public:
    TabSheetPeer(Win32Platform& platform, TTabSheet& sheet)
        : ContainerPeer(platform, sheet), sheet_(sheet) {}
    void Create() override;
    RECT Placement() const override;

  protected:
    void Update(Prop prop) override;
    // The caption shows on the page control's tab, also while the sheet is hidden.
    bool WaitsWhileHidden(Prop prop) const override {
        return prop != Prop::Caption && ContainerPeer::WaitsWhileHidden(prop);
    }

  private:
    PageControlPeer* Pages() const;
    TTabSheet& sheet_;
};

// One tab per sheet whose tab is visible, in order; the sheets are child windows placed in the
// display area, shown only while active.
class PageControlPeer : public WinPeer {
  public:
    PageControlPeer(Win32Platform& platform, TPageControl& pages)
        : WinPeer(platform, pages), pages_(pages) {}
    void Create() override {
        CreateChild(WC_TABCONTROLA, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, "");
        RebuildTabs();
    }

    void RebuildTabs() {
        if (!hwnd_) return;
        Win32Platform::QuietScope quiet(platform_);
        SendMessageA(hwnd_, TCM_DELETEALLITEMS, 0, 0);
        int tab = 0;
        const auto& sheets = pages_.Pages();
        for (size_t i = 0; i < sheets.size(); ++i) {
            if (!sheets[i]->TabVisible()) continue;
            std::string text = sheets[i]->Caption();
            TCITEMA item{};
            item.mask = TCIF_TEXT | TCIF_PARAM;
            item.pszText = &text[0];
            item.lParam = static_cast<LPARAM>(i);
            SendMessageA(hwnd_, TCM_INSERTITEMA, tab++, reinterpret_cast<LPARAM>(&item));
        }
        SyncSelection();
        LayoutChildren();
    }

    RECT DisplayRect() const {
        RECT r{0, 0, 0, 0};
        if (!hwnd_) return r;
        GetClientRect(hwnd_, &r);
        SendMessageA(hwnd_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
        return r;
    }

    bool OnNotify(NMHDR* header, LRESULT& result) override {
        if (header->code != TCN_SELCHANGE) return false;
        result = 0;
        if (platform_.Quiet()) return true;
        int index = static_cast<int>(SendMessageA(hwnd_, TCM_GETCURSEL, 0, 0));
        TTabSheet* sheet = SheetOfTab(index);
        // The tab of the page that shows stays selected while the changing handler decides
        // whether the page may change: the tabs change with the page, not before it.
        {
            Win32Platform::QuietScope quiet(platform_);
            SyncSelection();
        }
        if (sheet) platform_.Run([this, sheet] { pages_.UserSelect(sheet); });
        // The change handler may have refused the page.
        Win32Platform::QuietScope quiet(platform_);
        SyncSelection();
        return true;
    }

  protected:
    void Update(Prop prop) override {
        if (prop == Prop::ActivePage)
            SyncSelection();
        else
            WinPeer::Update(prop);
    }

  private:
    TTabSheet* SheetOfTab(int index) const {
        if (index < 0) return nullptr;
        TCITEMA item{};
        item.mask = TCIF_PARAM;
        if (!SendMessageA(hwnd_, TCM_GETITEMA, index, reinterpret_cast<LPARAM>(&item)))
            return nullptr;
        const auto& sheets = pages_.Pages();
        auto i = static_cast<size_t>(item.lParam);
        return i < sheets.size() ? sheets[i] : nullptr;
    }

    void SyncSelection() {
        int count = static_cast<int>(SendMessageA(hwnd_, TCM_GETITEMCOUNT, 0, 0));
        int selected = -1;
        for (int tab = 0; tab < count; ++tab)
            if (SheetOfTab(tab) == pages_.ActivePage()) selected = tab;
        SendMessageA(hwnd_, TCM_SETCURSEL, selected, 0);
    }

    TPageControl& pages_;
};

PageControlPeer* TabSheetPeer::Pages() const {
    return dynamic_cast<PageControlPeer*>(ParentPeer());
}

void TabSheetPeer::Create() {
    ContainerPeer::Create();
    if (PageControlPeer* pages = Pages()) pages->RebuildTabs();
}

RECT TabSheetPeer::Placement() const {
    PageControlPeer* pages = Pages();
    return pages ? pages->DisplayRect() : ContainerPeer::Placement();
}

void TabSheetPeer::Update(Prop prop) {
    ContainerPeer::Update(prop);
    if (prop == Prop::Caption || prop == Prop::TabVisible)
        if (PageControlPeer* pages = Pages()) pages->RebuildTabs();
}

// --- group box: a frame with a caption, and the parent of its controls ----------------------

class GroupBoxPeer : public WinPeer {
  public:
    using WinPeer::WinPeer;
    void Create() override {
        CreateChild("BUTTON", BS_GROUPBOX | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT);
        Subclass(hwnd_);
    }
    COLORREF GroundColor() override { return ColorRef(control_->Color()); }
    HBRUSH GroundBrush() override { return OwnBrush(); }
    HBRUSH OnCtlColor(UINT, HDC dc) override {
        SetTextColor(dc, ColorRef(control_->Font().Color));
        SetBkColor(dc, WinPeer::GroundColor());
        return WinPeer::GroundBrush();
    }

  protected:
    LRESULT WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override {
        LRESULT result = 0;
        if (Reflect(msg, wParam, lParam, result)) return result;
        switch (msg) {
        case WM_ERASEBKGND: {
            RECT r;
            GetClientRect(hwnd, &r);
            FillRect(reinterpret_cast<HDC>(wParam), &r, OwnBrush());
            return 1;
        }
        case WM_NCHITTEST:
            // A group box lets clicks through by default; its controls sit inside it here.
            return HTCLIENT;
        default:
            break;
        }
        return CallOriginal(hwnd, msg, wParam, lParam);
    }
};

// --- static controls ---------------------------------------------------------------------

class LabelPeer : public WinPeer {
  public:
    using WinPeer::WinPeer;
    void Create() override {
        auto* label = dynamic_cast<TLabel*>(control_);
        CreateChild("STATIC", (label && label->WordWrap ? SS_LEFT : SS_LEFTNOWORDWRAP) | SS_NOTIFY);
    }
    bool Graphic() const override { return true; }
    void OnCommand(WORD code) override {
        if (code == STN_CLICKED && !platform_.Quiet())
            platform_.Run([this] { control_->UserClick(); });
    }
    HBRUSH OnCtlColor(UINT, HDC dc) override {
        HBRUSH ground = ParentGround(*this, dc);
        if (control_->Color() == clBtnFace) return ground;
        SetBkColor(dc, ColorRef(control_->Color()));
        return OwnBrush();
    }
};

// The class library's default bevel: a lowered box, one pixel of the shadow colour at its top
// and left, one of the highlight colour at its bottom and right. Its window holds only that
// frame (a window region): inside it the parent's ground and the controls there show.
class BevelPeer : public WinPeer {
  public:
    using WinPeer::WinPeer;
    void Create() override {
        RegisterOwnClass(platform_.Instance(), kBevelClass);
        CreateChild(kBevelClass, 0, 0, "");
        KeepToFrame();
    }
    bool Graphic() const override { return true; }

  protected:
    void Update(Prop prop) override {
        if (prop != Prop::Caption) WinPeer::Update(prop);
    }

    LRESULT WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override {
        switch (msg) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd, &ps);
            RECT r;
            GetClientRect(hwnd, &r);
            DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
            EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_SIZE:
            KeepToFrame();
            return 0;
        default:
            break;
        }
        return OwnClassDefault(hwnd, msg, wParam, lParam);
    }

  private:
    void KeepToFrame() {
        if (!hwnd_) return;
        RECT r;
        GetClientRect(hwnd_, &r);
        HRGN frame = CreateRectRgn(0, 0, r.right, r.bottom);
        if (r.right > 2 && r.bottom > 2) {
            HRGN inside = CreateRectRgn(1, 1, r.right - 1, r.bottom - 1);
            CombineRgn(frame, frame, inside, RGN_DIFF);
            DeleteObject(inside);
        }
        // The window owns the region from now on.
        SetWindowRgn(hwnd_, frame, TRUE);
    }
};

// A picture from the program's bitmap resources or from a bitmap or icon file.
class ImagePeer : public WinPeer {
  public:
    ImagePeer(Win32Platform& platform, TImage& image) : WinPeer(platform, image), image_(image) {}
    ~ImagePeer() override { Release(); }
    void Create() override {
        RegisterOwnClass(platform_.Instance(), kImageClass);
        // Later images lie over earlier ones (PlaceInZOrder): digit images overlap their left
        // neighbour's transparent margin and must show whole.
        CreateChild(kImageClass, 0, 0, "");
        Load();
    }
    bool Graphic() const override { return true; }

  protected:
    void Update(Prop prop) override {
        switch (prop) {
        case Prop::Picture:
            // A resource is the same picture every time: loaded again only when it is another.
            // A file may have changed since.
            if (!SameResource(image_.Picture(), loaded_)) Load();
            break;
        case Prop::Other:
            // Repaint: a picture that changed is drawn at once; an unchanged one is not drawn
            // again.
            if (hwnd_ && paintPending_) UpdateWindow(hwnd_);
            break;
        case Prop::Caption:
            break;
        default:
            WinPeer::Update(prop);
            break;
        }
    }

    LRESULT WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override {
        switch (msg) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            paintPending_ = false;
            Paint(hwnd);
            return 0;
        default:
            break;
        }
        return OwnClassDefault(hwnd, msg, wParam, lParam);
    }

  private:
    void Release() {
        if (bitmap_) DeleteObject(bitmap_);
        if (icon_) DestroyIcon(icon_);
        bitmap_ = nullptr;
        icon_ = nullptr;
    }

    static bool SameResource(const TPicture& a, const TPicture& b) {
        return a.kind == TPicture::Kind::Resource && b.kind == a.kind && b.source == a.source;
    }

    void Load() {
        Release();
        const TPicture& picture = image_.Picture();
        loaded_ = picture;
        if (picture.kind == TPicture::Kind::Resource) {
            bitmap_ = LoadBitmapA(platform_.Instance(), picture.source.c_str());
        } else if (picture.kind == TPicture::Kind::File) {
            std::string path = Lower(picture.source);
            auto dot = path.find_last_of('.');
            std::string ext = dot == std::string::npos ? "" : path.substr(dot + 1);
            if (ext == "bmp")
                bitmap_ = static_cast<HBITMAP>(LoadImageA(nullptr, picture.source.c_str(),
                                                          IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
            else if (ext == "ico")
                icon_ = static_cast<HICON>(
                    LoadImageA(nullptr, picture.source.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE));
        }
        SIZE size = PictureSize();
        if (image_.AutoSize && hwnd_ && size.cx > 0)
            SetWindowPos(hwnd_, nullptr, 0, 0, size.cx, size.cy,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        if (hwnd_) {
            InvalidateRect(hwnd_, nullptr, TRUE);
            paintPending_ = true;
        }
    }

    SIZE PictureSize() const {
        SIZE size{0, 0};
        if (bitmap_) {
            BITMAP info;
            if (GetObjectA(bitmap_, sizeof(info), &info)) size = SIZE{info.bmWidth, info.bmHeight};
        } else if (icon_) {
            ICONINFO info;
            if (GetIconInfo(icon_, &info)) {
                BITMAP mask;
                if (GetObjectA(info.hbmMask, sizeof(mask), &mask))
                    size = SIZE{mask.bmWidth, info.hbmColor ? mask.bmHeight : mask.bmHeight / 2};
                if (info.hbmMask) DeleteObject(info.hbmMask);
                if (info.hbmColor) DeleteObject(info.hbmColor);
            }
        }
        return size;
    }

    void Paint(HWND hwnd) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT client;
        GetClientRect(hwnd, &client);
        FillRect(dc, &client, GroundBrush());
        SIZE size = PictureSize();
        if (size.cx > 0 && size.cy > 0) {
            RECT dest{0, 0, size.cx, size.cy};
            if (image_.Stretch) {
                dest = client;
            } else if (image_.Center) {
                OffsetRect(&dest, (client.right - size.cx) / 2, (client.bottom - size.cy) / 2);
            }
            int w = dest.right - dest.left, h = dest.bottom - dest.top;
            if (icon_) {
                DrawIconEx(dc, dest.left, dest.top, icon_, w, h, 0, nullptr, DI_NORMAL);
            } else {
                HDC memory = CreateCompatibleDC(dc);
                HGDIOBJ old = SelectObject(memory, bitmap_);
                if (image_.Transparent) {
                    // The colour of the bottom-left pixel is the picture's see-through ground.
                    COLORREF ground = GetPixel(memory, 0, size.cy - 1);
                    DrawTransparent(dc, dest, memory, size, ground);
                } else {
                    StretchBlt(dc, dest.left, dest.top, w, h, memory, 0, 0, size.cx, size.cy,
                               SRCCOPY);
                }
                SelectObject(memory, old);
                DeleteDC(memory);
            }
        }
        EndPaint(hwnd, &ps);
    }

    TImage& image_;
    TPicture loaded_;
    HBITMAP bitmap_ = nullptr;
    HICON icon_ = nullptr;
    bool paintPending_ = false; // invalidated, not painted since
};

// --- edits and buttons ---------------------------------------------------------------------

// The text lives in the model: typed characters go to the control's key handler, which may
// discard them, and the window then shows the model's text.
class EditPeer : public WinPeer {
  public:
    EditPeer(Win32Platform& platform, TEdit& edit) : WinPeer(platform, edit), edit_(edit) {}
    void Create() override {
        DWORD style = ES_AUTOHSCROLL;
        if (edit_.PasswordChar) style |= ES_PASSWORD;
        if (edit_.ReadOnly()) style |= ES_READONLY;
        CreateChild("EDIT", style, WS_EX_CLIENTEDGE);
        if (edit_.PasswordChar)
            SendMessageA(hwnd_, EM_SETPASSWORDCHAR, static_cast<unsigned char>(edit_.PasswordChar),
                         0);
        Subclass(hwnd_);
    }
    HBRUSH OnCtlColor(UINT msg, HDC dc) override {
        if (edit_.Color() == clBtnFace && edit_.Font().Color == clWindowText) return nullptr;
        SetTextColor(dc, ColorRef(edit_.Font().Color));
        if (edit_.Color() == clBtnFace) {
            int index = msg == WM_CTLCOLOREDIT ? COLOR_WINDOW : COLOR_BTNFACE;
            SetBkColor(dc, GetSysColor(index));
            return GetSysColorBrush(index);
        }
        SetBkColor(dc, ColorRef(edit_.Color()));
        return OwnBrush();
    }

  protected:
    void Update(Prop prop) override {
        if (!hwnd_) return;
        if (prop == Prop::Caption) {
            if (!shownCaption_.Change(edit_.Text())) return;
            SetWindowTextA(hwnd_, edit_.Text().c_str());
            // A read-only edit shows its text from the first character; in an edit the user
            // types into, the caret follows the text to its end.
            auto at = edit_.ReadOnly() ? 0 : static_cast<WPARAM>(edit_.Text().size());
            SendMessageA(hwnd_, EM_SETSEL, at, static_cast<LPARAM>(at));
            SendMessageA(hwnd_, EM_SCROLLCARET, 0, 0);
        } else if (prop == Prop::ReadOnly) {
            SendMessageA(hwnd_, EM_SETREADONLY, edit_.ReadOnly(), 0);
        } else {
            WinPeer::Update(prop);
        }
    }

    LRESULT WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_PASTE) {
            PasteAsKeys(hwnd);
            return 0;
        }
        if (HandleTyping(platform_, msg, wParam, [this](char key) { edit_.UserKeyPress(key); }))
            return 0;
        return CallOriginal(hwnd, msg, wParam, lParam);
    }

  private:
    void PasteAsKeys(HWND hwnd) {
        std::string text;
        if (OpenClipboard(hwnd)) {
            if (HANDLE data = GetClipboardData(CF_TEXT)) {
                if (const char* chars = static_cast<const char*>(GlobalLock(data))) {
                    text = chars;
                    GlobalUnlock(data);
                }
            }
            CloseClipboard();
        }
        for (char key : text)
            if (static_cast<unsigned char>(key) >= 32)
                platform_.Run([this, key] { edit_.UserKeyPress(key); });
    }

    TEdit& edit_;
};

class ButtonPeer : public WinPeer {
  public:
    ButtonPeer(Win32Platform& platform, TButton& button)
        : WinPeer(platform, button), button_(button) {}
    void Create() override {
        CreateChild("BUTTON", button_.Default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
    }
    void OnCommand(WORD code) override {
        if (code == BN_CLICKED && !platform_.Quiet())
            platform_.Run([this] { button_.UserClick(); });
    }

  private:
    TButton& button_;
};

// Check boxes and radio buttons that do not check themselves: a click goes to the model, which
// toggles its state, and the window then shows it.
class CheckPeer : public WinPeer {
  public:
    CheckPeer(Win32Platform& platform, Control& control, bool radio)
        : WinPeer(platform, control), radio_(radio) {}
    void Create() override {
        CreateChild("BUTTON", radio_ ? BS_RADIOBUTTON : BS_CHECKBOX);
        ShowChecked();
    }
    void OnCommand(WORD code) override {
        if (code == BN_CLICKED && !platform_.Quiet())
            platform_.Run([this] { control_->UserClick(); });
    }
    HBRUSH OnCtlColor(UINT, HDC dc) override { return ParentGround(*this, dc); }

  protected:
    void Update(Prop prop) override {
        if (prop == Prop::Checked)
            ShowChecked();
        else
            WinPeer::Update(prop);
    }

  private:
    void ShowChecked() {
        if (!hwnd_) return;
        bool checked = radio_ ? static_cast<TRadioButton*>(control_)->Checked()
                              : static_cast<TCheckBox*>(control_)->Checked();
        if (shownChecked_.Change(checked))
            SendMessageA(hwnd_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    bool radio_;
    Shown<bool> shownChecked_;
};

// A drop-down combo box with an editable text; items, selection and text come from the model.
class ComboPeer : public WinPeer {
  public:
    ComboPeer(Win32Platform& platform, TComboBox& combo)
        : WinPeer(platform, combo), combo_(combo) {}
    void Create() override {
        CreateChild("COMBOBOX", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL);
        if (!hwnd_) return;
        edit_ = GetWindow(hwnd_, GW_CHILD);
        Subclass(edit_);
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
        Win32Platform::QuietScope quiet(platform_);
        Sync(false);
    }

  protected:
    void Update(Prop prop) override {
        if (prop == Prop::Items || prop == Prop::ItemIndex || prop == Prop::Caption)
            Sync(prop == Prop::Items);
        else
            WinPeer::Update(prop);
    }

    LRESULT WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_PASTE) return 0;
        if (HandleTyping(platform_, msg, wParam, [this](char key) { combo_.UserKeyPress(key); }))
            return 0;
        return CallOriginal(hwnd, msg, wParam, lParam);
    }

  private:
    static constexpr int kDropHeight = 160;

    void Sync(bool items) {
        if (!hwnd_) return;
        if (items && shownItems_.Change(combo_.Items())) {
            SendMessageA(hwnd_, CB_RESETCONTENT, 0, 0);
            for (const std::string& item : combo_.Items())
                SendMessageA(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        }
        int index = combo_.ItemIndex();
        if (SendMessageA(hwnd_, CB_GETCURSEL, 0, 0) != index)
            SendMessageA(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        char current[512] = {};
        GetWindowTextA(hwnd_, current, sizeof(current));
        if (combo_.Text() != current) SetWindowTextA(hwnd_, combo_.Text().c_str());
        if (edit_ && GetFocus() == edit_) {
            auto end = static_cast<WPARAM>(combo_.Text().size());
            SendMessageA(edit_, EM_SETSEL, end, static_cast<LPARAM>(end));
        }
    }

    TComboBox& combo_;
    HWND edit_ = nullptr;
    Shown<std::vector<std::string>> shownItems_;
};

// --- common controls -----------------------------------------------------------------------

// A spinner without a buddy: an arrow press (a click, or the arrow keys up and down while it
// has the focus) goes to the model, which decides the position; the control's own change is
// always refused.
class UpDownPeer : public WinPeer {
  public:
    UpDownPeer(Win32Platform& platform, TUpDown& upDown)
        : WinPeer(platform, upDown), upDown_(upDown) {}
    void Create() override {
        CreateChild(UPDOWN_CLASSA, 0, 0, "");
        Subclass(hwnd_);
        ShowRange();
    }
    bool OnNotify(NMHDR* header, LRESULT& result) override {
        if (header->code != UDN_DELTAPOS) return false;
        result = 1;
        if (platform_.Quiet()) return true;
        bool up = reinterpret_cast<NMUPDOWN*>(header)->iDelta > 0;
        platform_.Run([this, up] { upDown_.UserArrow(up); });
        Win32Platform::QuietScope quiet(platform_);
        ShowPosition();
        return true;
    }

  protected:
    LRESULT WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override {
        // The dialog manager would move the focus with the arrow keys.
        if (msg == WM_GETDLGCODE) return DLGC_WANTARROWS;
        if (msg == WM_KEYDOWN && (wParam == VK_UP || wParam == VK_DOWN)) {
            bool up = wParam == VK_UP;
            platform_.Run([this, up] { upDown_.UserArrow(up); });
            Win32Platform::QuietScope quiet(platform_);
            ShowPosition();
            return 0;
        }
        return CallOriginal(hwnd, msg, wParam, lParam);
    }

    void Update(Prop prop) override {
        if (prop == Prop::Range)
            ShowRange();
        else if (prop == Prop::Position)
            ShowPosition();
        else if (prop != Prop::Caption)
            WinPeer::Update(prop);
    }

  private:
    void ShowRange() {
        if (!hwnd_) return;
        // The 16-bit messages: positions are 16-bit anyway, and the 32-bit ones need the common
        // controls of Internet Explorer 4, which Windows 95 and NT 4.0 lack.
        if (shownRange_.Change({upDown_.Min(), upDown_.Max()})) {
            SendMessageA(
                hwnd_, UDM_SETRANGE, 0,
                MAKELPARAM(static_cast<WORD>(upDown_.Max()), static_cast<WORD>(upDown_.Min())));
            shownPosition_.Forget(); // the control may have held its position to the range
        }
        ShowPosition();
    }
    void ShowPosition() {
        if (hwnd_ && shownPosition_.Change(upDown_.Position()))
            SendMessageA(hwnd_, UDM_SETPOS, 0,
                         MAKELPARAM(static_cast<WORD>(upDown_.Position()), 0));
    }
    TUpDown& upDown_;
    Shown<std::pair<int, int>> shownRange_;
    Shown<int> shownPosition_;
};

class ProgressPeer : public WinPeer {
  public:
    ProgressPeer(Win32Platform& platform, TProgressBar& bar) : WinPeer(platform, bar), bar_(bar) {}
    void Create() override {
        CreateChild(PROGRESS_CLASSA, 0, 0, "");
        Show();
    }

  protected:
    void Update(Prop prop) override {
        if (prop == Prop::Position)
            Show();
        else if (prop != Prop::Caption)
            WinPeer::Update(prop);
    }

  private:
    void Show() {
        if (!hwnd_) return;
        // Min and Max are plain fields: read them with every position. The bar takes a 16-bit
        // range (the 32-bit one needs the common controls of Internet Explorer 3, which Windows
        // 95 and NT 4.0 lack): a longer one is shown scaled down, counted from Min.
        const int span = std::max(bar_.Max - bar_.Min, 0);
        const int scale = span / 0x10000 + 1;
        if (shownRange_.Change({bar_.Min, bar_.Max})) {
            SendMessageA(hwnd_, PBM_SETRANGE, 0, MAKELPARAM(0, static_cast<WORD>(span / scale)));
            shownPosition_.Forget(); // the bar holds its position to the range
        }
        if (shownPosition_.Change(bar_.Position())) {
            const int shown = std::clamp(bar_.Position() - bar_.Min, 0, span) / scale;
            SendMessageA(hwnd_, PBM_SETPOS, static_cast<WPARAM>(shown), 0);
        }
    }
    TProgressBar& bar_;
    Shown<std::pair<int, int>> shownRange_;
    Shown<int> shownPosition_;
};

// --- the factory ---------------------------------------------------------------------------

std::unique_ptr<WinPeer> MakePeer(Win32Platform& platform, Component& component) {
    if (auto* form = dynamic_cast<Form*>(&component))
        return std::make_unique<FormPeer>(platform, *form);
    if (auto* sheet = dynamic_cast<TTabSheet*>(&component))
        return std::make_unique<TabSheetPeer>(platform, *sheet);
    if (auto* pages = dynamic_cast<TPageControl*>(&component))
        return std::make_unique<PageControlPeer>(platform, *pages);
    if (dynamic_cast<TGroupBox*>(&component))
        return std::make_unique<GroupBoxPeer>(platform, component);
    if (dynamic_cast<TLabel*>(&component)) return std::make_unique<LabelPeer>(platform, component);
    if (auto* edit = dynamic_cast<TEdit*>(&component))
        return std::make_unique<EditPeer>(platform, *edit);
    if (auto* button = dynamic_cast<TButton*>(&component))
        return std::make_unique<ButtonPeer>(platform, *button);
    if (auto* check = dynamic_cast<TCheckBox*>(&component))
        return std::make_unique<CheckPeer>(platform, *check, false);
    if (auto* radio = dynamic_cast<TRadioButton*>(&component))
        return std::make_unique<CheckPeer>(platform, *radio, true);
    if (auto* combo = dynamic_cast<TComboBox*>(&component))
        return std::make_unique<ComboPeer>(platform, *combo);
    if (dynamic_cast<TBevel*>(&component)) return std::make_unique<BevelPeer>(platform, component);
    if (auto* image = dynamic_cast<TImage*>(&component))
        return std::make_unique<ImagePeer>(platform, *image);
    if (auto* upDown = dynamic_cast<TUpDown*>(&component))
        return std::make_unique<UpDownPeer>(platform, *upDown);
    if (auto* bar = dynamic_cast<TProgressBar*>(&component))
        return std::make_unique<ProgressPeer>(platform, *bar);
    if (dynamic_cast<TAnimate*>(&component)) return MakeAnimatePeer(platform, component);
    if (dynamic_cast<TTrayIcon*>(&component)) return MakeTrayPeer(platform, component);
    if (auto chart = MakeChartPeer(platform, component)) return chart;
    if (auto peer = MakeFileControlPeer(platform, component)) return peer;
    // Panels, and controls without a class of their own: a plain container, so that their
    // children have a window to live in.
    if (dynamic_cast<Control*>(&component))
        return std::make_unique<ContainerPeer>(platform, component);
    // Timers and menus have no window: a menu is built when it opens.
    return nullptr;
}

} // namespace ui::win32
