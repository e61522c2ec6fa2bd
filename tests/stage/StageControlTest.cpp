// The stage's automation objects as the program calls them: by dispatch id, with the
// argument kinds automation callers use.
#include "StageTestSupport.h"
#include "stage/SampleCharacter.h"
#include "stage/StageControl.h"
#include <gtest/gtest.h>

namespace {

// Calls a member and keeps what the caller of IDispatch::Invoke gets back.
struct RawCall {
    HRESULT hr = E_FAIL;
    UINT badArgument = ~0u;
    std::string description;
    CVariant result;

    // Arguments in their natural order.
    RawCall(IDispatch* object, DISPID id, WORD flags, std::vector<VARIANT> arguments)
    {
        std::vector<VARIANT> reversed(arguments.rbegin(), arguments.rend());
        DISPPARAMS parameters{ reversed.empty() ? nullptr : reversed.data(), nullptr,
                               static_cast<UINT>(reversed.size()), 0 };
        DISPID named = DISPID_PROPERTYPUT;
        if (flags & DISPATCH_PROPERTYPUT) {
            parameters.rgdispidNamedArgs = &named;
            parameters.cNamedArgs = 1;
        }
        EXCEPINFO exception{};
        hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &parameters, result.get(), &exception,
                            &badArgument);
        if (hr == DISP_E_EXCEPTION) {
            char text[512] = {};
            WideCharToMultiByte(CP_ACP, 0, exception.bstrDescription, -1, text, sizeof text - 1, nullptr, nullptr);
            description = text;
            SysFreeString(exception.bstrSource);
            SysFreeString(exception.bstrDescription);
            SysFreeString(exception.bstrHelpFile);
        }
    }
};

VARIANT Short(short value)
{
    VARIANT v;
    v.vt = VT_I2;
    v.iVal = value;
    return v;
}

class StageControlTest : public testing::Test {
protected:
    CharacterData sample = MakeSampleCharacter();
    LoadedStage stage{ sample };
};

