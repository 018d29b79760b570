// A randomised session through the built library, in each face: blocks of random length (0,
// 1, up to the declared maximum), random host automation of every parameter (inside blocks in
// VST 3), bypass toggles, look-ahead changes, state saved and loaded, programs and preset
// slots selected (VST 2.4: the VST 3 face has neither), bursts of NaN and infinities in the
// input, programme from silence to +6 dBFS on the main and side-chain inputs. After every block:
//  - every output sample is finite;
//  - each output channel's peak is at most its input's peak over the last 1.1 s (the longest
//    look-ahead and the transitions; broken samples count as silence) times the largest gain
//    the parameter values allow (see GainBoundDecibels), plus 3.02 dB for an equal-power
//    cross-fade of two paths;
//  - while bypassed, past the cross-fade, the output is the input delayed by the latency
//    (what came before a restart counts as silence: a restart forgets it), also across
//    slot switches and programs, which leave the bypass alone;
//  - after a change of the look-ahead or the settings the host reads the latency another
//    instance given the same state reports (after a slot switch, once the host has been told);
//  - a state loaded (its own, an earlier one) is saved back byte for byte;
// and at random checkpoints:
//  - a fresh instance given the live instance's state saves it back byte for byte, reports the
//    same latency, and an impulse comes out exactly that many samples later (dry: unchanged;
//    as set: nowhere else);
//  - a fresh instance given the live instance's state and the live instance restarted (as a
//    host stops and starts the transport) then take the same blocks, automation and events
//    and give bit-identical outputs.
// The VST 3 face runs offline and in real time. In real time a change plays from the block
// after the plug-in's preparing thread is done with it, whenever that is: the gain bound, the
// twins, the live latency against another instance's and the saved bytes (figures worked out
// by that thread), which depend on when, are left out there; the rest holds whatever the timing.
//
// CI runs a few fixed seeds. By hand: TANDREL_SESSION_SEEDS=<count> (from
// TANDREL_SESSION_FIRST_SEED, default 1), TANDREL_SESSION_BLOCKS=<blocks per session>,
// TANDREL_SESSION_BYPASS_IDENTITY=0 (the bypass left out: the sessions of earlier builds),
// TANDREL_SESSION_FACE=vst2 or vst3 for one face only,
// TANDREL_SESSION_TRACE=<block> to print every block's events from that block on.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <deque>
#include <limits>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/kiv_sanitizer.h"
#include "tests/support/tandrel_mini_faces.h"
#include "tests/support/tandrel_mini_vst2_session.h"

