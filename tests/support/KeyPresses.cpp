#include "support/KeyPresses.h"
#include <gtest/gtest.h>
#include <vector>

void PressKey(WORD key, std::initializer_list<WORD> held)
{
    std::vector<INPUT> inputs;
    auto add = [&inputs](WORD vk, bool down) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
        input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
        inputs.push_back(input);
    };
    for (WORD modifier : held)
        add(modifier, true);
    add(key, true);
    add(key, false);
    for (auto modifier = std::rbegin(held); modifier != std::rend(held); ++modifier)
        add(*modifier, false);
    const UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    EXPECT_EQ(inputs.size(), sent) << "the system took " << sent << " of " << inputs.size() << " key events";
}
