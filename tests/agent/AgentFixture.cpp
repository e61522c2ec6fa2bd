#include "AgentFixture.h"
#include "greeting/Vocabulary.h"
#include "settings/AppSettings.h"

void AgentFixture::SetUp()
{
    FillVocabulary();
    ScreenWidth = 1024;
    ScreenHeight = 768;
    GetSettings() = AppSettings{};
    GetSettings().CharacterName = "Merlin";
    GetSettings().CharacterAnimation = NoAnimation;
    RecordingAgent::current = &agent;
    CAgentCtlEx::SetControlFactory(&RecordingAgent::Factory);
    ASSERT_TRUE(app.CreateAgentControl(nullptr));
}

void AgentFixture::TearDown()
{
    app.ExitInstance();
    EXPECT_EQ(0, agent.liveObjects) << "every automation object is released";
    CAgentCtlEx::SetControlFactory(nullptr);
    RecordingAgent::current = nullptr;
}

AgentFixture::Calls AgentFixture::TakeCalls()
{
    Calls calls = std::move(agent.calls);
    agent.calls.clear();
    return calls;
}
