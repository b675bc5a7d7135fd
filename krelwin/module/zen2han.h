// ZEN2HAN: turns the listed full-width characters of a Shift-JIS text (plain hiragana,
// small kana, Latin letters, digits, the ideographic space and some punctuation) into
// their half-width forms; every other double-byte character stays whole.
#pragma once

#include "krelwin/module/module.h"

// Codes in the conversion table (136 of them, then a 0).
#define ZEN2HAN_LIST_COUNT 136

// The table's double-byte Shift-JIS codes (first byte * 256 + second byte), 0-ended.
extern const unsigned short s_usZen2hanList[ZEN2HAN_LIST_COUNT + 1];

// 1 when the code is in the table, else 0.
int ZEN2HAN_isListed(unsigned short _usCode);
// The single byte a listed code becomes, or 0 for a code not in the table.
unsigned char ZEN2HAN_toHan(unsigned short _usCode);
// 1 when the two bytes form a double-byte character of code page 932: a lead byte
// (0x81-0x9F, 0xE0-0xFC) followed by a trail byte (0x40-0x7E, 0x80-0xFC).
int ZEN2HAN_isSjisChar(unsigned char _byFirst, unsigned char _bySecond);
// Converts the first _iLength bytes in place; the new length. Never reads or writes at
// or past _iLength.
int FILT_zen2han(unsigned char* _pText, int _iLength);
