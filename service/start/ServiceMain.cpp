// The service: the site that takes greetings, shows the send page, mails the recipients
// and serves the greeting page. Settings come from defaults, a configuration file, the
// command line and the environment (see Configuration); "--help" lists them.
#include "service/mail/MailComposer.h"
#include "service/mail/OutboxFolder.h"
#include "service/mail/OutboxWorker.h"
#include "service/mail/SmtpRelay.h"
#include "service/pages/ClientAddress.h"
#include "service/pages/DataFiles.h"
#include "service/pages/ParlacardSite.h"
#include "service/pages/ProgramFolder.h"
#include "service/pages/RequestLog.h"
#include "service/pages/SiteServer.h"
#include "service/pages/TestControl.h"
#include "service/pages/UpdatePages.h"
#include "service/start/AccessLog.h"
#include "service/start/Configuration.h"
#include "service/start/StopSignal.h"
#include "service/store/PostgresStore.h"
#include "service/store/SqliteStore.h"
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <exception>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

extern char** environ;

namespace {

std::string OrDefault(const std::string& value, const std::string& fallback)
{
    return value.empty() ? fallback : value;
}

SiteSettings SiteSettingsFrom(const Configuration& config)
{
    SiteSettings settings;
    settings.publicAddress = config.Text("public-address");
    settings.upload.maxBytes = static_cast<size_t>(config.Number("upload-max-bytes", 1024, 1L << 30));
    settings.upload.maxActions = static_cast<size_t>(config.Number("upload-max-actions", 1, 1000000));
    settings.upload.maxRecipients = static_cast<size_t>(config.Number("upload-max-recipients", 0, 1000));
    settings.uploadsPerHour = static_cast<int>(config.Number("uploads-per-hour", 0, 1000000000));
    settings.messagesPerDay = static_cast<int>(config.Number("messages-per-day", 0, 1000000000));
    settings.tellSenderOfPickUps = config.Flag("tell-sender-of-pickups");
    settings.trustedProxies = config.List("trusted-proxies");
    return settings;
}

// longestSeconds: how long one delivery may take at most.
std::unique_ptr<MailRelay> RelayFrom(const Configuration& config, const std::string& data, long longestSeconds)
{
    if (config.Text("smtp-host").empty())
        return std::make_unique<OutboxFolder>(OrDefault(config.Text("outbox-folder"), data + "/outbox"));
    SmtpSettings smtp;
    smtp.host = config.Text("smtp-host");
    smtp.port = static_cast<int>(config.Number("smtp-port", 1, 65535));
    const std::string security = config.Text("smtp-security");
    if (security == "starttls")
        smtp.security = SmtpSettings::Security::StartTls;
    else if (security == "tls")
        smtp.security = SmtpSettings::Security::Tls;
    else if (security != "none")
        throw std::invalid_argument("smtp-security must be none, starttls or tls, not \"" + security + "\"");
    smtp.user = config.Text("smtp-user");
    smtp.password = config.Text("smtp-password");
    smtp.caFile = config.Text("smtp-ca-file");
    smtp.envelopeFrom = config.Text("mail-from");
    smtp.timeoutSeconds = std::min(smtp.timeoutSeconds, longestSeconds);
    return std::make_unique<SmtpRelay>(smtp);
}

bool IsPostgresAddress(const std::string& location)
{
    return location.rfind("postgresql://", 0) == 0 || location.rfind("postgres://", 0) == 0;
}

std::unique_ptr<ServiceStore> StoreFrom(const Configuration& config, const std::string& location, long leaseSeconds)
{
    if (!IsPostgresAddress(location))
        return std::make_unique<SqliteStore>(location);
    PostgresSettings settings;
    settings.connections = static_cast<size_t>(config.Number("database-connections", 1, 1000));
    settings.leaseSeconds = leaseSeconds;
    return std::make_unique<PostgresStore>(location, settings);
}

int Serve(const Configuration& config)
{
    StopSignal stopSignal;
    const std::string data = config.Text("data");
    std::filesystem::create_directories(data);
    const bool testSwitches = config.Flag("test-switches");
    const SiteSettings settings = SiteSettingsFrom(config);
    const int port = static_cast<int>(config.Number("port", 0, 65535));
    const long retentionDays = config.Number("retention-days", 1, 100000);
    const long purgeIntervalSeconds = config.Number("purge-interval-seconds", 1, 7 * 24 * 3600);
    if (!IsMailAddress(config.Text("mail-from")))
        throw std::invalid_argument("mail-from must be an e-mail address, not \"" + config.Text("mail-from") + "\"");
    const RetrySettings retry{ config.Number("mail-first-retry-seconds", 1, 86400),
                               config.Number("mail-longest-retry-seconds", 1, 86400),
                               config.Number("mail-retry-hours", 0, 24 * 30) * 3600 };

    const std::string location = OrDefault(config.Text("database"), data + "/parlacard.db");
    const long lease = config.Number("mail-lease-seconds", 1, 86400);
    const std::unique_ptr<ServiceStore> opened = StoreFrom(config, location, lease);
    ServiceStore& store = *opened;
    // A delivery ends before its lease does: otherwise another instance could take the
    // message while it is still on its way.
    const std::unique_ptr<MailRelay> relay =
        RelayFrom(config, data, IsPostgresAddress(location) ? std::max(1L, lease * 3 / 4) : 86400);
    OutboxWorker outbox(store, *relay, retry);
    const MailComposer composer(MailSettings{ config.Text("mail-from"), settings.publicAddress });
    AccessLog accessLog(config.Text("access-log"));
    RequestLog log(testSwitches ? data + "/requests" : std::string());
    UploadReplyPlan plan;
    UpdateReplyPlan updatePlan;
    LoopSettings loop;
    loop.loops = std::max(1u, std::thread::hardware_concurrency());
    loop.maxConnections = static_cast<size_t>(config.Number("max-connections", 1, 100000));
    loop.workers = static_cast<size_t>(config.Number("request-threads", 1, 1000));
    loop.maxBodyBytes = settings.upload.maxBytes;
    SiteServer server(loop);
    server.SetLogger([&](const httplib::Request& request, const httplib::Response& response) {
        accessLog.Record(ClientAddress(request, settings.trustedProxies), request, response);
    });
    TestControl control(store, log, plan, updatePlan);
    server.SetPageHook([&log](const httplib::Request& request) { log.Record(request); });
    UpdatePages updates(OrDefault(config.Text("updates"), data + "/updates"), updatePlan);
    ParlacardSite site(settings, OrDefault(config.Text("web"), ProgramFolder() + "/web"), store, composer,
                       [&outbox] { outbox.Wake(); }, plan);
    if (testSwitches)
        control.Mount(server);
    updates.Mount(server);
    site.Mount(server);

    const std::string host = config.Text("listen");
    const int bound = server.Bind(host, port);
    if (bound <= 0) {
        // Most often another program on the port; an address not this machine's fails here too.
        std::fprintf(stderr, "parlacard-service: cannot listen on %s:%d (is another program listening there?)\n",
                     host.c_str(), port);
        return 1;
    }
    outbox.Start();
    std::thread serving([&server] { server.Run(); });
    std::printf("parlacard-service: listening on http://%s:%d/\n", host.c_str(), bound);
    std::fflush(stdout);
    if (!config.Text("port-file").empty())
        WriteDataFile(config.Text("port-file"), std::to_string(bound) + "\n");

    do {
        try {
            const int purged = store.PurgeBefore(std::time(nullptr) - retentionDays * 24 * 3600);
            if (purged > 0)
                std::fprintf(stderr, "parlacard-service: deleted %d greetings older than %ld days\n", purged,
                             retentionDays);
        } catch (const std::exception& error) {
            std::fprintf(stderr, "parlacard-service: purging: %s\n", error.what());
        }
    } while (!stopSignal.WaitFor(purgeIntervalSeconds));

    // Requests in hand are answered, the message in hand is sent and recorded.
    server.Stop();
    serving.join();
    outbox.Stop();
    std::printf("parlacard-service: stopped\n");
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::printf("parlacard-service [--name value]...\n\n%s", Configuration::Describe().c_str());
        return 0;
    }
    try {
        Configuration config;
        config.Load(argc, argv, environ);
        return Serve(config);
    } catch (const std::invalid_argument& error) {
        std::fprintf(stderr, "parlacard-service: %s (--help lists the settings)\n", error.what());
        return 2;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "parlacard-service: %s\n", error.what());
        return 1;
    }
}
