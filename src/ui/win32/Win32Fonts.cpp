// The controls' real fonts.
#include "ui/win32/Win32Internal.h"

#include <tuple>

namespace ui::win32 {

namespace {

// The system's dialog font: its face, character set and quality. It stands for the class
// library's default face, MS Sans Serif, a bitmap font of few sizes whose bold is a smeared
// copy: the dialog face is that same font on Windows 95 and NT 4.0, its scalable twin
// (Microsoft Sans Serif) on Windows 2000 and XP, and Wine's own (Tahoma) under Wine, which
// every other dialog of the system shows too, in every size and style.
LOGFONTA DialogFont() {
    LOGFONTA gui{};
    if (!GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof(gui), &gui) || !gui.lfFaceName[0]) {
        gui = LOGFONTA{};
        gui.lfCharSet = DEFAULT_CHARSET;
        lstrcpynA(gui.lfFaceName, kDefaultFontName, LF_FACESIZE);
    }
    return gui;
}

int ScreenPixelsPerInch() {
    HDC screen = GetDC(nullptr);
    int ppi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    return ppi > 0 ? ppi : 96;
}

} // namespace

bool FontCache::Key::operator<(const Key& other) const {
    return std::tie(name, size, style) < std::tie(other.name, other.size, other.style);
}

FontCache::~FontCache() {
    for (const auto& entry : fonts_)
        DeleteObject(entry.second);
}

HFONT FontCache::Get(const TFont& font) {
    Key key{font.Name, font.Size, font.Style};
    auto found = fonts_.find(key);
    if (found != fonts_.end()) return found->second;
    LOGFONTA face = DialogFont();
    face.lfHeight = -MulDiv(font.Size, ScreenPixelsPerInch(), 72);
    face.lfWidth = 0;
    face.lfWeight = font.Style & fsBold ? FW_BOLD : FW_NORMAL;
    face.lfItalic = font.Style & fsItalic ? TRUE : FALSE;
    face.lfUnderline = font.Style & fsUnderline ? TRUE : FALSE;
    face.lfStrikeOut = font.Style & fsStrikeOut ? TRUE : FALSE;
    if (font.Name != kDefaultFontName) lstrcpynA(face.lfFaceName, font.Name.c_str(), LF_FACESIZE);
    HFONT created = CreateFontIndirectA(&face);
    if (!created) return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    fonts_.emplace(key, created);
    return created;
}

} // namespace ui::win32
