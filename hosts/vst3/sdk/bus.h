#pragma once
#include <string>

#include "hosts/vst3/interfaces/icomponent.h"

namespace Steinberg::Vst {

// One bus of a component: name, type, flags and whether the host activated it.
class Bus {
public:
    Bus(std::u16string name, BusType busType, int32 flags) : name_(std::move(name)), busType_(busType), flags_(flags) {}
    virtual ~Bus() = default;

    bool IsActive() const noexcept { return active_; }
    void SetActive(bool state) noexcept { active_ = state; }
    const std::u16string& GetName() const noexcept { return name_; }
    BusType GetBusType() const noexcept { return busType_; }
    // Fills everything but the media type and direction, which the bus list knows.
    virtual void GetInfo(BusInfo& info) const;

protected:
    virtual int32 ChannelCount() const = 0;

private:
    std::u16string name_;
    BusType busType_;
    int32 flags_;
    bool active_ = false;
};

class AudioBus : public Bus {
public:
    AudioBus(std::u16string name, BusType busType, int32 flags, SpeakerArrangement arrangement)
        : Bus(std::move(name), busType, flags), arrangement_(arrangement) {}

    SpeakerArrangement GetArrangement() const noexcept { return arrangement_; }
    void SetArrangement(SpeakerArrangement arrangement) noexcept { arrangement_ = arrangement; }

protected:
    int32 ChannelCount() const override;

private:
    SpeakerArrangement arrangement_;
};

class EventBus : public Bus {
public:
    EventBus(std::u16string name, BusType busType, int32 flags, int32 channelCount)
        : Bus(std::move(name), busType, flags), channelCount_(channelCount) {}

protected:
    int32 ChannelCount() const override { return channelCount_; }

private:
    int32 channelCount_;
};

}  // namespace Steinberg::Vst
