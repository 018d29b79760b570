// The AudioEffect/AudioEffectX bases seen from the host's side: everything goes through the
// function pointers of the AEffect record, as a host calls them.
#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/kiv_exception.h"
#include "base/kiv_trace.h"
#include "hosts/vst2/audio_effect_x.h"
#include "hosts/vst2/vst2_text.h"

namespace {

// ---- A host that records every call it gets ---------------------------------------------

struct HostCall {
    int32_t opcode;
    int32_t index;
    intptr_t value;
    void* ptr;
    float opt;
};

std::vector<HostCall> gHostCalls;
intptr_t gHostAnswer = 0;

intptr_t RecordingHost(AEffect*, int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
    gHostCalls.push_back({opcode, index, value, ptr, opt});
    return opcode == audioMasterVersion && gHostAnswer == 0 ? 0 : gHostAnswer;
}

std::vector<std::string> gTraces;
void RecordTrace(const KivString& text) { gTraces.push_back(text.ToUTF8()); }

// ---- An effect that records its calls and fails on request --------------------------------

struct Probe {
    std::vector<std::string> calls;
    bool throwStandard = false;
    bool throwKiv = false;
    int destroyed = 0;
};

class ProbeEditor : public AEffEditor {
public:
    bool getRect(ERect** rect) override {
        *rect = &rect_;
        return true;
    }
    bool onKeyDown(VstKeyCode& key) override {
        lastKey = key;
        return true;
    }
    VstKeyCode lastKey{};

private:
    ERect rect_{0, 0, 300, 400};
};

class ProbeEffect : public AudioEffectX {
public:
    ProbeEffect(Probe& probe, audioMasterCallback host) : AudioEffectX(host, 1, 3), probe_(probe) {}
    ~ProbeEffect() override { ++probe_.destroyed; }

    void open() override { Note("open"); }
    void close() override { Note("close"); }
    void suspend() override { Note("suspend"); }
    void resume() override { Note("resume"); }
    void setParameter(int32_t index, float value) override {
        Note("setParameter");
        values_[index] = value;
    }
    float getParameter(int32_t index) override {
        Note("getParameter");
        return values_[index];
    }
    void getParameterName(int32_t, char* text) override {
        std::strcpy(text, "half");  // a failure after this must not leave it for the host
        Note("getParameterName");
        std::strcpy(text, "Name");
    }
    void processReplacing(float**, float**, int32_t) override { Note("processReplacing"); }
    void process(float**, float**, int32_t) override { Note("process"); }
    int32_t processEvents(VstEvents* events) override {
        Note("processEvents");
        return events->numEvents;
    }
    int32_t canDo(char* text) override { return std::strcmp(text, "yes") == 0 ? 1 : -1; }
    int32_t getChunk(void** data, bool isPreset) override {
        *data = values_;
        return isPreset ? 4 : 12;
    }
    int32_t setChunk(void*, int32_t byteSize, bool) override { return byteSize; }
    bool setSpeakerArrangement(VstSpeakerArrangement* input, VstSpeakerArrangement* output) override {
        return input && output && input->numChannels == 2 && output->numChannels == 2;
    }

    float values_[3] = {0.0f, 0.0f, 0.0f};

private:
    void Note(const char* call) {
        probe_.calls.push_back(call);
        if (probe_.throwKiv) throw KivException("planned");
        if (probe_.throwStandard) throw std::runtime_error("planned");
    }
    Probe& probe_;
};

class AudioEffectTest : public ::testing::Test {
protected:
    void SetUp() override {
        gHostCalls.clear();
        gHostAnswer = 0;
        gTraces.clear();
        previousSink_ = KivTrace::SetSink(RecordTrace);
        effect_ = (new ProbeEffect(probe_, RecordingHost))->getAeffect();
    }
    void TearDown() override {
        if (effect_) Dispatch(effClose);
        KivTrace::SetSink(previousSink_);
    }
    intptr_t Dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr, float opt = 0) {
        return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
    }
    ProbeEffect& Object() { return *static_cast<ProbeEffect*>(AudioEffect::FromAeffect(effect_)); }