TEST_F(StageControlTest, LoadReportsFailedStatusForMissingOrBrokenFilesAndErrorsWhenAsked)
{
    CVariant missing(stage.folder.File("Missing.acs"));
    EXPECT_EQ(1, stage.characters.Load("A", missing.value()).GetStatus());

    const std::string good = stage.folder.Read("Sample.acs");
    stage.folder.Write("Cut.acs", good.substr(0, good.size() / 2));
    std::string scrambled = good;
    for (size_t i = 40; i < scrambled.size(); i += 7)
        scrambled[i] = static_cast<char>(scrambled[i] ^ 0x5A);
    stage.folder.Write("Scrambled.acs", scrambled);
    stage.folder.Write("Empty.acs", "");
    for (const char* name : { "Cut.acs", "Scrambled.acs", "Empty.acs" }) {
        CVariant path(stage.folder.File(name));
        EXPECT_EQ(1, stage.characters.Load("A", path.value()).GetStatus()) << name;
    }
    // None of them left a character behind.
    EXPECT_FALSE(stage.characters.Character("A").IsValid());
    EXPECT_EQ(1u, ThreadWindows("ParlacardStageCharacter").size());

    ASSERT_EQ(S_OK, stage.control.SetRaiseRequestErrors(true));
    CVariant id(std::string("A"));
    RawCall load(stage.characters.GetDispatch(), 1, DISPATCH_METHOD, { id.value(), missing.value() });
    EXPECT_EQ(DISP_E_EXCEPTION, load.hr);
    EXPECT_NE(std::string::npos, load.description.find("Missing.acs")) << load.description;

    // A character too large for a window of the stage is refused with the reason.
    CharacterData huge = sample;
    huge.info.width = 5000;
    CVariant hugePath(WriteCharacterFile(stage.folder, huge, "Huge.acs"));
    RawCall hugeLoad(stage.characters.GetDispatch(), 1, DISPATCH_METHOD, { id.value(), hugePath.value() });
    EXPECT_EQ(DISP_E_EXCEPTION, hugeLoad.hr);
    EXPECT_NE(std::string::npos, hugeLoad.description.find("5000 x 128")) << hugeLoad.description;

    // An older character, a compound document, is named for what it is.
    stage.folder.Write("Old.acs", std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1") + std::string(1528, '\0'));
    CVariant oldPath(stage.folder.File("Old.acs"));
    RawCall oldLoad(stage.characters.GetDispatch(), 1, DISPATCH_METHOD, { id.value(), oldPath.value() });
    EXPECT_EQ(DISP_E_EXCEPTION, oldLoad.hr);
    EXPECT_NE(std::string::npos, oldLoad.description.find("Agent 1.5 character, which this program cannot play"))
        << oldLoad.description;

    // A good file loads under a second id; loading it again under a used id fails.
    CVariant path(stage.folder.File("Sample.acs"));
    EXPECT_EQ(0, stage.characters.Load("B", path.value()).GetStatus());
    EXPECT_EQ(2u, ThreadWindows("ParlacardStageCharacter").size());
    ASSERT_EQ(S_OK, stage.control.SetRaiseRequestErrors(false));
    EXPECT_EQ(1, stage.characters.Load("b", path.value()).GetStatus());
}

TEST_F(StageControlTest, UnloadRaisesForUnknownIdsOnlyWhenRequestErrorsAreOn)
{
    EXPECT_EQ(S_OK, stage.characters.Unload("Nobody"));
    ASSERT_EQ(S_OK, stage.control.SetRaiseRequestErrors(true));
    CVariant nobody(std::string("Nobody"));
    RawCall unload(stage.characters.GetDispatch(), 2, DISPATCH_METHOD, { nobody.value() });
    EXPECT_EQ(DISP_E_EXCEPTION, unload.hr);
    EXPECT_NE(std::string::npos, unload.description.find("Nobody"));

    // Ids match without regard to case; unloading takes the window away for good.
    EXPECT_EQ(S_OK, stage.characters.Unload("pq"));
    EXPECT_TRUE(ThreadWindows("ParlacardStageCharacter").empty());
    EXPECT_FALSE(stage.characters.Character("PQ").IsValid());
    EXPECT_EQ(DISP_E_EXCEPTION, stage.characters.Unload("PQ"));

    // The caller's old reference still answers, but takes no more requests.
    EXPECT_EQ(128, stage.character.GetWidth());
    CVariant fast(true);
    RawCall show(stage.character.GetDispatch(), 20, DISPATCH_METHOD, { fast.value() });
    EXPECT_EQ(DISP_E_EXCEPTION, show.hr);
    ASSERT_EQ(S_OK, stage.control.SetRaiseRequestErrors(false));
    EXPECT_EQ(1, stage.Show(true).GetStatus());
}

TEST_F(StageControlTest, CharacterAnswersItsSizeAndAnimationNamesInFileOrder)
{
    CVariant height;
    ASSERT_EQ(S_OK, stage.character.Invoke(5, DISPATCH_PROPERTYGET, {}, height.get()));
    EXPECT_EQ(VT_I2, height.value().vt);
    EXPECT_EQ(sample.info.height, stage.character.GetHeight());
    EXPECT_EQ(sample.info.width, stage.character.GetWidth());

    IEnumVARIANT* names = stage.character.GetAnimationNames().NewEnum();
    ASSERT_NE(nullptr, names);
    std::vector<std::string> listed;
    VARIANT batch[4];
    ULONG fetched = 0;
    // Fetched a few at a time, as callers may.
    while (names->Next(4, batch, &fetched), fetched > 0) {
        for (ULONG i = 0; i < fetched; ++i) {
            EXPECT_EQ(VT_BSTR, batch[i].vt);
            char text[64] = {};
            WideCharToMultiByte(CP_ACP, 0, batch[i].bstrVal, -1, text, sizeof text - 1, nullptr, nullptr);
            listed.push_back(text);
            VariantClear(&batch[i]);
        }
    }
    EXPECT_EQ(S_OK, names->Reset());
    EXPECT_EQ(S_OK, names->Skip(2));
    EXPECT_EQ(S_FALSE, names->Skip(100));
    names->Release();

    std::vector<std::string> inFile;
    for (const CharacterAnimation& animation : sample.animations)
        inFile.push_back(animation.name);
    EXPECT_EQ(inFile, listed);
}

TEST_F(StageControlTest, ArgumentsAreTakenAsAutomationCallersPassThem)
{
    IDispatch* character = stage.character.GetDispatch();
    // Numbers as text and by reference, a flag by reference through a variant.
    short x = 40;
    VARIANT byReference;
    byReference.vt = VT_BYREF | VT_I2;
    byReference.piVal = &x;
    CVariant y(std::string("30")), speed(0L), yes(true);
    RawCall move(character, 18, DISPATCH_METHOD, { byReference, y.value(), speed.value() });
    ASSERT_EQ(S_OK, move.hr);
    VARIANT inner = yes.value();
    VARIANT flag;
    flag.vt = VT_BYREF | VT_VARIANT;
    flag.pvarVal = &inner;
    RawCall show(character, 20, DISPATCH_METHOD | DISPATCH_PROPERTYGET, { flag });
    ASSERT_EQ(S_OK, show.hr);
    AgentRequest moved(move.result.value().pdispVal);
    moved.GetDispatch()->AddRef();
    ASSERT_TRUE(PumpUntil([&] { return IsDone(moved); }, 20000));
    EXPECT_EQ(0, moved.GetStatus());
    RECT rect{};
    GetWindowRect(CharacterWindow(), &rect);
    EXPECT_EQ(40, rect.left);
    EXPECT_EQ(30, rect.top);

    // Wrong counts, kinds and types are refused the way automation refuses them.
    EXPECT_EQ(DISP_E_BADPARAMCOUNT, RawCall(character, 18, DISPATCH_METHOD, { Short(1) }).hr);
    EXPECT_EQ(DISP_E_BADPARAMCOUNT, RawCall(character, 5, DISPATCH_PROPERTYGET, { Short(1) }).hr);
    CVariant word(std::string("left"));
    RawCall mismatch(character, 18, DISPATCH_METHOD, { Short(1), word.value() });
    EXPECT_EQ(DISP_E_TYPEMISMATCH, mismatch.hr);
    EXPECT_EQ(0u, mismatch.badArgument);  // the last argument comes first
    CVariant big(100000L);
    EXPECT_EQ(DISP_E_OVERFLOW, RawCall(character, 18, DISPATCH_METHOD, { big.value(), Short(1) }).hr);
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND, RawCall(character, 7, DISPATCH_METHOD, {}).hr);
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND, RawCall(character, 5, DISPATCH_PROPERTYPUT, { Short(1) }).hr);
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND, RawCall(stage.control.GetDispatch(), 4, DISPATCH_PROPERTYGET, {}).hr);

    // Names map to the same ids, without regard to case.
    OLECHAR play[] = L"pLaY";
    OLECHAR nothing[] = L"Dance";
    LPOLESTR names[] = { play };
    DISPID id = 0;
    EXPECT_EQ(S_OK, character->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id));
    EXPECT_EQ(13, id);
    names[0] = nothing;
    EXPECT_EQ(DISP_E_UNKNOWNNAME, character->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id));
    EXPECT_EQ(DISPID_UNKNOWN, id);
}

