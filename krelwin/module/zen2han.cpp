#include "krelwin/module/zen2han.h"

#include "kelto/files/win32/fileload.h"
#include "kelto/memory/mem.h"
#include "kelto/tools/busy.h"
#include "krelwin/main/message.h"
#include "krelwin/main/output.h"
#include "krelwin/main/output_inplace.h"
#include "krelwin/params/kvlparam.h"

// Code page 932's full-width to half-width pairs for the characters ZEN2HAN converts;
// s_byZen2hanHan[i] is what s_usZen2hanList[i] becomes.
const unsigned short s_usZen2hanList[] = {
    // あいうえお かきくけこ さしすせそ たちつてと なにぬねの
    0x82A0, 0x82A2, 0x82A4, 0x82A6, 0x82A8, 0x82A9, 0x82AB, 0x82AD, 0x82AF, 0x82B1,
    0x82B3, 0x82B5, 0x82B7, 0x82B9, 0x82BB, 0x82BD, 0x82BF, 0x82C2, 0x82C4, 0x82C6,
    0x82C8, 0x82C9, 0x82CA, 0x82CB, 0x82CC,
    // はひふへほ まみむめも やゆよ らりるれろ わ ん を
    0x82CD, 0x82D0, 0x82D3, 0x82D6, 0x82D9, 0x82DC, 0x82DD, 0x82DE, 0x82DF, 0x82E0,
    0x82E2, 0x82E4, 0x82E6, 0x82E7, 0x82E8, 0x82E9, 0x82EA, 0x82EB, 0x82ED, 0x82F1,
    0x82F0,
    // ぁぃぅぇぉ ゃゅょ っ
    0x829F, 0x82A1, 0x82A3, 0x82A5, 0x82A7, 0x82E1, 0x82E3, 0x82E5, 0x82C1,
    // Ａ-Ｚ
    0x8260, 0x8261, 0x8262, 0x8263, 0x8264, 0x8265, 0x8266, 0x8267, 0x8268, 0x8269,
    0x826A, 0x826B, 0x826C, 0x826D, 0x826E, 0x826F, 0x8270, 0x8271, 0x8272, 0x8273,
    0x8274, 0x8275, 0x8276, 0x8277, 0x8278, 0x8279,
    // ａ-ｚ
    0x8281, 0x8282, 0x8283, 0x8284, 0x8285, 0x8286, 0x8287, 0x8288, 0x8289, 0x828A,
    0x828B, 0x828C, 0x828D, 0x828E, 0x828F, 0x8290, 0x8291, 0x8292, 0x8293, 0x8294,
    0x8295, 0x8296, 0x8297, 0x8298, 0x8299, 0x829A,
    // ０-９
    0x824F, 0x8250, 0x8251, 0x8252, 0x8253, 0x8254, 0x8255, 0x8256, 0x8257, 0x8258,
    // 「 」 。 、 ー ・
    0x8175, 0x8176, 0x8142, 0x8141, 0x815B, 0x8145,
    // ideographic space ？！（）［］＠＋－＊／
    0x8140, 0x8148, 0x8149, 0x8169, 0x816A, 0x816D, 0x816E, 0x8197, 0x817B, 0x817C,
    0x8196, 0x815E,
    // ～
    0x8160,
    0
};

namespace {

const unsigned char s_byZen2hanHan[] = {
    // ｱｲｳｴｵ ｶｷｸｹｺ ｻｼｽｾｿ ﾀﾁﾂﾃﾄ ﾅﾆﾇﾈﾉ
    0xB1, 0xB2, 0xB3, 0xB4, 0xB5, 0xB6, 0xB7, 0xB8, 0xB9, 0xBA,
    0xBB, 0xBC, 0xBD, 0xBE, 0xBF, 0xC0, 0xC1, 0xC2, 0xC3, 0xC4,
    0xC5, 0xC6, 0xC7, 0xC8, 0xC9,
    // ﾊﾋﾌﾍﾎ ﾏﾐﾑﾒﾓ ﾔﾕﾖ ﾗﾘﾙﾚﾛ ﾜ ﾝ ｦ
    0xCA, 0xCB, 0xCC, 0xCD, 0xCE, 0xCF, 0xD0, 0xD1, 0xD2, 0xD3,
    0xD4, 0xD5, 0xD6, 0xD7, 0xD8, 0xD9, 0xDA, 0xDB, 0xDC, 0xDD,
    0xA6,
    // ｧｨｩｪｫ ｬｭｮ ｯ
    0xA7, 0xA8, 0xA9, 0xAA, 0xAB, 0xAC, 0xAD, 0xAE, 0xAF,
    // A-Z
    'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J', 'K', 'L', 'M',
    'N', 'O', 'P', 'Q', 'R', 'S', 'T', 'U', 'V', 'W', 'X', 'Y', 'Z',
    // a-z
    'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 'i', 'j', 'k', 'l', 'm',
    'n', 'o', 'p', 'q', 'r', 's', 't', 'u', 'v', 'w', 'x', 'y', 'z',
    // 0-9
    '0', '1', '2', '3', '4', '5', '6', '7', '8', '9',
    // ｢ ｣ ｡ ､ ｰ ･
    0xA2, 0xA3, 0xA1, 0xA4, 0xB0, 0xA5,
    ' ', '?', '!', '(', ')', '[', ']', '@', '+', '-', '*', '/',
    '~',
};
static_assert(sizeof(s_byZen2hanHan) == ZEN2HAN_LIST_COUNT, "one half-width byte per listed code");

// Index of a code in the table, or -1.
int zen2han_find(unsigned short _usCode)
{
    if (_usCode == 0) return -1;
    for (int i = 0; s_usZen2hanList[i]; ++i) {
        if (s_usZen2hanList[i] == _usCode) return i;
    }
    return -1;
}

// Kb as the size line shows them: whole steps of 1,024 bytes, rounded up.
int zen2han_kb(int _iBytes)
{
    return (_iBytes + 1023) / 1024;
}

} // namespace

