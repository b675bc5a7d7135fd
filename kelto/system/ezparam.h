// CEzParam: one parameter line split into tokens at blanks and TABs outside double quotes,
// with token, option ("-" and a letter) and integer lookups. Every text it returns points
// into the object's own copy of the line and lives as long as the object.
#pragma once

class CEzParam
{
public:
    explicit CEzParam(const wchar_t* _pLine);
    virtual ~CEzParam();

    CEzParam(const CEzParam&) = delete;
    CEzParam& operator=(const CEzParam&) = delete;

    // Token _iNum counted from 0, options included; _pDefault when there is none.
    // The opening quote of token 0 and the closing quote of any token are dropped.
    wchar_t* GetToken(int _iNum, wchar_t* _pDefault);
    int IsOption(int _iNum);
    int HasToken(int _iNum);
    // Parameter _iNum: tokens that are not options, counted from 0 (0 is the target).
    wchar_t* GetParam(int _iNum);
    wchar_t* GetTarget();
    // Token number of the first "-<letter>" token, or -1.
    int FindOption(wchar_t _cLetter);
    // The text after "-<letter>" (possibly empty), or _pDefault.
    wchar_t* GetOption(wchar_t _cLetter, wchar_t* _pDefault);
    int GetOptionInt(wchar_t _cLetter, int _iDefault);
    int GetArgInt(int _iNum, int _iDefault);

    int GetCount() const { return m_iCount; }

protected:
    void Tokenize();
    // Told each token's first and end position while the line is split; does nothing.
    void OnToken(int _iFirst, int _iEnd);
    void EndToken(int _iFirst, int _iEnd);

    wchar_t* m_pBuffer;
    wchar_t* m_pStart;
    int m_iLength;
    int m_iCount;
};
