// Conversions between UTF-16 and the system's 8-bit code page (code page 932 on the
// target systems) or UTF-8, and a guess of a byte buffer's encoding.
// Every text of the system code page goes through these byte for byte: a byte the code
// page cannot decode (a lead byte without its trail byte, a pair it has no character for,
// a byte it does not use) is carried as the unit U+DC00 + byte (MOJI_isByteEscape) and
// written back as that byte. Valid codes with a twin (NEC-selected IBM extensions, NEC row
// 13 and IBM extension codes that have one elsewhere) come back as the code page's choice.
#ifndef KELTO_STRING_MOJI_H
#define KELTO_STRING_MOJI_H

// Owns one 8-bit copy of a UTF-16 text; short-lived locals: convert, Get, let it go.
class CTOSJIS
{
public:
    CTOSJIS();
    explicit CTOSJIS(const wchar_t* _pText);
    ~CTOSJIS();
    char* From(const wchar_t* _pText);
    char* Get() const { return m_pText; }

    CTOSJIS(const CTOSJIS&) = delete;
    CTOSJIS& operator=(const CTOSJIS&) = delete;

private:
    char* m_pText;
};

// Owns one UTF-16 copy of an 8-bit text of the system code page.
class CTOUTF16
{
public:
    CTOUTF16();
    explicit CTOUTF16(const char* _pText);
    ~CTOUTF16();
    wchar_t* From(const char* _pText);
    wchar_t* Get() const { return m_pText; }

    CTOUTF16(const CTOUTF16&) = delete;
    CTOUTF16& operator=(const CTOUTF16&) = delete;

private:
    wchar_t* m_pText;
};

// Encoding codes of CMOJIUTIL::CheckCodeType.
enum
{
    MOJI_CODE_SJIS = 0,
    MOJI_CODE_UTF8 = 1,
    MOJI_CODE_UTF16LE = 2,
    MOJI_CODE_UTF16BE = 3,
    MOJI_CODE_ASCII = 4,
    MOJI_CODE_JIS = 5,
    MOJI_CODE_EUC = 6,
    MOJI_CODE_UNKNOWN = 7
};

// Counted buffers without terminators; none of these writes a terminator.
// With m_iBom set, conversions toward UTF-16 put U+FEFF first and count it.
class CMOJIUTIL
{
public:
    CMOJIUTIL();

    int MbToWcSize(const char* _pBytes, int _iN);
    int MbToWc(const char* _pBytes, int _iN, wchar_t* _pOut);
    int WcToMbSize(const wchar_t* _pText, int _iN);
    int WcToMb(const wchar_t* _pText, int _iN, char* _pOut);
    int Utf8ToWcSize(const char* _pBytes, int _iN);
    int Utf8ToWc(const char* _pBytes, int _iN, wchar_t* _pOut);
    int WcToUtf8Size(const wchar_t* _pText, int _iN);
    int WcToUtf8(const wchar_t* _pText, int _iN, char* _pOut);
    int SwapByte(wchar_t* _pUnits, int _iN);

    // Bytes of the character at _pBytes: 0 at NUL, -1 when not valid. The bounded form
    // looks at no byte beyond _iAvail; a lead byte without its second byte is -1.
    int SjisCharSize(const void* _pBytes);
    int SjisCharSize(const void* _pBytes, int _iAvail);
    int SjisLength(const void* _pBytes, int _iN);
    int Utf8CharSize(const void* _pBytes);
    int Utf8Length(const void* _pBytes, int _iN);
    int ScanJisEuc(const void* _pBytes, int _iN);
    int CheckCodeType(const void* _pBytes, int _iN);

    int m_iBom;
};

#endif
