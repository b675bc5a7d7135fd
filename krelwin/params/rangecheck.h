// CRangeCheck: the range markers of the RANGE setting. Text commands ask it, position by
// position and in increasing order, whether to leave a position alone.
// A start marker is the code unit 0x81A5 at a position and again two units on, an end
// marker the same with 0x81A3; the units are compared as they stand in the UTF-16 text.
#pragma once

#define RANGE_CODE_START 0x81A5
#define RANGE_CODE_END 0x81A3

// 1 when the unit equals the code.
int IsCode(const wchar_t* _pUnit, wchar_t _cCode);

class CRangeCheck
{
public:
    CRangeCheck();

    // Starts the state for one text; reads RANGE of the settings block in force.
    void Init(const wchar_t* _pText, int _iLength);
    // 1 when the command is to leave the position alone, 0 when it is to work on it.
    int IsSkip(const wchar_t* _pText, int _iPos, int _iLength);

    int m_iEnabled;
    int m_iInside;
};

// The one range-marker object of the program.
extern CRangeCheck s_cRangeCheck;
