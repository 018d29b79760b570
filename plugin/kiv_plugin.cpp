#include "plugin/kiv_plugin.h"

intptr_t KivPlugin::CallHost(int32_t message, KivEffectMessageRecord* argument) const {
    if (!hostCallback_) return -1;
    return hostCallback_(hostObject_, message, argument);
}
