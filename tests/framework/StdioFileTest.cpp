#include "framework/StdioFile.h"
#include "support/TempFolder.h"
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace {

const UINT TextRead = CFile::modeRead | CFile::shareDenyWrite | CFile::typeText;
const UINT TextWrite = CFile::modeCreate | CFile::modeWrite | CFile::typeText;
using Lines = std::vector<std::string>;

Lines ReadAllLines(const std::string& path, UINT flags = TextRead)
{
    CStdioFile file;
    EXPECT_TRUE(file.Open(path, flags));
    Lines lines;
    std::string line;
    while (file.ReadString(line))
        lines.push_back(line);
    file.Close();
    return lines;
}

} // namespace

TEST(StdioFile, WritesLfAsCrLfInTextModeOnly)
{
    TempFolder folder;
    const std::string bytes("one\n\nbare\rcr\r\n\0x", 16);
    for (const UINT type : { CFile::typeText, CFile::typeBinary }) {
        CStdioFile file;
        ASSERT_TRUE(file.Open(folder.File("t"), CFile::modeCreate | CFile::modeWrite | type));
        file.WriteString(bytes.substr(0, 5));
        file.Write(bytes.data() + 5, static_cast<UINT>(bytes.size() - 5));
        file.Close();
        EXPECT_EQ(type == CFile::typeText ? std::string("one\r\n\r\nbare\rcr\r\r\n\0x", 19) : bytes, folder.Read("t"));
    }
}

TEST(StdioFile, ReadStringEndsLinesAtLfAndDropsOnlyTheCrBeforeIt)
{
    TempFolder folder;
    folder.Write("t", std::string("one\r\ntwo\nthree\rsame\r\n\r\nnul\0byte\r\r\nlast", 38));
    EXPECT_EQ((Lines{ "one", "two", "three\rsame", "", std::string("nul\0byte\r", 9), "last" }),
              ReadAllLines(folder.File("t")));
    EXPECT_EQ("one\r", ReadAllLines(folder.File("t"), CFile::modeRead | CFile::typeBinary).at(0));

    folder.Write("empty", "");
    folder.Write("blank", "a\n\n");
    EXPECT_EQ(Lines{}, ReadAllLines(folder.File("empty")));
    EXPECT_EQ((Lines{ "a", "" }), ReadAllLines(folder.File("blank")));
}

// The read-ahead may cut a CR LF pair anywhere; the CR must still go, in lines and in Read.
TEST(StdioFile, CrLfAcrossBlockBoundaries)
{
    TempFolder folder;
    for (size_t block : { 512u, 4096u, 65536u }) {
        for (size_t length = block - 2; length <= block + 1; ++length) {
            const std::string first(length, 'x');
            folder.Write("t", first + "\r\nnext\r\n\r");
            EXPECT_EQ((Lines{ first, "next", "\r" }), ReadAllLines(folder.File("t"))) << length;

            CStdioFile file;
            ASSERT_TRUE(file.Open(folder.File("t"), TextRead));
            std::string raw(length + 8, '?');
            EXPECT_EQ(length + 7, file.Read(&raw[0], static_cast<UINT>(raw.size())));
            EXPECT_EQ(first + "\nnext\n\r?", raw) << length;
        }
    }
}

// A file read in one go, after a line read the usual way, splits into the same lines.
TEST(StdioFile, TheRestReadInOneGoSplitsIntoTheLinesOfReadString)
{
    TempFolder folder;
    const std::string files[] = { std::string("one\r\ntwo\nthree\rsame\r\n\r\nnul\0byte\r\r\nlast", 38), "", "a\n\n",
                                  "x\r\nnext\r\n\r", std::string(70000, 'y') + "\r\nz\r\n\r" };
    // One room for every read, all files twice: each lands in room that held a longer
    // text, a shorter one, or too little for it.
    std::string rest(50, 'q');
    for (size_t read = 0; read < 2 * std::size(files); ++read) {
        const std::string& bytes = files[read % std::size(files)];
        folder.Write("t", bytes);
        CStdioFile file;
        ASSERT_TRUE(file.Open(folder.File("t"), TextRead));
        Lines lines;
        std::string first;
        if (file.ReadString(first))
            lines.push_back(first);
        file.ReadRest(rest);
        size_t at = 0;
        std::string_view line;
        while (CStdioFile::NextLine(rest, at, line))
            lines.emplace_back(line);
        file.Close();
        EXPECT_EQ(ReadAllLines(folder.File("t")), lines) << bytes.substr(0, 20);
    }
}

