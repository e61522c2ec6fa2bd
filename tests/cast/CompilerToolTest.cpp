// The character compiler as the build runs it: what it writes, and what it says when
// it cannot.
#include "stage/AcsReader.h"
#include <gtest/gtest.h>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class CompilerToolTest : public testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/pqcast-test-XXXXXX";
        ASSERT_NE(nullptr, mkdtemp(pattern));
        folder = pattern;
    }

    void TearDown() override
    {
        for (const std::string& name : Files())
            std::remove((folder + "/" + name).c_str());
        std::remove((folder + "/.errors").c_str());
        rmdir(folder.c_str());
    }

    // Runs the compiler; its exit status, with what it said on its error output.
    int Run(const std::string& arguments)
    {
        const std::string command = std::string(PQCAST) + " " + arguments + " >/dev/null 2>" + folder + "/.errors";
        const int status = std::system(command.c_str());
        std::ifstream in(folder + "/.errors");
        std::stringstream said;
        said << in.rdbuf();
        errors = said.str();
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::vector<std::string> Files() const
    {
        std::vector<std::string> names;
        if (DIR* dir = opendir(folder.c_str())) {
            while (const dirent* entry = readdir(dir))
                if (entry->d_name[0] != '.')
                    names.push_back(entry->d_name);
            closedir(dir);
        }
        return names;
    }

    std::string folder;
    std::string errors;
};

TEST_F(CompilerToolTest, WritesTheCharactersNamedAndOnlyThose)
{
    ASSERT_EQ(0, Run(folder + " Tolvan")) << errors;
    EXPECT_EQ(std::vector<std::string>{ "Tolvan.ACS" }, Files());
    CharacterData tolvan;
    std::string error;
    EXPECT_TRUE(ReadCharacterFile(folder + "/Tolvan.ACS", tolvan, error)) << error;
}

TEST_F(CompilerToolTest, RefusesUnknownNamesAndFoldersItCannotWriteWithAMessage)
{
    EXPECT_EQ(2, Run(""));
    EXPECT_NE(std::string::npos, errors.find("usage")) << errors;
    EXPECT_EQ(2, Run(folder + " Nobody"));
    EXPECT_NE(std::string::npos, errors.find("Nobody")) << errors;
    EXPECT_TRUE(Files().empty());
    EXPECT_EQ(1, Run(folder + "/missing Tolvan"));
    EXPECT_NE(std::string::npos, errors.find("missing")) << errors;
    EXPECT_TRUE(Files().empty());
}

} // namespace
