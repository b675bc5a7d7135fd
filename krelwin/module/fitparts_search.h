// The placement search of FITPARTS: where a part image fits best in a base image, by a
// per-pixel colour-difference score added up in single precision. Plain C++ over arrays of
// 32-bit stored pixel values (bytes blue, green, red, alpha), rows from the top.
#pragma once

#include <cstdint>

struct FITPARTS_IMAGE
{
    const uint32_t* pPixel;  // iWidth x iHeight values, row-major from the top
    int iWidth;
    int iHeight;
};

// Score of a part pixel against a base pixel: 1 when their blue, green and red are equal,
// else (765 - the sum of the three byte differences) / 765.
float FITPARTS_PixelScore(uint32_t _uPart, uint32_t _uBase);

// Part pixels whose value is not the transparent one, as the search's total.
float FITPARTS_Total(const FITPARTS_IMAGE& _stPart, uint32_t _uTransparent);

// The part's score at (x, y) over all its pixels, transparent ones included; the part
// must lie inside the base there.
float FITPARTS_ScoreAt(const FITPARTS_IMAGE& _stBase, const FITPARTS_IMAGE& _stPart, int _iX, int _iY);

struct FITPARTS_RESULT
{
    int iX;
    int iY;
    float fBest;
    float fTotal;
};

// The full search: every place (x, y) with x < base width - part width and y < base height
// - part height, rows first; the score of a place adds the pixel scores of the part's
// non-transparent pixels in row order. The first place with the highest score wins, and
// the search ends at the first place whose score reaches the total. With _iPrune 1, a place
// whose first row scores below part width x (threshold / 100) is not scored further.
// The result is 0, 0 with best 0 when no place is tried.
FITPARTS_RESULT FITPARTS_Search(const FITPARTS_IMAGE& _stBase, const FITPARTS_IMAGE& _stPart,
                                uint32_t _uTransparent, int _iPrune, int _iThreshold);
// The same result scoring every place pixel by pixel: the reference of FITPARTS_Search,
// which gets there by leaving out places that cannot win.
FITPARTS_RESULT FITPARTS_SearchPlain(const FITPARTS_IMAGE& _stBase, const FITPARTS_IMAGE& _stPart,
                                     uint32_t _uTransparent, int _iPrune, int _iThreshold);
