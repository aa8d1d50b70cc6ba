#pragma once
// The table generators. Each lays out the tables of every cel (tables.h), fills them and
// records what it finds in the result code. Pixels past a row's last pixel are never read: an
// 8-pixel column that reaches past the row sees only the row's own pixels.

#include "generator/captured_document.h"
#include "generator/options.h"
#include "generator/tables.h"

// Pattern bytes (a bit per drawn pixel) and, with colorData, one colour byte per pixel line.
void GenerateSprite(const CapturedDocument& doc, int width, int height, bool colorData,
                    GeneratedTables& out);
// Per 8-pixel row segment a pattern byte against the segment's first pixel and a colour byte.
void GenerateChr(const CapturedDocument& doc, int width, int height, GeneratedTables& out);
// Two layers per pixel line, up to three colours where the third is the OR of the other two;
// sets kTooManyColours and kNotOrColour.
void GenerateSprite2Layers(const CapturedDocument& doc, int width, int height,
                           GeneratedTables& out);
// Two layers per cel, split by the cel's first two colours; sets kTooManyColours.
void GenerateSprite2LayersNoColor(const CapturedDocument& doc, int width, int height,
                                  GeneratedTables& out);
// Three or four OR-ed layers per pixel line (layers), each line split by its own colours: as two
// layers split it where they show it, else by its smallest basis; sets kTooManyColours for a line
// that needs more layers.
void GenerateSpriteLayers(const CapturedDocument& doc, int width, int height, int layers,
                          GeneratedTables& out);
// Three or four layers per cel, each drawing one of the cel's first colours; sets
// kTooManyColours.
void GenerateSpriteLayersNoColor(const CapturedDocument& doc, int width, int height, int layers,
                                 GeneratedTables& out);
// Sprite sets: every cel cut into pieces of options.pieces pixels square, a hardware sprite per
// piece with a drawn pixel and layer, with patterns, colour tables (colorData) and a sprite table
// per cel; two layers split each piece as the two-layer generators split a cel.
void GenerateSpriteSet(const CapturedDocument& doc, const GeneratorOptions& options,
                       GeneratedTables& out);
