// The host's own bookkeeping: the song position it reports and the event blocks it builds.
#include <gtest/gtest.h>

#include <vector>

#include "tools/vst2host/kiv_vst2_event_block.h"
#include "tools/vst2host/kiv_vst2_transport.h"

TEST(Vst2Transport, ReportsPositionInBeatsAndBars) {
    KivVst2Transport transport;
    transport.sampleRate = 48000.0;
    transport.tempo = 120.0;
    transport.Advance(48000 * 5);  // 5 s at 2 beats per second
    VstTimeInfo info{};
    transport.Describe(info);
    EXPECT_DOUBLE_EQ(info.samplePos, 240000.0);
    EXPECT_DOUBLE_EQ(info.ppqPos, 10.0);
    EXPECT_DOUBLE_EQ(info.barStartPos, 8.0);
    EXPECT_EQ(info.timeSigNumerator, 4);
    const int32_t valid = kVstPpqPosValid | kVstTempoValid | kVstBarsValid | kVstTimeSigValid;
    EXPECT_EQ(info.flags & valid, valid);

    transport.timeSignatureNumerator = 6;  // 6/8: three quarters per bar
    transport.timeSignatureDenominator = 8;
    transport.Describe(info);
    EXPECT_DOUBLE_EQ(info.barStartPos, 9.0);
}

TEST(Vst2Transport, FlagsStartsAndStopsOnce) {
    KivVst2Transport transport;
    VstTimeInfo info{};
    transport.Describe(info);
    EXPECT_EQ(info.flags & (kVstTransportPlaying | kVstTransportChanged), kVstTransportPlaying | kVstTransportChanged);
    transport.Describe(info);
    EXPECT_EQ(info.flags & kVstTransportChanged, 0);
    transport.playing = false;
    transport.Describe(info);
    EXPECT_EQ(info.flags & (kVstTransportPlaying | kVstTransportChanged), kVstTransportChanged);
}

TEST(Vst2EventBlock, HoldsMoreEventsThanTheDeclaredArrayAndReadsThemBack) {
    std::vector<KivVst2MidiMessage> messages(5);
    for (int i = 0; i < 5; ++i) messages[i] = {i, {0xB0, static_cast<uint8_t>(i), 127}};
    KivVst2EventBlock block;
    block.Assign(messages);
    VstEvents* events = block.Events();
    ASSERT_EQ(events->numEvents, 5);
    const std::vector<KivVst2MidiMessage> back = KivVst2EventBlock::MidiMessagesOf(*events);
    ASSERT_EQ(back.size(), 5u);
    EXPECT_EQ(back[4].deltaFrames, 4);
    EXPECT_EQ(back[4].bytes[1], 4);

    block.Assign({});
    EXPECT_EQ(block.Events()->numEvents, 0);
}

TEST(Vst2EventBlock, SkipsEventsThatAreNotMidi) {
    VstEvent sysex{};
    sysex.type = kVstSysExType;
    VstMidiEvent note{};
    note.type = kVstMidiType;
    note.midiData[0] = static_cast<char>(0x80);
    VstEvents events{};
    events.numEvents = 2;
    events.events[0] = &sysex;
    events.events[1] = reinterpret_cast<VstEvent*>(&note);
    const std::vector<KivVst2MidiMessage> messages = KivVst2EventBlock::MidiMessagesOf(events);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].bytes[0], 0x80);
}
