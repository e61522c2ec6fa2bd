#include "greeting/ParloDoc.h"
#include "settings/AppSettings.h"
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
using Texts = std::vector<std::string>;

class ParloDocTest : public testing::Test {
protected:
    void SetUp() override
    {
        GetSettings().UserName = "Ann Sender";
        GetSettings().UserEmail = "ann@example.com";
    }

    // One action, not modified: a failed read must leave exactly this.
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

    // Runs a read or write and returns the texts of the message boxes it showed, after
    // checking that each is an error box captioned like every box of the program.
    template <class Operation> Texts Boxes(Operation operation)
    {
        MessageBoxAnswerer answerer;
        operation();
        Texts texts;
        for (const RecordedMessageBox& box : answerer.Boxes()) {
            EXPECT_EQ("Parlacard", box.caption);
            EXPECT_EQ(UINT(MB_ICONERROR | MB_SETFOREGROUND), box.flags);
            EXPECT_EQ(nullptr, box.owner);
            texts.push_back(box.text);
        }
        return texts;
    }

    Texts Read(const std::string& bytes, bool expected)
    {
        folder.Write("in.pcg", bytes);
        return Boxes([&] { EXPECT_EQ(expected, doc.OnOpenDocument(folder.File("in.pcg"))); });
    }

    Texts FilesInFolder() const
    {
        Texts names;
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA(folder.File("*").c_str(), &found);
        do {
            if (found.cFileName[0] != '.')
                names.push_back(found.cFileName);
        } while (FindNextFileA(search, &found));
        FindClose(search);
        return names;
    }

    TempFolder folder;
    CParloDoc doc;
};

} // namespace

TEST_F(ParloDocTest, EmptyGreetingIsSixLinesWithCrLf)
{
    EXPECT_EQ(Texts{}, Boxes([&] { EXPECT_TRUE(doc.OnSaveDocument(folder.File("g.pcg"))); }));
    EXPECT_EQ(std::string(Header) + "\r\n\r\nAnn Sender\r\nann@example.com\r\n\r\n", folder.Read("g.pcg"));
    EXPECT_EQ(Texts{ "g.pcg" }, FilesInFolder());
}

TEST_F(ParloDocTest, GreetingSurvivesSaveAndLoad)
{
    // The sender lines always come from the settings, never from the file.
    EXPECT_EQ(Texts{}, Read(std::string(Header) + "Bob\nbob@x.org, eve@y.org\nOld Name\nold@mail\n\n", true));
    doc.InsertAction(new GreetingAction("Merlin", "Say", "Hello, \"Bob\""), 0);
    doc.InsertAction(new GreetingAction("Merlin", "Show", "Animate"), 0);
    doc.InsertAction(new GreetingAction("Genie", "Move", "Top Left"), 2);
    doc.InsertAction(new GreetingAction("", "", ""), 1);
    ASSERT_EQ(GreetingFileResult::Done, doc.WriteGreetingFile(folder.File("g.pcg")));
    EXPECT_EQ(std::string(Header) + "Bob\r\nbob@x.org, eve@y.org\r\nAnn Sender\r\nann@example.com\r\n\r\n" +
                  "Merlin,Show,Animate\r\n,,\r\nMerlin,Say,\"Hello, \"\"Bob\"\"\"\r\nGenie,Move,Top Left\r\n",
              folder.Read("g.pcg"));

    CParloDoc copy;
    ASSERT_EQ(GreetingFileResult::Done, copy.ReadGreetingFile(folder.File("g.pcg")));
    EXPECT_EQ("Bob", copy.GetRecipientName());
    EXPECT_EQ("bob@x.org, eve@y.org", copy.GetRecipientAddresses());
    ASSERT_EQ(4, copy.GetActionCount());
    EXPECT_EQ("Hello, \"Bob\"", copy.GetAction(2)->GetArgument());
    EXPECT_EQ("Genie moves to TOP LEFT", copy.GetAction(3)->GetDescription());
}

