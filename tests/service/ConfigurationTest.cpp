#include "service/start/Configuration.h"
#include "TempFolder.h"
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace {

struct Arguments {
    explicit Arguments(std::vector<std::string> given) : texts(std::move(given))
    {
        pointers.push_back(const_cast<char*>("parlacard-service"));
        for (std::string& text : texts)
            pointers.push_back(text.data());
        pointers.push_back(nullptr);
    }
    int Count() const { return static_cast<int>(pointers.size()) - 1; }
    char** Values() { return pointers.data(); }

    std::vector<std::string> texts;
    std::vector<char*> pointers;
};

Configuration Loaded(std::vector<std::string> commandLine, std::vector<std::string> environment)
{
    Arguments arguments(std::move(commandLine));
    Arguments variables(std::move(environment));
    Configuration config;
    config.Load(arguments.Count(), arguments.Values(), variables.Values() + 1);
    return config;
}

} // namespace

TEST(ConfigurationTest, DefaultsThenFileThenCommandLineThenEnvironment)
{
    TempFolder folder;
    std::ofstream(folder.File("service.conf")) << "# a comment\n\nport = 9000\nlisten=0.0.0.0\nsmtp-host = file.example\n"
                                                  "uploads-per-hour = 7\n";
    const Configuration config =
        Loaded({ "--config", folder.File("service.conf"), "--port=9100", "--smtp-host", "line.example" },
               { "PARLACARD_SMTP_HOST=env.example", "PATH=/usr/bin", "PARLACARD_TEST_SWITCHES" });
    EXPECT_EQ("0.0.0.0", config.Text("listen"));       // the file over the default
    EXPECT_EQ(7, config.Number("uploads-per-hour", 0, 100));
    EXPECT_EQ(9100, config.Number("port", 0, 65535));  // the command line over the file
    EXPECT_EQ("env.example", config.Text("smtp-host")); // the environment over them all
    EXPECT_EQ(90, config.Number("retention-days", 1, 1000));
    EXPECT_FALSE(config.Flag("test-switches"));
    EXPECT_TRUE(Loaded({ "--test-switches" }, {}).Flag("test-switches"));
    EXPECT_EQ((std::vector<std::string>{ "10.0.0.1", "10.0.0.2" }),
              Loaded({ "--trusted-proxies", " 10.0.0.1 , 10.0.0.2," }, {}).List("trusted-proxies"));
}

TEST(ConfigurationTest, MistakesAreNamed)
{
    TempFolder folder;
    std::ofstream(folder.File("typo.conf")) << "port = 1\nsmpt-host = mail.example\n";
    try {
        Loaded({ "--config", folder.File("typo.conf") }, {});
        FAIL() << "a misspelt setting passed";
    } catch (const std::invalid_argument& error) {
        EXPECT_EQ(folder.File("typo.conf") + ":2: there is no setting \"smpt-host\"", error.what());
    }
    EXPECT_THROW(Loaded({ "--prot", "1" }, {}), std::invalid_argument);
    EXPECT_THROW(Loaded({ "stray" }, {}), std::invalid_argument);
    EXPECT_THROW(Loaded({ "--config", folder.File("missing.conf") }, {}), std::invalid_argument);
    EXPECT_THROW(Loaded({ "--port", "eighty" }, {}).Number("port", 0, 65535), std::invalid_argument);
    EXPECT_THROW(Loaded({ "--port", "70000" }, {}).Number("port", 0, 65535), std::invalid_argument);
    EXPECT_THROW(Loaded({ "--test-switches", "maybe" }, {}).Flag("test-switches"), std::invalid_argument);
}

// The file the operator reads is the one the program describes: every setting, its
// default and its meaning.
TEST(ConfigurationTest, TheShippedFileDocumentsEverySetting)
{
    std::ifstream file(SHIPPED_CONFIGURATION);
    std::ostringstream text;
    text << file.rdbuf();
    const std::string shipped = text.str();
    const std::string described = Configuration::Describe();
    ASSERT_GE(shipped.size(), described.size());
    EXPECT_EQ(described, shipped.substr(shipped.size() - described.size()))
        << "deploy/parlacard-service.conf is out of date: make it from parlacard-service --help";
}
