// Helpers shared by the fuzz targets.
#ifndef TESTS_FUZZ_SUPPORT_FUZZ_H
#define TESTS_FUZZ_SUPPORT_FUZZ_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The bytes as UTF-16LE units (an odd last byte is dropped).
std::wstring fuzz_units(const uint8_t* _pData, size_t _uSize);
// The units with a terminator, in a block of exactly that many units, so that a read past
// the terminator is a report.
std::vector<wchar_t> fuzz_terminated(const std::wstring& _strText);
// The bytes split at the first occurrence of the separator byte pair 0xFF 0xFE: the part
// before it and the part after (empty when there is none).
void fuzz_split(const uint8_t* _pData, size_t _uSize, std::wstring* _pFirst, std::wstring* _pSecond);
// The run's own temporary folder (one per process, removed at exit).
const std::string& fuzz_folder();
// Writes the bytes to a file of the run's own temporary folder; its wide path.
std::wstring fuzz_file(const wchar_t* _pName, const void* _pData, size_t _uSize);

#endif