    Probe probe_;
    AEffect* effect_ = nullptr;
    KivTrace::Sink previousSink_ = nullptr;
};

}  // namespace

TEST_F(AudioEffectTest, ConstructorFillsTheRecordAHostReads) {
    EXPECT_EQ(effect_->magic, VstFourCharCode('V', 's', 't', 'P'));
    EXPECT_NE(effect_->dispatcher, nullptr);
    EXPECT_NE(effect_->process, nullptr);
    EXPECT_NE(effect_->processReplacing, nullptr);
    EXPECT_NE(effect_->processDoubleReplacing, nullptr);
    EXPECT_NE(effect_->setParameter, nullptr);
    EXPECT_NE(effect_->getParameter, nullptr);
    EXPECT_EQ(effect_->numPrograms, 1);
    EXPECT_EQ(effect_->numParams, 3);
    EXPECT_FLOAT_EQ(effect_->ioRatio, 1.0f);
    EXPECT_EQ(effect_->flags & effFlagsHasEditor, 0);
    Object().setEditor(new ProbeEditor);
    EXPECT_NE(effect_->flags & effFlagsHasEditor, 0);
    Object().canProcessReplacing();
    Object().programsAreChunks();
    Object().canProcessReplacing(false);
    EXPECT_EQ(effect_->flags, effFlagsHasEditor | effFlagsProgramChunks);
    AEffect foreign{};
    EXPECT_EQ(AudioEffect::FromAeffect(&foreign), nullptr);
    EXPECT_EQ(AudioEffect::FromAeffect(nullptr), nullptr);
}

TEST_F(AudioEffectTest, OpcodesReachTheirOperations) {
    Dispatch(effOpen);
    Dispatch(effMainsChanged, 0, 1);
    Dispatch(effMainsChanged, 0, 0);
    EXPECT_EQ(probe_.calls, (std::vector<std::string>{"open", "resume", "suspend"}));

    Dispatch(effSetSampleRate, 0, 0, nullptr, 96000.0f);
    Dispatch(effSetBlockSize, 0, 256);
    EXPECT_FLOAT_EQ(Object().getSampleRate(), 96000.0f);
    EXPECT_EQ(Object().getBlockSize(), 256);

    char text[kVstMaxParamStrLen] = "x";
    Dispatch(effGetParamName, 1, 0, text);
    EXPECT_STREQ(text, "Name");
    Dispatch(effGetParamDisplay, 1, 0, text);
    EXPECT_STREQ(text, "");  // the default operation answers an empty text

    char yes[] = "yes";
    char no[] = "no";
    EXPECT_EQ(Dispatch(effCanDo, 0, 0, yes), 1);
    EXPECT_EQ(Dispatch(effCanDo, 0, 0, no), -1);
    EXPECT_EQ(Dispatch(effGetVstVersion), kVstVersion);
    EXPECT_EQ(Dispatch(effGetPlugCategory), kPlugCategEffect);
    Object().isSynth();
    EXPECT_EQ(Dispatch(effGetPlugCategory), kPlugCategSynth);

    void* chunk = nullptr;
    EXPECT_EQ(Dispatch(effGetChunk, 0, 0, &chunk), 12);
    EXPECT_EQ(chunk, Object().values_);
    EXPECT_EQ(Dispatch(effGetChunk, 1, 0, &chunk), 4);  // index says "preset"
    EXPECT_EQ(Dispatch(effSetChunk, 0, 7, Object().values_), 7);

    VstEvents events{};
    events.numEvents = 1;
    EXPECT_EQ(Dispatch(effProcessEvents, 0, 0, &events), 1);
}

