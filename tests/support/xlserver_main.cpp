// kt_xlserver.exe: the test spreadsheet in a process of its own, for end-to-end runs.
// Arguments: the data file (xlserver::Serialize) and, optionally, the life time in ms.
#include <windows.h>
#include <shellapi.h>

#include "tests/support/testdir.h"
#include "tests/support/xlserver.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 2) return 2;
    std::string data;
    if (!testdir::ReadBytes(argv[1], &data)) return 3;
    std::vector<xlserver::Book> books;
    std::wstring title = L"Microsoft Excel";
    bool serves = true;
    if (!xlserver::Parse(data, &books, &title, &serves)) return 4;
    DWORD life = argc >= 3 ? static_cast<DWORD>(_wtoi(argv[2])) : 60000;
    LocalFree(argv);
    xlserver::Spreadsheet server(std::move(books), title, L"Excel", life);
    if (!serves) server.NeverServe();
    return server.Run();
}
