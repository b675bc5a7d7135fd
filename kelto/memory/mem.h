// Tagged allocation forms and the MEM_ block and bit helpers.
// The tagged forms return null when memory runs out (they never throw); the extra
// arguments name the caller for debugging and are otherwise ignored. The global plain
// operators stay the standard ones, so blocks from the tagged forms are released with
// the plain delete / delete[] (or MEM_free for arrays).
#ifndef KELTO_MEMORY_MEM_H
#define KELTO_MEMORY_MEM_H

#include <cstddef>
#include <type_traits>

void* operator new(std::size_t _uSize, int _iTag, const char* _pFile, int _iLine,
                   const char* _pFunc) noexcept;
void* operator new[](std::size_t _uSize, int _iTag, const char* _pFile, int _iLine,
                     const char* _pFunc) noexcept;
void operator delete(void* _pBlock, int _iTag, const char* _pFile, int _iLine,
                     const char* _pFunc) noexcept;
void operator delete[](void* _pBlock, int _iTag, const char* _pFile, int _iLine,
                       const char* _pFunc) noexcept;

// KELTO_NEW("CTOSJIS::From") wchar_t[n]  -> null on failure.
#define KELTO_NEW(func) new (0, __FILE__, __LINE__, func)

void MEM_copy(void* _pDst, const void* _pSrc, int _iBytes);
void MEM_move(void* _pDst, const void* _pSrc, int _iBytes);
void MEM_clear(void* _pBlock, int _iBytes);

// Raw zero-filled block of _uBytes (at least one byte), null on failure.
void* MEM_allocBytes(std::size_t _uBytes, const char* _pFunc);
void MEM_freeBytes(void* _pBlock);

// Gives the holder a new block of _iCount elements, every byte 0 (released with
// MEM_free or delete[]). 1 on success; 0 when the holder is null, the count is
// negative or memory runs out, and the holder is then null (when given).
template <class T>
int MEM_alloc(T** _ppHolder, int _iCount)
{
    static_assert(std::is_trivial<T>::value && (sizeof(T) == 1 || sizeof(T) == 2 || sizeof(T) == 4),
                  "MEM_alloc serves 1-, 2- and 4-byte plain elements");
    if (!_ppHolder) return 0;
    *_ppHolder = 0;
    if (_iCount < 0 || static_cast<std::size_t>(_iCount) > static_cast<std::size_t>(-1) / sizeof(T) - 1)
        return 0;
    *_ppHolder = static_cast<T*>(MEM_allocBytes(static_cast<std::size_t>(_iCount) * sizeof(T), "MEM_alloc"));
    return *_ppHolder ? 1 : 0;
}

// Releases the holder's block (null accepted) and sets the holder to null. 1, or 0 for a null holder.
template <class T>
int MEM_free(T** _ppHolder)
{
    static_assert(std::is_trivial<T>::value, "MEM_free releases plain element blocks");
    if (!_ppHolder) return 0;
    if (*_ppHolder) MEM_freeBytes(*_ppHolder);
    *_ppHolder = 0;
    return 1;
}

// Bit i lies in unit i / bits-per-unit at position i % bits-per-unit (LSB first).
// _iCount > 0 bounds the index (count 0: no bound). Mode 0 clears, 1 sets (both give 1);
// any other mode reads (1 set, 0 clear). -1 for a null array or an index out of range.
template <class T>
int MEM_bitAccess(T* _pBits, int _iCount, int _iIndex, int _iMode)
{
    static_assert(std::is_integral<T>::value && (sizeof(T) == 1 || sizeof(T) == 2 || sizeof(T) == 4),
                  "MEM_bitAccess serves 8-, 16- and 32-bit units");
    typedef typename std::make_unsigned<T>::type U;
    if (!_pBits || _iIndex < 0 || (_iCount > 0 && _iIndex >= _iCount)) return -1;
    const int iUnitBits = static_cast<int>(sizeof(T)) * 8;
    T& rUnit = _pBits[_iIndex / iUnitBits];
    const U uMask = static_cast<U>(static_cast<U>(1) << (_iIndex % iUnitBits));
    const U uValue = static_cast<U>(rUnit);
    if (_iMode == 0) rUnit = static_cast<T>(static_cast<U>(uValue & static_cast<U>(~uMask)));
    else if (_iMode == 1) rUnit = static_cast<T>(static_cast<U>(uValue | uMask));
    else return (uValue & uMask) ? 1 : 0;
    return 1;
}

#endif
