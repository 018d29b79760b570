#pragma once
#include <atomic>
#include <cstdint>

#include "plugin/midi/kiv_controller_slot.h"
#include "plugin/midi/kiv_note_controller_slot.h"
#include "threads/kiv_processing_lock.h"

class KivAudioPlugin;
class KivXMLItem;

// The MIDI assignments of one plug-in: 16 controller slots and 16 note-controller slots that
// set parameters through the plug-in core, their learn state and their storage.
//
// Events arrive on the audio thread; the slots are edited and stored on other threads. Every
// side holds the slots' own lock while it touches them, the other threads only to copy (a
// settings traversal writes and reads its copy outside the lock); the learn requests and the
// last learned source are atomics the editor may read at any time.
class KivMIDIControllers {
public:
    static constexpr int32_t kSlots = 16;
    // Pitch-bend or channel-pressure messages in a row, with no control change between, that
    // a learning slot needs before it takes that source.
    static constexpr int32_t kUnintendedSourceRepeats = 32;

    explicit KivMIDIControllers(KivAudioPlugin& plugin) : plugin_(plugin) {}
    KivMIDIControllers(const KivMIDIControllers&) = delete;
    KivMIDIControllers& operator=(const KivMIDIControllers&) = delete;

    // --- events (audio thread) ---------------------------------------------------------------
    void OnController(int32_t channel, double value, uint32_t controller);
    void OnAftertouch(int32_t channel, double value, int32_t note);
    // `bend` -1..1, as the MIDI processor holds it.
    void OnPitchBend(int32_t channel, double bend);
    void OnNote(int32_t channel, int32_t note, bool on, double bend);

    // --- editing (GUI thread) ----------------------------------------------------------------
    KivControllerSlot GetControllerSlot(int32_t slot) const;
    // Takes the slot over and finds its target from the parameter name.
    void SetControllerSlot(int32_t slot, const KivControllerSlot& settings);
    KivNoteControllerSlot GetNoteControllerSlot(int32_t slot) const;
    void SetNoteControllerSlot(int32_t slot, const KivNoteControllerSlot& settings);
    // The host index of the parameter of that name (compared ignoring case and accents), or -1.
    int32_t FindParameter(const KivString& name) const;

    // While a slot learns, the next controller message gives it its channel and number, and
    // the next note-on gives a note slot its note; learning then ends by itself. Pitch bend
    // and channel pressure count only when nothing else arrives (kUnintendedSourceRepeats).
    void SetControllerLearning(int32_t slot, bool on) noexcept { controllerLearning_[slot].store(on); }
    bool IsControllerLearning(int32_t slot) const noexcept { return controllerLearning_[slot].load(); }
    void SetNoteLearning(int32_t slot, bool on) noexcept { noteLearning_[slot].store(on); }
    bool IsNoteLearning(int32_t slot) const noexcept { return noteLearning_[slot].load(); }

    // The source of the latest controller message: channel + 1 (0 before any) and number.
    uint32_t GetLearnedChannel() const noexcept { return learnedChannel_.load(); }
    uint32_t GetLearnedController() const noexcept { return learnedController_.load(); }
    // The latest note-on's note, -1 before any.
    int32_t GetLearnedNote() const noexcept { return learnedNote_.load(); }

    // --- storage -----------------------------------------------------------------------------
    // Writes or reads the "Controllers" and "NoteControllers" children of a settings item.
    void StoreControllers(KivXMLItem& item, bool storing);

private:
    void ApplyControllerSlots(int32_t channel, double value, uint32_t source);
    void LearnController(int32_t channel, uint32_t source);
    bool IsAnySlotLearning() const noexcept;
    bool PassesLearnFilter(int32_t channel, uint32_t source) noexcept;
    void ApplyNoteSlots(int32_t channel, int32_t note, bool on, double bend);
    void FollowPitchBend(int32_t channel, double bend);
    void LearnNote(int32_t note);
    void StoreControllerSlots(KivControllerSlot (&slots)[kSlots], KivXMLItem& item, bool storing) const;
    void StoreNoteControllerSlots(KivNoteControllerSlot (&slots)[kSlots], KivXMLItem& item, bool storing) const;

    KivAudioPlugin& plugin_;
    mutable KivProcessingLock lock_{"KivMIDIControllers slots"};
    KivControllerSlot controllers_[kSlots];
    KivNoteControllerSlot notes_[kSlots];
    std::atomic<bool> controllerLearning_[kSlots] = {};
    std::atomic<bool> noteLearning_[kSlots] = {};
    std::atomic<uint32_t> learnedChannel_{0};
    std::atomic<uint32_t> learnedController_{0};
    std::atomic<int32_t> learnedNote_{-1};
    // The note the pitch-following slots re-evaluate when the bend moves.
    int32_t lastNote_ = -1;
    // The run of pitch-bend or pressure messages seen while a slot learns (audio thread).
    uint32_t repeatedSource_ = 0;
    int32_t repeatedChannel_ = -1;
    int32_t repeatedCount_ = 0;
};
