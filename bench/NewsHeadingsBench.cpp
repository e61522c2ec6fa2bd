// Times placing the headings of a news document with 20,000 version markers (once a
// minute-long freeze of the program) beside the anchor: streaming the same document into
// a rich edit control, which the news dialog does anyway. Target: the headings cost less
// than the streaming.
//
//   NewsHeadingsBench [markers]        default 20000
#include "Stopwatch.h"
#include "update/NewsDocument.h"
#include <windows.h>
#include <richedit.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

const int Runs = 3;

struct Stream {
    const std::string* text;
    size_t position;
};

DWORD CALLBACK StreamIn(DWORD_PTR cookie, LPBYTE buffer, LONG requested, LONG* handed)
{
    Stream* stream = reinterpret_cast<Stream*>(cookie);
    const size_t count = std::min(static_cast<size_t>(requested), stream->text->size() - stream->position);
    std::copy_n(stream->text->data() + stream->position, count, buffer);
    stream->position += count;
    *handed = static_cast<LONG>(count);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const int markers = argc > 1 ? std::atoi(argv[1]) : 20000;
    std::string news = "{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs20\n";
    for (int i = 0; i < markers; ++i)
        news += "@@Version " + std::to_string(i % 2 ? 2 : 0) + ".0." + std::to_string(i) + "\\par\nA change.\\par\n";
    news += "}\n";

    std::string placed;
    const double placing = BestOf(Runs, [&] {
        placed = PlaceNewsHeadings(news, "New in this update:\r\n", "Already in your version:\r\n",
                                   VersionNumber("1.0.4.0"));
    });

    ::LoadLibraryA("riched20.dll");
    const double streaming = BestOf(Runs, [&] {
        HWND edit = ::CreateWindowExA(0, RICHEDIT_CLASSA, "", ES_MULTILINE | WS_POPUP, 0, 0, 600, 400, nullptr,
                                      nullptr, nullptr, nullptr);
        Stream stream = { &placed, 0 };
        EDITSTREAM callback = { reinterpret_cast<DWORD_PTR>(&stream), 0, &StreamIn };
        ::SendMessageA(edit, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&callback));
        ::DestroyWindow(edit);
    });
    std::printf("news of %zu bytes with %d markers: headings placed in %.1f ms; "
                "the result streamed into a rich edit in %.1f ms (anchor)\n",
                news.size(), markers, placing, streaming);
    return placing < streaming ? 0 : 1;
}
