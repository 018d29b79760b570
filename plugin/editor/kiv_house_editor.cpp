#include "plugin/editor/kiv_house_editor.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "base/xml/kiv_xml_item.h"
#include "base/kiv_number.h"
#include "gui/controls/kiv_combo_edit.h"
#include "gui/controls/kiv_key_codes.h"
#include "gui/controls/kiv_standard_controls.h"
#include "gui/controls/kiv_window_picture.h"
#include "gui/core/kiv_window_system_native.h"
#include "gui/style/kiv_house_style.h"
#include "plugin/editor/kiv_editor_window_system.h"
#include "plugin/editor/kiv_house_top_bar.h"
#include "plugin/kiv_kestrune_audio_effect_plugin.h"
#include "plugin/kiv_plugin_host.h"
#include "plugin/state/kiv_editor_size_setting.h"

// An invisible control that carries the editor's refresh timer: timers belong to controls.
class KivHouseEditor::Ticker : public KivControl {
public:
    explicit Ticker(KivHouseEditor& editor) : editor_(editor) { SetVisible(false); }
    void OnTimer() override { editor_.Refresh(); }

private:
    KivHouseEditor& editor_;
};

// The size menu's choices reach the editor through it: handlers belong to event targets.
class KivHouseEditor::SizeMenu : public KivEventTarget {
public:
    explicit SizeMenu(KivHouseEditor& editor) : editor_(editor) {}
    void OnChosen(KivOnNotifyParams&) {
        const int32_t index = editor_.sizeMenu_->GetSelected();
        if (index < 0 || index >= static_cast<int32_t>(editor_.menuPercents_.size())) return;
        editor_.ChooseZoom(editor_.menuPercents_[static_cast<size_t>(index)] / 100.0);
    }

private:
    KivHouseEditor& editor_;
};

// The editor's window: keys no control took come here last, and the top bar's shortcuts
// (undo, redo) are among them.
class KivHouseEditor::Frame : public KivWindow {
public:
    explicit Frame(KivHouseEditor& editor) : editor_(editor) {}
    bool OnKeyDown(uint32_t key, uint8_t state) override {
        if (editor_.topBar_ && editor_.topBar_->OnShortcut(key, state)) return true;
        return KivWindow::OnKeyDown(key, state);
    }

private:
    KivHouseEditor& editor_;
};

