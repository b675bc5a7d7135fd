// A test spreadsheet: a DDE server of its own that speaks the raw WM_DDE_* messages
// (INITIATE, ACK, REQUEST, DATA, TERMINATE), so that every reply lands on the request it
// answers. Service "Excel" (or another name), topics "System", "[BOOK.xls]Sheet", the
// workbook's name or a path ending in it, and a bare sheet name (last workbook first);
// cells "R%dC%d" answered as CF_TEXT in code page 932 with "\r\n" ("\r\n" alone for an
// empty cell). Cell texts are sent as they are given: Quoted() makes the form a spreadsheet
// sends for a text holding a line break or a quote. Its hidden top-level window carries a
// title with "Microsoft" and "Excel" and ends the server on WM_CLOSE; a life-time bound
// ends it in any case.
//
// In a test program it runs on a thread (Spreadsheet::Start); for end-to-end runs the
// program kt_xlserver.exe runs it in a process of its own from a data file (Serialize).
#pragma once

#include <windows.h>
#include <dde.h>
#include <ddeml.h>

#include <cstring>
#include <string>
#include <vector>

namespace xlserver {

enum CellMode
{
    CELL_TEXT,    // answered with its text
    CELL_NACK,    // answered with a negative acknowledgement
    CELL_SILENT,  // never answered (the client times out)
    CELL_LATE,    // answered only when the next request on its conversation comes
    CELL_CLOSE,   // not answered: the spreadsheet ends every conversation and closes
    CELL_CRASH,   // not answered: the spreadsheet's windows vanish without a word
};

// The ways a spreadsheet goes away in the middle of a sheet, for tables of cases.
struct Leaving
{
    const char* name;
    int mode;
};
const Leaving kLeavings[] = {{"closed", CELL_CLOSE}, {"crashed", CELL_CRASH}};

struct Cell
{
    int row;
    int col;
    std::wstring text;
    int mode;
};

struct Sheet
{
    std::wstring name;
    std::vector<Cell> cells;
    // Rows 1..fillRows of columns 1..fillCols hold FillText (cells set apart win).
    int fillRows = 0;
    int fillCols = 0;
    Sheet& Set(int row, int col, const std::wstring& text, int mode = CELL_TEXT)
    {
        cells.push_back({row, col, text, mode});
        return *this;
    }
    Sheet& Fill(int rows, int cols)
    {
        fillRows = rows;
        fillCols = cols;
        return *this;
    }
};

// The text of a filled cell.
inline std::wstring FillText(int row, int col)
{
    return L"値" + std::to_wstring(row) + L"-" + std::to_wstring(col);
}

// Sheet names as the workbooks of a game's text hold them, dozens of them: 17 or 18
// characters of Japanese each ("シナリオ第1章キャラ会話テキスト表", ...).
inline std::vector<std::wstring> ScenarioSheetNames(int count)
{
    std::vector<std::wstring> names;
    for (int i = 1; i <= count; ++i) names.push_back(L"シナリオ第" + std::to_wstring(i) + L"章キャラ会話テキスト表");
    return names;
}

// A cell text as a spreadsheet sends one that holds a line break or a double quote: in
// double quotes, its own quotes doubled.
inline std::wstring Quoted(const std::wstring& text)
{
    std::wstring out = L"\"";
    for (wchar_t c : text) {
        if (c == L'"') out += L'"';
        out += c;
    }
    return out + L"\"";
}

struct Book
{
    std::wstring name;  // "BOOK.xls"
    std::vector<Sheet> sheets;
    Sheet& Add(const std::wstring& sheet)
    {
        sheets.push_back({sheet, {}});
        return sheets.back();
    }
};

inline std::string ToCodePage(UINT cp, const std::wstring& s)
{
    if (s.empty()) return std::string();
    int n = WideCharToMultiByte(cp, 0, s.c_str(), (int)s.size(), nullptr, 0, nullptr, nullptr);
    std::string out(n, '\0');
    WideCharToMultiByte(cp, 0, s.c_str(), (int)s.size(), &out[0], n, nullptr, nullptr);
    return out;
}

inline std::wstring FromCodePage(UINT cp, const std::string& s)
{
    if (s.empty()) return std::wstring();
    int n = MultiByteToWideChar(cp, 0, s.data(), (int)s.size(), nullptr, 0);
    std::wstring out(n, L'\0');
    MultiByteToWideChar(cp, 0, s.data(), (int)s.size(), &out[0], n);
    return out;
}

// The data file of kt_xlserver.exe: UTF-8 lines "TITLE\t..", "BOOK\t..", "SHEET\t..",
// "FILL\trows\tcols", "CELL\trow\tcol\tmode\ttext" with "\\", "\t", "\r" and "\n" escaped,
// and "NOSERVE" for a spreadsheet that answers no DDE at all.
inline std::string Serialize(const std::vector<Book>& books, const std::wstring& title, bool serves = true)
{
    auto esc = [](const std::wstring& s) {
        std::wstring o;
        for (wchar_t c : s) {
            if (c == L'\\') o += L"\\\\";
            else if (c == L'\t') o += L"\\t";
            else if (c == L'\r') o += L"\\r";
            else if (c == L'\n') o += L"\\n";
            else o += c;
        }
        return ToCodePage(CP_UTF8, o);
    };
    std::string out = "TITLE\t" + esc(title) + "\n";
    if (!serves) out += "NOSERVE\n";
    for (const Book& b : books) {
        out += "BOOK\t" + esc(b.name) + "\n";
        for (const Sheet& s : b.sheets) {
            out += "SHEET\t" + esc(s.name) + "\n";
            if (s.fillRows > 0 && s.fillCols > 0)
                out += "FILL\t" + std::to_string(s.fillRows) + "\t" + std::to_string(s.fillCols) + "\n";
            for (const Cell& c : s.cells) {
                out += "CELL\t" + std::to_string(c.row) + "\t" + std::to_string(c.col) + "\t" +
                       std::to_string(c.mode) + "\t" + esc(c.text) + "\n";
            }
        }
    }
    return out;
}

inline bool Parse(const std::string& data, std::vector<Book>* books, std::wstring* title, bool* serves)
{
    *serves = true;
    auto unesc = [](const std::string& s) {
        std::wstring w = FromCodePage(CP_UTF8, s), o;
        for (size_t i = 0; i < w.size(); ++i) {
            if (w[i] == L'\\' && i + 1 < w.size()) {
                wchar_t n = w[++i];
                o += n == L't' ? L'\t' : n == L'r' ? L'\r' : n == L'n' ? L'\n' : n;
            } else {
                o += w[i];
            }
        }
        return o;
    };
    size_t pos = 0;
    while (pos < data.size()) {
        size_t end = data.find('\n', pos);
        if (end == std::string::npos) end = data.size();
        std::string line = data.substr(pos, end - pos);
        pos = end + 1;
        std::vector<std::string> f;
        size_t p = 0;
        for (;;) {
            size_t t = line.find('\t', p);
            f.push_back(line.substr(p, t == std::string::npos ? std::string::npos : t - p));
            if (t == std::string::npos) break;
            p = t + 1;
        }
        if (f[0] == "TITLE" && f.size() == 2) {
            *title = unesc(f[1]);
        } else if (f[0] == "BOOK" && f.size() == 2) {
            books->push_back({unesc(f[1]), {}});
        } else if (f[0] == "SHEET" && f.size() == 2 && !books->empty()) {
            books->back().Add(unesc(f[1]));
        } else if (f[0] == "NOSERVE" && f.size() == 1) {
            *serves = false;
        } else if (f[0] == "FILL" && f.size() == 3 && !books->empty() && !books->back().sheets.empty()) {
            books->back().sheets.back().Fill(atoi(f[1].c_str()), atoi(f[2].c_str()));
        } else if (f[0] == "CELL" && f.size() == 5 && !books->empty() && !books->back().sheets.empty()) {
            books->back().sheets.back().Set(atoi(f[1].c_str()), atoi(f[2].c_str()), unesc(f[4]),
                                            atoi(f[3].c_str()));
        } else if (!line.empty()) {
            return false;
        }
    }
    return true;
}

class Spreadsheet
{
public:
    explicit Spreadsheet(std::vector<Book> books, const std::wstring& title = L"Microsoft Excel - test",
                         const std::wstring& service = L"Excel", DWORD lifeMs = 60000)
        : books_(std::move(books)), title_(title), service_(service), lifeMs_(lifeMs)
    {
        InitializeCriticalSection(&lock_);
        ready_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    }
    ~Spreadsheet()
    {
        if (thread_) {
            if (WaitForSingleObject(thread_, 0) == WAIT_TIMEOUT) {
                // A server started without waiting may still be making its window.
                HANDLE both[2] = {ready_, thread_};
                WaitForMultipleObjects(2, both, FALSE, 10000);
                if (window_) PostMessageW(window_, WM_CLOSE, 0, 0);
            }
            WaitForSingleObject(thread_, 10000);
            CloseHandle(thread_);
        }
        CloseHandle(ready_);
        DeleteCriticalSection(&lock_);
    }
    Spreadsheet(const Spreadsheet&) = delete;
    Spreadsheet& operator=(const Spreadsheet&) = delete;