TEST_F(AudioEffectTest, ArrangementsAndEditorCallsPassTheirPointers) {
    VstSpeakerArrangement input{};
    VstSpeakerArrangement output{};
    input.numChannels = output.numChannels = 2;
    EXPECT_EQ(Dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(&input), &output), 1);
    VstSpeakerArrangement* gotIn = &input;
    VstSpeakerArrangement* gotOut = &output;
    EXPECT_EQ(Dispatch(effGetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(&gotIn), &gotOut), 0);
    EXPECT_EQ(gotIn, nullptr);
    EXPECT_EQ(gotOut, nullptr);

    ERect* rect = reinterpret_cast<ERect*>(1);
    EXPECT_EQ(Dispatch(effEditGetRect, 0, 0, &rect), 0);  // no editor yet
    EXPECT_EQ(rect, nullptr);
    auto* editor = new ProbeEditor;
    Object().setEditor(editor);
    EXPECT_EQ(Dispatch(effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->right, 400);
    int window = 0;
    EXPECT_EQ(Dispatch(effEditOpen, 0, 0, &window), 1);
    EXPECT_TRUE(editor->isOpen());
    EXPECT_EQ(Dispatch(effEditKeyDown, 'a', 9, nullptr, 2.0f), 1);
    EXPECT_EQ(editor->lastKey.character, 'a');
    EXPECT_EQ(editor->lastKey.virt, 9);
    EXPECT_EQ(editor->lastKey.modifier, 2);
    Dispatch(effEditClose);
    EXPECT_FALSE(editor->isOpen());
}

TEST_F(AudioEffectTest, UnknownOpcodesAndMissingPointersAnswerZero) {
    using Opcodes = std::initializer_list<int32_t>;
    for (int32_t opcode : Opcodes{-1, effGetVu, effIdentify, effGetErrorText, 80, 1000, 0x7FFFFFFF})
        EXPECT_EQ(Dispatch(opcode, 1, 1, nullptr, 1.0f), 0) << opcode;
    for (int32_t opcode : Opcodes{effGetParamName, effCanDo, effGetChunk, effProcessEvents, effGetEffectName,
                                  effGetInputProperties, effEditGetRect})
        EXPECT_EQ(Dispatch(opcode, 0, 0, nullptr), 0) << opcode;
    EXPECT_TRUE(probe_.calls.empty());
}

TEST_F(AudioEffectTest, ExceptionsNeverReachTheHost) {
    probe_.throwStandard = true;
    char text[kVstMaxParamStrLen] = "old";
    EXPECT_EQ(Dispatch(effGetParamName, 0, 0, text), 0);
    EXPECT_STREQ(text, "");  // the half-written text is gone
    EXPECT_EQ(Dispatch(effOpen), 0);
    effect_->setParameter(effect_, 0, 0.5f);
    EXPECT_EQ(effect_->getParameter(effect_, 0), 0.0f);
    float left[4] = {}, right[4] = {};
    float* channels[] = {left, right};
    effect_->processReplacing(effect_, channels, channels, 4);
    effect_->process(effect_, channels, channels, 4);
    EXPECT_EQ(probe_.calls.size(), 6u);
    // Foreign exceptions are traced with the entry's name; the framework's own are not.
    ASSERT_EQ(gTraces.size(), 6u);
    EXPECT_EQ(gTraces[0], "SYSTEM EXCEPTION! AudioEffect::dispatcher");
    EXPECT_EQ(gTraces[4], "SYSTEM EXCEPTION! AudioEffect::processReplacing");
    probe_.throwStandard = false;
    probe_.throwKiv = true;
    gTraces.clear();
    effect_->setParameter(effect_, 0, 0.5f);
    EXPECT_EQ(Dispatch(effMainsChanged, 0, 1), 0);
    EXPECT_TRUE(gTraces.empty());
}

TEST_F(AudioEffectTest, EmptyBlocksDoNotReachTheEffect) {
    float samples[4] = {};
    float* channels[] = {samples, samples};
    effect_->processReplacing(effect_, channels, channels, 0);
    effect_->processReplacing(effect_, channels, nullptr, 4);
    effect_->process(effect_, channels, channels, -1);
    effect_->processDoubleReplacing(effect_, nullptr, nullptr, 4);
    EXPECT_TRUE(probe_.calls.empty());
    effect_->processReplacing(effect_, channels, channels, 4);
    EXPECT_EQ(probe_.calls, std::vector<std::string>{"processReplacing"});
}

