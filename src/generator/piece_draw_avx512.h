#pragma once
// Draws the sprites of one 16 x 16 piece of a sprite set in one go where the processor has
// AVX-512: the piece's 16 lines held in four registers while every sprite at its place is
// painted on, each sprite's pattern bits as masks of the pixels they set.

#include <cstddef>
#include <cstdint>

#include "generator/tables.h"

// One sprite of a piece: its 32 pattern bytes (the left column's lines, then the right
// column's); its 16 line colour bytes, or (where lineColours is null) its one colour byte.
struct PieceSprite {
    const TableValue* pattern;
    const TableValue* lineColours;
    TableValue colour;
};

// Paints count sprites, in order, onto the piece whose top left pixel is topLeft, in lines width
// pixels apart, all 16 x 16 of its pixels in the cel. A pixel no earlier sprite of the piece
// shows takes the sprite's colour; one that one shows ORs it on where the line's colour byte
// carries the OR bit, and keeps its colour otherwise. False, with nothing drawn, where the
// processor cannot.
bool DrawPieceAvx512(std::uint8_t* topLeft, int width, const PieceSprite* sprites,
                     std::size_t count);