TEST_F(ParloDocTest, HeaderAndVersionChecks)
{
    for (const char* accepted : { "0", "x", "1", "   +1 beta", "-7", "-99999999999", "" }) {
        GiveDocumentAnAction();
        EXPECT_EQ(Texts{}, Read(std::string("Parlacard File Version : ") + accepted + "\r\n", true)) << accepted;
        EXPECT_EQ(0, doc.GetActionCount()) << accepted;
    }
    const std::pair<const char*, const char*> refused[] = {
        { "Parlacard File Version : 2", NewerVersion },  { "Parlacard File Version : 99999999999", NewerVersion },
        { "Parlacard File Version :  12", NewerVersion }, { "parlacard File Version : 1", WrongFormat },
        { "Parlacard File Version :", WrongFormat },      { " Parlacard File Version : 1", WrongFormat },
    };
    for (const auto& [line, message] : refused) {
        GiveDocumentAnAction();
        EXPECT_EQ(Texts{ message }, Read(std::string(line) + "\r\nBob\r\n\r\n\r\n\r\nMerlin,Show,x\r\n", false)) << line;
        ExpectActionKept();
        EXPECT_EQ("", doc.GetRecipientName());
    }
    GiveDocumentAnAction();
    EXPECT_EQ(Texts{ WrongFormat }, Read("", false));
    ExpectActionKept();
}

TEST_F(ParloDocTest, EveryLineAfterTheHeadIsAnActionEvenABlankOne)
{
    EXPECT_EQ(Texts{}, Read("Parlacard File Version : 1\nBob\n\nx\ny\n\nMerlin,Say,hi\n\nGenie,Hide,Animate\n\n", true));
    EXPECT_EQ("Bob", doc.GetRecipientName());
    ASSERT_EQ(4, doc.GetActionCount());
    EXPECT_EQ("Merlin says: \"hi\"", doc.GetAction(0)->GetDescription());
    EXPECT_EQ("Undefined Action.", doc.GetAction(1)->GetDescription());
    EXPECT_EQ("Genie hides  (Animate)", doc.GetAction(2)->GetDescription());
    EXPECT_EQ(",,", doc.GetAction(3)->GetLine());

    // A file that ends early empties what it does not reach.
    EXPECT_EQ(Texts{}, Read(Header, true));
    EXPECT_EQ("", doc.GetRecipientName());
    EXPECT_EQ(0, doc.GetActionCount());
}

TEST_F(ParloDocTest, LoadingClearsPreviewAndModifiedButSavingKeepsPreview)
{
    doc.InsertAction(new GreetingAction("Merlin", "Say", "hi"), 0);
    doc.SetPreviewed(true);
    EXPECT_EQ(GreetingFileResult::Done, doc.WriteGreetingFile(folder.File("g.pcg")));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(doc.OnSaveDocument(folder.File("g.pcg")));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_TRUE(doc.IsPreviewed());

    doc.SetModifiedFlag(true);
    ASSERT_TRUE(doc.OnOpenDocument(folder.File("g.pcg")));
    EXPECT_FALSE(doc.IsPreviewed());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(1, doc.GetActionCount());
}