TEST_F(AudioEffectTest, CloseDeletesTheObjectEvenWhenCloseFails) {
    probe_.throwStandard = true;
    EXPECT_EQ(Dispatch(effClose), 1);
    effect_ = nullptr;
    EXPECT_EQ(probe_.destroyed, 1);
    EXPECT_EQ(probe_.calls, std::vector<std::string>{"close"});
}

TEST_F(AudioEffectTest, HostCallsCarryTheirArguments) {
    ProbeEffect& object = Object();
    EXPECT_EQ(object.getMasterVersion(), 1);  // a host answering 0 is a version 1 host
    gHostAnswer = 2400;
    EXPECT_EQ(object.getMasterVersion(), 2400);
    gHostCalls.clear();

    object.setParameterAutomated(2, 0.75f);
    EXPECT_FLOAT_EQ(object.values_[2], 0.75f);
    ASSERT_EQ(gHostCalls.size(), 1u);
    EXPECT_EQ(gHostCalls[0].opcode, audioMasterAutomate);
    EXPECT_EQ(gHostCalls[0].index, 2);
    EXPECT_FLOAT_EQ(gHostCalls[0].opt, 0.75f);

    gHostCalls.clear();
    VstTimeInfo time{};
    gHostAnswer = reinterpret_cast<intptr_t>(&time);
    EXPECT_EQ(object.getTimeInfo(kVstTempoValid | kVstPpqPosValid), &time);
    gHostAnswer = 1;
    EXPECT_TRUE(object.sizeWindow(640, 480));
    EXPECT_TRUE(object.beginEdit(1));
    EXPECT_TRUE(object.endEdit(1));
    EXPECT_TRUE(object.ioChanged());
    object.wantEvents();  // nothing to tell a 2.4 host
    VstEvents events{};
    EXPECT_TRUE(object.sendVstEventsToHost(&events));
    gHostAnswer = -1;
    EXPECT_EQ(object.canHostDo("sizeWindow"), -1);
    ASSERT_EQ(gHostCalls.size(), 7u);
    EXPECT_EQ(gHostCalls[0].opcode, audioMasterGetTime);
    EXPECT_EQ(gHostCalls[0].value, kVstTempoValid | kVstPpqPosValid);
    EXPECT_EQ(gHostCalls[1].opcode, audioMasterSizeWindow);
    EXPECT_EQ(gHostCalls[1].index, 640);
    EXPECT_EQ(gHostCalls[1].value, 480);
    EXPECT_EQ(gHostCalls[2].opcode, audioMasterBeginEdit);
    EXPECT_EQ(gHostCalls[3].opcode, audioMasterEndEdit);
    EXPECT_EQ(gHostCalls[4].opcode, audioMasterIOChanged);
    EXPECT_EQ(gHostCalls[5].opcode, audioMasterProcessEvents);
    EXPECT_EQ(gHostCalls[5].ptr, &events);
    EXPECT_EQ(gHostCalls[6].opcode, audioMasterCanDo);
    EXPECT_STREQ(static_cast<const char*>(gHostCalls[6].ptr), "sizeWindow");
}

TEST(AudioEffectWithoutHost, HostCallsAnswerNothing) {
    Probe probe;
    auto* effect = new ProbeEffect(probe, nullptr);
    EXPECT_EQ(effect->getMasterVersion(), 0);
    EXPECT_EQ(effect->getTimeInfo(0), nullptr);
    EXPECT_FALSE(effect->sizeWindow(10, 10));
    effect->setParameterAutomated(0, 0.5f);
    EXPECT_FLOAT_EQ(effect->values_[0], 0.5f);
    AEffect* record = effect->getAeffect();
    record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f);
    EXPECT_EQ(probe.destroyed, 1);
}

TEST(Vst2CopyText, CutsToTheHostBuffer) {
    char buffer[8];
    std::memset(buffer, 'x', sizeof(buffer));
    Vst2CopyText(buffer, "Threshold", sizeof(buffer));
    EXPECT_STREQ(buffer, "Thresho");
    Vst2CopyText(buffer, nullptr, sizeof(buffer));
    EXPECT_STREQ(buffer, "");
}
