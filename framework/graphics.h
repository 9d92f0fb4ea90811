// SPDX-License-Identifier: Zlib
// The graphics module: drawing state, images and the functions through which
// the game draws. Drawing goes to the render device, which is the graphics
// device between kr_graphics_BeginRender and kr_graphics_EndRender.
#pragma once

#include "framework/graphics_context.h"
#include "framework/image.h"
#include "graphics/graphics.h"

extern gxtkGraphics* kr_graphics_device;
extern c_GraphicsContext* kr_graphics_context;
extern gxtkGraphics* kr_graphics_renderDevice;

int kr_graphics_SetGraphicsDevice(gxtkGraphics* dev);
int kr_graphics_DeviceWidth();
int kr_graphics_DeviceHeight();

// Matrix.
int kr_graphics_SetMatrix(float a, float b, float c, float d, float tx, float ty);
int kr_graphics_SetMatrix2(Array<float> m);
int kr_graphics_Transform(float a, float b, float c, float d, float tx, float ty);
int kr_graphics_Transform2(Array<float> m);
int kr_graphics_Translate(float x, float y);
int kr_graphics_Scale(float x, float y);
int kr_graphics_Rotate(float degrees);
int kr_graphics_PushMatrix();
int kr_graphics_PopMatrix();
// Hands a changed matrix to the render device; done before every primitive.
int kr_graphics_ValidateMatrix();
// The render device; outside a render frame there is none, which is a
// runtime error ("Graphics operation outside a render frame").
gxtkGraphics* kr_graphics_RenderDevice();

// State.
int kr_graphics_SetColor(float r, float g, float b);
int kr_graphics_SetAlpha(float a);
int kr_graphics_SetBlend(int mode);
int kr_graphics_SetScissor(float x, float y, float w, float h);
int kr_graphics_SetFont(c_Image* font, int firstChar);
int kr_graphics_BeginRender();
int kr_graphics_EndRender();

// Drawing.
int kr_graphics_Cls(float r, float g, float b);
int kr_graphics_DrawRect(float x, float y, float w, float h);
int kr_graphics_DrawLine(float x1, float y1, float x2, float y2);
int kr_graphics_DrawEllipse(float x, float y, float xr, float yr);
int kr_graphics_DrawImage(c_Image* img, float x, float y, int frame);
int kr_graphics_DrawImage2(c_Image* img, float x, float y, float rotation, float scaleX,
                           float scaleY, int frame);
int kr_graphics_ReadPixels(Array<int> pixels, int x, int y, int w, int h, int offset, int pitch);
