#include "platform/posix/x11/kiv_x11_selection.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>

// Last: Xlib's macros (None, Bool, Status) would break the headers above.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include "platform/kiv_library_static.h"
#include "platform/posix/x11/kiv_x11_errors.h"

namespace KivPlatform::X11Selection {
namespace {

using KivClipboard::Result;

// An owner that does not answer within this time is taken to have gone away.
constexpr auto kReplyTimeout = std::chrono::milliseconds(2000);

std::vector<uint8_t> UpToFirstZero(const std::vector<uint8_t>& bytes) {
    size_t length = 0;
    while (length < bytes.size() && bytes[length] != 0) ++length;
    return std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
}

class Service {
public:
    Service() = default;
    Service(const Service&) = delete;
    Service& operator=(const Service&) = delete;
    ~Service() { Stop(); }

    bool Available() {
        std::lock_guard<std::mutex> guard(lock_);
        return Connect();
    }
    Result Put(const std::string& target, const uint8_t* data, int32_t size);
    Result Get(const std::string& target, std::vector<uint8_t>& data);
    void Stop();

private:
    struct Reply {
        bool pending = false;
        Result result = Result::kNoData;
        std::vector<uint8_t> data;
    };

    bool Connect();
    void Disconnect();
    void Run();
    void Wake();
    void HandleEvents();
    void Answer(const XSelectionRequestEvent& request);
    void Receive(const XSelectionEvent& notification);
    size_t LargestProperty() const;

