#include "MailSystemChoice.h"
#include "res/resource.h"
#include "send/SendDialog.h"
#include "settings/AppSettings.h"
#include "support/DialogDriver.h"
#include "support/MessageBoxAnswerer.h"
#include "support/MessagePump.h"
#include <functional>
#include <gtest/gtest.h>

namespace {

const char NoAddressBook[] = "Can't open your E-mail programs' address book.\n\n"
                             "Please type in the E-mail addresses of the people you want to send the greeting to.";
const char NotAnAddress[] = " is not a valid E-mail address.\n\nPlease fix it and press the 'Send' button again.";
const char AddressBookCall[] = "MAPIAddress session=0 ui=0 caption=Select Addresses For Parlacard fields=1 "
                               "labels=(null) recipients=0 nolist flags=1 reserved=0";

std::string Addresses(HWND dialog)
{
    return DialogDriver::GetText(dialog, IDC_ADDRESSES);
}

class SendDialogTest : public ::testing::Test {
protected:
    void SetUp() override { GetSettings() = AppSettings{}; }

    // Runs the dialog on the list, with the action as the user; remembers its window.
    INT_PTR Run(int autoAddress, const std::function<void(HWND)>& action)
    {
        driver.On(IDD_SEND, [this, action](HWND window) {
            dialog = window;
            action(window);
        });
        SendDialog send(list);
        send.autoAddress = autoAddress;
        return send.DoModal();
    }

    void ExpectBox(size_t index, const std::string& text)
    {
        ASSERT_LT(index, boxes.Boxes().size());
        const RecordedMessageBox& box = boxes.Boxes()[index];
        EXPECT_EQ(text, box.text);
        EXPECT_EQ("Parlacard", box.caption);
        EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONINFORMATION), box.flags);
        EXPECT_EQ(dialog, box.owner);
    }

    std::string list;
    HWND dialog = nullptr;
    DialogDriver driver;
    MessageBoxAnswerer boxes;
};

} // namespace