TEST_F(ParloDocTest, UnreadableFileFailsWithoutMessage)
{
    GiveDocumentAnAction();
    EXPECT_EQ(Texts{}, Boxes([&] {
                  EXPECT_FALSE(doc.OnOpenDocument(folder.File("missing.pcg")));
                  EXPECT_FALSE(doc.OnOpenDocument(folder.Path()));
              }));
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
    std::string longLine(24 << 20, 'A');
    for (const std::string* bytes : { &noise, &longLine }) {
        GiveDocumentAnAction();
        EXPECT_EQ(Texts{ WrongFormat }, Read(*bytes, false));
        ExpectActionKept();
    }

    // Past the head anything goes: NUL bytes are data and a long line is one action.
    std::replace(noise.begin(), noise.end(), '\n', ' ');
    EXPECT_EQ(Texts{}, Read(std::string(Header) + "\r\n\r\n\r\n\r\n\r\n" + std::string("a\0b,Say,", 8) + noise +
                                "\r\n" + longLine, true));
    ASSERT_EQ(2, doc.GetActionCount());
    EXPECT_EQ(std::string("a\0b", 3), doc.GetAction(0)->GetCharacter());
    EXPECT_EQ(longLine, doc.GetAction(1)->GetCharacter());

    // As many lines as a greeting may have, then one more.
    EXPECT_EQ(Texts{}, Read(std::string(Header) + std::string(1000005, '\n'), true));
    ASSERT_EQ(1000000, doc.GetActionCount());
    EXPECT_EQ(",,", doc.GetAction(999999)->GetLine());
    GiveDocumentAnAction();
    EXPECT_EQ(Texts{ WrongFormat }, Read(std::string(Header) + std::string(1000006, '\n'), false));
    ExpectActionKept();

    // Far more lines than any greeting has.
    GiveDocumentAnAction();
    EXPECT_EQ(Texts{ WrongFormat }, Read(std::string(Header) + std::string(1000006, '\n'), false));
    ExpectActionKept();

    // Too big to be a greeting, however it begins.
    folder.Write("big.pcg", std::string(Header) + "\r\n\r\n\r\n\r\n\r\nMerlin,Say,");
    HANDLE file = CreateFileA(folder.File("big.pcg").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    LARGE_INTEGER size;
    size.QuadPart = (64LL << 20) + 1;
    EXPECT_TRUE(SetFilePointerEx(file, size, nullptr, FILE_BEGIN) && SetEndOfFile(file));
    CloseHandle(file);
    EXPECT_EQ(Texts{ WrongFormat }, Boxes([&] { EXPECT_FALSE(doc.OnOpenDocument(folder.File("big.pcg"))); }));
    ExpectActionKept();
}

TEST_F(ParloDocTest, FailedSaveKeepsTheOldFileAndLeavesNoTemporaryFile)
{
    const std::string old = "the old greeting";
    folder.Write("g.pcg", old);
    ASSERT_TRUE(CreateDirectoryA(folder.File("sub").c_str(), nullptr));
    doc.InsertAction(new GreetingAction("Merlin", "Say", "new"), 0);

    // Someone holds the old file open; the folder is missing; a folder has the name.
    HANDLE holder = CreateFileA(folder.File("g.pcg").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);
    for (const char* name : { "g.pcg", "missing\\g.pcg", "sub" }) {
        EXPECT_EQ(Texts{ SaveFailed }, Boxes([&] { EXPECT_FALSE(doc.OnSaveDocument(folder.File(name))); })) << name;
        EXPECT_TRUE(doc.IsModified());
    }
    CloseHandle(holder);
    EXPECT_EQ(old, folder.Read("g.pcg"));
    EXPECT_EQ((Texts{ "g.pcg", "sub" }), FilesInFolder());

    // Once nothing is in the way the new text replaces the old.
    EXPECT_TRUE(doc.OnSaveDocument(folder.File("g.pcg")));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_NE(std::string::npos, folder.Read("g.pcg").find("\r\nMerlin,Say,new\r\n"));
    EXPECT_EQ((Texts{ "g.pcg", "sub" }), FilesInFolder());
}

TEST_F(ParloDocTest, ListOperationsMarkTheDocumentOnlyWhenTheyChangeIt)
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
        return names + (doc.IsModified() ? " modified" : "");
    };
    EXPECT_EQ("ABC modified", order());

    doc.SetModifiedFlag(false);
    GreetingAction stranger("X", "Say", "4");
    doc.RemoveAction(&stranger);
    doc.MoveActionUp(&stranger);
    doc.MoveActionDown(&stranger);
    EXPECT_EQ("ABC", order());

    doc.MoveActionDown(a);
    EXPECT_EQ("BAC modified", order());
    doc.SetModifiedFlag(false);
    doc.MoveActionUp(c);
    EXPECT_EQ("BCA modified", order());
    doc.SetModifiedFlag(false);
    doc.RemoveAction(c);
    EXPECT_EQ("BA modified", order());

    doc.SetModifiedFlag(false);
    doc.SetPreviewed(true);
    doc.ClearActions();
    EXPECT_EQ("", order());
    EXPECT_FALSE(doc.IsPreviewed());
}

