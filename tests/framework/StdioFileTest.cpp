#include "framework/StdioFile.h"
#include "support/TempFolder.h"
#include <gtest/gtest.h>
#include <vector>

namespace {

const UINT TextRead = CFile::modeRead | CFile::shareDenyWrite | CFile::typeText;
const UINT TextWrite = CFile::modeCreate | CFile::modeWrite | CFile::typeText;

std::vector<std::string> ReadAllLines(const std::string& path, UINT flags = TextRead)
{
    CStdioFile file;
    EXPECT_TRUE(file.Open(path, flags));
    std::vector<std::string> lines;
    std::string line;
    while (file.ReadString(line))
        lines.push_back(line);
    file.Close();
    return lines;
}

using Lines = std::vector<std::string>;

} // namespace

TEST(StdioFile, TextModeWritesEveryLineFeedAsCrLf)
{
    TempFolder folder;
    CStdioFile file;
    ASSERT_TRUE(file.Open(folder.File("t.txt"), TextWrite));
    file.WriteString("one\ntwo\n\n");
    file.WriteString("bare\rcr\r\n");
    file.Write("x\ny", 3);
    file.Close();
    EXPECT_EQ("one\r\ntwo\r\n\r\nbare\rcr\r\r\nx\r\ny", folder.Read("t.txt"));
}

TEST(StdioFile, BinaryModeWritesBytesUnchanged)
{
    TempFolder folder;
    CStdioFile file;
    ASSERT_TRUE(file.Open(folder.File("b.bin"), CFile::modeCreate | CFile::modeWrite | CFile::typeBinary));
    const std::string bytes("a\nb\r\n\0c", 7);
    file.WriteString(bytes);
    file.Close();
    EXPECT_EQ(bytes, folder.Read("b.bin"));
}

TEST(StdioFile, ReadStringSplitsAtLfAndCrLfAndKeepsLoneCrAndNul)
{
    TempFolder folder;
    folder.Write("t.txt", std::string("one\r\ntwo\nthree\rsame\r\n\r\nnul\0byte\r\r\nlast", 38));
    EXPECT_EQ((Lines{ "one", "two", "three\rsame", "", std::string("nul\0byte\r", 9), "last" }),
              ReadAllLines(folder.File("t.txt")));
    EXPECT_EQ("one\r", ReadAllLines(folder.File("t.txt"), CFile::modeRead | CFile::typeBinary).at(0));
}

TEST(StdioFile, ReadStringAtEndOfFile)
{
    TempFolder folder;
    folder.Write("empty", "");
    folder.Write("newline", "\n");
    folder.Write("twice", "a\n\n");
    EXPECT_EQ(Lines{}, ReadAllLines(folder.File("empty")));
    EXPECT_EQ(Lines{ "" }, ReadAllLines(folder.File("newline")));
    EXPECT_EQ((Lines{ "a", "" }), ReadAllLines(folder.File("twice")));
}

// A CR LF pair may be cut by the read-ahead at any place; the CR must still go.
TEST(StdioFile, CrLfAcrossBlockBoundaries)
{
    TempFolder folder;
    for (size_t block : { 512u, 4096u, 65536u }) {
        for (size_t length = block - 2; length <= block + 1; ++length) {
            const std::string first(length, 'x');
            folder.Write("t.txt", first + "\r\nnext\r\n");
            EXPECT_EQ((Lines{ first, "next" }), ReadAllLines(folder.File("t.txt"))) << length;

            CStdioFile file;
            ASSERT_TRUE(file.Open(folder.File("t.txt"), TextRead));
            std::string raw(length + 6, '?');
            EXPECT_EQ(length + 6, file.Read(&raw[0], static_cast<UINT>(raw.size())));
            EXPECT_EQ(first + "\nnext\n", raw) << length;
        }
    }
}

TEST(StdioFile, LongLinesAreReadWhole)
{
    TempFolder folder;
    std::string big(3 * 1024 * 1024 + 17, 'q');
    for (size_t i = 0; i < big.size(); i += 4099)
        big[i] = static_cast<char>('a' + i % 26);
    folder.Write("big.txt", big + "\r\n" + big);
    EXPECT_EQ((Lines{ big, big }), ReadAllLines(folder.File("big.txt")));
}

TEST(StdioFile, TextModeReadTurnsCrLfIntoLf)
{
    TempFolder folder;
    folder.Write("t.txt", "a\r\nb\rc\r\n\r");
    CStdioFile file;
    ASSERT_TRUE(file.Open(folder.File("t.txt"), TextRead));
    char buffer[16];
    const UINT got = file.Read(buffer, sizeof buffer);
    EXPECT_EQ("a\nb\rc\n\r", std::string(buffer, got));
    EXPECT_EQ(0u, file.Read(buffer, sizeof buffer));
}