namespace {

using namespace tandrel_mini_test;

constexpr double kSampleRate = 48000.0;
constexpr double kInfinity = std::numeric_limits<double>::infinity();
// The bypass cross-fade takes about 10 ms; the identity is checked from 20 ms on.
constexpr int64_t kBypassSettle = 960;
// The bypass lines take the delay the effect plays, which follows a new latency once its
// setup is taken over, at the start of a block: a setup may wait there for a gain path's
// 10 ms cross-fade to end.
constexpr int64_t kPathSwitchFade = 480;
constexpr int64_t kNever = std::numeric_limits<int64_t>::max();
// Parameter values count for the gain bound this long after they were replaced (5 ms gain
// ramps, 10 ms cross-fades, with room).
constexpr int64_t kBoundMemory = 4800;
// Input reaches the output at most the longest look-ahead (1 s) plus transitions later.
constexpr int64_t kInputMemory = 48000 + 4800;
// Sessions in CI and their length. The first three found, and keep: non-finite input passed
// to the output (1), a dry/wet blend lost with every processor off and stored values read back
// a hair off (2), the look-ahead emptied by a restart (3). Regression seeds go at the end.
const std::vector<uint32_t> kCiSeeds = {1, 2, 3, 4};
constexpr int32_t kCiBlocks = 2000;

// Whether the plug-in's own bypass is held to everything: the identity with the delayed input,
// finite output while bypassed, and twins compared across bypass toggles.
constexpr bool kCheckBypassIdentity = true;

bool CheckBypass() {
    static const char* text = std::getenv("TANDREL_SESSION_BYPASS_IDENTITY");
    static const bool on = text && *text ? std::atoi(text) != 0 : kCheckBypassIdentity;
    return on;
}

int32_t EnvironmentNumber(const char* name, int32_t fallback) {
    const char* text = std::getenv(name);
    return text && *text ? std::atoi(text) : fallback;
}

// Host indices of the parameters the gain bound reads.
struct Indices {
    int32_t inputGain = Face::Index("Input gain (General parameters)");
    int32_t outputGain = Face::Index("Output gain (General parameters)");
    int32_t tempGain = Face::Index("Temp gain (General parameters)");
    int32_t dryWet = Face::Index("Dry/wet (General parameters)");
    int32_t maximize = Face::Index("Maximize signal strength to 0dB (General parameters)");
    int32_t lookAhead = Face::Index("Look-ahead (Dynamic detection)");
    int32_t gate = Face::Index("Gate (Gate)");
    int32_t gateThreshold = Face::Index("Threshold (Gate)");
    int32_t gateSize = Face::Index("Size (Gate)");
    int32_t gateBottom = Face::Index("Bottom (Gate)");
    int32_t processor[2] = {Face::Index("Processor 1 (Processor 1)"), Face::Index("Processor 2 (Processor 2)")};
    int32_t threshold[2] = {Face::Index("Threshold (Processor 1)"), Face::Index("Threshold (Processor 2)")};
    int32_t ratio[2] = {Face::Index("Ratio (Processor 1)"), Face::Index("Ratio (Processor 2)")};
    int32_t sideChain = Face::Index("Side-chain");
    // The last parameter automated here (after it only VST 2.4's "Bypass", which has events of
    // its own), among the modes "Left + Right" to "Mid + Side": "Left + Right (neg)" inverts the
    // right channel, which the dry probe does not expect.
    int32_t channelMode = Face::Index("Channel mode");
    bool IsSwitch(int32_t index) const {
        return index == maximize || index == gate || index == processor[0] || index == processor[1] || index == sideChain;
    }
};

const Indices& Parameters() {
    static const Indices indices;
    return indices;
}

// Product settings that are no host parameters, read from the state.
struct Flags {
    bool expander[2] = {false, false};
    bool extend = false;
    bool customShape = false;
};

Flags ReadFlags(const std::vector<uint8_t>& state) {
    const std::string text(state.begin(), state.end());
    auto on = [&](const char* key) { return text.find(std::string(" ") + key + "=\"1\"") != std::string::npos; };
    Flags flags;
    flags.expander[0] = on("Expander1");
    flags.expander[1] = on("Expander2");
    flags.extend = on("DoNotLimitAbove0dB");
    flags.customShape = on("EnabledCustomShape");
    return flags;
}

// The level a sample counts for in the gain bound: broken samples play as silence.
double FinitePart(float sample) { return std::isfinite(sample) ? std::fabs(sample) : 0.0; }

bool SameBits(float a, float b) { return std::memcmp(&a, &b, sizeof(float)) == 0; }

double RootAmplitudeDecibels(double hostValue) { return 40.0 * std::log10(0.01 + 0.99 * hostValue); }

// The largest gain, in dB, that parameter values allow with the computed shape (worked out
// from the shape's construction, not from the plug-in's code):
//  - input, output and temp gain: g_in + g_out + max(0, t) (temp gain is taken back after the
//    shape, by t or by t / ratio);
//  - the shape's gain y(x) - x is largest at a breakpoint (on a straight segment in any of the
//    three domains it moves monotonically between the ends; a rounded corner stays within the
//    chord's ends). It is 0 below the lowest threshold and grows only where a slope exceeds 1:
//    upward ratios (1:R, slope R) from their threshold to the top (0 dB, or +64 dB when levels
//    above 0 dB are not limited): (max R - 1) x (top - lowest upward threshold);
//  - "Maximize" divides by the output at 0 dB, which is at least the lowest threshold: adds
//    at most -(lowest threshold);
//  - the gate's bottom segment lifts at most bottom - (threshold - size);
//  - an expander's shift of the levels below it lifts at most half the distance from its
//    threshold to -140 dB: 70 dB, taken as 140 for either;
//  - dry/wet blends towards the unprocessed signal (gain 1).
// A drawn shape may have any slope: no bound then.
double GainBoundDecibels(const std::vector<double>& v, const Flags& flags) {
    if (flags.customShape) return kInfinity;
    const Indices& p = Parameters();
    const double inputGain = -24.0 + 48.0 * v[p.inputGain];
    const double outputGain = -24.0 + 48.0 * v[p.outputGain];
    const double tempGain = -24.0 + 48.0 * v[p.tempGain];
    const double top = flags.extend ? 64.0 : 0.0;
    double shape = 0.0, lowest = kInfinity, lowestUpward = kInfinity, steepest = 1.0;
    for (int k = 0; k < 2; ++k) {
        if (v[p.processor[k]] < 0.5) continue;
        const double threshold = RootAmplitudeDecibels(v[p.threshold[k]]);
        const double code = -1.0 + 21.0 * v[p.ratio[k]];
        lowest = std::min(lowest, threshold);
        if (flags.expander[k]) {
            shape += 140.0;
        } else if (code < 1.0) {
            steepest = std::max(steepest, 2.0 - code);
            lowestUpward = std::min(lowestUpward, threshold);
        }
    }
    if (lowestUpward < kInfinity) shape += (steepest - 1.0) * (top - lowestUpward);
    if (v[p.maximize] >= 0.5 && lowest < kInfinity) shape += std::max(0.0, -lowest);
    if (v[p.gate] >= 0.5 && v[p.gateBottom] > 0.0) {
        const double bottom = 40.0 * std::log10(0.01 * v[p.gateBottom]);
        shape += std::max(0.0, bottom - (RootAmplitudeDecibels(v[p.gateThreshold]) - 24.0 * v[p.gateSize]));
    }
    return std::max(0.0, inputGain + outputGain + std::max(0.0, tempGain) + shape) + 3.02;
}

// Programme for one channel: stretches of silence, DC, tones, noise and clicks at levels from
// -90 to +6 dBFS.
class Programme {
public:
    explicit Programme(uint32_t seed) : random_(seed) {}
    float Next() {
        if (left_-- <= 0) NewStretch();
        ++position_;
        switch (kind_) {
        case 0: return 0.0f;
        case 1: return static_cast<float>(level_);
        case 2: return static_cast<float>(level_ * std::sin(phase_ += step_));
        case 3: return static_cast<float>(level_ * noise_(random_));
        default: return position_ % 997 == 0 ? static_cast<float>(level_) : 0.0f;
        }
    }

private:
    void NewStretch() {
        left_ = std::uniform_int_distribution<int32_t>(64, 12000)(random_);
        kind_ = std::uniform_int_distribution<int32_t>(0, 4)(random_);
        level_ = std::pow(10.0, std::uniform_real_distribution<double>(-90.0, 6.0)(random_) / 20.0);
        step_ = 6.283185307179586 * std::uniform_real_distribution<double>(20.0, 12000.0)(random_) / kSampleRate;
    }
    std::mt19937 random_;
    std::uniform_real_distribution<double> noise_{-1.0, 1.0};
    int32_t left_ = 0, kind_ = 0;
    int64_t position_ = 0;
    double level_ = 0.0, phase_ = 0.0, step_ = 0.0;
};

struct Event {
    enum Kind { kAutomate, kBypass, kReload, kRestoreOlder, kProgram, kSlot } kind;
    int32_t index = 0;
    double value = 0.0;
    int32_t offset = 0;
};

class Session {
public:
    Session(FaceKind kind, uint32_t seed, int32_t blocks) : kind_(kind), seed_(seed), blocks_(blocks), random_(seed) {
        settings_.sampleRate = kSampleRate;
        settings_.realTime = kind == FaceKind::kVst3RealTime;
        settings_.maxBlock = std::vector<int32_t>{64, 256, 512, 1024, 4096}[Uniform(0, 4)];
        for (int c = 0; c < 4; ++c) programmes_.emplace_back(seed * 7919u + static_cast<uint32_t>(c));
    }

    void Run() {
        live_ = Open();
        if (!live_) return;
        bypassSupported_ = live_->Bypass(false);
        slotsSupported_ = live_->SelectSlot(0);
        values_ = Values(*live_);
        flags_ = ReadFlags(live_->SaveState());
        savedStates_.push_back(live_->SaveState());
        for (block_ = 0; block_ < blocks_ && failures_ < 8; ++block_) RunBlock();
        ::testing::Test::RecordProperty("blocks", block_);
        std::ostringstream summary;
        summary << live_->Name() << " seed " << seed_ << ": " << block_ << " blocks, " << samples_ << " samples (max block "
                << settings_.maxBlock << "), " << checkpoints_ << " checkpoints, " << bypassToggles_
                << " bypass toggles, " << automations_ << " automation points, " << loads_ << " state loads, "
                << programs_ << " programs, " << slots_ << " slot switches, " << bursts_ << " NaN/inf bursts, largest latency " << largestLatency_;
        std::puts(summary.str().c_str());
    }

private:
    std::string Where() const {
        std::ostringstream where;
        where << FaceKindName() << " seed " << seed_ << ", block " << block_ << " (sample " << samples_ << ")";
        return where.str();
    }
    const char* FaceKindName() const {
        return kind_ == FaceKind::kVst2 ? "VST 2.4" : kind_ == FaceKind::kVst3 ? "VST 3" : "VST 3 in real time";
    }
    void Fail(const std::string& what) {
        ++failures_;
        ADD_FAILURE() << Where() << ": " << what;
    }

