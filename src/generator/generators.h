#pragma once
// The four table generators. Each empties the output text, appends every cel's lines and ends
// with AddCommas. Pixels past a row's last pixel are never read: an 8-pixel column that reaches
// past the row sees only the row's own pixels.

#include "generator/captured_document.h"
#include "generator/output_text.h"
#include "generator/result_codes.h"

// Pattern bytes (a bit per drawn pixel) and, with colorData, one colour byte per pixel line.
void GenerateSprite(const CapturedDocument& doc, int width, int height, int comma, bool colorData,
                    OutputText& out);
// Per 8-pixel row segment a pattern byte against the segment's first pixel and a colour byte.
void GenerateChr(const CapturedDocument& doc, int width, int height, int comma, OutputText& out);
// Two layers per pixel line, up to three colours where the third is the OR of the other two;
// sets kTooManyColors and kNotOrColor.
void GenerateSprite2Layers(const CapturedDocument& doc, int width, int height, int comma,
                           OutputText& out, int& resultCode);
// Two layers per cel, split by the cel's first two colours; sets kTooManyColors.
void GenerateSprite2LayersNoColor(const CapturedDocument& doc, int width, int height, int comma,
                                  OutputText& out, int& resultCode);
