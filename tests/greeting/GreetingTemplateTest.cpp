#include "greeting/GreetingTemplate.h"
#include "greeting/NewGreetingChoice.h"
#include "greeting/ParloDoc.h"
#include "settings/AppSettings.h"
#include "support/FileText.h"
#include "support/MessageBoxAnswerer.h"
#include <windows.h>
#include <gtest/gtest.h>

namespace {

using Texts = std::vector<std::string>;

const char WrongFormat[] = "Wrong file format.\nThis file is not a valid Parlacard file.";
const char NewerVersion[] = "A newer version of the application wrote the parlacard file.";

std::string Replaced(std::string text, const std::string& placeholder, const std::string& value, bool found = true)
{
    EXPECT_EQ(found, ReplacePlaceholder(text, placeholder, value)) << text;
    return text;
}

// The program's own Templates folder, with files of the test's making in it, and the
// new-greeting dialog answered as the test says.
class NewGreeting : public testing::Test {
protected:
    void SetUp() override
    {
        GetSettings().UserName = "Alex";
        GetSettings().UserEmail = "alex@example.org";
        SetNewGreetingDialog([](NewGreetingChoice& choice) {
            choice = answer;
            return !answer.greetingType.empty();
        });
    }
    void TearDown() override
    {
        SetNewGreetingDialog(nullptr);
        for (const std::string& type : written_)
            DeleteFileA(TemplatePath(type).c_str());
    }

    void WriteTemplate(const std::string& type, const std::string& text)
    {
        ASSERT_TRUE(WriteFileText(TemplatePath(type), text)) << type;
        written_.push_back(type);
    }

    // Starts a new greeting from a template of these actions for the recipient and
    // gender, and returns every argument in order.
    Texts Personalise(const std::vector<std::pair<std::string, std::string>>& actions, const std::string& recipient,
                      const std::string& gender)
    {
        std::string file = "Parlacard File Version : 1\r\nFrom File\r\nx@y.z\r\n\r\n\r\n\r\n";
        for (const auto& action : actions)
            file += "Merlin," + action.first + "," + action.second + "\r\n";
        WriteTemplate("Personal Test", file);
        answer = { "Personal Test", recipient, "Alex", gender };
        EXPECT_TRUE(doc.OnNewDocument());
        Texts arguments;
        for (int i = 0; i < doc.GetActionCount(); ++i)
            arguments.push_back(doc.GetAction(i)->GetArgument());
        return arguments;
    }

    // Loads the type's template into an emptied document, as the new-greeting step does,
    // and returns the boxes shown.
    Texts Load(const std::string& type, bool expected)
    {
        doc.ClearActions();
        MessageBoxAnswerer answerer;
        EXPECT_EQ(expected, doc.LoadTemplate(type)) << type;
        Texts texts;
        for (const RecordedMessageBox& box : answerer.Boxes()) {
            EXPECT_EQ("Parlacard", box.caption);
            EXPECT_EQ(nullptr, box.owner);
            texts.push_back(box.text);
        }
        // The new greeting stays untitled whatever was read.
        EXPECT_EQ("", doc.GetPathName());
        return texts;
    }

    static NewGreetingChoice answer;
    CParloDoc doc;

private:
    std::vector<std::string> written_;
};

NewGreetingChoice NewGreeting::answer;

} // namespace

TEST(Placeholders, AreReplacedEverywhereExactlyAndOnlyOnce)
{
    EXPECT_EQ("Hi, Pat and Pat!", Replaced("Hi, <RECIPIENTNAME> and <RECIPIENTNAME>!", "<RECIPIENTNAME>", "Pat"));
    EXPECT_EQ("Hi !", Replaced("Hi <RECIPIENTNAME>!", "<RECIPIENTNAME>", ""));
    // Case counts.
    EXPECT_EQ("<username>", Replaced("<username>", "<USERNAME>", "Alex", false));
    // A value holding its own placeholder is put in once, not again and again.
    EXPECT_EQ("I am <USERNAME>, <USERNAME>.", Replaced("I am <USERNAME>, <USERNAME>.", "<USERNAME>", "<USERNAME>"));
    EXPECT_EQ("x<HE_SHE>y", Replaced("<HE_SHE>", "<HE_SHE>", "x<HE_SHE>y"));
    // A value that ends where a placeholder then begins does not join with it.
    EXPECT_EQ("<<USERNAME>>", Replaced("<<USERNAME>>", "<USERNAME>", "<USERNAME>"));
}

