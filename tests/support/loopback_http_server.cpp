#include "support/loopback_http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace trevanto::test {
namespace {

bool SendAll(int client, const std::string& bytes) {
    for (size_t at = 0; at < bytes.size();) {
        const ssize_t sent = send(client, bytes.data() + at, bytes.size() - at, MSG_NOSIGNAL);
        if (sent <= 0)
            return false;
        at += static_cast<size_t>(sent);
    }
    return true;
}

// The first byte of a "Range: bytes=N-" request, or 0.
size_t RangeStart(std::string request) {
    std::transform(request.begin(), request.end(), request.begin(), ::tolower);
    const size_t at = request.find("\r\nrange: bytes=");
    return at == std::string::npos ? 0 : std::strtoull(request.c_str() + at + 15, nullptr, 10);
}

}  // namespace

LoopbackHttpServer::LoopbackHttpServer() : listener_(socket(AF_INET, SOCK_STREAM, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (bind(listener_, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
        listen(listener_, 16) == 0 &&
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port_ = ntohs(address.sin_port);
    acceptor_ = std::thread([this] {
        for (int client; (client = accept(listener_, nullptr, nullptr)) >= 0;) {
            const std::lock_guard lock(mutex_);
            clients_.push_back(client);
            threads_.emplace_back([this, client] { Answer(client); });
        }
    });
}

LoopbackHttpServer::~LoopbackHttpServer() {
    shutdown(listener_, SHUT_RDWR);  // ends the accept
    acceptor_.join();
    for (const int client : clients_)
        shutdown(client, SHUT_RDWR);  // ends a silent wait or a blocked send
    for (std::thread& thread : threads_)
        thread.join();
    for (const int client : clients_)
        close(client);
    close(listener_);
}

void LoopbackHttpServer::Serve(const std::string& path, HttpReply reply) {
    const std::lock_guard lock(mutex_);
    replies_[path] = std::move(reply);
}

std::string LoopbackHttpServer::Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

void LoopbackHttpServer::Answer(int client) {
    std::string request;
    char buffer[1024];
    for (ssize_t got; request.find("\r\n\r\n") == std::string::npos;
         request.append(buffer, static_cast<size_t>(got)))
        if ((got = recv(client, buffer, sizeof buffer, 0)) <= 0)
            return;
    const size_t pathStart = request.find(' ') + 1;
    const std::string path = request.substr(pathStart, request.find(' ', pathStart) - pathStart);
    HttpReply reply;
    reply.status = 404;
    {
        const std::lock_guard lock(mutex_);
        if (const auto found = replies_.find(path); found != replies_.end())
            reply = found->second;
    }
    if (reply.silent) {
        while (recv(client, buffer, sizeof buffer, 0) > 0) {
        }
        return;
    }
    const size_t start = reply.chunked ? 0 : std::min(RangeStart(request), reply.body.size());
    const std::string status =
        start > 0 ? "206 Partial Content" : std::to_string(reply.status) + " X";
    std::string head = "HTTP/1.1 " + status + "\r\nContent-Type: " + reply.contentType +
                       "\r\nConnection: close\r\n";
    if (!reply.location.empty())
        head += "Location: " + reply.location + "\r\n";
    std::string body = reply.body.substr(start);
    if (reply.chunked) {
        head += "Transfer-Encoding: chunked\r\n";
        std::string chunks;
        char line[32];
        for (size_t at = 0; at < body.size(); at += 8192) {
            const size_t size = std::min<size_t>(8192, body.size() - at);
            chunks.append(line, static_cast<size_t>(std::snprintf(line, 32, "%zx\r\n", size)));
            chunks.append(body, at, size).append("\r\n");
        }
        body = chunks + "0\r\n\r\n";
    } else {
        head += "Accept-Ranges: bytes\r\nContent-Length: " + std::to_string(body.size()) + "\r\n";
        if (start > 0)
            head += "Content-Range: bytes " + std::to_string(start) + "-" +
                    std::to_string(reply.body.size() - 1) + "/" +
                    std::to_string(reply.body.size()) + "\r\n";
    }
    SendAll(client, head + "\r\n") && SendAll(client, body);
    shutdown(client, SHUT_WR);
}

}  // namespace trevanto::test
