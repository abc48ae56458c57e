#include "messages.h"

#include <stdio.h>

namespace pyx {

void formatMessageLine(MessageBuffer& out, const char* file, int line, const char* description) {
  snprintf(out, sizeof out, "%s:%d: %s", file, line, description);
}

void formatMissingItem(MessageBuffer& out, const char* label) {
  snprintf(out, sizeof out, "%s is NULL!", label);
}

void writeContextErrorLine(const char* messageLine) {
  fprintf(stderr, "Context Error: %s\n", messageLine);
  fflush(stderr);
}

}  // namespace pyx
