// A small X session manager (XSMP) for the end-to-end cases: it lets one client register, asks it to
// save its state as a desktop does at a checkpoint or at log-off, and records what the client says.
//   session_manager LOG checkpoint|logout [SECONDS [local|both]]
// The first line on standard output is the SESSION_MANAGER address. LOG receives one line per event:
// "registered", "property NAME VALUE" (CARD8 values as numbers), "save-yourself-done", "closed".
// With logout, the save is a shut-down one and the client is told to die once it is done. The request
// comes SECONDS (default 0) after the client registered; it asks for the client's state alone (local,
// the default) or also for its data (both, as most desktops do).
#include <X11/ICE/ICElib.h>
#include <X11/SM/SMlib.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <string>
#include <vector>

namespace {

FILE* logFile = nullptr;
bool logout = false;
bool finished = false;
double delaySeconds = 0;
int saveType = SmSaveLocal;
SmsConn client = nullptr;
bool asked = false;
std::chrono::steady_clock::time_point registeredAt;
std::vector<IceConn> connections;

void record(const std::string& line) {
    std::fprintf(logFile, "%s\n", line.c_str());
    std::fflush(logFile);
}

Status registerClient(SmsConn connection, SmPointer, char* previousId) {
    char* id = SmsGenerateClientID(connection);
    std::string fallback = "1velloran-test-client";
    SmsRegisterClientReply(connection, id != nullptr ? id : fallback.data());
    std::free(id);
    std::free(previousId);
    record("registered");
    client = connection;
    registeredAt = std::chrono::steady_clock::now();
    return 1;
}

void interactRequest(SmsConn connection, SmPointer, int) {
    SmsInteract(connection);
}

void interactDone(SmsConn, SmPointer, Bool) {}

void saveYourselfRequest(SmsConn, SmPointer, int, Bool, int, Bool, Bool) {}

void saveYourselfPhase2Request(SmsConn connection, SmPointer) {
    SmsSaveYourselfPhase2(connection);
}

void saveYourselfDone(SmsConn connection, SmPointer, Bool success) {
    record(success ? "save-yourself-done" : "save-yourself-failed");
    if (logout)
        SmsDie(connection);
    else
        SmsSaveComplete(connection);
}

void closeConnection(SmsConn connection, SmPointer, int count, char** reasons) {
    SmFreeReasons(count, reasons);
    record("closed");
    IceConn ice = SmsGetIceConnection(connection);
    SmsCleanUp(connection);
    IceSetShutdownNegotiation(ice, False);
    IceCloseConnection(ice);
    std::erase(connections, ice);
    finished = true;
}

void setProperties(SmsConn, SmPointer, int count, SmProp** properties) {
    for (int i = 0; i < count; ++i) {
        const SmProp* property = properties[i];
        std::string value;
        for (int j = 0; j < property->num_vals; ++j) {
            if (std::strcmp(property->type, SmCARD8) == 0)
                value += std::to_string(*static_cast<unsigned char*>(property->vals[j].value));
            else
                value.append(static_cast<const char*>(property->vals[j].value),
                             static_cast<std::size_t>(property->vals[j].length));
            if (j + 1 < property->num_vals)
                value += ' ';
        }
        record(std::string("property ") + property->name + " " + value);
        SmFreeProperty(properties[i]);
    }
    std::free(properties);
}

void deleteProperties(SmsConn, SmPointer, int count, char** names) {
    for (int i = 0; i < count; ++i)
        std::free(names[i]);
    std::free(names);
}

void getProperties(SmsConn connection, SmPointer) {
    SmsReturnProperties(connection, 0, nullptr);
}

Status newClient(SmsConn, SmPointer, unsigned long* mask, SmsCallbacks* callbacks, char**) {
    *mask = SmsRegisterClientProcMask | SmsInteractRequestProcMask | SmsInteractDoneProcMask |
            SmsSaveYourselfRequestProcMask | SmsSaveYourselfP2RequestProcMask | SmsSaveYourselfDoneProcMask |
            SmsCloseConnectionProcMask | SmsSetPropertiesProcMask | SmsDeletePropertiesProcMask |
            SmsGetPropertiesProcMask;
    callbacks->register_client.callback = registerClient;
    callbacks->interact_request.callback = interactRequest;
    callbacks->interact_done.callback = interactDone;
    callbacks->save_yourself_request.callback = saveYourselfRequest;
    callbacks->save_yourself_phase2_request.callback = saveYourselfPhase2Request;
    callbacks->save_yourself_done.callback = saveYourselfDone;
    callbacks->close_connection.callback = closeConnection;
    callbacks->set_properties.callback = setProperties;
    callbacks->delete_properties.callback = deleteProperties;
    callbacks->get_properties.callback = getProperties;
    return 1;
}

// Only clients on this machine's local sockets connect, without authentication.
Bool localHost(char* host) {
    return host != nullptr && (std::strncmp(host, "local/", 6) == 0 || std::strncmp(host, "unix/", 5) == 0);
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 3 || argc > 5 ||
        (std::strcmp(argv[2], "checkpoint") != 0 && std::strcmp(argv[2], "logout") != 0)) {
        std::fprintf(stderr, "usage: session_manager LOG checkpoint|logout [SECONDS [local|both]]\n");
        return 2;
    }
    if (argc >= 4)
        delaySeconds = std::atof(argv[3]);
    if (argc == 5 && std::strcmp(argv[4], "both") == 0)
        saveType = SmSaveBoth;
    logFile = std::fopen(argv[1], "a");
    if (logFile == nullptr)
        return 1;
    logout = std::strcmp(argv[2], "logout") == 0;
    char error[256] = "";
    if (!SmsInitialize("velloran-test", "1.0", newClient, nullptr, localHost, sizeof error, error)) {
        std::fprintf(stderr, "session_manager: %s\n", error);
        return 1;
    }
    int listenCount = 0;
    IceListenObj* listeners = nullptr;
    if (!IceListenForConnections(&listenCount, &listeners, sizeof error, error)) {
        std::fprintf(stderr, "session_manager: %s\n", error);
        return 1;
    }
    for (int i = 0; i < listenCount; ++i)
        IceSetHostBasedAuthProc(listeners[i], localHost);
    char* address = IceComposeNetworkIdList(listenCount, listeners);
    std::printf("%s\n", address);
    std::fflush(stdout);
    std::free(address);

