#pragma once
#include "RecordingAgent.h"
#include "agent/AgentApp.h"
#include <gtest/gtest.h>

// An application whose character control is a recording automation object, on a
// 1024 x 768 screen, with the vocabulary filled and the settings at their defaults.
class AgentFixture : public ::testing::Test {
protected:
    using Calls = std::vector<std::string>;

    void SetUp() override;
    void TearDown() override;
    // The calls made since the last time, and forgets them.
    Calls TakeCalls();

    RecordingAgent agent;
    CAgentApp app;
};
