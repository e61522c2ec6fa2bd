#include "greeting/ParloDoc.h"
#include "app/AppSettings.h"
#include "support/MessageBoxAnswerer.h"
#include "support/TempFolder.h"
#include <windows.h>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

const char Header[] = "Parlacard File Version : 1\r\n";
const char WrongFormat[] = "Wrong file format.\nThis file is not a valid Parlacard file.";
const char NewerVersion[] = "A newer version of the application wrote the parlacard file.";
const char SaveFailed[] = "An error occurred saving the parlacard file.";

class ParloDocTest : public testing::Test {
protected:
    void SetUp() override
    {
        GetSettings().UserName = "Ann Sender";
        GetSettings().UserEmail = "ann@example.com";
    }

    // A document holding one action, not modified, so that a failed read can show it kept it.
    void GiveDocumentAnAction()
    {
        doc.ClearActions();
        doc.InsertAction(new GreetingAction("Genie", "Say", "keep me"), 0);
        doc.SetModifiedFlag(false);
    }

    void ExpectActionKept()
    {
        ASSERT_EQ(1, doc.GetActionCount());
        EXPECT_EQ("keep me", doc.GetAction(0)->GetArgument());
        EXPECT_FALSE(doc.IsModified());
    }

    // Reads a file with the given bytes; returns the texts of the boxes it showed.
    std::vector<std::string> Read(const std::string& bytes, bool expected)
    {
        folder.Write("in.pcg", bytes);
        MessageBoxAnswerer answerer;
        EXPECT_EQ(expected, doc.ReadGreetingFile(folder.File("in.pcg")));
        std::vector<std::string> texts;
        for (const RecordedMessageBox& box : answerer.Boxes()) {
            EXPECT_EQ("Parlacard", box.caption);
            EXPECT_EQ(UINT(MB_ICONERROR | MB_SETFOREGROUND), box.flags);
            EXPECT_EQ(nullptr, box.owner);
            texts.push_back(box.text);
        }
        return texts;
    }

