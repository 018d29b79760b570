#include "presets/slots/kiv_preset_morph_session.h"

#include "base/kiv_boundary.h"
#include "base/kiv_format.h"
#include "plugin/kiv_kestrune_audio_effect_plugin.h"
#include "presets/slots/kiv_preset_morph.h"

namespace {

constexpr int32_t kSlotE = 4;

const char* const kQuestion =
    "Preset {0} is currently selected, which means that the changes you have made using ABCD morphing will "
    "replace it. ABCD morphing uses presets A,B,C and D, so next time you use it you would be morphing different "
    "presets, because you are going to change one of them.<p><p><b>Would you like to select preset E, so that "
    "the ABCD settings will be preseved?";

// A program change carried out while the pad is open would switch slots under it: cancelling
// would then write the settings from before the pad into the new slot. Switches wait until the
// session ends, however it ends.
class SlotSwitchHold {
public:
    explicit SlotSwitchHold(KivKestruneAudioEffectPlugin& plugin) : plugin_(plugin) { plugin_.HoldSlotSwitches(true); }
    ~SlotSwitchHold() { plugin_.HoldSlotSwitches(false); }
    SlotSwitchHold(const SlotSwitchHold&) = delete;
    SlotSwitchHold& operator=(const SlotSwitchHold&) = delete;

private:
    KivKestruneAudioEffectPlugin& plugin_;
};

void StoreLiveSlot(KivKestruneAudioEffectPlugin& plugin) {
    KivXMLItem& live = plugin.GetPresetSlots().Item(plugin.GetPresetSlots().GetCurrent());
    live.Clear();
    plugin.StoreLiveSettings(live, true);
}

// The morphed settings become E's live ones; the slot that was live keeps what it stored.
void OfferPresetE(KivKestruneAudioEffectPlugin& plugin, KivPresetEQuestion& question) {
    const int32_t current = plugin.GetPresetSlots().GetCurrent();
    if (current >= kSlotE) return;
    if (!question.AskToSelectPresetE(KivPresetMorphSession::QuestionFor(current))) return;
    plugin.GetPresetSlots().SetCurrentAndSelected(kSlotE);
    plugin.OnSettingsChanged();
}

}  // namespace

namespace KivPresetMorphSession {

KivString QuestionFor(int32_t slot) {
    KivString letter;
    letter += KivPresetSlotItems::Letter(slot);
    return KivFormat(KivString(kQuestion)).Argument(letter).Result();
}

void Run(KivKestruneAudioEffectPlugin& plugin, KivPresetMorphDialog& dialog, KivPresetEQuestion& question) {
    KivGuard("OnPresetMorph", [&] {
        const SlotSwitchHold hold(plugin);
        StoreLiveSlot(plugin);
        KivPresetMorph morph(plugin);
        if (dialog.Run(morph) != KivPresetMorphDialog::kOK) {
            morph.Restore();
            return;
        }
        OfferPresetE(plugin, question);
    });
}

}  // namespace KivPresetMorphSession
