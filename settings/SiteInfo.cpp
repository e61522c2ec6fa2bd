#include "settings/SiteInfo.h"
#include "settings/Registry.h"
#include "ServiceHost.h"

#define SITE_HOST PARLACARD_SERVICE_HOST

const char* const SiteHost = SITE_HOST;
const char* const ServiceSite = "http://" SITE_HOST "/";
const char* const MakerSite = "http://www.zentorix.example/";

const SiteAddress CharactersPage = { "SiteInfo", "CharactersPage", "http://" SITE_HOST "/characters/" };
const SiteAddress SendGreetingPage = { "SiteInfo", "SendGreetingPage", "http://" SITE_HOST "/send/default.asp" };
const SiteAddress OnlineHelpPage = { "ContactInfo", "OnlineHelp", "http://" SITE_HOST "/help/" };
const SiteAddress FeedbackPage = { "ContactInfo", "Feedback", "http://" SITE_HOST "/feedback/" };
const SiteAddress OtherProductsPage = { "ContactInfo", "OtherProducts", "http://" SITE_HOST "/products/" };
const SiteAddress UpdateManifestAddress = { "WebUpdate", "URL", "http://" SITE_HOST "/update/ver.txt" };

std::string ReadSiteAddress(const SiteAddress& address)
{
    return ReadRegString(address.section, address.valueName, address.defaultAddress);
}
