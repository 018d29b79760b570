#pragma once
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "gui/core/kiv_window.h"
#include "gui/loader/kiv_xml_loader.h"
#include "plugin/editor/kiv_identified_controls.h"
#include "plugin/editor/kiv_parameter_controls.h"
#include "plugin/kiv_audio_plugin_editor.h"

class KivComboEdit;
class KivHouseTopBar;
class KivXMLItem;
struct KivOnNotifyParams;

// The maker's editor frame: a toolkit window built from a GUI description, embedded in the
// host's window. It gives every "parameter" element its standard control, binds the house
// top bar by identifier and, every 50 ms on the GUI thread, shows what automation changed
// (nothing is repainted when nothing changed). A product derives from it, registers its own
// elements before Build and adds its own refresh work in OnRefresh.
//
// Its size: the description's layout shown at a zoom (the size menu "zoom" offers 75 to
// 200%, the host may resize freely between half and three times), times the host's content
// scale. The window scales as a whole (KivWindow::SetScale), so every control a description
// holds is drawn at the device size without knowing of it. The user's choice is kept for the
// family's next editors (KivEditorSizeSetting).
class KivHouseEditor : public KivAudioPlugin::KivEditor {
public:
    static constexpr int32_t kRefreshMilliseconds = 50;
    static constexpr int32_t kMenuSizes[] = {75, 100, 125, 150, 200};
    static constexpr double kSmallestZoom = 0.5;
    static constexpr double kLargestZoom = 3.0;

    // Starts (or joins) the window system; raises its KivException when there is none.
    explicit KivHouseEditor(KivAudioPlugin& plugin);
    ~KivHouseEditor() override;

    Size GetSize() override;
    bool Open(uintptr_t parentWindow) override;
    void Close() override;
    bool IsOpen() const override { return window_->HasNativeWindow(); }
    void Idle() override;
    // The host's new window size: the zoom that fits it.
    void Resize(int32_t width, int32_t height) override;
    bool CanResize() override { return true; }
    bool ConstrainSize(int32_t& width, int32_t& height) override;
    void SetContentScale(double factor) override;
    int GetEventDescriptor() override;

    double GetZoom() const { return zoom_; }
    // The user's size: shows the editor at `zoom` times its layout, asks the host for the
    // window size that goes with it and keeps it for the family's next editors.
    void ChooseZoom(double zoom);
    // Shows the editor at `zoom` without asking the host or keeping it (pictures, tools).
    void ShowAtZoom(double zoom) { ApplyZoom(zoom); }
    // Keys go to the control with the focus, as the window's own keys do; the wheel to the
    // control under the mouse.
    bool OnHostKey(bool down, char32_t character, int32_t virtualKey, int32_t modifiers) override;
    bool OnHostWheel(float notches) override;

    KivWindow& GetWindow() { return *window_; }
    KivAudioPlugin& GetPlugin() { return plugin_; }
    KivParameterControls& GetParameterControls() { return parameters_; }
    // The `occurrence`-th control whose element carried id="identifier"; null if none.
    KivControl* FindControl(const KivString& identifier, int32_t occurrence = 0) const {
        return identified_.Find(identifier, occurrence);
    }
    template <typename T>
    T* Find(const KivString& identifier, int32_t occurrence = 0) const {
        return identified_.Find<T>(identifier, occurrence);
    }
    // One refresh step, as the timer runs it.
    void Refresh();

protected:
    KivControl::KivXmlLoader& GetLoader() { return loader_; }
    // Loads the window from `description` and lays it out at its described size.
    void Build(const KivXMLItem& description);
    // Product elements whose "id" is to be kept register through it.
    KivIdentifiedControls& GetIdentifiedControls() { return identified_; }
    virtual void OnRefresh() {}

private:
    class Ticker;
    class SizeMenu;
    void ApplyZoom(double zoom);
    double ZoomToFit(int32_t width, int32_t height) const;
    void ShowZoomInMenu();
    void StoreZoom() const;
    double StoredZoom() const;
    class Frame;

    KivAudioPlugin& plugin_;
    KivWindowSystem& system_;
    KivControl::KivXmlLoader loader_;
    KivParameterControls parameters_;
    std::unique_ptr<KivWindow> window_;
    Ticker* ticker_ = nullptr;  // a child of the window
    std::unique_ptr<KivHouseTopBar> topBar_;
    KivIdentifiedControls identified_;
    KivPoint laidOut_{1, 1};
    double zoom_ = 1.0;
    double contentScale_ = 1.0;
    KivComboEdit* sizeMenu_ = nullptr;
    std::unique_ptr<SizeMenu> sizeMenuHandler_;
    // The per cents the menu's items stand for: the menu's sizes, and the host's when it chose
    // one of its own.
    std::vector<int32_t> menuPercents_;
};