TEST_F(ParloDocTest, CancelledNewGreetingKeepsTheActionsButIsUnmodified)
{
    doc.InsertAction(new GreetingAction("Merlin", "Say", "hi"), 0);
    doc.SetPreviewed(true);
    EXPECT_TRUE(doc.OnNewDocument());
    EXPECT_EQ(1, doc.GetActionCount());
    EXPECT_TRUE(doc.IsPreviewed());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ("", doc.GetPathName());
}

// Reading and writing only report; the document's open and save steps tell the user.
TEST_F(ParloDocTest, ReadsAndWritesReportWhatWentWrongWithoutShowingIt)
{
    folder.Write("wrong.pcg", "not a greeting\r\n");
    folder.Write("newer.pcg", "Parlacard File Version : 9\r\n");
    GiveDocumentAnAction();
    EXPECT_EQ(Texts{}, Boxes([&] {
                  EXPECT_EQ(GreetingFileResult::WrongFormat, doc.ReadGreetingFile(folder.File("wrong.pcg")));
                  EXPECT_EQ(GreetingFileResult::NewerVersion, doc.ReadGreetingFile(folder.File("newer.pcg")));
                  EXPECT_EQ(GreetingFileResult::NotOpened, doc.ReadGreetingFile(folder.File("missing.pcg")));
                  EXPECT_EQ(GreetingFileResult::NotWritten, doc.WriteGreetingFile(folder.File("missing\\g.pcg")));
              }));
    ExpectActionKept();
    EXPECT_EQ(WrongFormat, GreetingFileMessage(GreetingFileResult::WrongFormat));
    EXPECT_EQ(SaveFailed, GreetingFileMessage(GreetingFileResult::NotWritten));
    EXPECT_EQ("", GreetingFileMessage(GreetingFileResult::NotOpened));
    EXPECT_EQ("", GreetingFileMessage(GreetingFileResult::Done));
}

TEST_F(ParloDocTest, TheTextIsBuiltForTheSenderGivenWithTheLineEndGiven)
{
    doc.InsertAction(new GreetingAction("Merlin", "Say", "Hi"), 0);
    EXPECT_EQ(std::string(Header) + "\r\n\r\nPat\r\npat@example.org\r\n\r\nMerlin,Say,Hi\r\n",
              doc.BuildGreetingText({ "Pat", "pat@example.org" }, "\r\n"));
    EXPECT_EQ("Parlacard File Version : 1\n\n\nAnn Sender\nann@example.com\n\nMerlin,Say,Hi\n",
              doc.BuildGreetingText(CurrentSender(), "\n"));
}

// The view holds pointers to the actions: a loaded action stays where it is, with its fields,
// through inserts, moves and removes around it, and a copy of it outlives the document.
TEST_F(ParloDocTest, LoadedActionsStayInPlaceWhileTheDocumentHoldsThem)
{
    const int count = 3000;
    std::string bytes = std::string(Header) + "Bob\r\n\r\n\r\n\r\n\r\n";
    for (int i = 0; i < count; ++i)
        bytes += "Merlin,Say,\"spoken, long enough to need a heap block of its own: " + std::to_string(i) + "\"\r\n";
    ASSERT_EQ(Texts{}, Read(bytes, true));
    ASSERT_EQ(count, doc.GetActionCount());
    std::vector<GreetingAction*> loaded;
    for (int i = 0; i < count; ++i)
        loaded.push_back(doc.GetAction(i));
    const auto spoken = [](int i) { return "spoken, long enough to need a heap block of its own: " + std::to_string(i); };

    GreetingAction copy = *loaded[count - 1];
    for (int i = 0; i < 100; ++i)
        doc.InsertAction(new GreetingAction("Genie", "Say", "new " + std::to_string(i)), i * 7);
    for (int i = 0; i < count; i += 3)
        doc.RemoveAction(loaded[i]);
    doc.MoveActionDown(loaded[1]);
    doc.MoveActionUp(loaded[count - 1]);
    ASSERT_EQ(count - count / 3 + 100, doc.GetActionCount());

    int found = 0;
    for (int i = 0; i < doc.GetActionCount(); ++i) {
        const GreetingAction* action = doc.GetAction(i);
        const auto at = std::find(loaded.begin(), loaded.end(), action);
        if (at == loaded.end())
            continue;
        ++found;
        const int original = static_cast<int>(at - loaded.begin());
        EXPECT_NE(0, original % 3) << original;
        EXPECT_EQ(spoken(original), action->GetArgument()) << original;
        EXPECT_EQ("Merlin", action->GetCharacter()) << original;
    }
    EXPECT_EQ(count - count / 3, found);

    ASSERT_EQ(Texts{}, Read(std::string(Header) + "\r\n\r\n\r\n\r\n\r\nGenie,Hide,\r\n", true));
    EXPECT_EQ(spoken(count - 1), copy.GetArgument());
    EXPECT_EQ("Merlin,Say,\"" + spoken(count - 1) + "\"", copy.GetLine());
}