    // Runs the server on a thread of its own; true once its window is up (bounded).
    bool Start()
    {
        thread_ = CreateThread(nullptr, 0, &Spreadsheet::ThreadMain, this, 0, nullptr);
        if (!thread_) return false;
        HANDLE both[2] = {ready_, thread_};
        return WaitForMultipleObjects(2, both, FALSE, 10000) == WAIT_OBJECT_0 && window_;
    }
    // Starts the thread and returns at once, as a program started by the shell would.
    bool StartAsync()
    {
        thread_ = CreateThread(nullptr, 0, &Spreadsheet::ThreadMain, this, 0, nullptr);
        return thread_ != nullptr;
    }
    // Runs the server on the calling thread until its window closes or its life ends.
    int Run()
    {
        if (!Create()) {
            SetEvent(ready_);
            return 1;
        }
        SetEvent(ready_);
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        return 0;
    }
    // Answers no DDE at all, as a program that shows a spreadsheet's title and never serves;
    // before Start or Run.
    void NeverServe() { serves_ = false; }
    // True when the server has ended within the bound (a thread server only).
    bool WaitClosed(DWORD ms) { return thread_ && WaitForSingleObject(thread_, ms) == WAIT_OBJECT_0; }
    HWND Window() const { return window_; }

    // Every request so far, as "topic|item".
    std::vector<std::wstring> Requests()
    {
        EnterCriticalSection(&lock_);
        std::vector<std::wstring> copy = requests_;
        LeaveCriticalSection(&lock_);
        return copy;
    }
    void ClearRequests()
    {
        EnterCriticalSection(&lock_);
        requests_.clear();
        LeaveCriticalSection(&lock_);
    }
    // Conversations open now.
    int OpenConversations()
    {
        EnterCriticalSection(&lock_);
        int n = static_cast<int>(convs_.size());
        LeaveCriticalSection(&lock_);
        return n;
    }

private:
    struct Conv
    {
        HWND window;
        HWND client;
        std::wstring topic;
        int book;   // -1 for "System"
        int sheet;  // -1 for the workbook topic
        ATOM late;  // the item of a CELL_LATE request not answered yet
        std::wstring lateText;
        bool remote;  // the client is another process (looked up once: a server call)
    };