KivHouseEditor::KivHouseEditor(KivAudioPlugin& plugin)
    : plugin_(plugin), system_(KivEditorWindowSystem::Acquire()), parameters_(plugin) {
    try {
        KivRegisterStandardControls(loader_);
        identified_.RegisterStandard(loader_);
        parameters_.Register(loader_);
        window_ = std::make_unique<Frame>(*this);
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
    laidOut_ = KivPoint{std::max(size.x, 1), std::max(size.y, 1)};
    window_->SetBounds(KivRect{0, 0, laidOut_.x - 1, laidOut_.y - 1});
    KivWindowPicture::ArrangeTree(*window_);
    ticker_ = new Ticker(*this);
    window_->AddChild(ticker_);
    topBar_ = std::make_unique<KivHouseTopBar>(*this);
    sizeMenu_ = Find<KivComboEdit>(KivString("zoom"));
    if (sizeMenu_) {
        sizeMenuHandler_ = std::make_unique<SizeMenu>(*this);
        sizeMenu_->OnChange.AddHandler(sizeMenuHandler_.get(), &SizeMenu::OnChosen);
    }
    ApplyZoom(StoredZoom());
}

KivAudioPlugin::KivEditor::Size KivHouseEditor::GetSize() {
    const KivRect device = window_->GetDeviceBounds();
    return Size{device.Width(), device.Height()};
}

// --- size ---------------------------------------------------------------------------------------

void KivHouseEditor::ApplyZoom(double zoom) {
    zoom_ = std::clamp(zoom, kSmallestZoom, kLargestZoom);
    window_->SetScale(zoom_ * contentScale_);
    ShowZoomInMenu();
}

// The zoom at which the layout fills the host's size along the side the host changed most
// from the current size, so that dragging one edge of the window resizes it; the other side
// follows when the host asks ConstrainSize.
double KivHouseEditor::ZoomToFit(int32_t width, int32_t height) const {
    const double current = window_->GetScale().factor;
    const double alongX = static_cast<double>(width) / laidOut_.x;
    const double alongY = static_cast<double>(height) / laidOut_.y;
    const double factor = std::fabs(alongX - current) >= std::fabs(alongY - current) ? alongX : alongY;
    return std::clamp(factor / contentScale_, kSmallestZoom, kLargestZoom);
}

void KivHouseEditor::Resize(int32_t width, int32_t height) {
    if (width <= 0 || height <= 0) return;
    const KivRect device = window_->GetDeviceBounds();
    if (width == device.Width() && height == device.Height()) return;
    // A size the host chose is shown at the zoom that fills it along its narrower side, so
    // nothing of the editor is cut off in a window of another shape.
    const double alongX = static_cast<double>(width) / laidOut_.x;
    const double alongY = static_cast<double>(height) / laidOut_.y;
    ApplyZoom(std::min(alongX, alongY) / contentScale_);
}

bool KivHouseEditor::ConstrainSize(int32_t& width, int32_t& height) {
    const KivScale scale{KivScale::Limited(ZoomToFit(width, height) * contentScale_)};
    const KivPoint size = scale.ToDeviceSize(laidOut_);
    const bool same = size.x == width && size.y == height;
    width = size.x;
    height = size.y;
    return same;
}

void KivHouseEditor::SetContentScale(double factor) {
    if (!(factor > 0.0)) return;
    contentScale_ = KivScale::Limited(factor);
    ApplyZoom(zoom_);
}

void KivHouseEditor::ChooseZoom(double zoom) {
    ApplyZoom(zoom);
    StoreZoom();
    if (KivPluginHost* host = plugin_.GetPluginHost(); host && IsOpen()) {
        const Size size = GetSize();
        host->ChangeEditorSize(size.width, size.height);
    }
}

void KivHouseEditor::ShowZoomInMenu() {
    if (!sizeMenu_) return;
    const auto percent = static_cast<int32_t>(std::lround(zoom_ * 100.0));
    menuPercents_.assign(std::begin(kMenuSizes), std::end(kMenuSizes));
    auto found = std::find(menuPercents_.begin(), menuPercents_.end(), percent);
    if (found == menuPercents_.end()) found = menuPercents_.insert(std::upper_bound(menuPercents_.begin(), menuPercents_.end(), percent), percent);
    std::vector<KivString> items;
    for (const int32_t each : menuPercents_) items.push_back(KivNumber::IntegerToText(each) + KivString("%"));
    sizeMenu_->SetItems(std::move(items), static_cast<int32_t>(found - menuPercents_.begin()));
}

double KivHouseEditor::StoredZoom() const {
    const auto* house = dynamic_cast<const KivKestruneAudioEffectPlugin*>(&plugin_);
    if (!house) return 1.0;
    const int32_t percent = KivEditorSizeSetting::Read(house->GetDataFolderSource(), house->GetFamilyName());
    return percent > 0 ? percent / 100.0 : 1.0;
}

void KivHouseEditor::StoreZoom() const {
    const auto* house = dynamic_cast<const KivKestruneAudioEffectPlugin*>(&plugin_);
    if (!house) return;
    KivEditorSizeSetting::Write(house->GetDataFolderSource(), house->GetFamilyName(),
                                static_cast<int32_t>(std::lround(zoom_ * 100.0)));
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
    // A letter with Ctrl is a shortcut, not typing: it goes as a key (undo, redo).
    const uint8_t modifierState = ToolkitState(modifiers);
    if (virtualKey == 0 && (modifierState & KivInputState::kControl) && character < 0x80 && std::isalpha(static_cast<int>(character))) {
        const auto letter = static_cast<uint32_t>(std::toupper(static_cast<int>(character)));
        return down ? window_->HandleKeyDown(letter, modifierState) : window_->HandleKeyUp(letter, modifierState);
    }
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