    std::mutex lock_;  // guards everything below, the connection included
    std::mutex conversion_;  // one Get at a time owns the reply
    std::condition_variable replied_;
    Display* display_ = nullptr;
    Window window_ = 0;
    Atom clipboard_ = 0;
    Atom targets_ = 0;
    Atom incr_ = 0;
    Atom property_ = 0;
    int wake_[2] = {-1, -1};
    std::thread thread_;
    bool stopping_ = false;
    bool unreachable_ = false;
    // What is offered while the selection is ours.
    bool owning_ = false;
    Atom offered_ = 0;
    std::vector<uint8_t> data_;
    Reply reply_;
};

bool Service::Connect() {
    if (display_ != nullptr) return true;
    if (unreachable_) return false;
    const char* name = std::getenv("DISPLAY");
    Display* display = name != nullptr && *name != 0 ? XOpenDisplay(nullptr) : nullptr;
    if (display == nullptr || pipe2(wake_, O_CLOEXEC | O_NONBLOCK) != 0) {
        if (display != nullptr) XCloseDisplay(display);
        unreachable_ = true;
        return false;
    }
    display_ = display;
    // Never mapped: it exists to own the selection and to receive converted data.
    window_ = XCreateSimpleWindow(display_, DefaultRootWindow(display_), -10, -10, 1, 1, 0, 0, 0);
    clipboard_ = XInternAtom(display_, "CLIPBOARD", False);
    targets_ = XInternAtom(display_, "TARGETS", False);
    incr_ = XInternAtom(display_, "INCR", False);
    property_ = XInternAtom(display_, "KIV_CLIPBOARD_TRANSFER", False);
    // Errors on the private connection (a requestor whose window vanished before the
    // answer) are expected; they stay on it.
    X11Errors::Contain(display_);
    XFlush(display_);
    try {
        thread_ = std::thread(&Service::Run, this);
    } catch (const std::system_error&) {
        Disconnect();
        unreachable_ = true;
        return false;
    }
    return true;
}

void Service::Disconnect() {
    XDestroyWindow(display_, window_);
    XCloseDisplay(display_);
    display_ = nullptr;
    for (int& end : wake_) {
        close(end);
        end = -1;
    }
    owning_ = false;
    data_.clear();
}

void Service::Stop() {
    {
        std::lock_guard<std::mutex> guard(lock_);
        unreachable_ = false;
        if (display_ == nullptr) return;
        stopping_ = true;
        Wake();
        replied_.notify_all();
    }
    if (thread_.joinable()) thread_.join();
    std::lock_guard<std::mutex> guard(lock_);
    Disconnect();
    reply_.pending = false;
    stopping_ = false;
}

void Service::Wake() {
    const char byte = 1;
    // A full pipe already holds a wake-up.
    [[maybe_unused]] const ssize_t written = write(wake_[1], &byte, 1);
}

// Sleeps in poll() until the server or the wake pipe has something; calls from other
// threads may have read events into Xlib's queue, so each wake-up looks there too.
void Service::Run() {
    std::unique_lock<std::mutex> guard(lock_);
    while (!stopping_) {
        HandleEvents();
        pollfd fds[2] = {{ConnectionNumber(display_), POLLIN, 0}, {wake_[0], POLLIN, 0}};
        guard.unlock();
        poll(fds, 2, -1);
        guard.lock();
        char drain[64];
        while (read(wake_[0], drain, sizeof drain) > 0) {
        }
    }
}

void Service::HandleEvents() {
    while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        if (event.type == SelectionRequest) Answer(event.xselectionrequest);
        if (event.type == SelectionNotify) Receive(event.xselection);
        if (event.type == SelectionClear && event.xselectionclear.selection == clipboard_) {
            owning_ = false;
            data_.clear();
        }
    }
}

size_t Service::LargestProperty() const {
    const long units = XExtendedMaxRequestSize(display_) > 0 ? XExtendedMaxRequestSize(display_) : XMaxRequestSize(display_);
    return static_cast<size_t>(units) * 4 - 100;
}

void Service::Answer(const XSelectionRequestEvent& request) {
    XSelectionEvent reply{};
    reply.type = SelectionNotify;
    reply.display = request.display;
    reply.requestor = request.requestor;
    reply.selection = request.selection;
    reply.target = request.target;
    reply.time = request.time;
    reply.property = None;
    // Clients of the old convention name no property: the target serves as one.
    const Atom property = request.property != None ? request.property : request.target;
    if (owning_ && request.selection == clipboard_) {
        if (request.target == targets_) {
            const Atom offered[] = {targets_, offered_};
            XChangeProperty(display_, request.requestor, property, XA_ATOM, 32, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(offered), 2);
            reply.property = property;
        } else if (request.target == offered_ && data_.size() <= LargestProperty()) {
            // Larger contents would need the incremental protocol; the request is refused.
            XChangeProperty(display_, request.requestor, property, offered_, 8, PropModeReplace, data_.data(),
                            static_cast<int>(data_.size()));
            reply.property = property;
        }
    }
    XEvent event{};
    event.xselection = reply;
    XSendEvent(display_, request.requestor, False, NoEventMask, &event);
    XFlush(display_);
}

void Service::Receive(const XSelectionEvent& notification) {
    if (!reply_.pending || notification.requestor != window_) return;
    reply_.pending = false;
    reply_.data.clear();
    reply_.result = Result::kNoData;
    if (notification.property != None) {
        Atom type = None;
        int bits = 0;
        unsigned long count = 0;
        unsigned long after = 0;
        unsigned char* bytes = nullptr;
        const int status = XGetWindowProperty(display_, window_, notification.property, 0, 0x1FFFFFFF, False,
                                              AnyPropertyType, &type, &bits, &count, &after, &bytes);
        if (status != Success || type == incr_ || bits != 8) {
            // INCR announces a transfer in pieces: more than a settings document ever needs.
            reply_.result = Result::kAccessError;
        } else {
            reply_.data.assign(bytes, bytes + count);
            reply_.result = Result::kDone;
        }
        if (bytes != nullptr) XFree(bytes);
        if (type != incr_) XDeleteProperty(display_, window_, notification.property);
        XFlush(display_);
    }
    replied_.notify_all();
}

Result Service::Put(const std::string& target, const uint8_t* data, int32_t size) {
    std::lock_guard<std::mutex> guard(lock_);
    if (!Connect()) return Result::kOpenError;
    try {
        data_.assign(data, data + size);
    } catch (const std::bad_alloc&) {
        return Result::kMemoryError;
    }
    offered_ = XInternAtom(display_, target.c_str(), False);
    XSetSelectionOwner(display_, clipboard_, window_, CurrentTime);
    owning_ = XGetSelectionOwner(display_, clipboard_) == window_;
    Wake();
    return owning_ ? Result::kDone : Result::kOpenError;
}

Result Service::Get(const std::string& target, std::vector<uint8_t>& data) {
    std::lock_guard<std::mutex> oneAtATime(conversion_);
    std::unique_lock<std::mutex> guard(lock_);
    if (!Connect()) return Result::kOpenError;
    const Atom wanted = XInternAtom(display_, target.c_str(), False);
    // The server knows best whether another client took the selection meanwhile: its
    // SelectionClear may still be on the way.
    const Window owner = XGetSelectionOwner(display_, clipboard_);
    Wake();  // the round trip may have queued requests the service thread must answer
    if (owning_ && owner != window_) {
        owning_ = false;
        data_.clear();
    }
    if (owning_) {
        // Our own contents need no trip through the server.
        if (wanted != offered_ || data_.empty()) return Result::kNoData;
        data = UpToFirstZero(data_);
        return Result::kDone;
    }
    if (owner == None) return Result::kNoData;
    reply_ = Reply{};
    reply_.pending = true;
    XConvertSelection(display_, clipboard_, wanted, property_, window_, CurrentTime);
    XFlush(display_);
    replied_.wait_for(guard, kReplyTimeout, [this] { return !reply_.pending || stopping_; });
    if (reply_.pending || stopping_) {
        reply_.pending = false;
        return Result::kOpenError;
    }
    if (reply_.result == Result::kDone) data = UpToFirstZero(reply_.data);
    return reply_.result;
}

Service& TheService() {
    // Destroyed when the library is unloaded (or the program ends): the thread is joined
    // and the connection closed then.
    static KivPlatform::LibraryStatic<Service> service;
    return *service;
}

}  // namespace

bool Available() { return TheService().Available(); }

KivClipboard::Result Put(const std::string& target, const uint8_t* data, int32_t size) {
    return TheService().Put(target, data, size);
}

KivClipboard::Result Get(const std::string& target, std::vector<uint8_t>& data) { return TheService().Get(target, data); }

void Stop() { TheService().Stop(); }

}  // namespace KivPlatform::X11Selection