    static DWORD WINAPI ThreadMain(LPVOID self) { return static_cast<DWORD>(static_cast<Spreadsheet*>(self)->Run()); }

    bool Create()
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = &Spreadsheet::MainProcOf;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"KtTestSpreadsheet";
        RegisterClassW(&wc);  // already registered by an earlier server: fine
        wc.lpfnWndProc = &Spreadsheet::ConvProcOf;
        wc.lpszClassName = L"KtTestSpreadsheetConv";
        RegisterClassW(&wc);
        CreateWindowExW(0, L"KtTestSpreadsheet", title_.c_str(), WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                        nullptr, wc.hInstance, this);
        if (!window_) return false;
        SetTimer(window_, 1, lifeMs_, nullptr);
        return true;
    }

    static Spreadsheet* Self(HWND w, UINT msg, LPARAM lp)
    {
        if (msg == WM_NCCREATE) {
            auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
            SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
        }
        return reinterpret_cast<Spreadsheet*>(GetWindowLongPtrW(w, GWLP_USERDATA));
    }
    static LRESULT CALLBACK MainProcOf(HWND w, UINT msg, WPARAM wp, LPARAM lp)
    {
        Spreadsheet* self = Self(w, msg, lp);
        if (!self) return DefWindowProcW(w, msg, wp, lp);
        // Known from the first message on: a client may ask while the window is being made.
        if (msg == WM_NCCREATE) self->window_ = w;
        return self->MainProc(w, msg, wp, lp);
    }
    static LRESULT CALLBACK ConvProcOf(HWND w, UINT msg, WPARAM wp, LPARAM lp)
    {
        Spreadsheet* self = Self(w, msg, lp);
        return self ? self->ConvProc(w, msg, wp, lp) : DefWindowProcW(w, msg, wp, lp);
    }

