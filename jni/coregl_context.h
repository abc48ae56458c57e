// The CoreGL state kept for each rendering context: the storage behind the
// vertex arrays, selection and feedback buffers GL keeps, and the Java
// arrays they came from.
#pragma once

#include <jni.h>

#include "pyxwin/windows.h"

namespace pyx::coregl {

// Frees what CoreGL keeps for a context that is being deleted, and lets go
// of its Java arrays. Safe for a context CoreGL never saw.
void forgetClientState(JNIEnv* env, HGLRC context);

}  // namespace pyx::coregl
