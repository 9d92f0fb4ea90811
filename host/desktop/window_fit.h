// SPDX-License-Identifier: Zlib
// The window size that gives a wanted drawable size.
#pragma once

// The window size, in screen coordinates, whose drawable is width x height
// pixels, for a window now windowWidth x windowHeight with a drawable of
// framebufferWidth x framebufferHeight: their ratio is kept (2 on a screen
// that scales windows by 2). Without a drawable size the ratio is taken as 1.
void KrWindowSizeForFramebuffer(int width, int height, int windowWidth, int windowHeight, int framebufferWidth,
                                int framebufferHeight, int* outWidth, int* outHeight);