namespace {

// A greeting file of count actions as the program writes it: action i is "C<i>" saying
// "line <i>, ..." with a quote in it.
std::string NumberedGreeting(int count)
{
    std::string bytes = std::string(Header) + "Bob\r\n\r\nAnn Sender\r\nann@example.com\r\n\r\n";
    for (int i = 0; i < count; ++i)
        bytes += "C" + std::to_string(i) + ",Say,\"line " + std::to_string(i) + ", \"\"quoted\"\"\"\r\n";
    return bytes;
}

std::string Spoken(int i)
{
    return "line " + std::to_string(i) + ", \"quoted\"";
}

} // namespace

// The document makes a loaded action from its line only when it is first asked for: by
// then inserts, removes and moves may have shifted it anywhere, and it must still be the
// action of its own line.
TEST_F(ParloDocTest, ActionsAskedForLateComeFromTheirOwnLines)
{
    const int count = 2000;
    ASSERT_EQ(Texts{}, Read(NumberedGreeting(count), true));
    std::vector<std::string> expected;
    for (int i = 0; i < count; ++i)
        expected.push_back("C" + std::to_string(i));
    const auto insert = [&](int at) {
        doc.InsertAction(new GreetingAction("New" + std::to_string(at), "Hide", "Animate"), at);
        expected.insert(expected.begin() + at, "New" + std::to_string(at));
    };
    for (int at : { 0, 5, 999, static_cast<int>(expected.size()) })
        insert(at);
    for (int at = 3; at < static_cast<int>(expected.size()); at += 17) {
        doc.RemoveAction(doc.GetAction(at));
        expected.erase(expected.begin() + at);
    }
    for (int at = 10; at < 1500; at += 29) {
        doc.MoveActionDown(doc.GetAction(at));
        std::swap(expected[at], expected[at + 1]);
        doc.MoveActionUp(doc.GetAction(at + 7));
        std::swap(expected[at + 7], expected[at + 6]);
    }
    doc.GetAction(1200)->SetArgument("edited");

    ASSERT_EQ(static_cast<int>(expected.size()), doc.GetActionCount());
    for (int i = 0; i < doc.GetActionCount(); ++i) {
        const GreetingAction* action = doc.GetAction(i);
        ASSERT_EQ(expected[i], action->GetCharacter()) << i;
        if (i == 1200) {
            EXPECT_EQ("edited", action->GetArgument());
        } else if (expected[i][0] == 'C') {
            EXPECT_EQ(Spoken(std::stoi(expected[i].substr(1))), action->GetArgument()) << i;
        }
        // Asked for again, the same action.
        EXPECT_EQ(action, doc.GetAction(i));
    }
}

