#include "service/start/Configuration.h"
#include "service/store/Blanks.h"
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace {

struct Setting {
    const char* name;
    const char* defaultValue;
    const char* meaning;
};

const Setting Settings[] = {
    { "config", "", "A configuration file to read (command line or environment only)." },
    { "listen", "127.0.0.1", "The address to listen on; behind a reverse proxy, the loopback." },
    { "port", "8080", "The port to listen on; 0 takes any free port." },
    { "port-file", "", "A file to write the port to once requests can come." },
    { "data", "parlacard-data", "The folder of the database, the outbox and the update files." },
    { "database", "", "An SQLite file (default: parlacard.db in the data folder), or postgresql://user@host:port/name for a database several instances share." },
    { "database-connections", "8", "Connections each instance keeps to a PostgreSQL database." },
    { "web", "", "The folder of the pages' files (default: web beside the program)." },
    { "updates", "", "The folder whose files /update/ publishes (default: updates in the data folder)." },
    { "max-connections", "1000", "Connections open at once; more wait their turn." },
    { "request-threads", "64", "Uploads and forms answered at once; those waiting for the disk share its writes. Pages are read beside them." },
    { "public-address", "http://www.parlacard.example", "The site's address as the links in mails name it." },
    { "mail-from", "parlacard@parlacard.example", "The address the site's mails come from." },
    { "smtp-host", "", "The mail relay; empty writes each message as an .eml file into the outbox folder." },
    { "smtp-port", "25", "The relay's port." },
    { "smtp-security", "none", "none, starttls (required) or tls (a TLS connection from the start)." },
    { "smtp-user", "", "The user name at the relay, if it wants one." },
    { "smtp-password", "", "Its password; better given in the environment than in a file." },
    { "smtp-ca-file", "", "A file of the authorities trusted for the relay's certificate, instead of the system's." },
    { "mail-first-retry-seconds", "60", "The wait before a message the relay did not take is tried again; it doubles up to an hour." },
    { "mail-retry-hours", "24", "How long such a message is tried before it counts as failed." },
    { "mail-longest-retry-seconds", "3600", "The longest wait between two tries of a message." },
    { "mail-lease-seconds", "300", "With PostgreSQL, how long a message an instance took stays its own: if it dies, another sends it after this. A delivery is given up after three quarters of it (120 s at most)." },
    { "outbox-folder", "", "Where messages go without a relay (default: outbox in the data folder)." },
    { "upload-max-bytes", "262144", "The largest greeting the site takes, in bytes." },
    { "upload-max-actions", "2000", "The most actions a greeting may have." },
    { "upload-max-recipients", "20", "The most recipients a greeting may have." },
    { "uploads-per-hour", "30", "Uploads one client address may make in an hour." },
    { "messages-per-day", "200", "Messages one client address may have sent in a day." },
    { "trusted-proxies", "", "Comma-separated addresses of reverse proxies whose X-Forwarded-For is believed." },
    { "retention-days", "90", "Days after which a greeting and everything about it is deleted." },
    { "purge-interval-seconds", "3600", "How often greetings past their retention are looked for." },
    { "tell-sender-of-pickups", "yes", "Mail the sender when a recipient first opens the greeting." },
    { "access-log", "-", "Where the one-line-per-request log goes: a file, - for standard error, or empty for none." },
    { "test-switches", "no", "The misbehaviour pages under /_test/ that the program's tests use. Never in production." },
};

const Setting* Find(const std::string& name)
{
    for (const Setting& setting : Settings)
        if (name == setting.name)
            return &setting;
    return nullptr;
}

std::string EnvironmentName(const std::string& name)
{
    std::string variable = "PARLACARD_";
    for (char c : name)
        variable += c == '-' ? '_' : static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    return variable;
}

} // namespace

Configuration::Configuration()
{
    for (const Setting& setting : Settings)
        values_[setting.name] = setting.defaultValue;
}

