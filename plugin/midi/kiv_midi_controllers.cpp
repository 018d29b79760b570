#include "plugin/midi/kiv_midi_controllers.h"

#include <algorithm>
#include <iterator>

#include "base/kiv_number.h"
#include "base/xml/kiv_xml_item.h"
#include "plugin/kiv_audio_plugin.h"
#include "plugin/midi/kiv_midi_decoding.h"
#include "threads/kiv_synchronizer_guard.h"

namespace {

// The item of that name under `parent`, emptied when storing so that no stale slot survives;
// null when loading and the item is absent.
KivXMLItem* SlotContainer(KivXMLItem& parent, const KivString& name, bool storing) {
    if (!parent.HasSubItem(name)) return storing ? &parent.AddSubItem(name) : nullptr;
    KivXMLItem& container = parent.GetSubItem();
    if (storing) {
        container.Clear();
        container.SetName(name);
    }
    return &container;
}

KivString SlotName(const char* prefix, int32_t slot) { return KivString(prefix) + KivNumber::IntegerToText(slot); }

// Writes the enabled slots as children "<prefix><n>"; reading disables a slot without child.
template <typename Slot>
void StoreSlots(KivXMLItem& container, const char* prefix, Slot (&slots)[KivMIDIControllers::kSlots],
                bool storing) {
    for (int32_t i = 0; i < KivMIDIControllers::kSlots; ++i) {
        const KivString name = SlotName(prefix, i);
        if (storing) {
            if (slots[i].enabled) slots[i].Store(container.AddSubItem(name), true);
        } else if (container.HasSubItem(name)) {
            slots[i].Store(container.GetSubItem(), false);
        } else {
            slots[i].enabled = false;
        }
    }
}

}  // namespace

// --- events -------------------------------------------------------------------------------------

void KivMIDIControllers::OnController(int32_t channel, double value, uint32_t controller) {
    KivSynchronizerGuard lock(lock_);
    ApplyControllerSlots(channel, value, controller);
    LearnController(channel, controller);
}

void KivMIDIControllers::OnAftertouch(int32_t channel, double value, int32_t note) {
    // Only channel pressure is a controller; pressure of single keys drives no slot.
    if (note == KivMIDIDecoding::kChannelPressureNote) OnController(channel, value, KivControllerSlot::kAftertouch);
}

void KivMIDIControllers::OnPitchBend(int32_t channel, double bend) {
    KivSynchronizerGuard lock(lock_);
    ApplyControllerSlots(channel, (bend + 1) / 2, KivControllerSlot::kPitchBend);
    FollowPitchBend(channel, bend);
    LearnController(channel, KivControllerSlot::kPitchBend);
}

void KivMIDIControllers::OnNote(int32_t channel, int32_t note, bool on, double bend) {
    KivSynchronizerGuard lock(lock_);
    if (on) lastNote_ = note;
    ApplyNoteSlots(channel, note, on, bend);
    if (on) LearnNote(note);
}

void KivMIDIControllers::ApplyControllerSlots(int32_t channel, double value, uint32_t source) {
    for (const KivControllerSlot& slot : controllers_)
        if (slot.Listens(channel, source) && slot.parameter >= 0)
            plugin_.SetParameter(slot.parameter, slot.Evaluate(value), false);
}

bool KivMIDIControllers::IsAnySlotLearning() const noexcept {
    for (const std::atomic<bool>& learning : controllerLearning_)
        if (learning.load()) return true;
    return false;
}

// Pitch bend and channel pressure stream from a keyboard without anyone meaning them (a hand
// resting on the keys, a wheel not quite centred) while the user turns the knob a slot should
// learn. A learning slot takes them only when they are all that arrives: after
// kUnintendedSourceRepeats messages of one such source with no control change between.
bool KivMIDIControllers::PassesLearnFilter(int32_t channel, uint32_t source) noexcept {
    const bool mayBeUnintended = source == KivControllerSlot::kPitchBend || source == KivControllerSlot::kAftertouch;
    if (!mayBeUnintended || !IsAnySlotLearning()) {
        repeatedCount_ = 0;
        return true;
    }
    if (source == repeatedSource_ && channel == repeatedChannel_) {
        ++repeatedCount_;
    } else {
        repeatedSource_ = source;
        repeatedChannel_ = channel;
        repeatedCount_ = 1;
    }
    if (repeatedCount_ < kUnintendedSourceRepeats) return false;
    repeatedCount_ = 0;
    return true;
}

