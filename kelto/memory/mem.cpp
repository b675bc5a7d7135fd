// Tagged allocation forms and the MEM_ helpers. The plain global operators are left to
// the runtime: a null-returning replacement would break its own users (containers, tests).
#include "kelto/memory/mem.h"

#include <cstring>
#include <new>

void* operator new(std::size_t _uSize, int, const char*, int, const char*) noexcept
{
    return ::operator new(_uSize, std::nothrow);
}

void* operator new[](std::size_t _uSize, int, const char*, int, const char*) noexcept
{
    return ::operator new[](_uSize, std::nothrow);
}

void operator delete(void* _pBlock, int, const char*, int, const char*) noexcept
{
    ::operator delete(_pBlock);
}

void operator delete[](void* _pBlock, int, const char*, int, const char*) noexcept
{
    ::operator delete[](_pBlock);
}

void MEM_copy(void* _pDst, const void* _pSrc, int _iBytes)
{
    if (!_pDst || !_pSrc || _iBytes <= 0) return;
    std::memcpy(_pDst, _pSrc, static_cast<std::size_t>(_iBytes));
}

void MEM_move(void* _pDst, const void* _pSrc, int _iBytes)
{
    if (!_pDst || !_pSrc || _iBytes <= 0) return;
    std::memmove(_pDst, _pSrc, static_cast<std::size_t>(_iBytes));
}

void MEM_clear(void* _pBlock, int _iBytes)
{
    if (!_pBlock || _iBytes <= 0) return;
    std::memset(_pBlock, 0, static_cast<std::size_t>(_iBytes));
}

void* MEM_allocBytes(std::size_t _uBytes, const char* _pFunc)
{
    // Array form, so that MEM_free and delete[] both release the block.
    void* pBlock = new (0, __FILE__, __LINE__, _pFunc) unsigned char[_uBytes ? _uBytes : 1];
    if (pBlock) std::memset(pBlock, 0, _uBytes ? _uBytes : 1);
    return pBlock;
}

void MEM_freeBytes(void* _pBlock)
{
    delete[] static_cast<unsigned char*>(_pBlock);
}
