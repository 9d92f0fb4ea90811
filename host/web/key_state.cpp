// A page cannot ask the keyboard which keys it holds: only the key events
// tell. The classic layer then clears a held-over key on its release.
#include "host/glfw2/bridge.h"

namespace glfw2::bridge {

int KeyDownNow(int) { return -1; }

}  // namespace glfw2::bridge
