#pragma once
#include <functional>
#include <string>
#include <vector>

#include "gui/core/kiv_window.h"

class KivButton;

// A modal yes/no question in the house style. The text may carry the light markup of the
// system's messages: "<p>" starts a new paragraph, "<b>" sets the rest (up to "</b>") in bold.
// Enter answers yes, Escape and closing the window no.
class KivQuestionWindow : public KivWindow {
public:
    static constexpr int32_t kYes = 1;
    static constexpr int32_t kNo = 2;
    static constexpr int32_t kWidth = 440;

    // One word of the question as laid out: its place in the window and its weight.
    struct Word {
        std::string text;
        bool bold = false;
        KivPoint at{};
    };

    KivQuestionWindow(const KivString& title, const KivString& question);

    KivButton& GetYesButton() { return *yes_; }
    KivButton& GetNoButton() { return *no_; }
    const std::vector<Word>& GetWords() const { return words_; }
    void PlaceOver(const KivWindow* parent);

    void Paint(KivDrawer& drawer, const KivRect& dirty) override;
    bool OnKeyDown(uint32_t key, uint8_t state) override;

    // Shows the question over `parent` (may be null) and waits for the answer; true for yes.
    // `beforeModal`, when given, runs once the window is shown, before its modal loop.
    static bool Ask(KivWindow* parent, const KivString& title, const KivString& question,
                    const std::function<void(KivQuestionWindow&)>& beforeModal = {});
    // Lets every later Ask call `hook` once its window is shown (null: no hook), so that a
    // test can answer questions asked deep inside another window's handlers.
    static void SetAskHook(std::function<void(KivQuestionWindow&)> hook);

private:
    // Breaks the question into words on lines no wider than the text column; returns the
    // height the text takes.
    int32_t LayOut(const KivString& question);
    void AddButtons(int32_t top);
    void OnYes(KivOnClickParams&) { EndModal(kYes); }
    void OnNo(KivOnClickParams&) { EndModal(kNo); }

    std::vector<Word> words_;
    KivButton* yes_;
    KivButton* no_;
};