void Configuration::Set(const std::string& name, const std::string& value, const std::string& source)
{
    if (!Find(name))
        throw std::invalid_argument(source + ": there is no setting \"" + name + "\"");
    values_[name] = value;
}

void Configuration::ReadFile(const std::string& path)
{
    std::ifstream file(path);
    if (!file)
        throw std::invalid_argument("cannot read the configuration file " + path);
    int number = 0;
    for (std::string line; std::getline(file, line);) {
        ++number;
        line = TrimBlanks(line);
        if (line.empty() || line[0] == '#')
            continue;
        const size_t equals = line.find('=');
        const std::string where = path + ":" + std::to_string(number);
        if (equals == std::string::npos)
            throw std::invalid_argument(where + ": expected name = value");
        const std::string name = TrimBlanks(line.substr(0, equals));
        if (name == "config")
            throw std::invalid_argument(where + ": a configuration file cannot name another");
        Set(name, TrimBlanks(line.substr(equals + 1)), where);
    }
}

void Configuration::Load(int argc, char** argv, char** environment)
{
    std::map<std::string, std::string> commandLine;
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        if (argument.compare(0, 2, "--") != 0)
            throw std::invalid_argument("unexpected argument \"" + argument + "\"");
        argument.erase(0, 2);
        const size_t equals = argument.find('=');
        std::string name = argument.substr(0, equals);
        std::string value;
        if (equals != std::string::npos)
            value = argument.substr(equals + 1);
        else if (i + 1 < argc && std::string(argv[i + 1]).compare(0, 2, "--") != 0)
            value = argv[++i];
        else
            value = "yes";
        if (!Find(name))
            throw std::invalid_argument("there is no setting \"--" + name + "\"");
        commandLine[name] = value;
    }
    std::map<std::string, std::string> fromEnvironment;
    for (char** entry = environment; entry && *entry; ++entry) {
        const std::string text = *entry;
        const size_t equals = text.find('=');
        if (equals == std::string::npos)
            continue;
        for (const Setting& setting : Settings)
            if (text.substr(0, equals) == EnvironmentName(setting.name))
                fromEnvironment[setting.name] = text.substr(equals + 1);
    }

    std::string file = commandLine.count("config") ? commandLine["config"] : "";
    if (fromEnvironment.count("config"))
        file = fromEnvironment["config"];
    if (!file.empty())
        ReadFile(file);
    for (const auto& [name, value] : commandLine)
        Set(name, value, "command line");
    for (const auto& [name, value] : fromEnvironment)
        Set(name, value, "environment");
}

const std::string& Configuration::Text(const std::string& name) const
{
    const auto found = values_.find(name);
    if (found == values_.end())
        throw std::logic_error("unknown setting " + name);
    return found->second;
}

long Configuration::Number(const std::string& name, long min, long max) const
{
    const std::string& text = Text(name);
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || value < min || value > max)
        throw std::invalid_argument(name + " must be a whole number from " + std::to_string(min) + " to " +
                                    std::to_string(max) + ", not \"" + text + "\"");
    return value;
}

bool Configuration::Flag(const std::string& name) const
{
    const std::string& text = Text(name);
    if (text == "yes" || text == "true" || text == "1" || text == "on")
        return true;
    if (text == "no" || text == "false" || text == "0" || text == "off")
        return false;
    throw std::invalid_argument(name + " must be yes or no, not \"" + text + "\"");
}

std::vector<std::string> Configuration::List(const std::string& name) const
{
    std::vector<std::string> items;
    std::istringstream list(Text(name));
    for (std::string item; std::getline(list, item, ',');)
        if (!TrimBlanks(item).empty())
            items.push_back(TrimBlanks(item));
    return items;
}

std::string Configuration::Describe()
{
    std::string text;
    for (const Setting& setting : Settings) {
        text += std::string("# ") + setting.meaning + "\n";
        text += std::string("#   command line --") + setting.name + ", environment " + EnvironmentName(setting.name) + "\n";
        text += std::string("# ") + setting.name + " = " + setting.defaultValue + "\n\n";
    }
    return text;
}
