#pragma once
#include <map>
#include <string>
#include <vector>

// The service's settings by name. Each has a default; a configuration file overrides the
// defaults, the command line overrides the file, and the environment (PARLACARD_ and the
// name in capitals with "_" for "-") overrides them all. Unknown names are errors, so a
// typing mistake does not pass for a setting.
class Configuration {
public:
    Configuration();

    // Reads the file the command line or PARLACARD_CONFIG names, then the command line
    // ("--name value", "--name=value", or "--name" alone for yes), then the environment.
    // Throws std::invalid_argument with a plain reason.
    void Load(int argc, char** argv, char** environment);

    const std::string& Text(const std::string& name) const;
    long Number(const std::string& name, long min, long max) const;
    bool Flag(const std::string& name) const;
    // A comma-separated list, blanks around the items dropped.
    std::vector<std::string> List(const std::string& name) const;

    // Every setting with its default and what it does, as the configuration file documents them.
    static std::string Describe();

private:
    void Set(const std::string& name, const std::string& value, const std::string& source);
    void ReadFile(const std::string& path);

    std::map<std::string, std::string> values_;
};