int ZEN2HAN_isListed(unsigned short _usCode)
{
    return zen2han_find(_usCode) >= 0 ? 1 : 0;
}

unsigned char ZEN2HAN_toHan(unsigned short _usCode)
{
    const int i = zen2han_find(_usCode);
    return i >= 0 ? s_byZen2hanHan[i] : 0;
}

int ZEN2HAN_isSjisChar(unsigned char _byFirst, unsigned char _bySecond)
{
    const bool bLead = (_byFirst >= 0x81 && _byFirst <= 0x9F) || (_byFirst >= 0xE0 && _byFirst <= 0xFC);
    const bool bTrail = (_bySecond >= 0x40 && _bySecond <= 0x7E) || (_bySecond >= 0x80 && _bySecond <= 0xFC);
    return (bLead && bTrail) ? 1 : 0;
}

int FILT_zen2han(unsigned char* _pText, int _iLength)
{
    if (!_pText || _iLength <= 0) return 0;
    // One pass with a write position behind the read position: the same result as
    // closing the gap after every converted pair, without moving the tail each time.
    int iRead = 0;
    int iWrite = 0;
    while (iRead < _iLength) {
        BUSY_poll();
        if (iRead + 1 < _iLength && ZEN2HAN_isSjisChar(_pText[iRead], _pText[iRead + 1])) {
            const unsigned short usCode =
                static_cast<unsigned short>((_pText[iRead] << 8) | _pText[iRead + 1]);
            const int i = zen2han_find(usCode);
            if (i >= 0) {
                _pText[iWrite++] = s_byZen2hanHan[i];
            } else {
                _pText[iWrite++] = _pText[iRead];
                _pText[iWrite++] = _pText[iRead + 1];
            }
            iRead += 2;
        } else {
            _pText[iWrite++] = _pText[iRead++];
        }
    }
    return iWrite;
}

int Command_zen2han(const wchar_t* _pParam)
{
    CKvlParam cParam(_pParam);
    const wchar_t* pTarget = cParam.GetTarget();
    const wchar_t* pOutput = cParam.GetOutput();

    unsigned char* pBytes = 0;
    const int iSize = pTarget ? MEM_TargetRead(&pBytes, pTarget) : 0;
    if (iSize <= 0 || !pBytes) {
        Message_err(L"zen2han  failed. %s", pTarget ? pTarget : L"");
        return 0;
    }
    const int iNewSize = FILT_zen2han(pBytes, iSize);

    if (!pOutput || !pOutput[0]) {
        // Without an output argument the output is the target; an argument that does not
        // make a path is never replaced by the target.
        if (cParam.GetParam(1)) {
            Message_err(L"Can't write file.%s", Get_FileName(cParam.GetParam(1)));
            MEM_free(&pBytes);
            return 1;
        }
        pOutput = pTarget;
    }
    // The size line tells what was written; a refused or failed write has logged why. Every
    // conversion takes one byte off, so a text of its old size is the one read.
    if (Write_OutFileChanged(pOutput, pTarget, iNewSize != iSize, pBytes, iNewSize) > 0) {
        wchar_t szNone[] = L"";
        const wchar_t* pName = cParam.GetFileName(0, szNone);
        Message_info(L"zen2han %s %dKb->%dKb", pName ? pName : L"", zen2han_kb(iSize), zen2han_kb(iNewSize));
    }
    MEM_free(&pBytes);
    return 1;
}
