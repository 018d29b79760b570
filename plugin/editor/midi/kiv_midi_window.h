#pragma once
#include <functional>

#include "gui/core/kiv_event.h"
#include "gui/core/kiv_window.h"

class KivAudioEffectPluginToAudioPluginAdapter;
class KivButton;
class KivMIDIControllersPanel;
class KivMIDINotesPanel;

// The modal "MIDI controllers" window: the controllers panel and the notes panel, one shown
// at a time and chosen by the two buttons at the top. Edits act on the plug-in's slots at
// once, so the window has only "Close" (Escape and the window's close box do the same).
class KivMIDIWindow : public KivWindow {
public:
    enum class Page { kControllers, kNotes };

    KivMIDIWindow(KivAudioEffectPluginToAudioPluginAdapter& plugin, Page page);

    void ShowPage(Page page);
    Page GetPage() const { return page_; }
    KivMIDIControllersPanel& GetControllersPanel() { return *controllers_; }
    KivMIDINotesPanel& GetNotesPanel() { return *notes_; }
    KivButton& GetPageButton(Page page) { return page == Page::kControllers ? *controllersButton_ : *notesButton_; }
    KivButton& GetCloseButton() { return *close_; }

    void Arrange() override;
    bool OnKeyDown(uint32_t key, uint8_t state) override;

    // Shows the window over `parent` (may be null) at `page` and returns when it is closed.
    // `beforeModal`, when given, runs once the window is shown, before its modal loop.
    // Never throws.
    static void Run(KivWindow* parent, KivAudioEffectPluginToAudioPluginAdapter& plugin, Page page = Page::kControllers,
                    const std::function<void(KivMIDIWindow&)>& beforeModal = {});

private:
    void OnPageButton(KivOnClickParams& params);
    void OnClose(KivOnClickParams&) { EndModal(1); }

    KivMIDIControllersPanel* controllers_;
    KivMIDINotesPanel* notes_;
    KivButton* controllersButton_;
    KivButton* notesButton_;
    KivButton* close_;
    Page page_ = Page::kControllers;
};
