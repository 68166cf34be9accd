// zentri-catalogue: the demo catalogue service and its account commands.

#include <signal.h>

#include <cstdio>
#include <iostream>
#include <thread>

#include "server/command_line.h"
#include "server/http_frontend.h"
#include "server/result_code.h"
#include "server/service.h"

using namespace zentri::server;

namespace {

const char* Explain(int code) {
    switch (code) {
        case kLoginTaken:
            return "the login is taken";
        case kMailTaken:
            return "the mail address is taken";
        case kBadLogin:
            return "a login has 2 to 32 characters from ASCII 33-126, without % & = # ?";
        case kBadMail:
            return "that is not a mail address";
        case kBadPassword:
            return "a password has 6 to 128 characters";
        case kUnknownAccount:
            return "no account has this login";
        case kAlreadyActive:
            return "the account is already active";
        default:
            return "the database could not be written";
    }
}

int Serve(const Command& command, CatalogueService& service) {
    // SIGINT and SIGTERM end the service cleanly: a thread waits for them and stops the server.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    signal(SIGPIPE, SIG_IGN);

    HttpFrontend frontend(service);
    if (frontend.Bind(command.host, command.port) < 0) {
        std::cerr << "zentri-catalogue: cannot listen on " << command.host << " port "
                  << command.port << "\n";
        return 1;
    }
    std::cout << "listening on " << frontend.Address() << std::endl;
    std::thread waiter([&] {
        int signal = 0;
        sigwait(&stopSignals, &signal);
        frontend.Stop();
    });
    bool served = frontend.Run();
    // Wake the waiter if the server ended by itself.
    pthread_kill(waiter.native_handle(), SIGTERM);
    waiter.join();
    return served ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    Command command;
    std::string error = ParseCommandLine({argv + 1, argv + argc}, command);
    if (!error.empty()) {
        std::cerr << "zentri-catalogue: " << error << "\n" << kUsage;
        return 2;
    }
    try {
        ServiceOptions options;
        options.dataDir = command.data;
        options.assetsDir = command.assets;
        options.sessionIdleSeconds = command.sessionIdle;
        options.publicUrl = command.publicUrl;
        if (command.bulkCategory >= 0) options.bulkCategoryApps = command.bulkCategory;
        options.hashCost = command.fastHash ? HashCost::Minimal : HashCost::Interactive;
        CatalogueService service(options);
        if (command.kind == Command::Serve) return Serve(command, service);
        int code = command.kind == Command::UserAdd
                       ? service.AccountStore().Add(command.login, command.password, command.mail,
                                                    command.active)
                       : service.AccountStore().ActivateLogin(command.login);
        if (code != kOk) {
            std::cerr << "zentri-catalogue: " << Explain(code) << "\n";
            return 1;
        }
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "zentri-catalogue: " << e.what() << "\n";
        return 1;
    }
}