TEST_F(NewGreeting, FillsTheSayTextsFromTheSenderAndTheRecipient)
{
    EXPECT_EQ((Texts{ "Hi, Pat!", "From Alex (alex@example.org)", "She thinks of Her friends" }),
              Personalise({ { "Say", "Hi<COMMA_RECIPIENTNAME> <RECIPIENTNAME>!" },
                            { "Say", "From <USERNAME> (<USEREMAIL>)" },
                            { "Say", "<HE_SHE> thinks of <HIS_HER> friends" } },
                          "Pat", "Female"));
    EXPECT_EQ((Texts{ "Hi !", "Hello", "He thinks of His friends" }),
              Personalise({ { "Say", "Hi<COMMA_RECIPIENTNAME> <RECIPIENTNAME>!" },
                            { "Say", "Hello<COMMA_RECIPIENTNAME> <RECIPIENTNAME>" },
                            { "Say", "<HE_SHE> thinks of <HIS_HER> friends" } },
                          "", "Male"));
    // Anything but exactly "Male" is she.
    EXPECT_EQ(Texts{ "She" }, Personalise({ { "Say", "<HE_SHE>" } }, "", "male"));
}

TEST_F(NewGreeting, LeavesOtherCommandsCharactersAndTheModifiedFlagAlone)
{
    EXPECT_EQ((Texts{ "<RECIPIENTNAME>", "<USERNAME>", "Pat" }),
              Personalise({ { "Animate", "<RECIPIENTNAME>" }, { "Move", "<USERNAME>" }, { "Say", "<RECIPIENTNAME>" } },
                          "Pat", "Male"));
    EXPECT_FALSE(doc.IsModified());

    // A user who calls themselves by a placeholder still gets a greeting.
    GetSettings().UserName = "<USERNAME><USERNAME>";
    EXPECT_EQ(Texts{ "I am <USERNAME><USERNAME>!" }, Personalise({ { "Say", "I am <USERNAME>!" } }, "", "Male"));
}

TEST_F(NewGreeting, TheTemplatesFolderBesideTheProgramHoldsOneFilePerType)
{
    char program[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, program, MAX_PATH);
    const std::string folder = std::string(program, length).substr(0, std::string(program, length).rfind('\\'));
    EXPECT_EQ(folder + "\\\\Templates\\Birthday.pcg", TemplatePath("Birthday"));

    EXPECT_EQ(Texts{}, Load("Birthday", true));
    EXPECT_GE(doc.GetActionCount(), 8);
    EXPECT_FALSE(doc.IsModified());

    EXPECT_EQ(Texts{}, Load(EmptyGreetingType, true));
    EXPECT_EQ(0, doc.GetActionCount());
}

TEST_F(NewGreeting, AMissingOrBrokenTemplateIsReportedAndTheGreetingStartsEmpty)
{
    EXPECT_EQ(Texts{ "Could not find the template file for the Nothing Such greeting.\nCreating an empty greeting." },
              Load("Nothing Such", false));
    EXPECT_EQ(0, doc.GetActionCount());

    WriteTemplate("Broken Test", "no greeting at all\r\nMerlin,Say,Hi\r\n");
    EXPECT_EQ((Texts{ WrongFormat, "Could not open the template file for the Broken Test greeting.\n"
                                   "Creating an empty greeting." }),
              Load("Broken Test", false));
    EXPECT_EQ(0, doc.GetActionCount());

    WriteTemplate("Newer Test", "Parlacard File Version : 2\r\n\r\n\r\n\r\n\r\n\r\nMerlin,Say,Hi\r\n");
    EXPECT_EQ((Texts{ NewerVersion, "Could not open the template file for the Newer Test greeting.\n"
                                    "Creating an empty greeting." }),
              Load("Newer Test", false));
    EXPECT_EQ(0, doc.GetActionCount());
}

// The whole new-greeting step: template, recipient, gender and personalisation together,
// and a cancelled dialog that changes nothing.
TEST_F(NewGreeting, ANewGreetingStartsFromItsTemplateAndCancelChangesNothing)
{
    doc.SetRecipientAddresses("old@example.org");
    EXPECT_EQ((Texts{ "Dear Pat", "He says hi" }),
              Personalise({ { "Say", "Dear <RECIPIENTNAME>" }, { "Say", "<HE_SHE> says hi" } }, "Pat", "Male"));
    EXPECT_EQ("Pat", doc.GetRecipientName());
    EXPECT_EQ("", doc.GetRecipientAddresses());
    EXPECT_FALSE(doc.IsModified());

    answer = {};
    ASSERT_TRUE(doc.OnNewDocument());
    EXPECT_EQ(2, doc.GetActionCount());
    EXPECT_EQ("Pat", doc.GetRecipientName());
}
