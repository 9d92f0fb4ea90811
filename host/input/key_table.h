// SPDX-License-Identifier: Zlib
// Key translation shared by every host that reads a keyboard.
#pragma once

namespace kr_input {

// The program's key code of a classic GLFW key number (host/glfw2/glfw2.h):
// digits and letters as themselves, the other keys as their Windows
// virtual-key values; 0 for a key the program does not know.
int TransKey(int glfwKey);

// The character a special key types besides its key event: the control
// characters themselves, 127 for delete, the cursor keys with bit 16 set;
// 0 for none.
int KeyToChar(int key);

}  // namespace kr_input