    std::vector<std::string> FilesInFolder() const
    {
        std::vector<std::string> names;
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((folder.Path() + "\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            return names;
        do {
            if (std::string(found.cFileName) != "." && std::string(found.cFileName) != "..")
                names.push_back(found.cFileName);
        } while (FindNextFileA(search, &found));
        FindClose(search);
        return names;
    }

    TempFolder folder;
    CParloDoc doc;
};

using Texts = std::vector<std::string>;

} // namespace

TEST_F(ParloDocTest, EmptyGreetingIsSixLinesWithCrLf)
{
    MessageBoxAnswerer answerer;
    ASSERT_TRUE(doc.WriteGreetingFile(folder.File("g.pcg")));
    EXPECT_EQ(std::string(Header) + "\r\n\r\nAnn Sender\r\nann@example.com\r\n\r\n", folder.Read("g.pcg"));
    EXPECT_TRUE(answerer.Boxes().empty());
    EXPECT_EQ(std::vector<std::string>{ "g.pcg" }, FilesInFolder());
}

TEST_F(ParloDocTest, GreetingSurvivesSaveAndLoad)
{
    // Sender lines come from the settings at writing time, never from the file.
    EXPECT_TRUE(Read(std::string(Header) + "Bob\nbob@x.org, eve@y.org\nOld Name\nold@mail\n\n", true).empty());
    doc.InsertAction(new GreetingAction("Merlin", "Say", "Hello, \"Bob\""), 0);
    doc.InsertAction(new GreetingAction("Merlin", "Show", "Animate"), 0);
    doc.InsertAction(new GreetingAction("Genie", "Move", "Top Left"), 2);
    doc.InsertAction(new GreetingAction("", "", ""), 1);
    ASSERT_TRUE(doc.WriteGreetingFile(folder.File("g.pcg")));
    EXPECT_EQ(std::string(Header) +
                  "Bob\r\nbob@x.org, eve@y.org\r\nAnn Sender\r\nann@example.com\r\n\r\n"
                  "Merlin,Show,Animate\r\n,,\r\nGenie,Move,Top Left\r\nMerlin,Say,\"Hello, \"\"Bob\"\"\"\r\n",
              folder.Read("g.pcg"));

    CParloDoc copy;
    ASSERT_TRUE(copy.ReadGreetingFile(folder.File("g.pcg")));
    EXPECT_EQ("Bob", copy.GetRecipientName());
    EXPECT_EQ("bob@x.org, eve@y.org", copy.GetRecipientAddresses());
    ASSERT_EQ(4, copy.GetActionCount());
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(doc.GetAction(i)->GetLine(), copy.GetAction(i)->GetLine());
    EXPECT_EQ("Hello, \"Bob\"", copy.GetAction(3)->GetArgument());
}

TEST_F(ParloDocTest, VersionAndHeaderChecks)
{
    for (const char* accepted : { "Parlacard File Version : 0", "Parlacard File Version : x",
                                  "Parlacard File Version : 1", "Parlacard File Version :   +1 beta",
                                  "Parlacard File Version : -7", "Parlacard File Version : -99999999999",
                                  "Parlacard File Version : " }) {
        GiveDocumentAnAction();
        EXPECT_EQ(Texts{}, Read(std::string(accepted) + "\r\n", true)) << accepted;
        EXPECT_EQ(0, doc.GetActionCount()) << accepted;
    }
    const std::pair<const char*, const char*> refused[] = {
        { "Parlacard File Version : 2", NewerVersion },
        { "Parlacard File Version : 99999999999", NewerVersion },
        { "Parlacard File Version :  12", NewerVersion },
        { "parlacard File Version : 1", WrongFormat },
        { "Parlacard File Version :", WrongFormat },
        { " Parlacard File Version : 1", WrongFormat },
        { "", WrongFormat },
    };
    for (const auto& [line, message] : refused) {
        GiveDocumentAnAction();
        EXPECT_EQ(Texts{ message }, Read(std::string(line) + "\r\nBob\r\n\r\n\r\n\r\nMerlin,Show,x\r\n", false))
            << line;
        ExpectActionKept();
    }
    GiveDocumentAnAction();
    EXPECT_EQ(Texts{ WrongFormat }, Read("", false));
    ExpectActionKept();
}

TEST_F(ParloDocTest, LinesAfterTheHeadAreActionsEvenBlankOnes)
{
    EXPECT_TRUE(Read("Parlacard File Version : 1\nBob\n\nx\ny\n\nMerlin,Say,hi\n\nGenie,Hide,Animate\n\n", true).empty());
    EXPECT_EQ("Bob", doc.GetRecipientName());
    ASSERT_EQ(4, doc.GetActionCount());
    EXPECT_EQ("Merlin says: \"hi\"", doc.GetAction(0)->GetDescription());
    EXPECT_EQ("Undefined Action.", doc.GetAction(1)->GetDescription());
    EXPECT_EQ("", doc.GetAction(1)->GetCharacter());
    EXPECT_EQ("Genie hides  (Animate)", doc.GetAction(2)->GetDescription());
    EXPECT_EQ(",,", doc.GetAction(3)->GetLine());

    // A file that ends early empties what it does not reach.
    EXPECT_TRUE(Read("Parlacard File Version : 1\r\n", true).empty());
    EXPECT_EQ("", doc.GetRecipientName());
    EXPECT_EQ("", doc.GetRecipientAddresses());
    EXPECT_EQ(0, doc.GetActionCount());
}

TEST_F(ParloDocTest, LoadingResetsPreviewAndModifiedButSavingDoesNot)
{
    doc.InsertAction(new GreetingAction("Merlin", "Say", "hi"), 0);
    doc.SetPreviewed(true);
    ASSERT_TRUE(doc.WriteGreetingFile(folder.File("g.pcg")));
    EXPECT_TRUE(doc.IsPreviewed());
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(doc.OnSaveDocument(folder.File("g.pcg")));
    EXPECT_FALSE(doc.IsModified());

    doc.SetModifiedFlag(true);
    ASSERT_TRUE(doc.ReadGreetingFile(folder.File("g.pcg")));
    EXPECT_FALSE(doc.IsPreviewed());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(1, doc.GetActionCount());
}

TEST_F(ParloDocTest, UnreadableFileFailsWithoutMessage)
{
    GiveDocumentAnAction();
    MessageBoxAnswerer answerer;
    EXPECT_FALSE(doc.ReadGreetingFile(folder.File("missing.pcg")));
    EXPECT_FALSE(doc.ReadGreetingFile(folder.Path()));
    EXPECT_TRUE(answerer.Boxes().empty());
    ExpectActionKept();
}

TEST_F(ParloDocTest, BinaryAndHugeFilesNeitherCrashNorHang)
{
    std::string noise(1 << 20, '\0');
    unsigned seed = 12345;
    for (char& c : noise) {
        seed = seed * 1103515245 + 12345;
        c = static_cast<char>(seed >> 16);
    }
    GiveDocumentAnAction();
    EXPECT_EQ(Texts{ WrongFormat }, Read(noise, false));
    ExpectActionKept();

    const std::string oneLongLine(24 << 20, 'A');
    EXPECT_EQ(Texts{ WrongFormat }, Read(oneLongLine, false));
    ExpectActionKept();

    // Past the head anything goes: NUL bytes are data and a long line is one action.
    std::string noiseLine = noise;
    std::replace(noiseLine.begin(), noiseLine.end(), '\n', ' ');
    EXPECT_EQ(Texts{}, Read(std::string(Header) + "\r\n\r\n\r\n\r\n\r\n" + std::string("a\0b,Say,", 8) + noiseLine +
                                "\r\n" + oneLongLine,
                            true));
    ASSERT_EQ(2, doc.GetActionCount());
    EXPECT_EQ(std::string("a\0b", 3), doc.GetAction(0)->GetCharacter());
    EXPECT_EQ(oneLongLine, doc.GetAction(1)->GetCharacter());

    // Far more lines than any greeting has.
    GiveDocumentAnAction();
    EXPECT_EQ(Texts{ WrongFormat }, Read(std::string(Header) + std::string(1000006, '\n'), false));
    ExpectActionKept();
}

TEST_F(ParloDocTest, OversizedFileIsRefused)
{
    folder.Write("big.pcg", std::string(Header) + "\r\n\r\n\r\n\r\n\r\nMerlin,Say,");
    HANDLE file = CreateFileA(folder.File("big.pcg").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    LARGE_INTEGER size;
    size.QuadPart = (64LL << 20) + 1;
    EXPECT_TRUE(SetFilePointerEx(file, size, nullptr, FILE_BEGIN) && SetEndOfFile(file));
    CloseHandle(file);

    GiveDocumentAnAction();
    MessageBoxAnswerer answerer;
    EXPECT_FALSE(doc.ReadGreetingFile(folder.File("big.pcg")));
    ASSERT_EQ(1u, answerer.Boxes().size());
    EXPECT_EQ(WrongFormat, answerer.Boxes()[0].text);
    ExpectActionKept();
}

TEST_F(ParloDocTest, FailedSaveKeepsTheOldFileAndLeavesNoTemporaryFile)
{
    const std::string old = "the old greeting";
    doc.InsertAction(new GreetingAction("Merlin", "Say", "new"), 0);

    // The old file is read-only: the replacement is refused.
    folder.Write("g.pcg", old);
    ASSERT_TRUE(SetFileAttributesA(folder.File("g.pcg").c_str(), FILE_ATTRIBUTE_READONLY));
    {
        MessageBoxAnswerer answerer;
        EXPECT_FALSE(doc.OnSaveDocument(folder.File("g.pcg")));
        ASSERT_EQ(1u, answerer.Boxes().size());
        EXPECT_EQ(SaveFailed, answerer.Boxes()[0].text);
        EXPECT_EQ(UINT(MB_ICONERROR | MB_SETFOREGROUND), answerer.Boxes()[0].flags);
    }
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(old, folder.Read("g.pcg"));
    EXPECT_EQ(std::vector<std::string>{ "g.pcg" }, FilesInFolder());
    ASSERT_TRUE(SetFileAttributesA(folder.File("g.pcg").c_str(), FILE_ATTRIBUTE_NORMAL));

    // Someone else holds the old file open.
    HANDLE holder = CreateFileA(folder.File("g.pcg").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);
    {
        MessageBoxAnswerer answerer;
        EXPECT_FALSE(doc.WriteGreetingFile(folder.File("g.pcg")));
        EXPECT_EQ(1u, answerer.Boxes().size());
    }
    CloseHandle(holder);
    EXPECT_EQ(old, folder.Read("g.pcg"));
    EXPECT_EQ(std::vector<std::string>{ "g.pcg" }, FilesInFolder());

    // The folder does not exist.
    {
        MessageBoxAnswerer answerer;
        EXPECT_FALSE(doc.WriteGreetingFile(folder.File("missing\\g.pcg")));
        EXPECT_EQ(1u, answerer.Boxes().size());
    }
    EXPECT_EQ(std::vector<std::string>{ "g.pcg" }, FilesInFolder());

    // Once nothing is in the way the new text replaces the old.
    EXPECT_TRUE(doc.OnSaveDocument(folder.File("g.pcg")));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_NE(std::string::npos, folder.Read("g.pcg").find("\r\nMerlin,Say,new\r\n"));
    EXPECT_EQ(std::vector<std::string>{ "g.pcg" }, FilesInFolder());
}

TEST_F(ParloDocTest, ListOperationsSetTheModifiedFlagOnlyWhenTheyChangeSomething)
{
    auto* a = new GreetingAction("A", "Say", "1");
    auto* b = new GreetingAction("B", "Say", "2");
    auto* c = new GreetingAction("C", "Say", "3");
    doc.InsertAction(b, 0);
    doc.InsertAction(c, 1);
    doc.InsertAction(a, 0);
    EXPECT_TRUE(doc.IsModified());
    const auto order = [this] {
        std::string names;
        for (int i = 0; i < doc.GetActionCount(); ++i)
            names += doc.GetAction(i)->GetCharacter();
        return names;
    };
    EXPECT_EQ("ABC", order());

    doc.SetModifiedFlag(false);
    GreetingAction stranger("X", "Say", "4");
    doc.RemoveAction(&stranger);
    doc.MoveActionUp(&stranger);
    doc.MoveActionDown(&stranger);
    EXPECT_EQ("ABC", order());
    EXPECT_FALSE(doc.IsModified());

    doc.MoveActionDown(a);
    EXPECT_EQ("BAC", order());
    EXPECT_TRUE(doc.IsModified());
    doc.SetModifiedFlag(false);
    doc.MoveActionUp(c);
    EXPECT_EQ("BCA", order());
    EXPECT_TRUE(doc.IsModified());
    doc.SetModifiedFlag(false);
    doc.RemoveAction(c);
    EXPECT_EQ("BA", order());
    EXPECT_TRUE(doc.IsModified());

    doc.SetModifiedFlag(false);
    doc.SetPreviewed(true);
    doc.ClearActions();
    EXPECT_EQ(0, doc.GetActionCount());
    EXPECT_FALSE(doc.IsPreviewed());
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(ParloDocTest, CancelledNewGreetingKeepsTheActionsUnmodified)
{
    doc.InsertAction(new GreetingAction("Merlin", "Say", "hi"), 0);
    doc.SetPreviewed(true);
    EXPECT_TRUE(doc.OnNewDocument());
    EXPECT_EQ(1, doc.GetActionCount());
    EXPECT_TRUE(doc.IsPreviewed());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ("", doc.GetPathName());
}
