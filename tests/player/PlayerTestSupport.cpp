#include "PlayerTestSupport.h"
#include "stage/AcsWriter.h"
#include "stage/SampleCharacter.h"
#include <windows.h>
#include <gtest/gtest.h>

namespace {

void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file) << path;
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
    EXPECT_EQ(bytes.size(), written);
    CloseHandle(file);
}

} // namespace

std::string GreetingText(const std::vector<std::string>& actionLines)
{
    std::string text = "Parlacard File Version : 1\r\nDear Friend\r\n\r\nAnn Sender\r\nann@example.com\r\n\r\n";
    for (const std::string& line : actionLines)
        text += line + "\r\n";
    return text;
}

InstalledSampleCharacters::InstalledSampleCharacters(const std::vector<std::string>& names) : files_(names)
{
    std::string error;
    const std::vector<uint8_t> bytes = WriteCharacter(MakeSampleCharacter(), &error);
    EXPECT_FALSE(bytes.empty()) << error;
    for (const std::string& name : names)
        WriteFileBytes(files_.PathOf(name), std::string(bytes.begin(), bytes.end()));
}

void InstalledSampleCharacters::Spoil(const std::string& name) const
{
    WriteFileBytes(files_.PathOf(name), "This is no character.");
}