TEST_F(StageControlTest, UnknownAnimationFailsQuietlyUnlessRequestErrorsAreOn)
{
    EXPECT_EQ(1, stage.character.Play("NoSuchAnimation").GetStatus());
    // Names match without regard to case.
    AgentRequest wave = stage.character.Play("wAVE");
    EXPECT_EQ(2, wave.GetStatus());
    ASSERT_EQ(S_OK, stage.control.SetRaiseRequestErrors(true));
    CVariant name(std::string("NoSuchAnimation"));
    RawCall play(stage.character.GetDispatch(), 13, DISPATCH_METHOD, { name.value() });
    EXPECT_EQ(DISP_E_EXCEPTION, play.hr);
    EXPECT_NE(std::string::npos, play.description.find("NoSuchAnimation"));
    EXPECT_TRUE(PumpUntil([&] { return IsDone(wave); }, 20000));
    EXPECT_EQ(0, wave.GetStatus());
}

TEST_F(StageControlTest, BalloonStyleAndLanguageAreKept)
{
    AgentBalloon balloon = stage.character.GetBalloon();
    ASSERT_TRUE(balloon.IsValid());
    EXPECT_EQ(S_OK, balloon.SetStyle(14));
    EXPECT_EQ(14, stage.character.GetBalloon().GetLong(16, -1));
    EXPECT_EQ(S_OK, stage.character.SetLanguageID(1033));
    EXPECT_EQ(1033, stage.character.GetLong(43, -1));
    CVariant text(std::string("no"));
    EXPECT_EQ(DISP_E_TYPEMISMATCH, RawCall(balloon.GetDispatch(), 16, DISPATCH_PROPERTYPUT, { text.value() }).hr);
    EXPECT_EQ(14, balloon.GetLong(16, -1));
}

TEST(StageLifetimeTest, ReleasingTheControlInterruptsRequestsTheCallerStillHolds)
{
    TempFolder folder;
    IDispatch* control = nullptr;
    ASSERT_EQ(S_OK, CreateStageControl(&control));
    AgentCharacter character;
    AgentRequest show, wave;
    {
        AgentControl driver(control);
        ASSERT_EQ(S_OK, driver.SetRaiseRequestErrors(false));
        AgentCharacters characters = driver.GetCharacters();
        CVariant path(WriteCharacterFile(folder, MakeSampleCharacter(), "Sample.acs"));
        ASSERT_EQ(0, characters.Load("PQ", path.value()).GetStatus());
        character = characters.Character("PQ");
        CVariant slow(false);
        show = character.Show(slow.value());
        wave = character.Play("Wave");
        ASSERT_TRUE(PumpUntil([&] { return show.GetStatus() == 4; }, 20000));
    }
    // The control is gone, and with it the character's window; what the caller holds
    // still answers.
    EXPECT_TRUE(ThreadWindows("ParlacardStageCharacter").empty());
    EXPECT_EQ(3, show.GetStatus());
    EXPECT_EQ(3, wave.GetStatus());
    EXPECT_EQ(1, character.Play("Wave").GetStatus());
    PumpFor(50);
}

} // namespace
