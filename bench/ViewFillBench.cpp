// Times opening a greeting of 10,000 actions into the main window (reading the file, then
// the view's refill: rows, images, column width) and the refill alone, next to filling a
// bare list view with the same 10,000 rows as the yardstick; and loading a greeting of
// 100,000 actions next to a plain read of its file, as GreetingFileBench does.
#include "app/MainFrame.h"
#include "app/ParloView.h"
#include "framework/DocTemplate.h"
#include "framework/WinApp.h"
#include "greeting/ParloDoc.h"
#include "greeting/Vocabulary.h"
#include "res/resource.h"
#include "settings/AppSettings.h"
#include "GreetingLoad.h"
#include "Stopwatch.h"
#include <commctrl.h>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

const int ActionCount = 10000;
const int LargeActionCount = 100000;
// Each in turn with the others; enough rounds that a quiet moment of a busy machine is among them.
const int Runs = 9;
// A load takes milliseconds: more of them, so that one quiet moment of a busy machine is among them.
const int LoadRuns = 15;

std::string WriteGreeting(const char* name, int actionCount)
{
    char folder[MAX_PATH];
    ::GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + name;
    CParloDoc doc;
    const char* commands[] = { "Show", "Say", "Animate", "Move", "Hide" };
    const char* arguments[] = { "Animate", "Hello, \"friend\", and welcome to your greeting!", "Wave", "Bottom Right",
                                "Don't Animate" };
    for (int i = 0; i < actionCount; ++i)
        doc.InsertAction(new GreetingAction("Merlin", commands[i % 5], arguments[i % 5]), i);
    doc.WriteGreetingFile(path);
    return path;
}

void PrintRatio(const char* name, double ms, double yardstick, double limit)
{
    const double ratio = ms / yardstick;
    std::printf("%-34s %8.1f ms  %5.2fx  target %.1fx  %s\n", name, ms, ratio, limit,
                ratio <= limit ? "within target" : "OVER TARGET");
}

// A bare report list view of the view list's size, with the one column, as the yardstick's.
HWND CreateBareList(HWND parent, HWND like)
{
    RECT client;
    ::GetClientRect(like, &client);
    HWND list = ::CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, client.right,
                                  client.bottom, parent, nullptr, nullptr, nullptr);
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT;
    column.pszText = const_cast<char*>("Action");
    ::SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    return list;
}

// Filled the way a list is filled in bulk: painting held back until the rows are in.
void FillBareList(HWND list, const std::vector<std::string>& rows, bool images)
{
    ::SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    ::SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    LVITEMA item{};
    item.mask = images ? LVIF_TEXT | LVIF_IMAGE : LVIF_TEXT;
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
        item.iItem = i;
        item.iImage = i % 5;
        item.pszText = const_cast<char*>(rows[i].c_str());
        ::SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
    ::SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list, nullptr, TRUE);
}

} // namespace

int main()
{
    INITCOMMONCONTROLSEX controls{ sizeof(controls), ICC_WIN95_CLASSES };
    ::InitCommonControlsEx(&controls);
    FillVocabulary();
    GetSettings().UserName = "Bench";
    const std::string path = WriteGreeting("ViewFillBench.pcg", ActionCount);
    const std::string largePath = WriteGreeting("ViewFillBenchLarge.pcg", LargeActionCount);
    const GreetingLoadTimes loading =
        TimeGreetingLoad(largePath, LoadRuns, [](CParloDoc& loaded) { return loaded.GetActionCount() == LargeActionCount; });

    CWinApp app;
    app.AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CParloDoc), RUNTIME_CLASS(CMainFrame),
                                              RUNTIME_CLASS(CParloView)));
    app.OnFileNew();
    app.m_pMainWnd->ShowWindow(SW_SHOW);
    auto* view = dynamic_cast<CParloView*>(static_cast<CMainFrame*>(app.m_pMainWnd)->GetActiveView());
    CParloDoc* doc = view->GetDocument();
    app.OpenDocumentFile(path);

    // The yardstick: a plain list view of the same size with the same rows; and the same
    // with a small-image list and an image per row, as the view's rows have.
    std::vector<std::string> rows;
    for (int i = 0; i < doc->GetActionCount(); ++i)
        rows.push_back(doc->GetAction(i)->GetDescription());
    HWND plainList = CreateBareList(app.m_pMainWnd->m_hWnd, view->GetListControl());
    HWND imageList = CreateBareList(app.m_pMainWnd->m_hWnd, view->GetListControl());
    HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR8 | ILC_MASK, 5, 1);
    ImageList_SetImageCount(images, 5);
    ::SendMessageA(imageList, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));

    // In turns, so that a busy moment of the machine falls on all alike.
    double open = 1e300, refill = 1e300, plain = 1e300, withImages = 1e300;
    for (int run = 0; run < Runs; ++run) {
        open = std::min(open, BestOf(1, [&]() { app.OpenDocumentFile(path); }));
        refill = std::min(refill, BestOf(1, [&]() { doc->UpdateAllViews(nullptr); }));
        plain = std::min(plain, BestOf(1, [&]() { FillBareList(plainList, rows, false); }));
        withImages = std::min(withImages, BestOf(1, [&]() { FillBareList(imageList, rows, true); }));
    }
    ::DestroyWindow(plainList);
    ::DestroyWindow(imageList);
    ImageList_Destroy(images);

    std::printf("%d actions, best of %d runs\n", ActionCount, Runs);
    std::printf("bare list view fill (yardstick)    %8.1f ms\n", plain);
    std::printf("bare fill with row images          %8.1f ms  %5.2fx\n", withImages, withImages / plain);
    PrintRatio("view refill (rows, images, width)", refill, plain, 1.5);
    PrintRatio("open the greeting into the view", open, plain, 2.0);
    std::printf("%d actions, best of %d: plain file read %6.2f ms\n", LargeActionCount, LoadRuns, loading.plainRead);
    PrintRatio("load the greeting of them", loading.load, loading.plainRead, 10.0);
    app.m_pMainWnd->DestroyWindow();
    ::DeleteFileA(path.c_str());
    ::DeleteFileA(largePath.c_str());
    return loading.correct ? 0 : 1;
}