    while (!finished) {
        std::vector<pollfd> watched;
        for (int i = 0; i < listenCount; ++i)
            watched.push_back({IceGetListenConnectionNumber(listeners[i]), POLLIN, 0});
        for (IceConn connection : connections)
            watched.push_back({IceConnectionNumber(connection), POLLIN, 0});
        if (::poll(watched.data(), watched.size(), 100) < 0)
            return 1;
        const std::chrono::duration<double> waited = std::chrono::steady_clock::now() - registeredAt;
        if (client != nullptr && !asked && waited.count() >= delaySeconds) {
            asked = true;
            // What a desktop does at a checkpoint, or at log-off: the client is asked to save its state.
            SmsSaveYourself(client, saveType, logout ? True : False, SmInteractStyleNone, False);
            record("save-yourself");
        }
        for (int i = 0; i < listenCount; ++i) {
            if ((watched[static_cast<std::size_t>(i)].revents & POLLIN) == 0)
                continue;
            IceAcceptStatus status;
            if (IceConn connection = IceAcceptConnection(listeners[i], &status); connection != nullptr)
                connections.push_back(connection);
        }
        const std::vector<IceConn> current = connections;
        for (std::size_t i = 0; i < current.size(); ++i) {
            if ((watched[static_cast<std::size_t>(listenCount) + i].revents & (POLLIN | POLLHUP)) == 0)
                continue;
            if (IceProcessMessages(current[i], nullptr, nullptr) == IceProcessMessagesIOError) {
                IceSetShutdownNegotiation(current[i], False);
                IceCloseConnection(current[i]);
                std::erase(connections, current[i]);
                record("closed");
                finished = true;
            }
        }
    }
    IceFreeListenObjs(listenCount, listeners);
    return 0;
}
