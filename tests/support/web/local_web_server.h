#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace tallowmere::testing {

// A web server inside the test, on an ephemeral port of 127.0.0.1, run by
// the web engine's loop (the test pumps it while it waits). It serves the
// files of one folder, answers a few paths from the test's own handlers, and
// refuses any request that names another host, so a page can never lead the
// engine to the internet through it.
class LocalWebServer {
public:
    struct Request {
        std::string method;
        std::string path;
        std::string query;
        std::map<std::string, std::string> headers;  // names in lower case
    };
    struct Response {
        int status = 200;
        std::string contentType = "text/html; charset=utf-8";
        std::string body;
        std::vector<std::pair<std::string, std::string>> headers;
    };
    using Handler = std::function<Response(const Request&)>;

    explicit LocalWebServer(std::filesystem::path folder);
    ~LocalWebServer();
    LocalWebServer(const LocalWebServer&) = delete;
    LocalWebServer& operator=(const LocalWebServer&) = delete;

    // Empty when the server could not listen; `failure()` says why.
    bool isRunning() const { return port_ != 0; }
    const std::string& failure() const { return failure_; }
    int port() const { return port_; }
    // "http://127.0.0.1:PORT" + path.
    std::string url(const std::string& path) const;

    // Answers `path` from the test instead of the folder.
    void route(const std::string& path, Handler handler);
    // How many requests asked for `path`.
    int requestCount(const std::string& path) const;
    const std::vector<Request>& requests() const { return requests_; }
    // Requests refused for naming another host.
    int refusedCount() const { return refused_; }

    // For the server's callback.
    struct Impl;

private:
    Response answer(const Request& request);

    std::filesystem::path folder_;
    std::unique_ptr<Impl> impl_;
    std::map<std::string, Handler> routes_;
    std::vector<Request> requests_;
    int port_ = 0;
    int refused_ = 0;
    std::string failure_;
};

}  // namespace tallowmere::testing