    LRESULT MainProc(HWND w, UINT msg, WPARAM wp, LPARAM lp)
    {
        switch (msg) {
        case WM_DDE_INITIATE:
            Initiate(reinterpret_cast<HWND>(wp), LOWORD(lp), HIWORD(lp));
            return 0;
        case WM_TIMER:
        case WM_CLOSE:
            End(true);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        }
        return DefWindowProcW(w, msg, wp, lp);
    }

    static std::wstring AtomName(ATOM a)
    {
        wchar_t buf[256] = {0};
        if (a) GlobalGetAtomNameW(a, buf, 256);
        return buf;
    }

    // The book whose name the text is, or ends in after a '\' (a workbook path).
    int FindBook(const std::wstring& text) const
    {
        for (int b = static_cast<int>(books_.size()) - 1; b >= 0; --b) {
            const std::wstring& n = books_[b].name;
            if (lstrcmpiW(text.c_str(), n.c_str()) == 0) return b;
            if (text.size() > n.size() && text[text.size() - n.size() - 1] == L'\\' &&
                lstrcmpiW(text.c_str() + text.size() - n.size(), n.c_str()) == 0)
                return b;
        }
        return -1;
    }
    int FindSheet(int b, const std::wstring& name) const
    {
        for (size_t s = 0; s < books_[b].sheets.size(); ++s) {
            if (lstrcmpiW(books_[b].sheets[s].name.c_str(), name.c_str()) == 0) return static_cast<int>(s);
        }
        return -1;
    }
    bool Resolve(const std::wstring& topic, int* book, int* sheet) const
    {
        *book = *sheet = -1;
        if (lstrcmpiW(topic.c_str(), L"System") == 0) return true;
        if (!topic.empty() && topic[0] == L'[') {
            size_t close = topic.find(L']');
            if (close == std::wstring::npos) return false;
            *book = FindBook(topic.substr(1, close - 1));
            if (*book < 0) return false;
            *sheet = FindSheet(*book, topic.substr(close + 1));
            return *sheet >= 0;
        }
        *book = FindBook(topic);
        if (*book >= 0) return true;
        for (int b = static_cast<int>(books_.size()) - 1; b >= 0; --b) {
            *sheet = FindSheet(b, topic);
            if (*sheet >= 0) {
                *book = b;
                return true;
            }
        }
        return false;
    }

    void Initiate(HWND client, ATOM app, ATOM topicAtom)
    {
        if (!serves_) return;
        if (app && lstrcmpiW(AtomName(app).c_str(), service_.c_str()) != 0) return;
        if (!topicAtom) return;  // no wildcard topics: the client under test never asks for them
        std::wstring topic = AtomName(topicAtom);
        int book, sheet;
        if (!Resolve(topic, &book, &sheet)) return;
        HWND conv = CreateWindowExW(0, L"KtTestSpreadsheetConv", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                    GetModuleHandleW(nullptr), this);
        if (!conv) return;
        DWORD pid = 0;
        GetWindowThreadProcessId(client, &pid);
        EnterCriticalSection(&lock_);
        convs_.push_back({conv, client, topic, book, sheet, 0, std::wstring(), pid != GetCurrentProcessId()});
        LeaveCriticalSection(&lock_);
        ATOM a1 = GlobalAddAtomW(service_.c_str());
        ATOM a2 = GlobalAddAtomW(topic.c_str());
        SendMessageW(client, WM_DDE_ACK, reinterpret_cast<WPARAM>(conv), MAKELPARAM(a1, a2));
    }

