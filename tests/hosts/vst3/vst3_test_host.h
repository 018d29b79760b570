#pragma once
// A small VST 3 host on our own interface declarations, for the tests: the host objects a
// plug-in talks to (stream, parameter changes, events, component handler, application) and
// a loaded library with its factory. Every object lives on the test's stack; reference
// counts are kept but never free anything.
#include <algorithm>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "hosts/vst3/interfaces/icomponenthandler.h"
#include "hosts/vst3/interfaces/ieditcontroller.h"
#include "hosts/vst3/interfaces/ievents.h"
#include "hosts/vst3/interfaces/ihostapplication.h"
#include "hosts/vst3/interfaces/iparameterchanges.h"
#include "hosts/vst3/interfaces/ipluginfactory.h"
#include "platform/kiv_dynamic_library.h"

namespace Vst3TestHost {

using namespace Steinberg;
using namespace Steinberg::Vst;

// Answers FUnknown and `Interface` for a stack object.
template <typename Interface>
class StackObject : public Interface {
public:
    tresult KIV_VST3_API queryInterface(const TUID iid, void** object) override {
        if (FUnknown::iid.Matches(iid) || Interface::iid.Matches(iid)) {
            *object = static_cast<Interface*>(this);
            addRef();
            return kResultOk;
        }
        *object = nullptr;
        return kNoInterface;
    }
    uint32 KIV_VST3_API addRef() override { return ++references; }
    uint32 KIV_VST3_API release() override { return --references; }
    uint32 references = 1;
};

class MemoryStream : public StackObject<IBStream> {
public:
    tresult KIV_VST3_API read(void* buffer, int32 numBytes, int32* numBytesRead) override {
        const auto count = std::min<size_t>(static_cast<size_t>(numBytes), bytes.size() - position);
        if (count > 0) std::memcpy(buffer, bytes.data() + position, count);  // an empty vector has no data
        position += count;
        if (numBytesRead) *numBytesRead = static_cast<int32>(count);
        return kResultOk;
    }
    tresult KIV_VST3_API write(void* buffer, int32 numBytes, int32* numBytesWritten) override {
        const auto* data = static_cast<const uint8_t*>(buffer);
        bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(position), data, data + numBytes);
        position += static_cast<size_t>(numBytes);
        if (numBytesWritten) *numBytesWritten = numBytes;
        return kResultOk;
    }
    tresult KIV_VST3_API seek(int64 pos, int32 mode, int64* result) override {
        const int64 base = mode == kIBSeekSet ? 0 : mode == kIBSeekCur ? static_cast<int64>(position)
                                                                       : static_cast<int64>(bytes.size());
        position = static_cast<size_t>(std::clamp<int64>(base + pos, 0, static_cast<int64>(bytes.size())));
        if (result) *result = static_cast<int64>(position);
        return kResultOk;
    }
    tresult KIV_VST3_API tell(int64* pos) override {
        *pos = static_cast<int64>(position);
        return kResultOk;
    }
    std::vector<uint8_t> bytes;
    size_t position = 0;
};

class ValueQueue : public StackObject<IParamValueQueue> {
public:
    explicit ValueQueue(ParamID parameter) : id(parameter) {}
    ParamID KIV_VST3_API getParameterId() override { return id; }
    int32 KIV_VST3_API getPointCount() override { return static_cast<int32>(points.size()); }
    tresult KIV_VST3_API getPoint(int32 index, int32& offset, ParamValue& value) override {
        if (index < 0 || index >= getPointCount()) return kInvalidArgument;
        offset = points[static_cast<size_t>(index)].first;
        value = points[static_cast<size_t>(index)].second;
        return kResultOk;
    }
    tresult KIV_VST3_API addPoint(int32 offset, ParamValue value, int32& index) override {
        index = getPointCount();
        points.emplace_back(offset, value);
        return kResultOk;
    }
    ParamID id;
    std::vector<std::pair<int32, ParamValue>> points;
};

class ParameterChanges : public StackObject<IParameterChanges> {
public:
    int32 KIV_VST3_API getParameterCount() override { return static_cast<int32>(queues.size()); }
    IParamValueQueue* KIV_VST3_API getParameterData(int32 index) override {
        return index >= 0 && index < getParameterCount() ? &queues[static_cast<size_t>(index)] : nullptr;
    }
    IParamValueQueue* KIV_VST3_API addParameterData(const ParamID& id, int32& index) override {
        index = getParameterCount();
        queues.emplace_back(id);
        return &queues.back();
    }
    void Add(ParamID id, std::vector<std::pair<int32, ParamValue>> points) {
        queues.emplace_back(id);
        queues.back().points = std::move(points);
    }
    std::vector<ValueQueue> queues;
};

class EventList : public StackObject<IEventList> {
public:
    int32 KIV_VST3_API getEventCount() override { return static_cast<int32>(events.size()); }
    tresult KIV_VST3_API getEvent(int32 index, Event& event) override {
        if (index < 0 || index >= getEventCount()) return kInvalidArgument;
        event = events[static_cast<size_t>(index)];
        return kResultOk;
    }
    tresult KIV_VST3_API addEvent(Event& event) override {
        events.push_back(event);
        return kResultOk;
    }
    std::vector<Event> events;
};

struct Edit {
    char kind;  // 'b'egin, 'p'erform, 'e'nd
    ParamID id;
    ParamValue value;
    bool operator==(const Edit& other) const {
        return kind == other.kind && id == other.id && value == other.value;
    }
};

// Records the edits and restarts, and the thread of every call; like many hosts, it may
// answer performEdit by setting the parameter on the controller at once.
class ComponentHandler : public StackObject<IComponentHandler> {
public:
    tresult KIV_VST3_API beginEdit(ParamID id) override { return Record({'b', id, 0.0}); }
    tresult KIV_VST3_API performEdit(ParamID id, ParamValue value) override {
        Record({'p', id, value});
        if (echoTo) echoTo->setParamNormalized(id, value);
        return kResultOk;
    }
    tresult KIV_VST3_API endEdit(ParamID id) override { return Record({'e', id, 0.0}); }
    tresult KIV_VST3_API restartComponent(int32 flags) override {
        std::lock_guard<std::mutex> guard(lock);
        restarts.push_back(flags);
        threads.push_back(std::this_thread::get_id());
        return kResultOk;
    }
    tresult Record(const Edit& edit) {
        std::lock_guard<std::mutex> guard(lock);
        edits.push_back(edit);
        threads.push_back(std::this_thread::get_id());
        return kResultOk;
    }
    std::mutex lock;
    std::vector<Edit> edits;
    std::vector<int32> restarts;
    std::vector<std::thread::id> threads;
    IEditController* echoTo = nullptr;
};

class HostApplication : public StackObject<IHostApplication> {
public:
    tresult KIV_VST3_API getName(String128 name) override {
        const char16_t text[] = u"Test Host";
        std::memcpy(name, text, sizeof(text));
        return kResultOk;
    }
    tresult KIV_VST3_API createInstance(TUID, TUID, void** object) override {
        *object = nullptr;
        return kNotImplemented;
    }
};

// Asks `object` for `Interface`; null when it has none.
template <typename Interface>
Interface* Query(FUnknown* object) {
    void* result = nullptr;
    if (!object || object->queryInterface(Interface::iid.bytes, &result) != kResultOk) return nullptr;
    return static_cast<Interface*>(result);
}

inline std::u16string FromString128(const String128 text) {
    std::u16string result;
    for (int i = 0; i < 128 && text[i]; ++i) result.push_back(text[i]);
    return result;
}

}  // namespace Vst3TestHost