    int32_t Uniform(int32_t low, int32_t high) { return std::uniform_int_distribution<int32_t>(low, high)(random_); }
    double Unit() { return std::uniform_real_distribution<double>(0.0, 1.0)(random_); }
    bool Chance(double p) { return Unit() < p; }

    // Probes render offline: what they check does not depend on the mode.
    std::unique_ptr<Face> Open(bool offline = false) {
        std::unique_ptr<Face> face = MakeFace(kind_);
        FaceSettings settings = settings_;
        settings.realTime = settings.realTime && !offline;
        if (!face->Open(settings)) {
            Fail("cannot open: " + face->Error());
            return nullptr;
        }
        return face;
    }

    static std::vector<double> Values(Face& face) {
        std::vector<double> values(static_cast<size_t>(face.ParameterCount()));
        for (size_t i = 0; i < values.size(); ++i) values[i] = face.Get(static_cast<int32_t>(i));
        return values;
    }

    int32_t BlockLength() {
        switch (Uniform(0, 9)) {
        case 0: return 0;
        case 1: return 1;
        case 2: return settings_.maxBlock;
        default: return Uniform(2, settings_.maxBlock);
        }
    }

    // A host value: switches are 0 or 1, the look-ahead mostly within 130 ms.
    double RandomValue(int32_t index) {
        const Indices& p = Parameters();
        if (p.IsSwitch(index)) return Chance(0.5) ? 1.0 : 0.0;
        if (index == p.lookAhead) return Chance(0.3) ? 0.0 : Chance(0.9) ? Unit() * 0.6 : Unit();
        if (index == p.channelMode) return Uniform(0, 5) / 6.0;
        return Unit();
    }