void KivMIDIControllers::LearnController(int32_t channel, uint32_t source) {
    if (!PassesLearnFilter(channel, source)) return;
    const auto learnedChannel = static_cast<uint32_t>(channel + 1);
    learnedChannel_.store(learnedChannel);
    learnedController_.store(source);
    for (int32_t i = 0; i < kSlots; ++i) {
        if (!controllerLearning_[i].exchange(false)) continue;
        controllers_[i].channel = learnedChannel;
        controllers_[i].controller = source;
    }
}

void KivMIDIControllers::ApplyNoteSlots(int32_t channel, int32_t note, bool on, double bend) {
    for (const KivNoteControllerSlot& slot : notes_) {
        if (!slot.Listens(channel) || slot.parameter < 0) continue;
        const KivNoteControllerSlot::Action action = slot.Evaluate(note, on, bend, plugin_.GetParameter(slot.parameter));
        if (action.set) plugin_.SetParameter(slot.parameter, action.value, false);
    }
}

void KivMIDIControllers::FollowPitchBend(int32_t channel, double bend) {
    if (lastNote_ < 0) return;
    for (const KivNoteControllerSlot& slot : notes_)
        if (slot.Listens(channel) && slot.parameter >= 0 && KivNoteControllerModes::FollowsPitch(slot.mode))
            plugin_.SetParameter(slot.parameter, slot.PitchValue(lastNote_, bend), false);
}

void KivMIDIControllers::LearnNote(int32_t note) {
    learnedNote_.store(note);
    for (int32_t i = 0; i < kSlots; ++i)
        if (noteLearning_[i].exchange(false)) notes_[i].note = static_cast<uint32_t>(note);
}

// --- editing ------------------------------------------------------------------------------------

KivControllerSlot KivMIDIControllers::GetControllerSlot(int32_t slot) const {
    KivSynchronizerGuard lock(lock_);
    return controllers_[slot];
}

void KivMIDIControllers::SetControllerSlot(int32_t slot, const KivControllerSlot& settings) {
    const int32_t parameter = FindParameter(settings.parameterName);
    KivSynchronizerGuard lock(lock_);
    controllers_[slot] = settings;
    controllers_[slot].parameter = parameter;
}

KivNoteControllerSlot KivMIDIControllers::GetNoteControllerSlot(int32_t slot) const {
    KivSynchronizerGuard lock(lock_);
    return notes_[slot];
}

void KivMIDIControllers::SetNoteControllerSlot(int32_t slot, const KivNoteControllerSlot& settings) {
    const int32_t parameter = FindParameter(settings.parameterName);
    KivSynchronizerGuard lock(lock_);
    notes_[slot] = settings;
    notes_[slot].parameter = parameter;
}

int32_t KivMIDIControllers::FindParameter(const KivString& name) const {
    if (name.IsEmpty()) return KivControllerSlot::kNoParameter;
    const int32_t count = plugin_.GetParameterCount();
    for (int32_t index = 0; index < count; ++index)
        if (plugin_.GetParameterName(index).EqualsFolded(name)) return index;
    return KivControllerSlot::kNoParameter;
}

// --- storage ------------------------------------------------------------------------------------

void KivMIDIControllers::StoreControllers(KivXMLItem& item, bool storing) {
    KivControllerSlot controllers[kSlots];
    KivNoteControllerSlot notes[kSlots];
    {
        KivSynchronizerGuard lock(lock_);
        std::copy(std::begin(controllers_), std::end(controllers_), std::begin(controllers));
        std::copy(std::begin(notes_), std::end(notes_), std::begin(notes));
    }
    StoreControllerSlots(controllers, item, storing);
    StoreNoteControllerSlots(notes, item, storing);
    if (storing) return;
    KivSynchronizerGuard lock(lock_);
    std::copy(std::begin(controllers), std::end(controllers), std::begin(controllers_));
    std::copy(std::begin(notes), std::end(notes), std::begin(notes_));
}

void KivMIDIControllers::StoreControllerSlots(KivControllerSlot (&slots)[kSlots], KivXMLItem& item,
                                              bool storing) const {
    KivXMLItem* container = SlotContainer(item, "Controllers", storing);
    if (!container) return;
    StoreSlots(*container, "Controller", slots, storing);
    if (!storing)
        for (KivControllerSlot& slot : slots) slot.parameter = FindParameter(slot.parameterName);
}

void KivMIDIControllers::StoreNoteControllerSlots(KivNoteControllerSlot (&slots)[kSlots], KivXMLItem& item,
                                                  bool storing) const {
    KivXMLItem* container = SlotContainer(item, "NoteControllers", storing);
    if (!container) return;
    StoreSlots(*container, "NoteController", slots, storing);
    if (!storing)
        for (KivNoteControllerSlot& slot : slots) slot.parameter = FindParameter(slot.parameterName);
}
