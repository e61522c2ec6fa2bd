#include "RelayCertificates.h"
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

RelayCertificates::RelayCertificates(const std::string& folder) : folder_(folder)
{
    std::filesystem::create_directories(folder_);
    std::ofstream(folder_ + "/names.ext") << "subjectAltName=IP:127.0.0.1\n";
    const std::string in = "cd '" + folder_ + "' && ";
    const std::string commands[] = {
        "openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj '/CN=Test relay authority' "
        "-keyout authority.key -out authority.pem",
        "openssl req -newkey rsa:2048 -nodes -subj '/CN=127.0.0.1' -keyout relay.key -out relay.csr",
        "openssl x509 -req -in relay.csr -CA authority.pem -CAkey authority.key -CAcreateserial -days 2 "
        "-extfile names.ext -out relay.pem",
    };
    for (const std::string& command : commands)
        if (std::system((in + command + " >>openssl.log 2>&1").c_str()) != 0)
            throw std::runtime_error("openssl failed: see " + folder_ + "/openssl.log");
}