// Saving writes every action as the program writes it, whether it was ever looked at or
// not: a greeting the program wrote comes back byte for byte, and odd lines come back
// the way the codec reads them.
TEST_F(ParloDocTest, ALoadedGreetingSavesAsTheProgramWritesIt)
{
    const std::string written = NumberedGreeting(500);
    ASSERT_EQ(Texts{}, Read(written, true));
    EXPECT_TRUE(doc.OnSaveDocument(folder.File("untouched.pcg")));
    EXPECT_EQ(written, folder.Read("untouched.pcg"));
    for (int i = 0; i < doc.GetActionCount(); i += 2)
        EXPECT_EQ("C" + std::to_string(i) + " says: \"" + Spoken(i) + "\"", doc.GetAction(i)->GetDescription());
    EXPECT_TRUE(doc.OnSaveDocument(folder.File("half.pcg")));
    EXPECT_EQ(written, folder.Read("half.pcg"));

    const std::string head = std::string(Header) + "\r\n\r\nAnn Sender\r\nann@example.com\r\n\r\n";
    const std::string odd = head + "a,b,c,d,e\r\n\"abc\"def,x\n\r\nMerlin,Show\r\nx\r\r\n,Say,\"open, never closed\r\n" +
                            "Genie,Say,end\r";
    const std::string canonical = head + "a,b,c\r\nabcdef,x,\r\n,,\r\nMerlin,Show,\r\nx ,,\r\n" +
                                  ",Say,\"open, never closed\"\r\nGenie,Say,end \r\n";
    for (const bool lookFirst : { false, true }) {
        ASSERT_EQ(Texts{}, Read(odd, true));
        ASSERT_EQ(7, doc.GetActionCount());
        if (lookFirst) {
            EXPECT_EQ("x\r", doc.GetAction(4)->GetCharacter());
        }
        EXPECT_TRUE(doc.OnSaveDocument(folder.File("odd.pcg")));
        EXPECT_EQ(canonical, folder.Read("odd.pcg")) << lookFirst;
    }
}

// Each document keeps its own file's text: the room a closed greeting leaves goes to the
// next file read, never to a greeting still open, and a failed read takes nothing from
// the document it was meant for.
TEST_F(ParloDocTest, GreetingsLoadedOneAfterAnotherKeepTheirOwnLines)
{
    const auto load = [&](CParloDoc& into, const std::string& name, const std::string& bytes) {
        folder.Write(name, bytes);
        return into.ReadGreetingFile(folder.File(name));
    };
    const auto expectNumbered = [](CParloDoc& loaded, int count, const char* which) {
        ASSERT_EQ(count, loaded.GetActionCount()) << which;
        for (int i = count - 1; i >= 0; i -= 7)
            EXPECT_EQ(Spoken(i), loaded.GetAction(i)->GetArgument()) << which << " " << i;
    };
    std::string other = std::string(Header) + "\r\n\r\n\r\n\r\n\r\n";
    for (int i = 0; i < 3000; ++i)
        other += "Peedy,Move,Place " + std::to_string(i) + "\r\n";

    CParloDoc first, second;
    ASSERT_EQ(GreetingFileResult::Done, load(first, "first.pcg", other));
    ASSERT_EQ(GreetingFileResult::Done, load(second, "second.pcg", NumberedGreeting(2000)));
    first.ClearActions();
    {
        CParloDoc third;
        ASSERT_EQ(GreetingFileResult::Done, load(third, "third.pcg", NumberedGreeting(1000)));
        expectNumbered(second, 2000, "second beside the third");
        expectNumbered(third, 1000, "third");
    }
    ASSERT_EQ(GreetingFileResult::Done, load(first, "first.pcg", other));
    EXPECT_EQ(GreetingFileResult::WrongFormat, load(second, "bad.pcg", "Parlacard, but not\r\n" + other));
    EXPECT_EQ(GreetingFileResult::NewerVersion, load(second, "newer.pcg", "Parlacard File Version : 2\r\n" + other));
    expectNumbered(second, 2000, "second after failed reads");
    ASSERT_EQ(3000, first.GetActionCount());
    EXPECT_EQ("Place 2999", first.GetAction(2999)->GetArgument());
}
