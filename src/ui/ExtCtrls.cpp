#include "ui/ExtCtrls.h"

#include "ui/Application.h"
#include "ui/Exception.h"
#include "ui/Form.h"

#include <algorithm>
#include <cctype>

namespace ui {

void TImage::LoadFromFile(const std::string& path) {
    std::string ext;
    auto dot = path.find_last_of('.');
    auto slash = path.find_last_of("\\/");
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash))
        ext = path.substr(dot + 1);
    std::string lower = ext;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    static const char* known[] = {"bmp", "ico", "emf", "wmf", "jpg", "jpeg"};
    if (std::none_of(std::begin(known), std::end(known), [&](const char* k) { return lower == k; }))
        throw Exception("Unknown picture file extension (." + ext + ")");
    std::string bytes;
    if (!App()->System().ReadFile(path, bytes))
        throw Exception("Cannot open file \"" + path +
                        "\". The system cannot find the file specified");
    picture_ = TPicture{TPicture::Kind::File, path};
    Notify(Prop::Picture);
}

void TImage::LoadBitmapResource(const std::string& name) {
    picture_ = TPicture{TPicture::Kind::Resource, name};
    Notify(Prop::Picture);
}

void TImage::Repaint() {
    ++repaints_;
    Notify(Prop::Other);
}

TTimer::TTimer(Form* owner, std::string name, std::uint32_t interval, bool enabled)
    : Component(owner, std::move(name)), interval_(interval), enabled_(enabled) {
    Update();
}

TTimer::~TTimer() {
    if (id_) App()->Platform().KillTimer(id_);
}

void TTimer::SetInterval(std::uint32_t interval) {
    if (interval_ == interval) return;
    interval_ = interval;
    Update();
}

void TTimer::SetEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    Update();
}

void TTimer::Update() {
    ui::Platform& platform = App()->Platform();
    if (id_) platform.KillTimer(id_);
    id_ = 0;
    if (enabled_ && interval_ > 0)
        id_ = platform.StartTimer(interval_, [this] {
            if (OnTimer) OnTimer(this);
        });
}

} // namespace ui