TEST_F(SendDialogTest, OpensTheStoredListOneAddressPerLineAndSendJoinsItWithCommas)
{
    list = "Ann@Example.org,bob@example.org;carl@example.org";
    const INT_PTR result = Run(0, [](HWND dialog) {
        EXPECT_EQ("Ann@Example.org\r\nbob@example.org\r\ncarl@example.org", Addresses(dialog));
        EXPECT_FALSE(DialogDriver::IsChecked(dialog, IDC_AUTO_ADDRESS));
        LOGFONTA font = {};
        GetObjectA(reinterpret_cast<HFONT>(SendDlgItemMessageA(dialog, IDC_AUTO_ADDRESS, WM_GETFONT, 0, 0)),
                   sizeof(font), &font);
        EXPECT_EQ(FW_BOLD, font.lfWeight);
        EXPECT_EQ("&Address Book\nOpen default address book.", DialogDriver::GetText(dialog, IDC_ADDRESS_BOOK));
        DialogDriver::Click(dialog, IDOK);
    });
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ("ann@example.org,bob@example.org,carl@example.org", list);
    EXPECT_EQ(0, GetSettings().AutoAddress);
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(SendDialogTest, SendTakesTheLinesInOrderInLowerCaseWithoutSurroundingBlanks)
{
    list = "old@example.org";
    const INT_PTR result = Run(0, [](HWND dialog) {
        DialogDriver::SetText(dialog, IDC_ADDRESSES,
                              " \r\n  ANN@Example.ORG\r\nBob Smith@example.org\r\ncarl@example.org \r\n\r\n\r\n");
        DialogDriver::Click(dialog, IDOK);
    });
    EXPECT_EQ(IDOK, result);
    // Blanks inside a line stay: only "@" makes an address.
    EXPECT_EQ("ann@example.org,bob smith@example.org,carl@example.org", list);
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(SendDialogTest, ALineWithoutAtSignOrABlankLineBetweenIsRefusedAndTheDialogStays)
{
    list = "old@example.org";
    std::vector<std::string> listsAfterRefusal;
    const INT_PTR result = Run(0, [&](HWND dialog) {
        DialogDriver::SetText(dialog, IDC_ADDRESSES, "ann@example.org\r\nbob.example.org\r\ncarl@example.org");
        DialogDriver::Click(dialog, IDOK);
        EXPECT_TRUE(IsWindow(dialog));
        listsAfterRefusal.push_back(list);
        DialogDriver::SetText(dialog, IDC_ADDRESSES, "ann@example.org\r\n\r\ncarl@example.org");
        DialogDriver::Click(dialog, IDOK);
        EXPECT_TRUE(IsWindow(dialog));
        listsAfterRefusal.push_back(list);
        DialogDriver::Click(dialog, IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, result);
    ASSERT_EQ(2u, boxes.Boxes().size());
    ExpectBox(0, std::string("bob.example.org") + NotAnAddress);
    ExpectBox(1, NotAnAddress);
    // A refused Send changes nothing, and neither does Cancel after it.
    EXPECT_EQ((std::vector<std::string>{ "old@example.org", "old@example.org" }), listsAfterRefusal);
    EXPECT_EQ("old@example.org", list);
}

TEST_F(SendDialogTest, AnEmptyBoxSendsAnEmptyList)
{
    list = "ann@example.org";
    const INT_PTR result = Run(0, [](HWND dialog) {
        DialogDriver::SetText(dialog, IDC_ADDRESSES, " \r\n\t\r\n ");
        DialogDriver::Click(dialog, IDOK);
    });
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ("", list);
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(SendDialogTest, AddressBookAddsTheChosenAddressesWithoutPrefixInLowerCase)
{
    MailSystemChoice mail(MailSystem::Mock);
    mail.Answer({ "result 0", "address SMTP:Ann.Smith@Example.ORG", "address FAX:+1 555 0100", "address-none",
                  "address bob@example.org" });
    std::string afterPick;
    bool libraryLeftLoaded = true;
    const INT_PTR result = Run(0, [&](HWND dialog) {
        DialogDriver::SetText(dialog, IDC_ADDRESSES, "Carl@Example.org");
        DialogDriver::Click(dialog, IDC_ADDRESS_BOOK);
        afterPick = Addresses(dialog);
        libraryLeftLoaded = GetModuleHandleA("MAPI32.DLL") != nullptr;
        DialogDriver::Click(dialog, IDOK);
    });
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ("carl@example.org\r\nann.smith@example.org\r\nbob@example.org\r\n", afterPick);
    EXPECT_EQ("carl@example.org,ann.smith@example.org,bob@example.org", list);
    EXPECT_EQ((std::vector<std::string>{ AddressBookCall, "MAPIFreeBuffer returned array" }), mail.Calls());
    EXPECT_FALSE(libraryLeftLoaded);
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(SendDialogTest, AnAddressTheBoxHoldsAlreadyIsNotAddedAgain)
{
    MailSystemChoice mail(MailSystem::Mock);
    std::vector<std::string> boxAfterEachPick;
    Run(0, [&](HWND dialog) {
        DialogDriver::SetText(dialog, IDC_ADDRESSES, "Jo.Smith@Example.org");
        // Found inside the longer address: the box is left exactly as typed.
        mail.Answer({ "address SMTP:smith@example.org" });
        DialogDriver::Click(dialog, IDC_ADDRESS_BOOK);
        boxAfterEachPick.push_back(Addresses(dialog));
        mail.Answer({ "address ANN@example.org" });
        DialogDriver::Click(dialog, IDC_ADDRESS_BOOK);
        boxAfterEachPick.push_back(Addresses(dialog));
        mail.Answer({ "address ann@example.org" });
        DialogDriver::Click(dialog, IDC_ADDRESS_BOOK);
        boxAfterEachPick.push_back(Addresses(dialog));
        DialogDriver::Click(dialog, IDCANCEL);
    });
    EXPECT_EQ((std::vector<std::string>{ "Jo.Smith@Example.org", "jo.smith@example.org\r\nann@example.org\r\n",
                                         "jo.smith@example.org\r\nann@example.org\r\n" }),
              boxAfterEachPick);
}

TEST_F(SendDialogTest, CancellingTheAddressBookChangesNothing)
{
    MailSystemChoice mail(MailSystem::Mock);
    mail.Answer({ "result 1", "address someone@example.org" });
    bool checkedAfterCancel = false;
    std::string boxAfterCancel;
    const INT_PTR result = Run(0, [&](HWND dialog) {
        DialogDriver::SetText(dialog, IDC_ADDRESSES, "ann@example.org");
        // Checking the box opens the address book at once.
        DialogDriver::Click(dialog, IDC_AUTO_ADDRESS);
        checkedAfterCancel = DialogDriver::IsChecked(dialog, IDC_AUTO_ADDRESS);
        boxAfterCancel = Addresses(dialog);
        DialogDriver::Click(dialog, IDOK);
    });
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ((std::vector<std::string>{ AddressBookCall }), mail.Calls());
    EXPECT_TRUE(checkedAfterCancel);
    EXPECT_EQ("ann@example.org", boxAfterCancel);
    EXPECT_EQ(1, GetSettings().AutoAddress);
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(SendDialogTest, AFailingMailSystemUnchecksTheBoxAndSaysSo)
{
    MailSystemChoice mail(MailSystem::Mock);
    mail.Answer({ "result 3" });
    bool checkedAfterFailure = true;
    Run(0, [&](HWND dialog) {
        DialogDriver::Click(dialog, IDC_AUTO_ADDRESS);
        checkedAfterFailure = DialogDriver::IsChecked(dialog, IDC_AUTO_ADDRESS);
        DialogDriver::Click(dialog, IDC_ADDRESS_BOOK);
        DialogDriver::Click(dialog, IDOK);
    });
    EXPECT_FALSE(checkedAfterFailure);
    EXPECT_EQ((std::vector<std::string>{ AddressBookCall, AddressBookCall }), mail.Calls());
    ASSERT_EQ(2u, boxes.Boxes().size());
    ExpectBox(0, NoAddressBook);
    ExpectBox(1, NoAddressBook);
    EXPECT_EQ(0, GetSettings().AutoAddress);
}

TEST_F(SendDialogTest, AutoAddressOpensTheAddressBookOnceTheDialogIsShown)
{
    MailSystemChoice mail(MailSystem::Mock);
    mail.Answer({ "address ann@example.org" });
    const INT_PTR result = Run(1, [](HWND dialog) {
        EXPECT_TRUE(PumpUntil([dialog] { return !Addresses(dialog).empty(); }, 20000));
        EXPECT_EQ("ann@example.org\r\n", Addresses(dialog));
        EXPECT_TRUE(DialogDriver::IsChecked(dialog, IDC_AUTO_ADDRESS));
        DialogDriver::Click(dialog, IDOK);
    });
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ((std::vector<std::string>{ AddressBookCall, "MAPIFreeBuffer returned array" }), mail.Calls());
    EXPECT_EQ("ann@example.org", list);
    EXPECT_EQ(1, GetSettings().AutoAddress);
}

TEST_F(SendDialogTest, AutoAddressWithoutAMailSystemUnchecksQuietlyAndSendStoresZero)
{
    MailSystemChoice mail(MailSystem::None);
    GetSettings().AutoAddress = 1;
    size_t boxesBeforeClick = 99;
    const INT_PTR result = Run(GetSettings().AutoAddress, [&](HWND dialog) {
        EXPECT_TRUE(PumpUntil([dialog] { return !DialogDriver::IsChecked(dialog, IDC_AUTO_ADDRESS); }, 20000));
        boxesBeforeClick = boxes.Boxes().size();
        // The button, unlike the automatic opening, tells the user.
        DialogDriver::Click(dialog, IDC_ADDRESS_BOOK);
        DialogDriver::Click(dialog, IDOK);
    });
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(0u, boxesBeforeClick);
    ASSERT_EQ(1u, boxes.Boxes().size());
    ExpectBox(0, NoAddressBook);
    EXPECT_EQ(0, GetSettings().AutoAddress);
    EXPECT_TRUE(mail.Calls().empty());
}

TEST_F(SendDialogTest, TheAddressBookWindowIsBroughtToTheFront)
{
    MailSystemChoice mail(MailSystem::Mock);
    mail.Answer({ "window", "result 1" });
    Run(0, [](HWND dialog) {
        DialogDriver::Click(dialog, IDC_ADDRESS_BOOK);
        DialogDriver::Click(dialog, IDCANCEL);
    });
    EXPECT_EQ((std::vector<std::string>{ AddressBookCall, "window brought forward" }), mail.Calls());
    EXPECT_TRUE(boxes.Boxes().empty());
}

// Wine's own library answers "not supported" (26) at once, without a window. Last of all:
// Wine keeps its library loaded once used, so no later test could load the mock.
TEST_F(SendDialogTest, WinesOwnMailSystemFallsBackToTyping)
{
    MailSystemChoice mail(MailSystem::WinesOwn);
    bool checkedAfterClick = true;
    Run(0, [&](HWND dialog) {
        DialogDriver::Click(dialog, IDC_AUTO_ADDRESS);
        checkedAfterClick = DialogDriver::IsChecked(dialog, IDC_AUTO_ADDRESS);
        DialogDriver::Click(dialog, IDCANCEL);
    });
    EXPECT_FALSE(checkedAfterClick);
    ASSERT_EQ(1u, boxes.Boxes().size());
    ExpectBox(0, NoAddressBook);
    EXPECT_TRUE(mail.Calls().empty());
}