    std::vector<Event> Events(int32_t frames) {
        std::vector<Event> events;
        const int32_t last = std::max(frames - 1, 0);
        if (Chance(0.35)) {
            const int32_t count = Uniform(1, 3);
            for (int32_t i = 0; i < count; ++i) {
                const int32_t automated = Parameters().channelMode >= 0 ? Parameters().channelMode + 1 : static_cast<int32_t>(values_.size());
                const int32_t index = Chance(0.15) ? Parameters().lookAhead : Uniform(0, automated - 1);
                events.push_back({Event::kAutomate, index, RandomValue(index), Uniform(0, last)});
            }
        }
        if (bypassSupported_ && (CheckBypass() || !twin_) && Chance(0.015)) events.push_back({Event::kBypass, 0, bypassed_ ? 0.0 : 1.0, Uniform(0, last)});
        if (Chance(0.006)) events.push_back({Event::kReload});
        if (Chance(0.004)) events.push_back({Event::kRestoreOlder, Uniform(0, static_cast<int32_t>(savedStates_.size()) - 1)});
        // The program index is no part of the state: a twin would select what the live one has.
        if (live_->ProgramCount() > 1 && !twin_ && Chance(0.004))
            events.push_back({Event::kProgram, Uniform(0, live_->ProgramCount() - 1)});
        if (slotsSupported_ && !twin_ && slotWanted_ < 0 && Chance(0.004)) events.push_back({Event::kSlot, Uniform(0, 7)});
        // In the order they play, so that the last value sent is the one that stays.
        std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) { return a.offset < b.offset; });
        return events;
    }

    void Apply(Face& face, const Event& event) {
        switch (event.kind) {
        case Event::kAutomate: face.Automate(event.index, event.value, event.offset); break;
        case Event::kBypass: face.Bypass(event.value > 0.5, event.offset); break;
        case Event::kReload: {
            const std::vector<uint8_t> state = face.SaveState();
            if (!face.LoadState(state)) Fail("its own state refused");
            else ExpectSaves(face, state, "its own state loaded back");
            break;
        }
        case Event::kRestoreOlder: {
            const std::vector<uint8_t>& state = savedStates_[static_cast<size_t>(event.index)];
            if (!face.LoadState(state)) Fail("an earlier state refused");
            else ExpectSaves(face, state, "an earlier state loaded");
            break;
        }
        case Event::kProgram: face.SelectProgram(event.index); break;
        case Event::kSlot: face.SelectSlot(event.index); break;
        }
    }

    static void WithoutBypass(std::vector<uint8_t>& state) {
        static const std::string root = "<settings ", attribute = " Bypass=\"1\"";
        const auto start = std::search(state.begin(), state.end(), root.begin(), root.end());
        const auto end = std::find(start, state.end(), '>');
        const auto at = std::search(start, end, attribute.begin(), attribute.end());
        if (at != end) state.erase(at, at + static_cast<std::ptrdiff_t>(attribute.size()));
    }

    // A state loaded is saved back byte for byte, whatever slots, programs and automation came
    // before it: nothing the document holds is lost, rounded or put back to a default.
    // In VST 2.4 the bypass is the host's and stays as it is through a load; the document
    // records it (an attribute of its root) as it is when saved. In real time a change inside
    // a block is prepared later on the plug-in's own thread, and a document saved meanwhile
    // holds the new parameter values with the figures the last preparation worked out from
    // the old ones (the look-ahead in samples, the automatic shape's points), which a load
    // works out again: the bytes are not held to there.
    void ExpectSaves(Face& face, std::vector<uint8_t> state, const char* what) {
        if (settings_.realTime) return;
        std::vector<uint8_t> saved = face.SaveState();
        if (kind_ == FaceKind::kVst2) {
            WithoutBypass(saved);
            WithoutBypass(state);
        }
        if (SameDocument(saved, state)) return;
        const auto first = std::mismatch(saved.begin(), saved.end(), state.begin(), state.end());
        const auto at = static_cast<size_t>(first.first - saved.begin());
        const auto excerpt = [&](const std::vector<uint8_t>& bytes) {
            const size_t from = at > 60 ? at - 60 : 0;
            return std::string(bytes.begin() + static_cast<std::ptrdiff_t>(std::min(from, bytes.size())),
                               bytes.begin() + static_cast<std::ptrdiff_t>(std::min(at + 60, bytes.size())));
        };
        Fail(std::string(what) + " saves other bytes from byte " + std::to_string(at) + ": \"" + excerpt(saved) +
             "\" where it was given \"" + excerpt(state) + "\"");
    }

    void Input(int32_t frames) {
        for (int c = 0; c < 4; ++c) {
            block_in_[c].resize(static_cast<size_t>(frames));
            for (float& sample : block_in_[c]) sample = programmes_[static_cast<size_t>(c)].Next();
        }
        if (frames > 0 && Chance(0.02)) {
            ++bursts_;
            const float values[3] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                                     -std::numeric_limits<float>::infinity()};
            const int32_t start = Uniform(0, frames - 1);
            const int32_t end = std::min(frames, start + Uniform(1, 64));
            const int channel = Uniform(0, 4);  // 4: both main channels
            for (int32_t i = start; i < end; ++i) {
                const float value = values[Uniform(0, 2)];
                if (channel == 4) block_in_[0][static_cast<size_t>(i)] = block_in_[1][static_cast<size_t>(i)] = value;
                else block_in_[channel][static_cast<size_t>(i)] = value;
            }
        }
    }

    void ProcessInto(Face& face, std::vector<float> (&out)[2], int32_t frames) {
        // Each instance gets its own copy: a plug-in may write to its inputs.
        std::vector<float> in[4];
        for (int c = 0; c < 4; ++c) in[c] = block_in_[c];
        for (auto& channel : out) channel.assign(static_cast<size_t>(std::max(frames, 1)), 0.0f);
        for (auto& channel : in) channel.resize(static_cast<size_t>(std::max(frames, 1)));
        float* main[2] = {in[0].data(), in[1].data()};
        float* side[2] = {in[2].data(), in[3].data()};
        float* outputs[2] = {out[0].data(), out[1].data()};
        face.Process(main, side, outputs, frames);
    }

    void RunBlock() {
        const int32_t frames = BlockLength();
        Input(frames);
        // The first block with samples that starts after a waiting setup may have waited takes
        // it over; the bypass lines settle from there.
        if (latencyTakenAt_ == kNever && frames > 0 && samples_ >= latencySince_ + kPathSwitchFade) latencyTakenAt_ = samples_;
        const std::vector<Event> events = Events(frames);
        // A value that a later point in the same block replaces still plays between the two
        // (VST 3 is sample-accurate): the bound covers every value the block passes through.
        double boundDuring = GainBoundDecibels(values_, flags_);
        bool stateChanged = false, lookAheadMoved = false;
        bypassTouched_ = bypassed_;
        for (const Event& event : events) {
            Apply(*live_, event);
            if (twin_) {
                Apply(*twin_, event);
                twinLog_ << " [" << samples_ + event.offset << ": " << "ABLRPS"[event.kind] << event.index << "=" << event.value << "]";
            }
            switch (event.kind) {
            case Event::kAutomate:
                values_[static_cast<size_t>(event.index)] = event.value;
                boundDuring = std::max(boundDuring, GainBoundDecibels(values_, flags_));
                // Inside a VST 3 block the latency may change and change back.
                lookAheadMoved = lookAheadMoved || event.index == Parameters().lookAhead;
                ++automations_;
                break;
            case Event::kBypass:
                bypassed_ = event.value > 0.5;
                bypassTouched_ = true;
                bypassSince_ = samples_ + event.offset;
                ++bypassToggles_;
                break;
            case Event::kReload:
            case Event::kRestoreOlder:
                stateChanged = true;
                ++loads_;
                break;
            case Event::kProgram:
                stateChanged = true;
                ++programs_;
                break;
            case Event::kSlot:
                slotWanted_ = event.index;
                ++slots_;
                break;
            }
        }
        if (stateChanged) {
            // Automation queued in the block plays after the load, from its start.
            live_->Flush();
            if (twin_) twin_->Flush();
            values_ = Values(*live_);
            flags_ = ReadFlags(live_->SaveState());
            // The plug-in's state carries its bypass.
            if (live_->IsBypassed() != bypassed_) {
                bypassed_ = !bypassed_;
                bypassTouched_ = true;
                bypassSince_ = samples_;
            }
        }
        const double boundAfter = GainBoundDecibels(values_, flags_);
        if (static const int32_t trace = EnvironmentNumber("TANDREL_SESSION_TRACE", -1); trace >= 0 && block_ >= trace) {
            std::ostringstream line;
            line << "block " << block_ << " at " << samples_ << ", " << frames << " frames, bypassed " << bypassed_ << " latency " << live_->Latency() << ":";
            for (const Event& event : events)
                line << " [" << event.offset << " " << "ABLRPS"[event.kind] << event.index << "=" << event.value << "]";
            for (int c = 0; c < 4; ++c)
                for (int32_t i = 0; i < frames; ++i)
                    if (!std::isfinite(block_in_[c][static_cast<size_t>(i)])) {
                        line << " broken input " << c << " at " << i;
                        break;
                    }
            std::puts(line.str().c_str());
        }
        ProcessInto(*live_, out_, frames);
        double boundSlot = boundAfter;
        if (slotWanted_ >= 0 && frames > 0) {
            // MIDI reaches the plug-in with the next block that has samples; the switch happens
            // off the audio thread during or after it: that block may play either slot, the
            // next ones play the new one.
            if (!WaitForSlot(slotWanted_))
                Fail("slot " + std::to_string(slotWanted_) + " not selected within 2 s of a block of " + std::to_string(frames));
            slotWanted_ = -1;
            values_ = Values(*live_);
            flags_ = ReadFlags(live_->SaveState());
            boundSlot = GainBoundDecibels(values_, flags_);
        }
        std::vector<float> twinOut[2];
        if (twin_) ProcessInto(*twin_, twinOut, frames);

        if (lookAheadMoved && settings_.realTime) SettleLookAhead();
        const int32_t latency = live_->Latency();
        if (latency != latency_ || lookAheadMoved || stateChanged) {
            latencySince_ = samples_ + frames;
            latencyTakenAt_ = kNever;
        }
        latency_ = latency;
        largestLatency_ = std::max(largestLatency_, latency);
        // A change made on the host's own thread, or offline inside a block, is prepared there:
        // the host has been told its latency when the call returns.
        if ((lookAheadMoved || stateChanged) && !settings_.realTime) {
            const int32_t expected = LatencyOf(live_->SaveState());
            if (expected != latency_)
                Fail("after a change of the look-ahead or the settings the host reads latency " + std::to_string(latency_) +
                     ", another instance given the same state reports " + std::to_string(expected));
        }
        CheckFinite(frames);
        NoteChannelMixing(frames);
        CheckBound(frames, std::max({boundDuring, boundAfter, boundSlot}));
        if (CheckBypass()) CheckBypassIdentity(frames);
        Remember(frames);
        if (twin_) CompareTwin(twinOut, frames);
        samples_ += frames;
        if (block_ % 97 == 0) savedStates_.push_back(live_->SaveState());
        // A slot asked for in a block of no samples is still on its way (its MIDI goes with the
        // next block that has some): the twin, which never received it, would play on in the
        // slot it was restored with. The chance is drawn first, so each seed keeps its session.
        if (!twin_ && (CheckBypass() || !bypassed_) && block_ > 20 && Chance(0.02) && slotWanted_ < 0) Checkpoint();
    }

    // The plug-in's own thread carries the switch out and only then tells the host what it
    // brings, the new latency among it, as a host hears of it (VST 2.4 audioMasterIOChanged):
    // the slot shows in the state first. Blocks played in between may play the new delay under
    // the old figure, which no host can avoid; the session goes on once the host has been told,
    // that is when the live instance reports the latency another instance given the same state
    // does.
    bool WaitForSlot(int32_t slot) {
        const std::string wanted = "PresetIndex=\"" + std::to_string(slot) + "\"";
        std::vector<uint8_t> state;
        for (int32_t wait = 0;; ++wait) {
            if (wait == 1000) return false;
            state = live_->SaveState();
            if (std::string(state.begin(), state.end()).find(wanted) != std::string::npos) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        const int32_t latency = LatencyOf(state);
        for (int32_t wait = 0; wait < 1000; ++wait) {
            if (live_->Latency() == latency) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        Fail("the host was not told the latency " + std::to_string(latency) + " of slot " + std::to_string(slot) +
             " within 2 s; it reads " + std::to_string(live_->Latency()));
        return true;
    }

    // In real time the plug-in's own thread prepares a change made inside a block from the
    // values as they are when it starts, and may read a look-ahead the block held only for a
    // moment (points that a later point in the block, or in the next, replaced). That delay
    // then plays for a block or more, with its fades, and may be gone again before the host
    // reads the latency after the block. The session waits until the plug-in has prepared the
    // values the block left: its document then agrees with itself (another instance given it
    // saves the same bytes, the figures worked out from the values included). From there on
    // the bypass lines settle within two fades, as after any change the host sees.
    void SettleLookAhead() {
        if (!latencyProbe_) latencyProbe_ = Open(true);
        if (!latencyProbe_) return;
        for (int32_t wait = 0; wait < 1000; ++wait) {
            const std::vector<uint8_t> state = live_->SaveState();
            if (latencyProbe_->LoadState(state) && SameDocument(latencyProbe_->SaveState(), state)) return;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        Fail("the plug-in's state document did not agree with itself within 2 s of a look-ahead change");
    }

    // Two documents are the same when their bytes are. Under Windows the automatic shape's
    // points, worked out from the values, may come out a last bit apart between the instance
    // that saved them and one that loads the document and works them out again (x
    // 0.033690229554086903 against 0.033690229554086897; the values themselves round-trip
    // exactly, and under Linux the points do too): there the numbers of the
    // two documents need only agree to 12 digits, which a value that differs, or a change not
    // yet prepared, never does.
    static bool SameDocument(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
        if (a == b) return true;
#if defined(_WIN32)
        return AgreeToTwelveDigits(a, b);
#else
        return false;
#endif
    }

    static bool AgreeToTwelveDigits(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
        const auto isNumberCharacter = [](uint8_t c) { return std::isdigit(c) || c == '.' || c == '-' || c == 'e' || c == '+'; };
        size_t i = 0, j = 0;
        while (i < a.size() && j < b.size()) {
            if (!std::isdigit(a[i]) || !std::isdigit(b[j])) {
                if (a[i] != b[j]) return false;
                ++i, ++j;
                continue;
            }
            size_t endA = i, endB = j;
            while (endA < a.size() && isNumberCharacter(a[endA])) ++endA;
            while (endB < b.size() && isNumberCharacter(b[endB])) ++endB;
            const double x = std::strtod(std::string(a.begin() + i, a.begin() + endA).c_str(), nullptr);
            const double y = std::strtod(std::string(b.begin() + j, b.begin() + endB).c_str(), nullptr);
            if (std::fabs(x - y) > 1e-12 * std::max(std::fabs(x), std::fabs(y))) return false;
            i = endA, j = endB;
        }
        return i == a.size() && j == b.size();
    }

    // The latency the settings in `state` give, as an instance of its own reports it once it
    // has loaded them (one instance for the whole session: a new one for each question would
    // cost more than the session itself).
    int32_t LatencyOf(const std::vector<uint8_t>& state) {
        if (!latencyProbe_) latencyProbe_ = Open(true);
        if (!latencyProbe_ || !latencyProbe_->LoadState(state)) return -1;
        return latencyProbe_->Latency();
    }

    void CheckFinite(int32_t frames) {
        if (bypassTouched_ && !CheckBypass()) return;
        for (int c = 0; c < 2; ++c)
            for (int32_t i = 0; i < frames; ++i)
                if (!std::isfinite(out_[c][static_cast<size_t>(i)])) {
                    std::ostringstream what;
                    what << "output " << out_[c][static_cast<size_t>(i)] << " at sample " << i << " of channel " << c
                         << (bypassed_ ? ", bypassed" : "");
                    return Fail(what.str());
                }
    }

    // "Mid", "Side" and "Mid + Side" give each output channel g_M M + g_S S or M - S alike, with
    // M = (L + R) / 2 and S = (L - R) / 2: at most the bound times |M| + |S| = max(|L|, |R|). While
    // such a mode is asked for, and as long after as input stays in the plug-in (a switch waits
    // for the latency), each channel is held to the louder input.
    void NoteChannelMixing(int32_t frames) {
        const int32_t index = Parameters().channelMode;
        if (index < 0 || static_cast<size_t>(index) >= values_.size()) return;
        const auto mode = std::lround(values_[static_cast<size_t>(index)] * 6.0);
        if (mode >= 3 && mode <= 5) mixesChannelsUntil_ = samples_ + frames + kInputMemory;
    }

    // Per channel: block peaks of the input over the last kInputMemory samples (of both
    // channels while a mode mixes them). Broken samples (NaN, infinities) play as silence, so
    // they count as silence here: a burst is no licence for a loud output afterwards.
    void CheckBound(int32_t frames, double blockBound) {
        bounds_.push_back({samples_ + frames, blockBound});
        while (bounds_.size() > 1 && bounds_.front().first < samples_ - kBoundMemory) bounds_.pop_front();
        double boundDb = 0.0;
        for (const auto& entry : bounds_) boundDb = std::max(boundDb, entry.second);
        if (frames == 0 || boundDb == kInfinity || (bypassTouched_ && !CheckBypass()) || settings_.realTime) return;
        const double bound = std::pow(10.0, boundDb / 20.0);
        for (int c = 0; c < 2; ++c) {
            double inputPeak = 0.0, outputPeak = 0.0;
            for (int32_t i = 0; i < frames; ++i) {
                inputPeak = std::max(inputPeak, FinitePart(block_in_[c][static_cast<size_t>(i)]));
                outputPeak = std::max<double>(outputPeak, std::fabs(out_[c][static_cast<size_t>(i)]));
            }
            for (const auto& entry : inputPeaks_[c]) inputPeak = std::max(inputPeak, entry.second);
            if (samples_ < mixesChannelsUntil_) {
                for (int32_t i = 0; i < frames; ++i)
                    inputPeak = std::max(inputPeak, FinitePart(block_in_[1 - c][static_cast<size_t>(i)]));
                for (const auto& entry : inputPeaks_[1 - c]) inputPeak = std::max(inputPeak, entry.second);
            }
            if (outputPeak > bound * inputPeak * (1.0 + 1e-6) + 1e-30) {
                std::ostringstream what;
                what << "channel " << c << " peak " << outputPeak << " over input peak " << inputPeak << " x "
                     << boundDb << " dB; host values:";
                for (size_t k = 0; k < 29; ++k) what << " " << k << "=" << values_[k];
                for (int32_t i = 0; i < frames; ++i)
                    if (std::fabs(out_[c][static_cast<size_t>(i)]) == outputPeak)
                        what << "; the peak at " << i << ", input there " << block_in_[c][static_cast<size_t>(i)];
                const std::vector<double> actual = Values(*live_);
                for (size_t k = 0; k < actual.size(); ++k)
                    if (actual[k] != values_[k]) what << "; host value " << k << " is " << actual[k] << " not " << values_[k];
                return Fail(what.str());
            }
        }
    }

    void CheckBypassIdentity(int32_t frames) {
        if (!bypassed_) return;
        if (latencyTakenAt_ == kNever) return;
        const int64_t from = std::max(bypassSince_ + kBypassSettle, latencyTakenAt_ + kBypassSettle);
        for (int c = 0; c < 2; ++c)
            for (int32_t i = 0; i < frames; ++i) {
                const int64_t t = samples_ + i;
                if (t < from) continue;
                const int64_t source = t - latency_;
                const float in = source < restartedAt_ ? 0.0f
                                 : source >= samples_ ? block_in_[c][static_cast<size_t>(source - samples_)]
                                                      : history_[c][static_cast<size_t>(source)];
                if (!std::isfinite(in)) continue;
                if (out_[c][static_cast<size_t>(i)] != in) {
                    std::ostringstream what;
                    what << "bypassed since sample " << bypassSince_ << ", latency " << latency_ << ": channel " << c
                         << " sample " << t << " is " << out_[c][static_cast<size_t>(i)] << ", the input " << latency_
                         << " samples earlier " << in;
                    return Fail(what.str());
                }
            }
    }

    void Remember(int32_t frames) {
        for (int c = 0; c < 2; ++c) {
            double peak = 0.0;
            for (int32_t i = 0; i < frames; ++i) peak = std::max(peak, FinitePart(block_in_[c][static_cast<size_t>(i)]));
            inputPeaks_[c].push_back({samples_ + frames, peak});
            while (!inputPeaks_[c].empty() && inputPeaks_[c].front().first < samples_ + frames - kInputMemory)
                inputPeaks_[c].pop_front();
            history_[c].insert(history_[c].end(), block_in_[c].begin(), block_in_[c].end());
        }
    }

    void CompareTwin(const std::vector<float> (&twinOut)[2], int32_t frames) {
        for (int c = 0; c < 2; ++c)
            for (int32_t i = 0; i < frames; ++i)
                if (!SameBits(twinOut[c][static_cast<size_t>(i)], out_[c][static_cast<size_t>(i)])) {
                    std::ostringstream what;
                    what << "an instance restored from the live state " << samples_ + i - twinStart_
                         << " samples ago differs: channel " << c << ", " << twinOut[c][static_cast<size_t>(i)]
                         << " where the live instance gives " << out_[c][static_cast<size_t>(i)] << "; latency "
                         << latency_ << "/" << twin_->Latency() << ", bypassed " << bypassed_ << ", events since:"
                         << twinLog_.str();
                    twin_.reset();
                    return Fail(what.str());
                }
        if (--twinBlocksLeft_ <= 0) twin_.reset();
    }

    // A fresh instance with the live state: the latency it reports, an impulse through it (dry:
    // unchanged and exactly that late; as set: nowhere else), and a twin that continues with the
    // restarted live instance.
    void Checkpoint() {
        ++checkpoints_;
        const std::vector<uint8_t> state = live_->SaveState();
        savedStates_.push_back(state);
        for (bool dry : {true, false}) {
            std::unique_ptr<Face> probe = Open(true);
            if (!probe) return;
            if (!probe->LoadState(state)) return Fail("a fresh instance refused the live state");
            if (dry) ExpectSaves(*probe, state, "a fresh instance given the live state");
            if (dry) probe->Automate(Parameters().dryWet, 0.0);
            const int32_t block = settings_.maxBlock;
            std::vector<std::vector<float>> silence(2, std::vector<float>(4800, 0.0f));
            probe->Render(silence, block);
            const int32_t latency = probe->Latency();
            if (latency != latency_ && !settings_.realTime) {
                std::ostringstream what;
                what << "a fresh instance with the live state reports latency " << latency << ", the live one " << latency_;
                Fail(what.str());
            }
            std::vector<std::vector<float>> impulse(2, std::vector<float>(static_cast<size_t>(latency + 2 * block + 64), 0.0f));
            impulse[0][0] = impulse[1][0] = 0.5f;
            const auto out = probe->Render(impulse, block);
            for (int c = 0; c < 2; ++c) {
                bool wrong = dry && out[c][static_cast<size_t>(latency)] != 0.5f;
                std::ostringstream heard;
                for (size_t i = 0; i < out[c].size(); ++i) {
                    if (out[c][i] == 0.0f) continue;
                    wrong = wrong || static_cast<int32_t>(i) != latency;
                    heard << " " << out[c][i] << " at " << i;
                }
                if (wrong)
                    return Fail(std::string(dry ? "dry" : "as set") + ", reported latency " + std::to_string(latency) +
                                ": an impulse on channel " + std::to_string(c) + " gives" + heard.str());
            }
        }
        if (settings_.realTime) {
            live_->Restart();
            restartedAt_ = samples_;
            return;
        }
        twin_ = Open();
        if (!twin_) return;
        if (!twin_->LoadState(state)) return Fail("the twin refused the live state");
        if (bypassSupported_) {
            // In VST 3 the switch is a parameter point for the twin's next block: handed over at
            // once, as the live instance's was long ago, or a state loaded before that block
            // would bring its own bypass to the live instance only and the point would then
            // switch the twin back.
            twin_->Bypass(bypassed_);
            twin_->Flush();
        }
        live_->Restart();
        restartedAt_ = samples_;
        twinStart_ = samples_;
        twinLog_.str("");
        twinBlocksLeft_ = 40;
    }

    FaceKind kind_;
    uint32_t seed_;
    int32_t blocks_;
    std::mt19937 random_;
    FaceSettings settings_;
    std::vector<Programme> programmes_;
    std::unique_ptr<Face> live_, twin_, latencyProbe_;
    std::vector<double> values_;
    std::ostringstream twinLog_;
    Flags flags_;
    std::vector<std::vector<uint8_t>> savedStates_;
    std::vector<float> block_in_[4], out_[2], history_[2];
    std::deque<std::pair<int64_t, double>> inputPeaks_[2], bounds_;
    int64_t mixesChannelsUntil_ = -1;
    bool bypassSupported_ = false, bypassed_ = false, bypassTouched_ = false, slotsSupported_ = false;
    int32_t slotWanted_ = -1, slots_ = 0;
    int64_t bypassSince_ = 0, latencySince_ = 0, latencyTakenAt_ = 0, samples_ = 0, twinStart_ = 0, restartedAt_ = 0;
    int32_t block_ = 0, latency_ = 0, largestLatency_ = 0, twinBlocksLeft_ = 0, failures_ = 0;
    int32_t checkpoints_ = 0, bypassToggles_ = 0, automations_ = 0, loads_ = 0, programs_ = 0, bursts_ = 0;
};

class TandrelMiniLibrarySession : public ::testing::TestWithParam<FaceKind> {};
class TandrelMiniLibraryRandomSession : public ::testing::TestWithParam<FaceKind> {};

TEST_P(TandrelMiniLibraryRandomSession, RandomSessionsKeepTheirInvariants) {
    if (const char* only = std::getenv("TANDREL_SESSION_FACE"); only && FaceName({GetParam(), 0}) != std::string(only) &&
                                                                 std::string(only) != (GetParam() == FaceKind::kVst2 ? "vst2" : "vst3"))
        GTEST_SKIP() << "only " << only;
    std::vector<uint32_t> seeds = kCiSeeds;
    int32_t blocks = kCiBlocks;
    // Under ThreadSanitizer the first seed alone: its session meets every kind of event (state
    // loads, slot switches, restarts, checkpoints with fresh instances) with the plug-in's
    // threads running; the other seeds add sound, which the other builds hear.
    if (KivSanitizer::kThreads) seeds.resize(1);
    if (const int32_t count = EnvironmentNumber("TANDREL_SESSION_SEEDS", 0); count > 0) {
        const auto first = static_cast<uint32_t>(EnvironmentNumber("TANDREL_SESSION_FIRST_SEED", 1));
        seeds.clear();
        for (int32_t i = 0; i < count; ++i) seeds.push_back(first + static_cast<uint32_t>(i));
        blocks = EnvironmentNumber("TANDREL_SESSION_BLOCKS", 20000);
    }
    blocks = EnvironmentNumber("TANDREL_SESSION_BLOCKS", blocks);
    for (uint32_t seed : seeds) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        Session(GetParam(), seed, blocks).Run();
    }
}

// Sessions that once failed, kept at the length that reaches the failure.
// VST 2.4 seed 404, block 6237: an expander whose shape lifts silence keyed by the external
// side-chain, silent there, after a restart: the main signal came out 10^11 times louder
// (gain = output / level at a detector level of 10^-30). The gain stage now counts a level
// below the shapes' -140 dB as -140 dB.
TEST(TandrelMiniLibrarySessionSeeds, ASilentKeyWithAnExpanderThatLiftsSilence) {
    if (KivSanitizer::kThreads) GTEST_SKIP() << "a matter of sound, heard in the other builds";
    Session(FaceKind::kVst2, 404, 6240).Run();
}

// A host that stops and starts processing (a transport jump) hears the plug-in as a new
// instance would: 5 ms of look-ahead (240 samples at 48 kHz, reported as the latency) delay an
// impulse by exactly that much, and nothing of the noise played before the stop comes out.
TEST_P(TandrelMiniLibrarySession, RestartedProcessingKeepsTheLatencyAndForgetsTheAudioBefore) {
    std::unique_ptr<Face> face = MakeFace(GetParam());
    ASSERT_TRUE(face->Open({kSampleRate, 256})) << face->Error();
    face->Set("Look-ahead (Dynamic detection)", std::pow(0.005, 0.25));
    std::vector<std::vector<float>> noise(2, std::vector<float>(4800));
    std::mt19937 random(5);
    for (auto& channel : noise)
        for (float& sample : channel) sample = std::uniform_real_distribution<float>(-0.5f, 0.5f)(random);
    face->Render(noise, 256);
    EXPECT_EQ(face->Latency(), 240);
    EXPECT_EQ(face->Display("Look-ahead (Dynamic detection)"), "5.0 ms");
    face->Restart();
    std::vector<std::vector<float>> impulse(2, std::vector<float>(1024, 0.0f));
    impulse[0][0] = impulse[1][0] = 0.25f;
    const auto out = face->Render(impulse, 256);
    EXPECT_EQ(face->Latency(), 240);
    for (int c = 0; c < 2; ++c)
        for (size_t i = 0; i < out[c].size(); ++i) EXPECT_EQ(out[c][i], i == 240 ? 0.25f : 0.0f) << "sample " << i;
}

// A restarted instance plays the settings it has as a new instance given them does, whatever
// played before and whenever the last change came: here the release mode moves from Manual
// to another just before the host stops and starts processing, with no block between, and a
// loud tone (far over -12 dB at 4:1, attack and RMS length 0) then finds the detector
// releasing between its peaks as a new instance's does, not at the manual release time from
// before the stop.
TEST_P(TandrelMiniLibrarySession, RestartedProcessingPlaysItsSettingsAsANewInstanceDoes) {
    for (int32_t mode : {1, 2, 3, 4, 5}) {
        std::unique_ptr<Face> live = MakeFace(GetParam());
        ASSERT_TRUE(live->Open({kSampleRate, 256})) << live->Error();
        live->Set("Threshold (Processor 1)", Threshold(-12.0));
        live->Set("Ratio (Processor 1)", RatioCode(4.0));
        live->Set("Attack (Dynamic detection)", 0.0);
        live->Set("RMS length (Dynamic detection)", 0.0);
        std::vector<std::vector<float>> tone(2, std::vector<float>(2400));
        for (size_t i = 0; i < tone[0].size(); ++i)
            tone[0][i] = tone[1][i] = static_cast<float>(0.9 * std::sin(6.283185307179586 * 1000.0 * static_cast<double>(i) / kSampleRate));
        live->Render(tone, 256);
        live->Set("Release mode (Dynamic detection)", mode / 5.0);
        live->Flush();
        live->Restart();
        std::unique_ptr<Face> twin = MakeFace(GetParam());
        ASSERT_TRUE(twin->Open({kSampleRate, 256})) << twin->Error();
        ASSERT_TRUE(twin->LoadState(live->SaveState()));
        const std::string name = twin->Display("Release mode (Dynamic detection)");
        const auto heard = live->Render(tone, 256);
        const auto expected = twin->Render(tone, 256);
        for (int c = 0; c < 2; ++c)
            for (size_t i = 0; i < tone[0].size(); ++i)
                ASSERT_TRUE(SameBits(heard[c][i], expected[c][i]))
                    << name << ", channel " << c << " sample " << i << ": " << heard[c][i] << " where a new instance gives " << expected[c][i];
    }
}

// With every processor and the gate off only the gains and the dry/wet blend remain, the same
// blend as over any shape: at 50% and +6 dB of input gain the output is the input times
// 0.5 x 10^(6/20) + 0.5, and at 0% ("no processing at all") the input itself.
TEST_P(TandrelMiniLibrarySession, WithEveryProcessorOffDryWetBlendsTheDrySignal) {
    for (double wet : {0.5, 0.0}) {
        std::unique_ptr<Face> face = MakeFace(GetParam());
        ASSERT_TRUE(face->Open({kSampleRate, 256})) << face->Error();
        face->Set("Processor 1 (Processor 1)", 0.0);
        face->Set("Dry/wet (General parameters)", wet);
        face->Set("Input gain (General parameters)", (6.0 + 24.0) / 48.0);
        std::vector<std::vector<float>> signal(2, std::vector<float>(2048));
        for (size_t i = 0; i < signal[0].size(); ++i)
            signal[0][i] = signal[1][i] = static_cast<float>(0.3 * std::sin(0.01 * static_cast<double>(i)));
        const auto out = face->Render(signal, 256);
        EXPECT_EQ(face->Display("Input gain (General parameters)"), "+6.00 dB");
        const double factor = wet * std::pow(10.0, 6.0 / 20.0) + (1.0 - wet);
        for (size_t i = 1024; i < signal[0].size(); ++i) {
            if (wet == 0.0) ASSERT_EQ(out[0][i], signal[0][i]) << "sample " << i;
            else ASSERT_NEAR(out[0][i], signal[0][i] * factor, 1e-6) << "sample " << i;
        }
    }
}

// The bypass belongs to the instance, not to its settings: a factory program chosen while
// bypassed leaves it bypassed (the output is the input itself), and a whole state loaded back
// brings its own bypass in VST 3, whose host reads it from the Bypass parameter, while in VST
// 2.4 the host that switched the soft bypass keeps it. Processed, +6 dB of input gain at the
// default ratio 1:1 give the input times 10^(6/20).
TEST_P(TandrelMiniLibrarySession, ProgramsAndStatesLeaveTheHostsBypassAlone) {
    std::unique_ptr<Face> face = MakeFace(GetParam());
    ASSERT_TRUE(face->Open({kSampleRate, 256})) << face->Error();
    ASSERT_TRUE(face->Bypass(false));
    face->Set("Input gain (General parameters)", (6.0 + 24.0) / 48.0);
    std::vector<std::vector<float>> signal(2, std::vector<float>(4096));
    for (size_t i = 0; i < signal[0].size(); ++i)
        signal[0][i] = signal[1][i] = static_cast<float>(0.3 * std::sin(0.013 * static_cast<double>(i)));
    const double gain = std::pow(10.0, 6.0 / 20.0);
    const auto heard = [&](const char* when, bool bypassed) {
        const auto out = face->Render(signal, 256);
        // A program may bring a look-ahead: bypassed, the input comes out that much later.
        const auto latency = static_cast<size_t>(face->Latency());
        ASSERT_TRUE(bypassed || latency == 0) << when;
        for (size_t i = 2048; i < signal[0].size(); ++i) {
            if (bypassed) ASSERT_EQ(out[0][i], signal[0][i - latency]) << when << ", sample " << i;
            else ASSERT_NEAR(out[0][i], signal[0][i] * gain, 1e-6) << when << ", sample " << i;
        }
    };
    heard("processing", false);
    const std::vector<uint8_t> processing = face->SaveState();
    face->Bypass(true);
    heard("bypassed", true);
    if (face->ProgramCount() > 1) {
        face->SelectProgram(1);
        heard("bypassed, a program chosen", true);
    }
    ASSERT_TRUE(face->LoadState(processing));
    const bool stateBringsBypass = GetParam() == FaceKind::kVst3;
    EXPECT_EQ(face->IsBypassed(), !stateBringsBypass);
    heard("a state saved while processing loaded", !stateBringsBypass);
}

INSTANTIATE_TEST_SUITE_P(Faces, TandrelMiniLibrarySession, ::testing::Values(FaceKind::kVst2, FaceKind::kVst3), FaceName);
INSTANTIATE_TEST_SUITE_P(Faces, TandrelMiniLibraryRandomSession,
                         ::testing::Values(FaceKind::kVst2, FaceKind::kVst3, FaceKind::kVst3RealTime), FaceName);

}  // namespace
