#pragma once
#include <cstdint>

// The product effect's interface function (exported as `TandrelAudioEffectPluginInterface`):
// a null `object` creates a new product effect and delivers the message to it; message 7
// answers the object itself; every other message goes to the object's message handler.
// Nothing thrown by the effect leaves it: the answer is then 0.
namespace KivEffectInterface {

intptr_t Dispatch(void* object, int32_t message, void* argument) noexcept;

}  // namespace KivEffectInterface
