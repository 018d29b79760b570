#include "plugin/editor/kiv_house_editor.h"

#include <algorithm>

#include "base/xml/kiv_xml_item.h"
#include "gui/controls/kiv_standard_controls.h"
#include "gui/controls/kiv_window_picture.h"
#include "gui/core/kiv_window_system_native.h"
#include "gui/style/kiv_house_style.h"
#include "plugin/editor/kiv_editor_window_system.h"
#include "plugin/editor/kiv_house_top_bar.h"

// An invisible control that carries the editor's refresh timer: timers belong to controls.
class KivHouseEditor::Ticker : public KivControl {
public:
    explicit Ticker(KivHouseEditor& editor) : editor_(editor) { SetVisible(false); }
    void OnTimer() override { editor_.Refresh(); }

private:
    KivHouseEditor& editor_;
};

KivHouseEditor::KivHouseEditor(KivAudioPlugin& plugin)
    : plugin_(plugin), system_(KivEditorWindowSystem::Acquire()), parameters_(plugin) {
    try {
        KivRegisterStandardControls(loader_);
        identified_.RegisterStandard(loader_);
        parameters_.Register(loader_);
        window_ = std::make_unique<KivWindow>();
        window_->SetStyle(&KivHouseStyle::Instance());
        window_->SetBackground(KivHouseStyle::DefaultColor(KivStyleColor::kGeneralBackground));
    } catch (...) {
        KivEditorWindowSystem::Release();
        throw;
    }
}

KivHouseEditor::~KivHouseEditor() {
    Close();
    window_.reset();
    KivEditorWindowSystem::Release();
}

void KivHouseEditor::Build(const KivXMLItem& description) {
    loader_.LoadWindow(description, *window_);
    const KivPoint size = window_->GetSize();
    window_->SetBounds(KivRect{0, 0, std::max(size.x, 1) - 1, std::max(size.y, 1) - 1});
    KivWindowPicture::ArrangeTree(*window_);
    ticker_ = new Ticker(*this);
    window_->AddChild(ticker_);
    topBar_ = std::make_unique<KivHouseTopBar>(*this);
}

KivAudioPlugin::KivEditor::Size KivHouseEditor::GetSize() {
    const KivPoint size = window_->GetSize();
    return Size{size.x, size.y};
}

bool KivHouseEditor::Open(uintptr_t parentWindow) {
    if (IsOpen()) return true;
    window_->Show(static_cast<KivNativeHandle>(parentWindow));
    if (!window_->HasNativeWindow()) return false;
    system_.SetTimer(*ticker_, kRefreshMilliseconds);
    Refresh();
    return true;
}

void KivHouseEditor::Close() {
    if (!window_ || !window_->HasNativeWindow()) return;
    if (ticker_) system_.SetTimer(*ticker_, 0);
    window_->Close();
}

void KivHouseEditor::Idle() { system_.ProcessPendingEvents(); }

void KivHouseEditor::Resize(int32_t width, int32_t height) {
    const KivRect bounds = window_->GetBounds();
    window_->SetBounds(KivRect{bounds.left, bounds.top, bounds.left + width - 1, bounds.top + height - 1});
    KivWindowPicture::ArrangeTree(*window_);
    window_->Invalidate();
}

int KivHouseEditor::GetEventDescriptor() {
    auto* native = dynamic_cast<KivWindowSystemNative*>(&system_);
    return native ? native->GetWakeDescriptor() : -1;
}

void KivHouseEditor::Refresh() {
    parameters_.Refresh();
    if (topBar_) topBar_->Refresh();
    OnRefresh();
}
