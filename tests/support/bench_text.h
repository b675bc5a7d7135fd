// Texts of the benchmarks, the same wherever they are measured (a module in-process, or the
// whole program on a batch).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace bench {

// The first kanji from U+4E00 on that code page 932 holds, so that words and text survive the
// conversion to Shift-JIS.
inline std::vector<wchar_t> Cp932Kanji(size_t _uCount)
{
    std::vector<wchar_t> v;
    for (wchar_t c = 0x4E00; v.size() < _uCount && c < 0x9FA0; ++c) {
        char sz[4];
        BOOL bDefault = FALSE;
        if (WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, &c, 1, sz, 4, 0, &bDefault) == 2 && !bDefault)
            v.push_back(c);
    }
    return v;
}

// The VIRAGREP benchmark: a list of 1,000 words of two to four kanji (one a line), and about
// 2,500,000 characters (5 MB in Shift-JIS) of kana and kanji lines, a fifth of which hold a word.
struct GrepText {
    std::wstring strList;
    std::vector<std::wstring> vWords;
    std::wstring strText;
};

inline GrepText GrepWordsOverText()
{
    GrepText g;
    const std::vector<wchar_t> vKanji = Cp932Kanji(600);
    if (vKanji.size() < 600) return g;
    unsigned int uSeed = 12345;
    auto next = [&]() { uSeed = uSeed * 1103515245u + 12345u; return (uSeed >> 16) & 0x7FFF; };
    for (int k = 0; k < 1000; ++k) {
        std::wstring strWord;
        const int iLen = 2 + next() % 3;
        for (int c = 0; c < iLen; ++c) strWord += vKanji[next() % 600];
        g.vWords.push_back(strWord);
        g.strList += strWord + L"\r\n";
    }
    while (g.strText.size() < 2500000) {
        const int iLen = 10 + next() % 40;
        for (int c = 0; c < iLen; ++c)
            g.strText += next() % 2 ? static_cast<wchar_t>(0x3042 + next() % 80) : vKanji[next() % 600];
        if (next() % 5 == 0) g.strText += g.vWords[next() % 1000];
        g.strText += L"。\r\n";
    }
    return g;
}

}  // namespace bench