TEST(StdioFile, WritingAfterReadingStartsWhereTheReaderStands)
{
    TempFolder folder;
    folder.Write("t.txt", "first\nsecond\nthird\n");
    CStdioFile file;
    ASSERT_TRUE(file.Open(folder.File("t.txt"), CFile::modeReadWrite | CFile::typeBinary));
    std::string line;
    ASSERT_TRUE(file.ReadString(line));
    file.WriteString("SECOND");
    ASSERT_TRUE(file.ReadString(line));
    EXPECT_EQ("", line);
    ASSERT_TRUE(file.ReadString(line));
    EXPECT_EQ("third", line);
    file.Close();
    EXPECT_EQ("first\nSECOND\nthird\n", folder.Read("t.txt"));
}

TEST(StdioFile, BufferedTextReachesTheFile)
{
    TempFolder folder;
    {
        CStdioFile file;
        ASSERT_TRUE(file.Open(folder.File("t.txt"), TextWrite));
        file.WriteString("a\nb");
        EXPECT_EQ(4u, file.GetLength());
    }
    EXPECT_EQ("a\r\nb", folder.Read("t.txt"));
    CStdioFile file;
    ASSERT_TRUE(file.Open(folder.File("t.txt"), TextWrite));
    file.WriteString("kept");
    file.Abort();
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ("kept", folder.Read("t.txt"));
}

TEST(StdioFile, CreateTruncatesUnlessNoTruncate)
{
    TempFolder folder;
    folder.Write("t.txt", "hello");
    CFile file;
    ASSERT_TRUE(file.Open(folder.File("t.txt"), CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite));
    EXPECT_EQ(5u, file.GetLength());
    file.Write("J", 1);
    file.Close();
    EXPECT_EQ("Jello", folder.Read("t.txt"));
    ASSERT_TRUE(file.Open(folder.File("t.txt"), CFile::modeCreate | CFile::modeWrite));
    EXPECT_EQ(0u, file.GetLength());
    EXPECT_EQ(folder.File("t.txt"), file.GetFilePath());
}

TEST(FileException, FailedOpenTellsCauseOsErrorAndName)
{
    TempFolder folder;
    CStdioFile file;
    CFileException error;
    const std::string missing = folder.File("missing.txt");
    EXPECT_FALSE(file.Open(missing, TextRead, &error));
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(CFileException::fileNotFound, error.m_cause);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, error.m_lOsError);
    EXPECT_EQ(missing, error.m_strFileName);
    const std::string text = error.GetErrorMessage();
    EXPECT_FALSE(text.empty());
    EXPECT_NE('\n', text.back());

    EXPECT_FALSE(file.Open(folder.File("no\\such\\folder.txt"), TextRead, &error));
    EXPECT_EQ(CFileException::badPath, error.m_cause);
}

TEST(FileException, SharingIsEnforced)
{
    TempFolder folder;
    folder.Write("t.txt", "x");
    CStdioFile reader;
    ASSERT_TRUE(reader.Open(folder.File("t.txt"), TextRead));
    CFile other;
    CFileException error;
    EXPECT_FALSE(other.Open(folder.File("t.txt"), CFile::modeWrite | CFile::shareDenyNone, &error));
    EXPECT_EQ(CFileException::sharingViolation, error.m_cause);
    EXPECT_TRUE(other.Open(folder.File("t.txt"), CFile::modeRead | CFile::shareDenyNone));
    other.Close();
    reader.Close();
    ASSERT_TRUE(reader.Open(folder.File("t.txt"), CFile::modeRead | CFile::shareExclusive));
    EXPECT_FALSE(other.Open(folder.File("t.txt"), CFile::modeRead | CFile::shareDenyNone));
}

TEST(FileException, ReadAndWriteErrorsAreThrown)
{
    TempFolder folder;
    folder.Write("t.txt", "content\n");
    CStdioFile file;
    ASSERT_TRUE(file.Open(folder.File("t.txt"), CFile::modeWrite | CFile::typeText));
    std::string line;
    try {
        file.ReadString(line);
        ADD_FAILURE() << "reading a file opened for writing did not throw";
    } catch (const CFileException& e) {
        EXPECT_EQ(CFileException::accessDenied, e.m_cause);
        EXPECT_EQ(folder.File("t.txt"), e.m_strFileName);
    }
    file.Close();

    // A buffered write fails when it reaches the system, at the latest in Close,
    // which still closes the file.
    ASSERT_TRUE(file.Open(folder.File("t.txt"), TextRead));
    file.WriteString("text");
    EXPECT_THROW(file.Close(), CFileException);
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ("content\n", folder.Read("t.txt"));
}
