// The message formats shared by both libraries: the message line naming the
// source file and line of a failing test, the missing-item description, and
// the standard-error line.
#pragma once

#include <stddef.h>

namespace pyx {

constexpr size_t kMessageBufferSize = 1024;
using MessageBuffer = char[kMessageBufferSize];

// "%s:%d: %s", truncated to the buffer.
void formatMessageLine(MessageBuffer& out, const char* file, int line, const char* description);
// "%s is NULL!", truncated to the buffer.
void formatMissingItem(MessageBuffer& out, const char* label);
// Writes "Context Error: %s\n" to standard error.
void writeContextErrorLine(const char* messageLine);

}  // namespace pyx
