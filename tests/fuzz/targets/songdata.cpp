// SONGDATACONVERT: table fields and rows, and the song template's placeholders.
// Input: the table, 0xFF 0xFE, then the template (UTF-16LE).
#include <cstdint>
#include <string>
#include <vector>

#include "krelwin/module/songdataconvert.h"
#include "tests/fuzz/support/fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* _pData, size_t _uSize)
{
    std::wstring strTable, strTemplate;
    fuzz_split(_pData, _uSize, &strTable, &strTemplate);
    std::vector<wchar_t> vTable = fuzz_terminated(strTable);
    const int iLength = static_cast<int>(strTable.size());
    const int iRows = SONGDATACONVERT::CountRows(vTable.data(), iLength);
    std::wstring aFields[SONGDATACONVERT::FIELD_COUNT];
    for (int iRow = 0; iRow <= iRows + 1 && iRow < 20; ++iRow) {
        int iFields = 0;
        for (int iColumn = 0; iColumn <= SONGDATACONVERT::FIELD_COUNT + 1; ++iColumn) {
            wchar_t szField[SONGDATACONVERT::FIELD_LENGTH];
            wchar_t szSmall[4];
            const int n = SONGDATACONVERT::getCsvField(vTable.data(), iLength, iRow, iColumn, szField,
                                                      SONGDATACONVERT::FIELD_LENGTH);
            if (n >= SONGDATACONVERT::FIELD_LENGTH) __builtin_trap();
            SONGDATACONVERT::getCsvField(vTable.data(), iLength, iRow, iColumn, szSmall, 4);
            if (n > 0 && iFields < SONGDATACONVERT::FIELD_COUNT) aFields[iFields++] = szField;
        }
        SONGDATACONVERT::Fill(strTemplate, aFields, iFields);
    }
    std::vector<wchar_t> vTemplate = fuzz_terminated(strTemplate);
    SONGDATACONVERT::countString(vTemplate.data(), L"wrd01_000.tga");
    SONGDATACONVERT::countString(vTable.data(), L",");
    return 0;
}
