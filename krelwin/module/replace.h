// REPLASE: the module of REPLACE (-m0), REPLACE_REM (-m1, a remark naming the rules that
// fired ends each changed line) and REPLACE_REGEX (-m2, not available: the text is
// written back unchanged). A rule file of TAB-separated search and replacement texts,
// loaded once per script line, rewrites each target text.
#pragma once

#include <vector>

#include "krelwin/module/module.h"

struct REPLASE_RULE
{
    wchar_t m_szReplace[256];  // as written (escapes are read when the rule fires)
    wchar_t m_szSearch[256];   // "\n" and "\t" already turned into CR LF and TAB
};

// Where the escapes of a pattern matched in the text, in pattern order.
struct REPLASE_MATCH
{
    enum { SPAN_MAX = 128 };
    int m_iEnd;                // text position after the match
    int m_iSpanCount;
    int m_aKeyword[SPAN_MAX];  // REPLASE::ESC_ index of each escape
    int m_aStart[SPAN_MAX];
    int m_aEnd[SPAN_MAX];
};

class REPLASE : public CModule
{
public:
    enum {
        FIELD_LENGTH = 256,   // rule texts, terminator included
        NAME_LENGTH = 260,
        REMARK_LENGTH = 512,
        OUT_ALLOC = 3,        // output capacity, in multiples of the text length
    };
    // Escape keywords, in lookup order.
    enum { ESC_N, ESC_TS, ESC_T, ESC_STR, ESC_VAL, ESC_KNJ, ESC_WRD, ESC_BLK, ESC_COUNT };

    REPLASE();
    ~REPLASE() override;
    REPLASE(const REPLASE&) = delete;
    REPLASE& operator=(const REPLASE&) = delete;

    // One target: 1 when it was rewritten, 0 when it was left alone (the reason is logged).
    int Func(const wchar_t* _pLine) override;
    // Forgets the rule table and its file name, so that the next script line loads afresh.
    void Quit(int _iFinal) override;

    // Loads the rule file unless it is the one already loaded (a failed load is not
    // retried until Quit). 1 when a rule table is in hand, 0 when the file is missing or
    // empty (no rules: texts pass unchanged), -1 when it is malformed (targets are left
    // alone).
    int Init(const wchar_t* _pRuleFile);
    // Builds the rule table of a rule file's text (_iLength units); 1, or 0 when the text
    // is malformed (logged against _pName) and no table is kept.
    int loadRules(const wchar_t* _pText, int _iLength, const wchar_t* _pName);

    // One field of a rule line into _pField (FIELD_LENGTH units): the position after its
    // end and the TABs that follow. *_pFull receives the field's whole length.
    static int readField(const wchar_t* _pText, int _iPos, int _iLength, wchar_t* _pField, int* _pFull);
    static void convEscape(wchar_t* _pSearch);
    // The keyword that the text after a backslash begins with, or -1.
    static int escapeIndex(const wchar_t* _pText);
    static int escapeLength(int _iKeyword);
    static int isDelimiter(wchar_t _c);

    // The first rule that matches at the position (its spans in *_pMatch), or -1.
    int matchRule(const wchar_t* _pText, int _iPos, int _iLength, REPLASE_MATCH* _pMatch);
    int matchOne(const REPLASE_RULE& _stRule, const wchar_t* _pText, int _iPos, int _iLength,
                 REPLASE_MATCH* _pMatch);
    // Writes the rule's replacement; the text position to go on from.
    int putReplace(const wchar_t* _pText, int _iPos, int _iLength, wchar_t* _pOut, int _iCap,
                   int* _pOutLen, const REPLASE_RULE& _stRule, const REPLASE_MATCH& _stMatch);
    // The whole text into _pOut (_iCap units); the output length, or -1 for an empty text.
    int replaceText(const wchar_t* _pText, int _iLength, wchar_t* _pOut, int _iCap);
    void resetRemark();

    REPLASE_RULE* m_pRule;
    int m_iRuleCount;
    int m_iStop;
    int m_iReplaced;
    int m_iNumber;
    wchar_t m_szRuleFile[NAME_LENGTH];
    int m_iMode;
    int m_iWord;
    wchar_t m_szRemark[REMARK_LENGTH];
    int m_iTried;  // the rule-file name above was tried since the last Quit
    int m_iLoaded; // what that try gave (Init's result)

private:
    // Appends units to the output while it has room; at the limit logs the overflow once
    // and sets the stop flag. 1 when everything fitted.
    int put(wchar_t* _pOut, int _iCap, int* _pOutLen, const wchar_t* _pUnits, int _iCount);
    int buildRules(const wchar_t* _pText, int _iLength, const wchar_t* _pName);
    void freeRules();

    // The rules by the first unit of their pattern, so that a position tries only those that
    // can start there, in table order; matchRule's result, without a pass over every rule.
    // A pattern that begins with '\' (an escape, or a backslash taken as it stands) can start
    // at any unit. Built for each text from the table in hand; false without memory for it.
    bool buildIndex();
    void buildIndexTables();
    int matchIndexed(const wchar_t* _pText, int _iPos, int _iLength, REPLASE_MATCH* _pMatch);
    std::vector<int> m_vFirstBegin;  // per unit, where its rules begin in m_vFirstRule (65,537)
    std::vector<int> m_vFirstRule;
    std::vector<int> m_vAnyRule;     // patterns that begin with '\'
};

// The regular-expression replacement: not available in this program, always -1.
int Regex_replace(wchar_t* _pBuffer, int _iCap, const REPLASE_RULE* _pRules, int _iCount);
