#include "plugin/kiv_automation_update_request_thread.h"

#include "base/kiv_boundary.h"
#include "plugin/kiv_audio_plugin.h"

KivAutomationUpdateRequestThread::~KivAutomationUpdateRequestThread() { Stop(); }

void KivAutomationUpdateRequestThread::StartRunning() {
    Start();
    Resume();
}

void KivAutomationUpdateRequestThread::Request(bool urgent) {
    pending_.fetch_add(1);
    if (urgent) Wake();
}

int32_t KivAutomationUpdateRequestThread::Thread() {
    while (!IsStopRequested()) {
        const int32_t requests = pending_.exchange(0);
        if (requests > 0) {
            KivGuard("KivAudioPlugin::AutomationUpdateRequestThread::Thread",
                     [&] { plugin_.CarryOutAutomationUpdates(requests); });
            KivGuard("KivAudioPlugin::AutomationUpdateRequestThread::Deliver",
                     [&] { plugin_.DeliverHostNotifications(); });
        }
        WaitForWake(kIntervalMilliseconds);
    }
    return 0;
}
