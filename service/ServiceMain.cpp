// The local stand-in of the service's web site, for tests and benchmarks:
//
//   parlacard-service --port N --data FOLDER [--port-file FILE] [--updates FOLDER]
//
// listens on 127.0.0.1 (port 0: any free port), prints the port it listens on and, when
// asked, writes it to FILE once requests can come. The data FOLDER keeps the greetings
// posted to it (greetings/) and a record of each request of this run (requests/); the
// update FOLDER holds the files the site publishes under "/update/".
#include "service/DataFiles.h"
#include "service/GreetingStore.h"
#include "service/ParlacardSite.h"
#include "service/RequestLog.h"
#include "service/StandInServer.h"
#include "service/TestControl.h"
#include "service/UpdatePages.h"
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

namespace {

// A greeting is a few kilobytes; this leaves room for the benchmark's large one.
const size_t MaxRequestBody = 64 * 1024 * 1024;

struct Options {
    int port = -1;
    std::string dataFolder;
    std::string portFile;
    std::string updateFolder;
};

bool ParseOptions(int argc, char** argv, Options& options)
{
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        const std::string value = argv[i + 1];
        if (name == "--port") {
            char* end = nullptr;
            const long port = std::strtol(value.c_str(), &end, 10);
            if (*end != '\0' || port < 0 || port > 65535 || value.empty())
                return false;
            options.port = static_cast<int>(port);
        } else if (name == "--data") {
            options.dataFolder = value;
        } else if (name == "--port-file") {
            options.portFile = value;
        } else if (name == "--updates") {
            options.updateFolder = value;
        } else {
            return false;
        }
    }
    return argc % 2 == 1 && options.port >= 0 && !options.dataFolder.empty();
}

int Serve(const Options& options)
{
    GreetingStore store(options.dataFolder + "/greetings");
    RequestLog log(options.dataFolder + "/requests");
    UploadReplyPlan plan;
    UpdateReplyPlan updatePlan;
    StandInServer server;
    server.set_payload_max_length(MaxRequestBody);
    TestControl control(store, log, plan, updatePlan);
    UpdatePages updates(options.updateFolder.empty() ? options.dataFolder + "/updates" : options.updateFolder, log,
                        updatePlan);
    ParlacardSite site(store, log, plan);
    control.Mount(server);
    updates.Mount(server);
    site.Mount(server);

    const int port = options.port == 0 ? server.bind_to_any_port("127.0.0.1")
                                       : (server.bind_to_port("127.0.0.1", options.port) ? options.port : -1);
    if (port <= 0) {
        std::fprintf(stderr, "parlacard-service: cannot listen on 127.0.0.1:%d\n", options.port);
        return 1;
    }
    std::printf("parlacard-service: listening on 127.0.0.1:%d\n", port);
    std::fflush(stdout);
    if (!options.portFile.empty())
        WriteDataFile(options.portFile, std::to_string(port) + "\n");
    return server.listen_after_bind() ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: parlacard-service --port N --data FOLDER [--port-file FILE] [--updates FOLDER]\n");
        return 2;
    }
    try {
        return Serve(options);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "parlacard-service: %s\n", error.what());
        return 1;
    }
}
