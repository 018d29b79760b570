#pragma once
#include <string>

namespace KivPlatform {

// Full path of the executable or shared library whose code or data contains `address`;
// empty when the system cannot tell.
std::u16string ModulePathOf(const void* address);

}  // namespace KivPlatform