// Bytes next to an LF that a word-at-a-time search could take for one, or miss it by.
TEST(StdioFile, FindsTheFirstLineFeedWhereverItLies)
{
    const char neighbours[] = { 'a', '\x0B', '\x09', '\x8A', '\0', '\xFF', '\x0A' ^ '\x80', '\x01' };
    for (size_t length = 0; length <= 20; ++length) {
        for (const char fill : neighbours) {
            for (size_t lineFeed = 0; lineFeed <= length; ++lineFeed) {
                std::string bytes(length, fill);
                // lineFeed == length: none at all.
                if (lineFeed < length)
                    bytes[lineFeed] = '\n';
                // A second LF further on must not be found first.
                if (lineFeed + 3 < length)
                    bytes[lineFeed + 3] = '\n';
                for (size_t from = 0; from <= lineFeed && from <= length; ++from) {
                    const size_t expected = lineFeed < length ? lineFeed : std::string_view::npos;
                    EXPECT_EQ(expected, CStdioFile::FindLineFeed(bytes, from))
                        << "length " << length << " fill " << int(fill) << " LF at " << lineFeed << " from " << from;
                }
            }
        }
    }
}

TEST(StdioFile, WritingAfterReadingStartsWhereTheReaderStands)
{
    TempFolder folder;
    folder.Write("t", "first\nsecond\nthird\n");
    CStdioFile file;
    ASSERT_TRUE(file.Open(folder.File("t"), CFile::modeReadWrite | CFile::typeBinary));
    std::string line;
    ASSERT_TRUE(file.ReadString(line));
    file.WriteString("SECOND");
    ASSERT_TRUE(file.ReadString(line));
    EXPECT_EQ("", line);
    ASSERT_TRUE(file.ReadString(line));
    EXPECT_EQ("third", line);
    file.Close();
    EXPECT_EQ("first\nSECOND\nthird\n", folder.Read("t"));
}

TEST(StdioFile, BufferedTextReachesTheFileWithoutClose)
{
    TempFolder folder;
    {
        CStdioFile file;
        ASSERT_TRUE(file.Open(folder.File("t"), TextWrite));
        file.WriteString("a\nb");
        EXPECT_EQ(4u, file.GetLength());
    }
    EXPECT_EQ("a\r\nb", folder.Read("t"));
    CStdioFile file;
    ASSERT_TRUE(file.Open(folder.File("t"), TextWrite));
    file.WriteString("kept");
    file.Abort();
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ("kept", folder.Read("t"));
}

TEST(File, CreateTruncatesUnlessNoTruncate)
{
    TempFolder folder;
    folder.Write("t", "hello");
    CFile file;
    ASSERT_TRUE(file.Open(folder.File("t"), CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite));
    file.Write("J", 1);
    file.Close();
    EXPECT_EQ("Jello", folder.Read("t"));
    ASSERT_TRUE(file.Open(folder.File("t"), CFile::modeCreate | CFile::modeWrite));
    EXPECT_EQ(0u, file.GetLength());
    EXPECT_EQ(folder.File("t"), file.GetFilePath());
}

TEST(FileException, FailedOpenTellsCauseOsErrorAndName)
{
    TempFolder folder;
    CStdioFile file;
    CFileException error;
    EXPECT_FALSE(file.Open(folder.File("missing"), TextRead, &error));
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(CFileException::fileNotFound, error.m_cause);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, error.m_lOsError);
    EXPECT_EQ(folder.File("missing"), error.m_strFileName);
    const std::string text = error.GetErrorMessage();
    ASSERT_FALSE(text.empty());
    EXPECT_NE('\n', text.back());

    EXPECT_FALSE(file.Open(folder.File("no\\such\\file"), TextRead, &error));
    EXPECT_EQ(CFileException::badPath, error.m_cause);

    folder.Write("t", "x");
    CFile reader;
    ASSERT_TRUE(reader.Open(folder.File("t"), CFile::modeRead | CFile::shareDenyWrite));
    EXPECT_FALSE(file.Open(folder.File("t"), CFile::modeWrite | CFile::shareDenyNone, &error));
    EXPECT_EQ(CFileException::sharingViolation, error.m_cause);
    EXPECT_TRUE(file.Open(folder.File("t"), CFile::modeRead | CFile::shareDenyNone));
}

TEST(FileException, ReadAndWriteErrorsAreThrown)
{
    TempFolder folder;
    folder.Write("t", "content\n");
    CStdioFile file;
    ASSERT_TRUE(file.Open(folder.File("t"), CFile::modeWrite | CFile::typeText));
    std::string line;
    try {
        file.ReadString(line);
        ADD_FAILURE() << "reading a file opened for writing did not throw";
    } catch (const CFileException& e) {
        EXPECT_EQ(CFileException::accessDenied, e.m_cause);
        EXPECT_EQ(folder.File("t"), e.m_strFileName);
    }
    file.Close();

    // A buffered write fails when it reaches the system, at the latest in Close,
    // which still closes the file.
    ASSERT_TRUE(file.Open(folder.File("t"), TextRead));
    file.WriteString("text");
    EXPECT_THROW(file.Close(), CFileException);
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ("content\n", folder.Read("t"));
}
