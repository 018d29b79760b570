#include <gtest/gtest.h>

#include "plugin/midi/kiv_midi_program_change_hook.h"
#include "plugin/midi/kiv_midi_time_base.h"
#include "tests/plugin/midi/midi_recorder.h"

namespace {

// Decoding of raw messages into the processor's operations, by status byte.
TEST(MIDIDecodingTest, NotesDecodeVelocityAndTreatVelocityZeroAsRelease) {
    MIDIRecorder midi;
    midi.Send(0, 0x93, 60, 1);
    EXPECT_EQ(midi.Last().channel, 3);
    EXPECT_EQ(midi.Last().number, 60);
    EXPECT_TRUE(midi.Last().on);
    EXPECT_DOUBLE_EQ(midi.Last().value, 0.0);
    midi.Send(0, 0x93, 61, 127);
    EXPECT_DOUBLE_EQ(midi.Last().value, 126.0 / 127.0);
    midi.Send(0, 0x93, 61, 0);
    EXPECT_FALSE(midi.Last().on);
    midi.Send(0, 0x83, 60, 64);
    EXPECT_FALSE(midi.Last().on);
    EXPECT_DOUBLE_EQ(midi.Last().value, 63.0 / 127.0);
}

TEST(MIDIDecodingTest, PitchBendSpansMinusOneToAlmostOne) {
    MIDIRecorder midi;
    midi.Send(0, 0xE0, 0x00, 0x40);
    EXPECT_NEAR(midi.Last().value, 0.0000305, 1e-7);
    midi.Send(0, 0xE0, 0x7F, 0x7F);
    EXPECT_NEAR(midi.Last().value, 0.99219, 1e-5);
    midi.Send(0, 0xE0, 0x00, 0x00);
    EXPECT_DOUBLE_EQ(midi.Last().value, -1.0);
    EXPECT_DOUBLE_EQ(midi.GetPitchBend(), -1.0);
}

TEST(MIDIDecodingTest, PressureControllersAndPrograms) {
    MIDIRecorder midi;
    midi.Send(0, 0xA2, 64, 127);  // one key's pressure
    EXPECT_EQ(midi.Last().kind, 'A');
    EXPECT_EQ(midi.Last().number, 64);
    EXPECT_DOUBLE_EQ(midi.Last().value, 1.0);
    midi.Send(0, 0xD2, 127 + 128);  // channel pressure: only 7 bits count
    EXPECT_EQ(midi.Last().number, 255);
    EXPECT_DOUBLE_EQ(midi.Last().value, 1.0);
    midi.Send(0, 0xB5, 7, 127);
    EXPECT_EQ(midi.Last().kind, 'K');
    EXPECT_EQ(midi.Last().channel, 5);
    EXPECT_EQ(midi.Last().number, 7);
    EXPECT_DOUBLE_EQ(midi.Last().value, 1.0);
    midi.Send(0, 0xCF, 9);
    EXPECT_EQ(midi.Last().kind, 'P');
    EXPECT_EQ(midi.Last().channel, 15);
    EXPECT_EQ(midi.Last().number, 9);
    const size_t before = midi.calls.size();
    midi.Send(0, 0xF8, 0);  // clock: ignored
    EXPECT_EQ(midi.calls.size(), before);
}

struct FixedTimeBase : KivMIDITimeBase {
    double GetTempo() const override { return 120.0; }
    double GetSampleRate() const override { return 48000.0; }
    double GetBlockStartPosition() const override { return 8.0; }
};

TEST(MIDIDecodingTest, OffsetCountsFromOneAndGivesBeatPosition) {
    MIDIRecorder midi;
    FixedTimeBase timeBase;
    midi.SetMIDITimeBase(&timeBase);
    midi.Send(24001, 0xB0, 1, 0);
    EXPECT_EQ(midi.Last().offset, 24000);
    EXPECT_DOUBLE_EQ(midi.Last().time, 9.0);  // half a second at 120 bpm is one beat
    midi.Send(0, 0xB0, 1, 0);
    EXPECT_EQ(midi.Last().offset, 0);
    EXPECT_DOUBLE_EQ(midi.Last().time, 8.0);
}

// Fan-out: every listener whose mask holds the channel hears the event unchanged.
TEST(MIDIFanOutTest, ListenersHearOnlyTheirChannels) {
    MIDIRecorder source;
    MIDIRecorder all;
    MIDIRecorder channelTwo;
    source.AddMIDIListener(all);
    source.AddMIDIListener(channelTwo, 1u << 2);
    source.Send(0, 0x92, 60, 100);
    source.Send(0, 0xB3, 7, 10);
    source.Send(0, 0xE2, 0, 0x40);
    source.Send(0, 0xC3, 4);
    source.ProcessChannelNotesOff(0, 0.0, 2);
    // The notes-off call, then the release of the source's held note.
    ASSERT_EQ(all.calls.size(), 6u);
    ASSERT_EQ(channelTwo.calls.size(), 4u);
    EXPECT_EQ(channelTwo.calls[0].kind, 'N');
    EXPECT_EQ(channelTwo.calls[1].kind, 'B');
    EXPECT_DOUBLE_EQ(channelTwo.GetPitchBend(), source.GetPitchBend());
    EXPECT_EQ(channelTwo.calls[2].kind, 'C');
    EXPECT_FALSE(channelTwo.calls[3].on);
}

struct ProgramRecorder : KivMIDIProgramChangeHook {
    void OnMIDIProgramChange(int32_t, int32_t program) override { last = program; }
    int32_t last = -1;
};

TEST(MIDIFanOutTest, ProgramChangeReachesTheHookAfterTheListeners) {
    MIDIRecorder midi;
    MIDIRecorder listener;
    ProgramRecorder hook;
    midi.AddMIDIListener(listener);
    midi.SetProgramChangeHook(&hook);
    midi.Send(0, 0xC0, 11);
    EXPECT_EQ(listener.Last().number, 11);
    EXPECT_EQ(hook.last, 11);
}

// Note bookkeeping with the hold.
TEST(HeldNotesTest, HoldDefersReleasesUntilItEnds) {
    MIDIRecorder midi;
    midi.Send(0, 0x90, 60, 100);
    midi.SetNoteHold(0, true);
    midi.Send(0, 0x80, 60, 0);
    EXPECT_TRUE(midi.Last().on);  // no release yet
    EXPECT_EQ(midi.GetHeldNoteCount(0, 60), 1);
    midi.SetNoteHold(3, false);
    EXPECT_FALSE(midi.Last().on);
    EXPECT_EQ(midi.Last().number, 60);
    EXPECT_EQ(midi.Last().offset, 3);
    EXPECT_EQ(midi.GetHeldNoteCount(0, 60), 0);
}

TEST(HeldNotesTest, AllNotesOffReleasesEachCountAndForgetsDeferredNotes) {
    MIDIRecorder midi;
    midi.Send(0, 0x90, 60, 100);
    midi.Send(0, 0x90, 60, 100);
    midi.SetNoteHold(0, true);
    midi.Send(0, 0x80, 60, 0);
    midi.calls.clear();
    midi.ProcessAllNotesOff(0);
    EXPECT_EQ(midi.calls.size(), 2u);
    midi.calls.clear();
    midi.SetNoteHold(0, false);
    EXPECT_TRUE(midi.calls.empty());
    midi.Send(0, 0x80, 60, 0);  // a release without a note stays at 0
    EXPECT_EQ(midi.GetHeldNoteCount(0, 60), 0);
}

}  // namespace
