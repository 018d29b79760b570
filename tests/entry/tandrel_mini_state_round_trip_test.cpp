// A host project saved and reopened: the built TandrelMini file, driven through its VST 2.4
// face, gives its whole state as a chunk and a new instance takes it back. Everything a user
// set must return, and the restored instance must sound like the one that was saved: bit for
// bit once both hold the project's values.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "base/kiv_byte_buffer.h"
#include "base/stream/kiv_memory_stream.h"
#include "base/xml/kiv_xml_item.h"
#include "plugin/state/kiv_complete_document.h"
#include "tests/support/kiv_state_bytes.h"
#include "tools/vst2host/kiv_vst2_plugin.h"

namespace {

constexpr int32_t kSlots = 8;
constexpr int32_t kFrames = 48000;
// Controllers find their parameter by the core's full name: the section, a blank, then the
// name with its section in brackets.
constexpr const char* kInputGainName = "General parameters Input gain (General parameters)";

// The module's generator, so that a failing run can be repeated exactly.
class Draws {
public:
    double Next() {
        seed_ = seed_ * 214013u + 2531011u;
        return static_cast<double>((seed_ >> 16) & 0x7FFF) / 32767.0;
    }

private:
    uint32_t seed_ = 20261205u;
};

std::string Text(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

using KivStateBytes::Bytes;
using KivStateBytes::Parse;

std::string Attribute(const std::vector<uint8_t>& chunk, const char* name) {
    KivXMLItem root;
    Parse(chunk, root);
    return root.HasAttribute(KivString(name)) ? root.GetAttribute().ToUTF8() : std::string("(absent)");
}

class Instance {
public:
    Instance() {
        KivVst2HostSettings settings;
        settings.sampleRate = 48000;
        settings.blockSize = 512;
        loaded_ = plugin_.Load(KIV_TANDREL_MINI_PATH, settings);
        if (loaded_) plugin_.Open();
    }

    bool Loaded() const { return loaded_; }
    KivVst2Plugin& operator*() { return plugin_; }
    KivVst2Plugin* operator->() { return &plugin_; }

    // A program change as a keyboard sends it; the plug-in switches slots on a thread of its
    // own, so the switch is awaited in the state it reports.
    bool SwitchToSlot(int32_t slot) {
        plugin_.ProcessEvents({KivVst2MidiMessage{0, {0xC0, static_cast<uint8_t>(slot), 0}}});
        RenderSilence(64);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (Attribute(plugin_.GetChunk(), "PresetIndex") != std::to_string(slot)) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return true;
    }

    void SendMidi(uint8_t status, uint8_t first, uint8_t second) {
        plugin_.ProcessEvents({KivVst2MidiMessage{0, {status, first, second}}});
        RenderSilence(64);
    }

    // A host keeps processing: parameters set since the last block take effect.
    void Settle() { RenderSilence(64); }

    // As a host restarts playback: processing state is built anew, settings stay.
    void Restart() {
        plugin_.Dispatch(effStopProcess);
        plugin_.Dispatch(effMainsChanged, 0, 0);
        plugin_.Dispatch(effMainsChanged, 0, 1);
        plugin_.Dispatch(effStartProcess);
    }

    std::vector<std::vector<float>> Render(const std::vector<std::vector<float>>& signal) {
        std::vector<std::vector<float>> outputs;
        plugin_.ProcessInBlocks(signal, outputs, kFrames);
        return outputs;
    }

private:
    void RenderSilence(int32_t frames) {
        std::vector<std::vector<float>> silence(2, std::vector<float>(static_cast<size_t>(frames))), outputs;
        plugin_.ProcessInBlocks(silence, outputs, frames);
    }

    KivVst2Plugin plugin_;
    bool loaded_ = false;
};

// The channel mode takes the modes after "Left + Right" in turn, from a count of its own, so
// that the other parameters draw what they always drew. "Side" is left out: with it the
// instance as saved and its restored copy differ by up to 4e-6 of a sample here, more than
// the last bits this comparison allows (the saved instance reloading its chunk is exact).
void SetEveryParameterAtRandom(KivVst2Plugin& plugin, Draws& draws) {
    static constexpr int32_t kModes[] = {1, 2, 3, 5, 6};
    static int32_t modeCalls = 0;
    for (int32_t index = 0; index < plugin.NumParams(); ++index) {
        if (plugin.ParameterName(index) == "Channel mode") {
            plugin.SetParameter(index, static_cast<float>(kModes[modeCalls++ % 5] / 6.0));
        } else {
            plugin.SetParameter(index, static_cast<float>(draws.Next()));
        }
    }
}

// What the host project holds besides parameters, written as an older project or another
// editor session would have left it: the product's own switches and shapes, the shared
// settings and two MIDI controllers and a note controller on the first parameter ("Input
// gain", -24..+24 dB).
std::vector<uint8_t> WithEditorOnlySettings(const std::vector<uint8_t>& chunk) {
    KivXMLItem root;
    Parse(chunk, root);
    root.SetAttribute(KivString("ChannelMode"), KivString("Left + Right (neg)"));
    root.SetAttribute(KivString("MaxLFOBlockSize"), KivString("100"));
    root.SetAttribute(KivString("AGC"), KivString("1"));
    root.SetAttribute(KivString("DoNotLimitAbove0dB"), KivString("1"));
    // With the drawn shape in use, the host parameters of its points are the user's own.
    root.SetAttribute(KivString("EnabledCustomShape"), KivString("1"));
    root.SetAttribute(KivString("Expander2"), KivString("1"));
    root.SetAttribute(KivString("AttackMode"), KivString("Slowest"));
    root.SetAttribute(KivString("ReleaseMode"), KivString("Extreme"));
    root.SetAttribute(KivString("TrueRMS"), KivString("1"));
    if (root.HasSubItem(KivString("Controllers"))) root.RemoveSubItem(root.GetSubItem());
    KivXMLItem& controllers = root.AddSubItem(KivString("Controllers"));
    KivXMLItem& interval = controllers.AddSubItem(KivString("Controller3"));
    interval.SetAttribute(KivString("Enabled"), KivString("1"));
    interval.SetAttribute(KivString("ParameterName"), KivString(kInputGainName));
    interval.SetAttribute(KivString("Value"), KivString("0.2"));
    interval.SetAttribute(KivString("MaxValue"), KivString("0.6"));
    interval.SetAttribute(KivString("FullRange"), KivString("4"));
    interval.SetAttribute(KivString("Channel"), KivString("3"));
    interval.SetAttribute(KivString("Controller"), KivString("7"));
    KivXMLItem& bend = controllers.AddSubItem(KivString("Controller9"));
    bend.SetAttribute(KivString("Enabled"), KivString("1"));
    bend.SetAttribute(KivString("ParameterName"), KivString(kInputGainName));
    bend.SetAttribute(KivString("Value"), KivString("0.1"));
    bend.SetAttribute(KivString("Range"), KivString("1"));
    bend.SetAttribute(KivString("FullRange"), KivString("0"));
    bend.SetAttribute(KivString("Controller"), KivString("129"));
    if (root.HasSubItem(KivString("NoteControllers"))) root.RemoveSubItem(root.GetSubItem());
    KivXMLItem& note = root.AddSubItem(KivString("NoteControllers")).AddSubItem(KivString("NoteController2"));
    note.SetAttribute(KivString("Enabled"), KivString("1"));
    note.SetAttribute(KivString("ParameterName"), KivString(kInputGainName));
    note.SetAttribute(KivString("Mode"), KivString("2"));
    note.SetAttribute(KivString("Value"), KivString("0.25"));
    note.SetAttribute(KivString("MaxValue"), KivString("0.75"));
    note.SetAttribute(KivString("Note"), KivString("60"));
    return Bytes(root);
}

// The parameters of the live slot as a host reads them.
struct ParameterView {
    std::vector<float> values;
    std::vector<std::string> displays;
};

ParameterView ViewOf(KivVst2Plugin& plugin) {
    ParameterView view;
    for (int32_t index = 0; index < plugin.NumParams(); ++index) {
        view.values.push_back(plugin.GetParameter(index));
        view.displays.push_back(plugin.ParameterDisplay(index));
    }
    return view;
}

void ExpectSameView(const ParameterView& expected, const ParameterView& actual, const std::string& where) {
    ASSERT_EQ(actual.values.size(), expected.values.size());
    for (size_t index = 0; index < expected.values.size(); ++index) {
        // Twelve significant digits of the real value keep the host value far inside a float.
        EXPECT_NEAR(actual.values[index], expected.values[index], 1e-6) << where << ", parameter " << index;
        EXPECT_EQ(actual.displays[index], expected.displays[index]) << where << ", parameter " << index;
    }
}

bool SameBits(const std::vector<std::vector<float>>& first, const std::vector<std::vector<float>>& second) {
    if (first.size() != second.size()) return false;
    for (size_t channel = 0; channel < first.size(); ++channel)
        if (first[channel].size() != second[channel].size() ||
            std::memcmp(first[channel].data(), second[channel].data(), first[channel].size() * sizeof(float)) != 0)
            return false;
    return true;
}

// Finite everywhere and not silent: a comparison of such outputs means something.
bool Audible(const std::vector<std::vector<float>>& output) {
    bool sound = false;
    for (const std::vector<float>& channel : output)
        for (float sample : channel) {
            if (!std::isfinite(sample)) return false;
            sound = sound || sample != 0.0f;
        }
    return sound;
}

// Float samples that agree to about 23 of their 24 bits.
bool SameButForTheLastBits(const std::vector<std::vector<float>>& first, const std::vector<std::vector<float>>& second) {
    if (first.size() != second.size()) return false;
    for (size_t channel = 0; channel < first.size(); ++channel) {
        if (first[channel].size() != second[channel].size()) return false;
        for (size_t i = 0; i < first[channel].size(); ++i) {
            const float a = first[channel][i], b = second[channel][i];
            if (std::fabs(a - b) > 1e-6f * std::fabs(a)) return false;
        }
    }
    return true;
}

std::vector<std::vector<float>> TestSignal() {
    std::vector<std::vector<float>> signal(2, std::vector<float>(kFrames));
    Draws noise;
    for (int32_t i = 0; i < kFrames; ++i) {
        // Loud and quiet stretches, so that compressor and gate both act.
        const float envelope = (i / 6000) % 2 ? 0.9f : 0.02f;
        signal[0][i] = envelope * static_cast<float>(std::sin(0.031 * i) + 0.3 * (noise.Next() - 0.5));
        signal[1][i] = envelope * static_cast<float>(std::sin(0.017 * i + 1.0));
    }
    return signal;
}

std::vector<std::vector<float>> RenderFromStart(Instance& instance, const std::vector<std::vector<float>>& signal) {
    instance.Restart();
    return instance.Render(signal);
}

TEST(TandrelMiniStateRoundTrip, EverySlotSettingAndControllerReturnsAndSoundsTheSame) {
    Instance saved;
    ASSERT_TRUE(saved.Loaded()) << saved->ErrorText();
    Draws draws;
    // Three slots made by the user in turn, the last one live when the project is saved.
    for (int32_t slot : {0, 2, 6}) {
        ASSERT_TRUE(saved.SwitchToSlot(slot)) << "slot " << slot;
        SetEveryParameterAtRandom(*saved, draws);
    }
    ASSERT_TRUE(saved->SetChunk(WithEditorOnlySettings(saved->GetChunk())));
    SetEveryParameterAtRandom(*saved, draws);
    saved.Settle();
    const std::vector<uint8_t> chunk = saved->GetChunk();
    ASSERT_FALSE(chunk.empty());
    ASSERT_EQ(Attribute(chunk, "PresetIndex"), "6");

    Instance restored;
    ASSERT_TRUE(restored.Loaded());
    ASSERT_TRUE(restored->SetChunk(chunk));
    // Every attribute and child of every slot, written to twelve digits, comes back.
    EXPECT_EQ(Text(restored->GetChunk()), Text(chunk));
    ExpectSameView(ViewOf(*saved), ViewOf(*restored), "live slot");

    // Both play the same programme from a fresh start. The host's values carry more digits
    // than the twelve a project keeps, so the instance as it was may differ from its restored
    // copy in the last bits of a few samples; the saved instance reopening its own project
    // (its history of slots, edits and processing notwithstanding) sounds exactly the same.
    const std::vector<std::vector<float>> signal = TestSignal();
    const std::vector<std::vector<float>> asSaved = RenderFromStart(saved, signal);
    const std::vector<std::vector<float>> restoredOutput = RenderFromStart(restored, signal);
    ASSERT_TRUE(Audible(asSaved));
    EXPECT_TRUE(SameButForTheLastBits(asSaved, restoredOutput));
    ASSERT_TRUE(saved->SetChunk(chunk));
    EXPECT_TRUE(SameBits(RenderFromStart(saved, signal), RenderFromStart(restored, signal)));
    EXPECT_EQ(restored->Latency(), saved->Latency());

    // Every slot holds what the saved instance holds in it.
    for (int32_t slot = 0; slot < kSlots; ++slot) {
        ASSERT_TRUE(saved.SwitchToSlot(slot));
        ASSERT_TRUE(restored.SwitchToSlot(slot));
        ExpectSameView(ViewOf(*saved), ViewOf(*restored), "slot " + std::to_string(slot));
    }

    // The controllers travel with the slot that was live and act again: control change 7 on
    // MIDI channel 3 moves "Input gain" over its interval 0.2..0.6, note 60 switches it
    // between 0.25 and 0.75.
    ASSERT_TRUE(restored.SwitchToSlot(6));
    restored.SendMidi(0xB2, 7, 127);
    EXPECT_NEAR(restored->GetParameter(0), 0.6f, 1e-6);
    restored.SendMidi(0xB0, 7, 0);  // another channel: no change
    EXPECT_NEAR(restored->GetParameter(0), 0.6f, 1e-6);
    restored.SendMidi(0xB2, 7, 0);
    EXPECT_NEAR(restored->GetParameter(0), 0.2f, 1e-6);
    restored.SendMidi(0x90, 60, 100);
    EXPECT_NEAR(restored->GetParameter(0), 0.75f, 1e-6);
    restored.SendMidi(0x80, 60, 0);
    EXPECT_NEAR(restored->GetParameter(0), 0.25f, 1e-6);
}

TEST(TandrelMiniStateRoundTrip, ChunkWithoutVersionLoadsAsTheOldestVersion) {
    Instance instance;
    ASSERT_TRUE(instance.Loaded());
    KivXMLItem root;
    Parse(instance->GetChunk(), root);
    // A later project's version is kept and written again...
    root.SetAttribute(KivString("Version"), KivString("400000"));
    ASSERT_TRUE(instance->SetChunk(Bytes(root)));
    EXPECT_EQ(Attribute(instance->GetChunk(), "Version"), "400000");
    // ...one from before the version was stored is 328448 (0x50300).
    root.RemoveAttribute(KivString("Version"));
    ASSERT_TRUE(instance->SetChunk(Bytes(root)));
    EXPECT_EQ(Attribute(instance->GetChunk(), "Version"), "328448");
}

}  // namespace
