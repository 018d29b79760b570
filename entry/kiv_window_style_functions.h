#pragma once

// The GUI toolkit's functions offered under the names "KivWindowsConfiguration",
// "KivWindowsCreateStyle" and "KivWindowsRegisterStyle". The toolkit has no styles yet:
// these placeholders keep the names registered and do nothing.
namespace KivWindowStyleFunctions {

// Takes the window configuration of the library that loaded this one.
void ExchangeConfiguration(void* configuration);
void CreateStyle();
void RegisterStyle();

}  // namespace KivWindowStyleFunctions
