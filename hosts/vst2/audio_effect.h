#pragma once
#include <cstdint>
#include <memory>

#include "hosts/vst2/aeff_editor.h"
#include "hosts/vst2/vst2_abi.h"

// The base of a VST 2 effect: owns the AEffect record the host sees, routes the host's
// calls to virtual operations and offers the basic calls back to the host. The operation
// names are the interface's own. Every entry from the host runs inside the framework's
// boundary handler, so an exception in an override reaches the host as a neutral result.
class AudioEffect {
public:
    AudioEffect(audioMasterCallback audioMaster, int32_t numPrograms, int32_t numParams);
    virtual ~AudioEffect();
    AudioEffect(const AudioEffect&) = delete;
    AudioEffect& operator=(const AudioEffect&) = delete;

    AEffect* getAeffect() { return &effect_; }
    const AEffect* getAeffect() const { return &effect_; }
    // The object behind a record built by this class; null for a foreign or null record.
    static AudioEffect* FromAeffect(AEffect* effect);

    // Maps one host opcode to the operations below; unknown opcodes answer 0.
    virtual intptr_t dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);

    // ---- Called by the host ------------------------------------------------------------
    virtual void open() {}
    virtual void close() {}
    virtual void suspend() {}
    virtual void resume() {}
    virtual void setSampleRate(float sampleRate) { sampleRate_ = sampleRate; }
    virtual void setBlockSize(int32_t blockSize) { blockSize_ = blockSize; }

    virtual void setProgram(int32_t program) { currentProgram_ = program; }
    virtual int32_t getProgram() { return currentProgram_; }
    virtual void setProgramName(char* /*name*/) {}
    virtual void getProgramName(char* name) { *name = '\0'; }

    virtual void setParameter(int32_t /*index*/, float /*value*/) {}
    virtual float getParameter(int32_t /*index*/) { return 0.0f; }
    virtual void getParameterLabel(int32_t /*index*/, char* label) { *label = '\0'; }
    virtual void getParameterDisplay(int32_t /*index*/, char* text) { *text = '\0'; }
    virtual void getParameterName(int32_t /*index*/, char* text) { *text = '\0'; }

    // The whole state as one block; `*data` stays owned by the effect until the next call.
    virtual int32_t getChunk(void** data, bool /*isPreset*/) {
        *data = nullptr;
        return 0;
    }
    virtual int32_t setChunk(void* /*data*/, int32_t /*byteSize*/, bool /*isPreset*/) { return 0; }

    // Adds its output to `outputs` (the pre-2.4 way); most hosts use processReplacing.
    virtual void process(float** /*inputs*/, float** /*outputs*/, int32_t /*sampleFrames*/) {}
    virtual void processReplacing(float** inputs, float** outputs, int32_t sampleFrames) = 0;
    virtual void processDoubleReplacing(double** /*inputs*/, double** /*outputs*/, int32_t /*sampleFrames*/) {}

    // ---- Set up by the effect ----------------------------------------------------------
    void setUniqueID(int32_t id) { effect_.uniqueID = id; }
    void setNumInputs(int32_t count) { effect_.numInputs = count; }
    void setNumOutputs(int32_t count) { effect_.numOutputs = count; }
    void setInitialDelay(int32_t samples) { VstSetInitialDelay(effect_, samples); }
    void setNumPrograms(int32_t count) { effect_.numPrograms = count; }
    void canProcessReplacing(bool state = true) { setFlag(effFlagsCanReplacing, state); }
    void canDoubleReplacing(bool state = true) { setFlag(effFlagsCanDoubleReplacing, state); }
    void programsAreChunks(bool state = true) { setFlag(effFlagsProgramChunks, state); }
    // Takes ownership; an effect with an editor says so in its flags.
    void setEditor(AEffEditor* editor);
    AEffEditor* getEditor() const { return editor_.get(); }

    float getSampleRate() const { return sampleRate_; }
    int32_t getBlockSize() const { return blockSize_; }
    int32_t getNumParams() const { return effect_.numParams; }

    // ---- Calls to the host -------------------------------------------------------------
    // The host's interface version (2400 for a 2.4 host); 0 without a host.
    virtual int32_t getMasterVersion();
    virtual int32_t getCurrentUniqueId();
    virtual void masterIdle();
    // Sets the parameter and reports the change to the host, which records it as automation.
    virtual void setParameterAutomated(int32_t index, float value);

protected:
    intptr_t callHost(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                      float opt = 0.0f);
    void setFlag(int32_t flag, bool state);
    audioMasterCallback getAudioMaster() const { return audioMaster_; }

private:
    intptr_t dispatchProgram(int32_t opcode, int32_t index, intptr_t value, void* ptr);
    intptr_t dispatchEditor(int32_t opcode, void* ptr);

    AEffect effect_;
    audioMasterCallback audioMaster_;
    std::unique_ptr<AEffEditor> editor_;
    float sampleRate_ = 44100.0f;
    int32_t blockSize_ = 1024;
    int32_t currentProgram_ = 0;
};
