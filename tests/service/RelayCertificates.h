#pragma once
#include <string>

// A certificate authority of the test's own and a relay certificate it signed for
// 127.0.0.1, made with openssl in the folder; throws when openssl fails.
class RelayCertificates {
public:
    explicit RelayCertificates(const std::string& folder);

    std::string Authority() const { return folder_ + "/authority.pem"; }
    std::string Certificate() const { return folder_ + "/relay.pem"; }
    std::string Key() const { return folder_ + "/relay.key"; }

private:
    std::string folder_;
};