    Conv* FindConv(HWND w)
    {
        for (Conv& c : convs_) {
            if (c.window == w) return &c;
        }
        return nullptr;
    }

    LRESULT ConvProc(HWND w, UINT msg, WPARAM wp, LPARAM lp)
    {
        switch (msg) {
        case WM_DDE_REQUEST:
            Request(w, reinterpret_cast<HWND>(wp), LOWORD(lp), HIWORD(lp));
            return 0;
        case WM_DDE_TERMINATE:
            PostMessageW(reinterpret_cast<HWND>(wp), WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(w), 0);
            DropConv(w);
            DestroyWindow(w);
            return 0;
        case WM_DDE_ACK:
            FreeDDElParam(msg, lp);
            return 0;
        }
        return DefWindowProcW(w, msg, wp, lp);
    }

    void DropConv(HWND w)
    {
        EnterCriticalSection(&lock_);
        for (size_t i = 0; i < convs_.size(); ++i) {
            if (convs_[i].window == w) {
                convs_.erase(convs_.begin() + i);
                break;
            }
        }
        LeaveCriticalSection(&lock_);
    }

    bool FindCell(const Conv& c, int row, int col, Cell* out) const
    {
        if (c.book < 0) return false;
        const Sheet& s = books_[c.book].sheets[c.sheet < 0 ? 0 : c.sheet];
        for (const Cell& cell : s.cells) {
            if (cell.row == row && cell.col == col) {
                *out = cell;
                return true;
            }
        }
        if (row > s.fillRows || col > s.fillCols) return false;
        *out = Cell{row, col, FillText(row, col), CELL_TEXT};
        return true;
    }

    // "R<row>C<col>", both from 1.
    static bool ParseItem(const std::wstring& name, int* row, int* col)
    {
        size_t i = 0;
        auto number = [&](int* out) {
            long long v = 0;
            size_t first = i;
            while (i < name.size() && name[i] >= L'0' && name[i] <= L'9' && i - first < 9) v = v * 10 + (name[i++] - L'0');
            *out = static_cast<int>(v);
            return i > first && v > 0;
        };
        if (i >= name.size() || (name[i] != L'R' && name[i] != L'r')) return false;
        ++i;
        if (!number(row)) return false;
        if (i >= name.size() || (name[i] != L'C' && name[i] != L'c')) return false;
        ++i;
        return number(col) && i == name.size();
    }

    void Request(HWND w, HWND client, UINT format, ATOM item)
    {
        EnterCriticalSection(&lock_);
        Conv* c = FindConv(w);
        Conv conv = c ? *c : Conv{};
        if (c) c->late = 0;
        std::wstring name = AtomName(item);
        requests_.push_back(conv.topic + L"|" + name);
        LeaveCriticalSection(&lock_);
        if (conv.late) Reply(w, client, conv.remote, conv.late, conv.lateText + L"\r\n");

        if (c && conv.book < 0 && lstrcmpiW(name.c_str(), L"Topics") == 0 && format == CF_TEXT) {
            // The server's topics, as a spreadsheet lists them on "System".
            std::wstring topics;
            for (const Book& b : books_) {
                for (const Sheet& sh : b.sheets) topics += L"[" + b.name + L"]" + sh.name + L"\t";
            }
            Reply(w, client, conv.remote, item, topics + L"System");
            return;
        }
        int row = 0, col = 0;
        bool cell = ParseItem(name, &row, &col);
        bool ok = c && format == CF_TEXT && cell && conv.book >= 0 &&
                  !(conv.sheet < 0 && books_[conv.book].sheets.empty());
        Cell cellFound;
        const Cell* found = ok && FindCell(conv, row, col, &cellFound) ? &cellFound : nullptr;
        if (found && (found->mode == CELL_CLOSE || found->mode == CELL_CRASH)) {
            GlobalDeleteAtom(item);
            End(found->mode == CELL_CLOSE);
            return;
        }
        if (found && found->mode == CELL_LATE) {
            EnterCriticalSection(&lock_);
            if (Conv* now = FindConv(w)) {
                now->late = item;
                now->lateText = found->text;
            }
            LeaveCriticalSection(&lock_);
            return;
        }
        if (found && found->mode == CELL_SILENT) {
            GlobalDeleteAtom(item);
            return;
        }
        if (!ok || (found && found->mode == CELL_NACK)) {
            LPARAM ack = PackDDElParam(WM_DDE_ACK, 0, item);
            if (!PostMessageW(client, WM_DDE_ACK, reinterpret_cast<WPARAM>(w), ack)) {
                FreeDDElParam(WM_DDE_ACK, ack);
                GlobalDeleteAtom(item);
            }
            return;
        }
        Reply(w, client, conv.remote, item, (found ? found->text : std::wstring()) + L"\r\n");
    }

