#pragma once
#include <httplib.h>
#include <string>
#include <vector>

// The address of the client a request comes from: the connection's, or, when that is a
// proxy the operator trusts, the last address its X-Forwarded-For header adds.
std::string ClientAddress(const httplib::Request& request, const std::vector<std::string>& trustedProxies);
