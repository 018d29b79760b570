#include "plugin/editor/kiv_house_editor.h"

#include <algorithm>
#include <cmath>

#include "base/xml/kiv_xml_item.h"
#include "gui/controls/kiv_key_codes.h"
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

namespace {

// The virtual keys of the VST interfaces (the same numbers in 2.4 and 3) as the toolkit's
// key codes; 0 for keys no control handles.
uint32_t ToolkitKey(int32_t virtualKey) {
    switch (virtualKey) {
        case 1: return KivKeyCode::kBackspace;
        case 2: return KivKeyCode::kTab;
        case 4:
        case 19: return KivKeyCode::kEnter;
        case 6: return KivKeyCode::kEscape;
        case 7: return KivKeyCode::kSpace;
        case 8:
        case 16: return KivKeyCode::kPageDown;
        case 9: return KivKeyCode::kEnd;
        case 10: return KivKeyCode::kHome;
        case 11: return KivKeyCode::kLeft;
        case 12: return KivKeyCode::kUp;
        case 13: return KivKeyCode::kRight;
        case 14: return KivKeyCode::kDown;
        case 15: return KivKeyCode::kPageUp;
        case 22: return KivKeyCode::kDelete;
        default: return 0;
    }
}

uint8_t ToolkitState(int32_t modifiers) {
    uint8_t state = 0;
    if (modifiers & 1) state |= KivInputState::kShift;
    if (modifiers & 2) state |= KivInputState::kAlt;
    if (modifiers & (4 | 8)) state |= KivInputState::kControl;
    return state;
}

constexpr int32_t kWheelDeltaPerNotch = 120;

}  // namespace

bool KivHouseEditor::OnHostKey(bool down, char32_t character, int32_t virtualKey, int32_t modifiers) {
    if (!IsOpen()) return false;
    // Named keys as keys, anything else typed as a character (into an edit field).
    if (const uint32_t key = ToolkitKey(virtualKey)) {
        const uint8_t state = ToolkitState(modifiers);
        return down ? window_->HandleKeyDown(key, state) : window_->HandleKeyUp(key, state);
    }
    return down && virtualKey == 0 && character >= 0x20 && window_->HandleCharacter(character);
}

bool KivHouseEditor::OnHostWheel(float notches) {
    KivControl* hover = IsOpen() ? window_->GetHover() : nullptr;
    if (!hover) return false;
    const KivRect rect = hover->GetWindowRect();
    const KivPoint centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    return window_->HandleMouseWheel(centre, static_cast<int32_t>(std::lround(notches * kWheelDeltaPerNotch)), 0);
}

void KivHouseEditor::Refresh() {
    parameters_.Refresh();
    if (topBar_) topBar_->Refresh();
    OnRefresh();
}
