#pragma once
#include <cstdint>

// The editor's help text of the record in `slot`, in the rich-text mark-up of the help
// viewer; empty for the undeclared slot and for slots outside the table.
const char* TandrelHelpText(int32_t slot) noexcept;
