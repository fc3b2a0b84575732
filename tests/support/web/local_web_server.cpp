#include "support/web/local_web_server.h"

#include <libsoup/soup.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>

namespace tallowmere::testing {

struct LocalWebServer::Impl {
    SoupServer* server = nullptr;
    LocalWebServer* owner = nullptr;

    static void serve(SoupServer*, SoupServerMessage* message, const char* path, GHashTable* query, gpointer data);
};

namespace {

std::string contentTypeFor(const std::filesystem::path& file) {
    const auto extension = file.extension().string();
    if (extension == ".html") return "text/html; charset=utf-8";
    if (extension == ".js") return "text/javascript; charset=utf-8";
    if (extension == ".css") return "text/css; charset=utf-8";
    if (extension == ".png") return "image/png";
    if (extension == ".wav") return "audio/wav";
    if (extension == ".webm") return "video/webm";
    return "application/octet-stream";
}

std::string lowercase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

}  // namespace

void LocalWebServer::Impl::serve(SoupServer*, SoupServerMessage* message, const char* path, GHashTable*,
                                 gpointer data) {
    auto& server = *static_cast<Impl*>(data)->owner;
    Request request;
    request.method = soup_server_message_get_method(message);
    request.path = path ? path : "/";
    GUri* uri = soup_server_message_get_uri(message);
    if (const char* query = g_uri_get_query(uri)) request.query = query;
    SoupMessageHeadersIter iterator;
    soup_message_headers_iter_init(&iterator, soup_server_message_get_request_headers(message));
    const char* name = nullptr;
    const char* value = nullptr;
    while (soup_message_headers_iter_next(&iterator, &name, &value)) request.headers[lowercase(name)] = value;

    const std::string expectedHost = "127.0.0.1:" + std::to_string(server.port_);
    Response response;
    if (request.headers["host"] != expectedHost) {
        ++server.refused_;
        response = {403, "text/plain", "refused: not this server", {}};
    } else {
        server.requests_.push_back(request);
        response = server.answer(request);
    }
    soup_server_message_set_status(message, static_cast<guint>(response.status), nullptr);
    SoupMessageHeaders* headers = soup_server_message_get_response_headers(message);
    for (const auto& [header, text] : response.headers) soup_message_headers_append(headers, header.c_str(), text.c_str());
    soup_message_headers_replace(headers, "Cache-Control", "no-store");
    soup_server_message_set_response(message, response.contentType.c_str(), SOUP_MEMORY_COPY, response.body.data(),
                                     response.body.size());
}

LocalWebServer::LocalWebServer(std::filesystem::path folder)
    : folder_(std::move(folder)), impl_(std::make_unique<Impl>()) {
    impl_->owner = this;
    impl_->server = soup_server_new("server-header", "tallowmere-test", nullptr);
    soup_server_add_handler(impl_->server, nullptr, &Impl::serve, impl_.get(), nullptr);
    GError* error = nullptr;
    // Loopback only, on a port the system picks.
    GInetAddress* loopback = g_inet_address_new_loopback(G_SOCKET_FAMILY_IPV4);
    GSocketAddress* address = g_inet_socket_address_new(loopback, 0);
    g_object_unref(loopback);
    if (!soup_server_listen(impl_->server, address, static_cast<SoupServerListenOptions>(0), &error)) {
        failure_ = error ? error->message : "cannot listen";
        if (error) g_error_free(error);
        g_object_unref(address);
        return;
    }
    g_object_unref(address);
    GSList* uris = soup_server_get_uris(impl_->server);
    if (uris) port_ = g_uri_get_port(static_cast<GUri*>(uris->data));
    g_slist_free_full(uris, reinterpret_cast<GDestroyNotify>(g_uri_unref));
    if (port_ <= 0) failure_ = "no port";
}

LocalWebServer::~LocalWebServer() {
    if (impl_->server) {
        soup_server_disconnect(impl_->server);
        g_object_unref(impl_->server);
    }
}

std::string LocalWebServer::url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

void LocalWebServer::route(const std::string& path, Handler handler) { routes_[path] = std::move(handler); }

int LocalWebServer::requestCount(const std::string& path) const {
    return static_cast<int>(std::count_if(requests_.begin(), requests_.end(),
                                          [&](const Request& request) { return request.path == path; }));
}

LocalWebServer::Response LocalWebServer::answer(const Request& request) {
    if (auto route = routes_.find(request.path); route != routes_.end()) return route->second(request);
    const std::filesystem::path relative = std::filesystem::path(request.path).relative_path();
    for (const auto& part : relative) {
        if (part == "..") return {403, "text/plain", "refused", {}};
    }
    const auto file = folder_ / relative;
    std::ifstream input(file, std::ios::binary);
    if (relative.empty() || !input) return {404, "text/plain", "not found", {}};
    std::ostringstream body;
    body << input.rdbuf();
    return {200, contentTypeFor(file), body.str(), {}};
}

}  // namespace tallowmere::testing
