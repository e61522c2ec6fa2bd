#include "service/mail/SmtpRelay.h"
#include <curl/curl.h>
#include <cstring>
#include <memory>

namespace {

struct Upload {
    const std::string* bytes;
    size_t offset = 0;
};

size_t ReadMessage(char* buffer, size_t size, size_t count, void* user)
{
    Upload* upload = static_cast<Upload*>(user);
    const size_t length = std::min(size * count, upload->bytes->size() - upload->offset);
    std::memcpy(buffer, upload->bytes->data() + upload->offset, length);
    upload->offset += length;
    return length;
}

} // namespace

SmtpRelay::SmtpRelay(SmtpSettings settings) : settings_(std::move(settings))
{
    curl_global_init(CURL_GLOBAL_DEFAULT);
}

Delivery SmtpRelay::Deliver(const OutboxMessage& message)
{
    const std::unique_ptr<CURL, void (*)(CURL*)> curl(curl_easy_init(), curl_easy_cleanup);
    if (!curl)
        return { Delivery::Outcome::Retry, "the mail library could not start" };
    const std::string scheme = settings_.security == SmtpSettings::Security::Tls ? "smtps://" : "smtp://";
    const std::string url = scheme + settings_.host + ":" + std::to_string(settings_.port);
    const std::string from = "<" + settings_.envelopeFrom + ">";
    curl_slist* recipients = curl_slist_append(nullptr, ("<" + message.envelopeTo + ">").c_str());
    Upload upload{ &message.message };

    CURL* handle = curl.get();
    curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
    curl_easy_setopt(handle, CURLOPT_MAIL_FROM, from.c_str());
    curl_easy_setopt(handle, CURLOPT_MAIL_RCPT, recipients);
    curl_easy_setopt(handle, CURLOPT_READFUNCTION, ReadMessage);
    curl_easy_setopt(handle, CURLOPT_READDATA, &upload);
    curl_easy_setopt(handle, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, 30L);
    curl_easy_setopt(handle, CURLOPT_TIMEOUT, settings_.timeoutSeconds);
    if (settings_.security == SmtpSettings::Security::StartTls)
        curl_easy_setopt(handle, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
    curl_easy_setopt(handle, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(handle, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!settings_.caFile.empty())
        curl_easy_setopt(handle, CURLOPT_CAINFO, settings_.caFile.c_str());
    if (!settings_.user.empty()) {
        curl_easy_setopt(handle, CURLOPT_USERNAME, settings_.user.c_str());
        curl_easy_setopt(handle, CURLOPT_PASSWORD, settings_.password.c_str());
    }
    const CURLcode result = curl_easy_perform(handle);
    curl_slist_free_all(recipients);

    long code = 0;
    curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &code);
    if (result == CURLE_OK)
        return { Delivery::Outcome::Delivered, std::string() };
    const std::string reason = (code ? "the relay answered " + std::to_string(code) + ": " : std::string()) +
                               curl_easy_strerror(result);
    if (result == CURLE_LOGIN_DENIED)
        return { Delivery::Outcome::Failed, "the relay refused the site's login: " + reason };
    if (code >= 500 && code < 600)
        return { Delivery::Outcome::Failed, reason };
    return { Delivery::Outcome::Retry, reason };
}
