#pragma once
#include <string>

// The service's web site. Each address has a built-in default that an installation can
// replace with a registry value of the same section and name.
extern const char* const SiteHost;
// The home pages of the service and of its maker, fixed in the program.
extern const char* const ServiceSite;
extern const char* const MakerSite;

struct SiteAddress {
    const char* section;
    const char* valueName;
    const char* defaultAddress;
};

extern const SiteAddress CharactersPage;
extern const SiteAddress SendGreetingPage;
extern const SiteAddress OnlineHelpPage;
extern const SiteAddress FeedbackPage;
extern const SiteAddress OtherProductsPage;
extern const SiteAddress UpdateManifestAddress;

// The registry's value when there is one (an empty one too), else the default.
std::string ReadSiteAddress(const SiteAddress& address);