    // Posts the text as CF_TEXT data (code page 932) in answer to the request of the item.
    void Reply(HWND w, HWND client, bool remote, ATOM item, const std::wstring& text)
    {
        std::string bytes = ToCodePage(932, text);
        HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, sizeof(DDEDATA) + bytes.size() + 1);
        if (!data) return;
        DDEDATA* d = static_cast<DDEDATA*>(GlobalLock(data));
        std::memset(d, 0, sizeof(DDEDATA));
        d->fResponse = 1;
        d->fRelease = 1;
        d->fAckReq = 0;
        d->cfFormat = CF_TEXT;
        std::memcpy(d->Value, bytes.c_str(), bytes.size() + 1);
        GlobalUnlock(data);
        LPARAM lpData = PackDDElParam(WM_DDE_DATA, reinterpret_cast<UINT_PTR>(data), item);
        if (PostMessageW(client, WM_DDE_DATA, reinterpret_cast<WPARAM>(w), lpData)) {
            // Another process gets a copy of the block; ours is left to us to free.
            if (remote) GlobalFree(data);
        } else {
            FreeDDElParam(WM_DDE_DATA, lpData);
            GlobalFree(data);
            GlobalDeleteAtom(item);
        }
    }

    // Ends every conversation (told to the clients, or not at all as in a crash), then the
    // server.
    void End(bool terminate)
    {
        EnterCriticalSection(&lock_);
        std::vector<Conv> open = convs_;
        convs_.clear();
        LeaveCriticalSection(&lock_);
        for (const Conv& c : open) {
            if (terminate) PostMessageW(c.client, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(c.window), 0);
            DestroyWindow(c.window);
        }
        KillTimer(window_, 1);
        DestroyWindow(window_);
    }

    std::vector<Book> books_;
    std::wstring title_;
    std::wstring service_;
    DWORD lifeMs_;
    bool serves_ = true;
    HWND window_ = nullptr;
    HANDLE thread_ = nullptr;
    HANDLE ready_ = nullptr;
    CRITICAL_SECTION lock_;
    std::vector<Conv> convs_;
    std::vector<std::wstring> requests_;
};

inline HDDEDATA CALLBACK NoCallback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR)
{
    return 0;
}

// Waits until a server of the service answers on "System": a DdeConnect every 50 ms, at
// most the bound. True when one answered.
inline bool WaitForServer(DWORD ms = 10000, const wchar_t* service = L"Excel")
{
    DWORD inst = 0;
    if (DdeInitializeW(&inst, &NoCallback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) return false;
    HSZ svc = DdeCreateStringHandleW(inst, service, CP_WINUNICODE);
    HSZ sys = DdeCreateStringHandleW(inst, L"System", CP_WINUNICODE);
    bool found = false;
    const DWORD start = GetTickCount();
    for (;;) {
        HCONV c = DdeConnect(inst, svc, sys, nullptr);
        if (c) {
            DdeDisconnect(c);
            found = true;
            break;
        }
        if (GetTickCount() - start >= ms) break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
    DdeFreeStringHandle(inst, svc);
    DdeFreeStringHandle(inst, sys);
    DdeUninitialize(inst);
    return found;
}

}  // namespace xlserver
